#include "files/autosave_name.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

const QDateTime kTime(QDate(2026, 12, 11), QTime(3, 7, 59));

TEST(AutosaveName, SampleOrTableAndDateWithUnsafeCharactersReplaced) {
    const auto none = [](const QString &) { return false; };
    struct Case {
        QString label, expected;
    } const cases[] = {
        {QStringLiteral("PVDF film 3"), QStringLiteral("/data/PVDF film 3 2026-12-11 03-07.csv")},
        {tableLabel(QStringLiteral("-50"), QStringLiteral("30")),
         QStringLiteral("/data/Таблица от -50 до 30 °C 2026-12-11 03-07.csv")},
        {QStringLiteral("a/b\\c:d*e?f\"g<h>i|j\tk"),
         QStringLiteral("/data/a_b_c_d_e_f_g_h_i_j_k 2026-12-11 03-07.csv")},
        {QStringLiteral("  sample.. "), QStringLiteral("/data/sample 2026-12-11 03-07.csv")},
        {QString(), QStringLiteral("/data/2026-12-11 03-07.csv")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(autosaveFileName(QStringLiteral("/data"), c.label, kTime, none), c.expected)
            << c.label.toStdString();
}

TEST(AutosaveName, ANameTakenGetsTheNextNumberNeverTheSameName) {
    QSet<QString> taken = {QStringLiteral("/data/S 2026-12-11 03-07.csv"),
                           QStringLiteral("/data/S 2026-12-11 03-07 (2).csv")};
    const auto exists = [&taken](const QString &path) { return taken.contains(path); };
    EXPECT_EQ(autosaveFileName(QStringLiteral("/data"), QStringLiteral("S"), kTime, exists),
              QStringLiteral("/data/S 2026-12-11 03-07 (3).csv"));
}

} // namespace
