#include "run/set_points.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <limits>

namespace {

const QChar kComma(',');
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kMax = std::numeric_limits<double>::max();

QStringList textsOf(const SetPointTable &table) {
    QStringList texts;
    for (const SetPointRow &row : table.rows)
        texts << row.text;
    return texts;
}

TEST(SetPoints, RowCountsAndLastRowFollowTheStopRules) {
    const struct Case {
        double init, final, step, diff;
        int rows;
        const char *first, *last;
        bool lastStored;
    } cases[] = {
        {-50, 30, 1, 0.3, 81, "-50", "30", true},
        {30, -50, 1, 0.3, 81, "30", "-50", true},
        {30, -50, -1, 0.3, 81, "30", "-50", true},
        {-50, 30, -1, 0.3, 81, "-50", "30", true},
        {-50, 30, 3, 0.3, 28, "-50", "31", false},
        {-50, 30, 3, 1.0, 28, "-50", "31", true},
        {0, 1, 0.1, 0.03, 11, "0", "1", true},
        {-1, 1, 0.1, 0.03, 21, "-1", "1", true},
        {20, 20, 1, 0.3, 2, "20", "21", false},
        {20, 20, 0.2, 0.3, 2, "20", "20,2", true},
        // stops as soon as the value prints like the final temperature
        {1000, 1000.4, 0.1, 0.03, 2, "1000", "1000", true},
    };
    for (const Case &c : cases) {
        TTempStorage storage;
        const SetPointTable table =
            generateSetPoints(c.init, c.final, c.step, c.diff, kComma, storage);
        const QString label = QStringLiteral("%1..%2 step %3").arg(c.init).arg(c.final).arg(c.step);
        ASSERT_EQ(table.error, SetPointError::None) << qPrintable(label);
        ASSERT_EQ(table.rows.size(), c.rows) << qPrintable(label);
        EXPECT_EQ(table.rows.first().text, QString::fromUtf8(c.first)) << qPrintable(label);
        EXPECT_TRUE(table.rows.first().stored) << qPrintable(label);
        EXPECT_EQ(table.rows.last().text, QString::fromUtf8(c.last)) << qPrintable(label);
        EXPECT_EQ(table.rows.last().stored, c.lastStored) << qPrintable(label);
        EXPECT_EQ(table.rows.last().row, c.rows) << qPrintable(label);
    }
}

TEST(SetPoints, DefaultTableStoresEveryRowInOrder) {
    TTempStorage storage;
    storage.Add({99.0, 5, 0}); // left over from an earlier table
    const SetPointTable table = generateSetPoints(-50, 30, 1, 0.3, kComma, storage);

    ASSERT_EQ(table.rows.size(), 81);
    ASSERT_EQ(storage.Count(), 81);
    for (int k = 0; k < 81; ++k) {
        EXPECT_EQ(table.rows[k].row, k + 1);
        EXPECT_EQ(table.rows[k].value, -50.0 + k);
        EXPECT_EQ(storage.Items[k].SetPoint, -50.0 + k);
        EXPECT_EQ(storage.Items[k].Row, k + 1);
        EXPECT_EQ(storage.Items[k].Index, k);
    }
    EXPECT_EQ(storage.TempInit, -50.0);
    EXPECT_EQ(storage.TempFinal, 30.0);
    EXPECT_EQ(storage.TempStep, 1.0);
    EXPECT_EQ(storage.TempDiff, 0.3);
}

TEST(SetPoints, FractionalStepsShowNoRoundingDrift) {
    TTempStorage storage;
    const SetPointTable across = generateSetPoints(-1, 1, 0.1, 0.03, kComma, storage);
    EXPECT_EQ(textsOf(across), QStringList({"-1",   "-0,9", "-0,8", "-0,7", "-0,6", "-0,5", "-0,4",
                                            "-0,3", "-0,2", "-0,1", "0",    "0,1",  "0,2",  "0,3",
                                            "0,4",  "0,5",  "0,6",  "0,7",  "0,8",  "0,9",  "1"}));
    EXPECT_EQ(across.rows[10].value, 0.0);
    EXPECT_EQ(storage.Count(), 21);

    const SetPointTable up = generateSetPoints(0, 1, 0.1, 0.03, QChar('.'), storage);
    EXPECT_EQ(textsOf(up), QStringList({"0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8",
                                        "0.9", "1"}));
    EXPECT_EQ(up.rows.last().value, 1.0);
}

TEST(SetPoints, EqualBoundsKeepTheFirstRowEvenWithoutTolerance) {
    TTempStorage storage;
    const SetPointTable table = generateSetPoints(25.5, 25.5, 1, 0, kComma, storage);
    ASSERT_EQ(table.rows.size(), 2);
    EXPECT_EQ(table.rows[0].text, QStringLiteral("25,5"));
    ASSERT_EQ(storage.Count(), 1);
    EXPECT_EQ(storage.Items[0].Row, 1);
}

TEST(SetPoints, UnusableParametersAreRefusedWithoutRows) {
    const struct Case {
        double init, final, step;
        SetPointError error;
    } cases[] = {
        {-50, 30, 0, SetPointError::ZeroStep},
        {20, 20, 0, SetPointError::ZeroStep},
        {-50, 30, -0.0, SetPointError::ZeroStep},
        {-50, 30, kNaN, SetPointError::StepNotFinite},
        {-50, 30, kInf, SetPointError::StepNotFinite},
        {kInf, 30, 1, SetPointError::BoundsNotFinite},
        {-50, -kInf, 1, SetPointError::BoundsNotFinite},
        {kNaN, 30, 1, SetPointError::BoundsNotFinite},
        {-50, kNaN, 1, SetPointError::BoundsNotFinite},
        {-100000, 0, 1, SetPointError::TooManySetPoints},
        {-1e9, 1e9, 1e-9, SetPointError::TooManySetPoints},
        {0, 1e300, 1e-300, SetPointError::TooManySetPoints},
        // Finite bounds and step whose set points pass the largest double.
        {-1e308, 1e308, 9e307, SetPointError::SetPointNotFinite},
        {1e308, -1e308, 9e307, SetPointError::SetPointNotFinite},
        {-kMax, kMax, kMax, SetPointError::SetPointNotFinite},
        {0, 1.7e308, 1e308, SetPointError::SetPointNotFinite},
    };
    for (const Case &c : cases) {
        TTempStorage storage;
        storage.Add({1.0, 1, 0});
        const SetPointTable table =
            generateSetPoints(c.init, c.final, c.step, 0.3, kComma, storage);
        EXPECT_EQ(table.error, c.error) << c.init << ".." << c.final << " step " << c.step;
        EXPECT_TRUE(table.rows.isEmpty());
        EXPECT_EQ(storage.Count(), 0);
    }
}

TEST(SetPoints, HugeButFiniteSetPointsAreKept) {
    TTempStorage storage;
    SetPointTable table = generateSetPoints(-1e308, 0, 5e307, 0, kComma, storage);
    ASSERT_EQ(table.error, SetPointError::None);
    EXPECT_EQ(textsOf(table), QStringList({"-1E308", "-5E307", "0"}));
    table = generateSetPoints(5e307, -1e308, 5e307, 0, kComma, storage);
    ASSERT_EQ(table.error, SetPointError::None);
    EXPECT_EQ(textsOf(table), QStringList({"5E307", "0", "-5E307", "-1E308"}));
}

TEST(SetPoints, TheLargestAllowedTableIsGenerated) {
    TTempStorage storage;
    const SetPointTable table = generateSetPoints(-(kMaxSetPoints - 1), 0, 1, 0.3, kComma, storage);
    ASSERT_EQ(table.error, SetPointError::None);
    EXPECT_EQ(table.rows.size(), kMaxSetPoints);
    EXPECT_EQ(table.rows.last().text, QStringLiteral("0"));
}

} // namespace
