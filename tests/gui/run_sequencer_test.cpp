// Start and stop of a measurement run: the frequency check, the refusals, the
// CSV table's titles and the commands a run switches.
#include "run_window_support.h"

#include "app/main_actions.h"
#include "control/table_preparation.h"
#include "serial/ser_com_port.h"

#include <QAction>
#include <QLineEdit>

namespace {

const QString kBadFrequencies = QStringLiteral(
    "Внимание, введены неверные частоты в красных ячейках. Значения должны иди по возрастанию и "
    "свыше 1 кГц быть кратны 1000. Измерения не будут начаты!");
const QString kDevicesMissing = QStringLiteral(
    "Внимание, одно или несколько устройств не доступны. Измерения не будут начаты!");

class RunSequencerTest : public RunWindowTest {
protected:
    void SetUp() override {
        RunWindowTest::SetUp();
        engine().csvTable().SetTableSize(0, 0);
        window->ui().lblSkipIM->setText(QStringLiteral("6"));
    }

    TRunSequencer &sequencer() { return *window->runSequencer(); }
    const MainActions &actions() const { return window->actions(); }
    void start() { actions().actStart->trigger(); }
    void setFrequencyRow(const QStringList &texts) {
        grid()->setColumnCount(texts.size() + 2);
        for (int i = 0; i < texts.size(); ++i)
            setCell(0, i + 2, texts[i]);
    }
    void expectIdle() {
        EXPECT_FALSE(engine().isRunning());
        EXPECT_TRUE(actions().actStart->isEnabled());
        EXPECT_FALSE(actions().actStop->isEnabled());
        EXPECT_TRUE(actions().actApplySettiingsTempAndGrid->isEnabled());
    }

    QStringList warnings() const { return prompts.questions(); }
};

TEST_F(RunSequencerTest, InvalidFrequencyRowIsRefusedWithTheRedCellWarning) {
    const QStringList rows[] = {
        {"100", "1000", "1500"}, // not whole kilohertz
        {"1000", "100", "5000"}, // not ascending
        {"100", "100", "5000"},  // repeated
        {"20", "1000", "5000"},  // below the meter's range
        {"100", "1000", "1001000"}, {"100", "", "5000"}, {"100", "abc", "5000"},
    };
    for (const QStringList &row : rows) {
        SCOPED_TRACE(row.join(QLatin1Char(' ')).toStdString());
        prompts.asks.clear();
        state().LastDialogResult = -1;
        setFrequencyRow(row);
        start();
        EXPECT_EQ(warnings(), QStringList{kBadFrequencies});
        EXPECT_EQ(state().LastDialogResult, int(TPromptChoice::Role::Cancel));
        EXPECT_TRUE(engine().csvTable().RowHeaders().isEmpty());
        expectIdle();
    }
}

TEST_F(RunSequencerTest, MissingDeviceIsRefusedAfterTheCsvTableIsTitled) {
    engine().setInstrumentsReady(false);
    window->ui().lblSkipIM->setText(QStringLiteral("-1"));
    start();
    EXPECT_EQ(warnings(), QStringList{kDevicesMissing});
    EXPECT_EQ(state().LastDialogResult, int(TPromptChoice::Role::Cancel));
    EXPECT_EQ(engine().skipCount(), 255); // kept in one byte
    const TCSVTable &csv = engine().csvTable();
    EXPECT_EQ(csv.ColHeaders(), QStringList({"100", "1000", "5000"}));
    ASSERT_EQ(csv.RowHeaders().size(), kSetPointCount);
    EXPECT_EQ(csv.RowHeaders().first(), QStringLiteral("-50"));
    EXPECT_EQ(csv.RowHeaders().last(), QStringLiteral("30"));
    expectIdle();
}

TEST_F(RunSequencerTest, SkipCountThatIsNotANumberAbandonsTheStartSilently) {
    engine().setInstrumentsReady(true);
    window->ui().lblSkipIM->setText(QStringLiteral("abc"));
    start();
    EXPECT_TRUE(warnings().isEmpty());
    EXPECT_EQ(engine().skipCount(), 6);
    EXPECT_EQ(engine().csvTable().ColHeaders().size(), 3);
    expectIdle();
}

TEST_F(RunSequencerTest, StartSwitchesToARunAndClearsAnOldChange) {
    engine().setInstrumentsReady(true);
    window->ui().lblSkipIM->setText(QStringLiteral("3"));
    engine().beginFreqChange(5000);
    start();

    EXPECT_TRUE(warnings().isEmpty());
    EXPECT_TRUE(engine().isRunning());
    EXPECT_EQ(engine().skipCount(), 3);
    EXPECT_EQ(window->tablePreparation()->tableTag(), 1);
    EXPECT_EQ(engine().stepState().StepTarget, 0);
    EXPECT_EQ(engine().stepState().StepWaypoint, 0);
    EXPECT_EQ(engine().stepState().StepFinePhase, 1);
    EXPECT_FALSE(actions().actStart->isEnabled());
    EXPECT_TRUE(actions().actStop->isEnabled());
    EXPECT_FALSE(actions().actApplySettiingsTempAndGrid->isEnabled());
    EXPECT_FALSE(actions().actFileSaveTo->isEnabled());
    for (QAction *key : actions().keypadActions())
        EXPECT_FALSE(key->isEnabled()) << key->objectName().toStdString();
}

TEST_F(RunSequencerTest, StopReturnsToIdleAndKeepsTheTableMarked) {
    engine().setInstrumentsReady(true);
    start();
    engine().beginFreqChange(5000);
    actions().actStop->trigger();

    expectIdle();
    EXPECT_TRUE(actions().actFileSaveTo->isEnabled());
    for (QAction *key : actions().keypadActions())
        EXPECT_TRUE(key->isEnabled()) << key->objectName().toStdString();
    EXPECT_EQ(window->tablePreparation()->tableTag(), 1);
    EXPECT_EQ(engine().stepState().StepTarget, 5000);
    EXPECT_FALSE(window->portIM()->isOpen());
    EXPECT_FALSE(window->portTemp()->isOpen());
}

TEST_F(RunSequencerTest, RunWithoutFrequenciesStartsButNeverSteps) {
    engine().setInstrumentsReady(true);
    setFrequencyRow({});
    start();
    EXPECT_TRUE(engine().isRunning());
    EXPECT_EQ(engine().frequencies().Count(), 0);

    storeTemperature(20.0);
    storeMeterFrame(1000, 2);
    refreshMeter();
    EXPECT_TRUE(filledResultCells().empty());
    EXPECT_EQ(engine().stepState().StepTarget, 0);
}

} // namespace
