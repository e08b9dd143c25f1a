// Saving the results table: the file's bytes, the default extension, the
// header values of the latest meter packet, the file log, and failed saves.
#include "table_window_support.h"

#include "base/cp1251.h"
#include "control/save_command.h"
#include "files/measurement_file.h"

#include "meter_frame.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QRegularExpression>

namespace {

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class SaveCommandTest : public TableWindowTest {
protected:
    void SetUp() override {
        openWindow();
        prompts.onSaveFile = [this](const TFileRequest &request) {
            offered << request.start;
            return chosen;
        };
        prompts.onNotice = [this](const ScriptedPrompts::Ask &ask) { errors << ask.text; };
        window->actions().actFileSaveTo->setEnabled(true);
    }

    // Two set points by two frequencies, one reading missing.
    void fillTable() {
        TCSVTable &table = engine().csvTable();
        table.SetTableSize(2, 2);
        table.SetColHeader(100, 0);
        table.SetColHeader(1000, 1);
        table.SetRowHeader(0, -50, QLatin1Char(','));
        table.SetRowHeader(1, -49, QLatin1Char(','));
        TIMPacket im;
        im.MainName = QStringLiteral("Cp");
        im.SecName = QStringLiteral("D");
        im.MainBase = QStringLiteral("1,52E-9");
        im.SecBase = QStringLiteral("0,0123");
        StoreReading(table, im, 0, 0);
        StoreReading(table, im, 1, 0);
        StoreReading(table, im, 0, 1);
    }

    void addMeterFrame(uint8_t levelCentivolts) {
        MeterDisplayState display;
        display.levelCentivolts = levelCentivolts;
        const QByteArray frame = EncodeMeterFrame(display);
        std::array<uint8_t, 60> raw{};
        std::copy(frame.begin(), frame.end(), raw.begin());
        engine().meterFrame(raw);
    }

    void save() { window->actions().actFileSaveTo->trigger(); }

    QString chosen;
    QStringList offered;
    QStringList errors;
};

TEST_F(SaveCommandTest, WritesTheTableWithTheLatestMeterHeader) {
    fillTable();
    addMeterFrame(50);
    addMeterFrame(100);
    TEventRec latest;
    engine().store().GetLast(kMeterRecord, latest);
    ASSERT_FALSE(latest.IM.LevelText.isEmpty());

    chosen = dir.filePath(QStringLiteral("run1.csv"));
    save();

    const QString header = QStringLiteral("Limit = %1;Offset = %2;Level = %3;\r\n")
                               .arg(latest.IM.LimitText, latest.IM.OffsetText, latest.IM.LevelText);
    const QString expected =
        QStringLiteral("Cp;\r\n") + header +
        QStringLiteral("t;100;1000;\r\n-50;1,52E-9;1,52E-9;\r\n"
                       "-49;1,52E-9;;\r\nCp/D;\r\n") +
        header + QStringLiteral("t;100;1000;\r\n-50;0,0123;0,0123;\r\n-49;0,0123;;\r\n");
    EXPECT_EQ(readFile(chosen), cp1251::encode(expected));
    EXPECT_EQ(ui().reLogFile->toPlainText(), QString(expected).remove(QLatin1Char('\r')));
    EXPECT_TRUE(errors.isEmpty());

    // Saved again over the same file without asking, the table unchanged.
    save();
    EXPECT_EQ(readFile(chosen), cp1251::encode(expected));
    EXPECT_EQ(engine().csvTable().ParamNames(), (QStringList{"Cp", "Cp/D"}));
}

TEST_F(SaveCommandTest, NameWithoutExtensionGetsTamrelAndIsOfferedAgain) {
    fillTable();
    chosen = dir.filePath(QStringLiteral("results"));
    save();
    const QString saved = chosen + QStringLiteral(".tamrel");
    EXPECT_TRUE(QFileInfo::exists(saved));
    EXPECT_FALSE(QFileInfo::exists(chosen));
    EXPECT_EQ(window->saveCommand()->lastFileName(), saved);

    chosen.clear(); // cancelled
    ui().reLogFile->setPlainText(QStringLiteral("earlier"));
    save();
    EXPECT_EQ(offered, (QStringList{QString(), saved}));
    EXPECT_EQ(ui().reLogFile->toPlainText(), QStringLiteral("earlier"));

    EXPECT_EQ(withDefaultSuffix(QStringLiteral("a.csv")), QStringLiteral("a.csv"));
    EXPECT_EQ(withDefaultSuffix(QStringLiteral("dir.d/a")), QStringLiteral("dir.d/a.tamrel"));
}

TEST_F(SaveCommandTest, EmptyTableSavesAnEmptyFile) {
    ui().reLogFile->setPlainText(QStringLiteral("earlier"));
    chosen = dir.filePath(QStringLiteral("empty.csv"));
    save();
    EXPECT_EQ(readFile(chosen), QByteArray());
    EXPECT_TRUE(ui().reLogFile->toPlainText().isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

// Paths that cannot be written even by root: a regular file where a folder
// should be, and a folder where the file should be.
TEST_F(SaveCommandTest, FailedSaveTellsTheUserWhichFileAndWhy) {
    fillTable();
    QFile plain(dir.filePath(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
    const QString text = engine().csvTable().TableToText();

    for (const QString &name :
         {QStringLiteral("plain.txt/out.csv"), QStringLiteral("folder.csv")}) {
        SCOPED_TRACE(name.toStdString());
        errors.clear();
        chosen = dir.filePath(name);
        save();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(QDir::toNativeSeparators(chosen)))
            << errors[0].toStdString();
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Не удалось сохранить файл")));
        EXPECT_EQ(ui().reLogFile->toPlainText(), QString(text).remove(QLatin1Char('\r')));
        EXPECT_EQ(engine().csvTable().TableToText(), text);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder.csv"))).isDir());
}

// A NUL would cut the name short and a trailing separator would make a hidden
// ".tamrel" in that folder; both are refused, naming what the user chose, and
// nothing is written.
TEST_F(SaveCommandTest, NamesWithNulOrEndingInASeparatorAreRefused) {
    fillTable();
    const QString withNul = dir.filePath(QStringLiteral("run")) + QChar(0) + QStringLiteral(".csv");
    const QString folder = dir.filePath(QStringLiteral("sub")) + QLatin1Char('/');
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    struct Case {
        QString name;
        QString shown;
    };
    const Case cases[] = {
        {withNul, QDir::toNativeSeparators(dir.filePath(QStringLiteral("run"))) + "\\0.csv"},
        {folder, QDir::toNativeSeparators(folder)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        errors.clear();
        ui().reLogFile->setPlainText(QStringLiteral("earlier"));
        chosen = c.name;
        save();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Не удалось сохранить файл «") + c.shown +
                                         QStringLiteral("»")))
            << errors[0].toStdString();
        EXPECT_EQ(ui().reLogFile->toPlainText(), QStringLiteral("earlier"));
    }
    // Only the window's own run journal lies beside the settings.
    const QStringList written =
        QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QRegularExpression(QStringLiteral("^(?!runs\\.sqlite)")));
    EXPECT_EQ(written, QStringList());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

} // namespace
