#include "control/table_preparation.h"

#include "base/number_format.h"
#include "control/results_grid_controller.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "model/app_state.h"
#include "run/numeric_key_filter.h"
#include "run/results_layout.h"
#include "run/set_points.h"
#include "ui/main_window_ui.h"
#include "ui/reason_texts.h"
#include "ui/results_grid_view.h"
#include "ui/run_texts.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

namespace {

void deleteCells(QTableWidget *grid, int firstRow, int firstColumn) {
    for (int r = firstRow; r < grid->rowCount(); ++r)
        for (int c = firstColumn; c < grid->columnCount(); ++c)
            if (grid->item(r, c))
                delete grid->takeItem(r, c);
}

bool isCountEdit(const QObject *edit) {
    return edit && edit->objectName().contains(QLatin1String("Count"));
}

// Many cells change at once: the grid repaints once at the end and sends no
// per-cell change notifications.
class BulkGridEdit {
public:
    explicit BulkGridEdit(QTableWidget *grid)
        : m_grid(grid), m_updates(grid->updatesEnabled()), m_signals(grid->blockSignals(true)) {
        m_grid->setUpdatesEnabled(false);
    }
    ~BulkGridEdit() {
        m_grid->blockSignals(m_signals);
        m_grid->setUpdatesEnabled(m_updates);
    }
    BulkGridEdit(const BulkGridEdit &) = delete;
    BulkGridEdit &operator=(const BulkGridEdit &) = delete;

private:
    QTableWidget *m_grid;
    bool m_updates;
    bool m_signals;
};

} // namespace

TTablePreparation::TTablePreparation(TAppState &state, RunEngine &engine,
                                     const RunParameterWidgets &ui, ResultsGridView *grdTable,
                                     QAction *actStop, UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_state(state), m_engine(engine), m_ui(ui), m_actStop(actStop),
      m_grid(grdTable), m_prompts(prompts) {}

void TTablePreparation::notifyColumnCountUnknown() {
    m_prompts.notice(TPromptIcon::Information, runtext::columnCountUnknown());
}

void TTablePreparation::actApplySettiingsTempAndGridExecute() {
    if (tableTag() > 0) {
        // The question empties the table: Enter keeps it.
        const QVector<TPromptChoice> choices = {{TPromptChoice::Role::Yes, {}},
                                                {TPromptChoice::Role::Cancel, {}}};
        const int answer = m_prompts.question(TPromptIcon::Warning, runtext::dataLossWarning(), choices, 1);
        m_state.LastDialogResult = answerCode(choices, answer);
        if (answer != 0)
            return;
    }
    setTableTag(0);
    m_engine.csvTable().SetTableSize(0, 0);
    emptyGrid(m_ui.chbKeepFreq->isChecked());
    m_engine.temperatures().Clear();
    readColumnCount();
    const QString refusal = layOutSetPoints();
    if (!refusal.isEmpty())
        m_prompts.notice(TPromptIcon::Information, refusal);

    m_actStop->setEnabled(false);
    setGridEditing(*m_grid, true);
    using namespace resultslayout;
    setCellText(m_grid, kHeaderRow, kSetPointColumn, QString::fromUtf8(kSetPointHeaderText));
    setCellText(m_grid, kHeaderRow, kActualTemperatureColumn,
                QString::fromUtf8(kActualTempHeaderText));
    emit tablePrepared();
}

void TTablePreparation::emptyReadings() {
    {
        BulkGridEdit bulk(m_grid);
        deleteCells(m_grid, 1, 1);
    }
    m_engine.csvTable().SetTableSize(0, 0);
    setTableTag(0);
    emit tablePrepared();
}

// With the frequencies kept, every row below the header is emptied; otherwise
// every column but the set points (the new set points overwrite those).
void TTablePreparation::emptyGrid(bool keepFrequencies) {
    BulkGridEdit bulk(m_grid);
    if (keepFrequencies)
        deleteCells(m_grid, 1, 0);
    else
        deleteCells(m_grid, 0, 1);
}

// An unreadable count keeps the columns the grid has. The frequency columns
// are sized here at once, so a kept frequency in the last column survives.
void TTablePreparation::readColumnCount() {
    bool ok = false;
    const int count = m_ui.leFreqColCount->text().toInt(&ok, 10);
    if (!ok || count < 0) {
        notifyColumnCountUnknown();
        return;
    }
    BulkGridEdit bulk(m_grid);
    m_grid->setColumnCount(count + ResultsGridView::FrozenColumnCount);
}

// Each temperature goes into the storage as soon as it is read, so a failure
// leaves the ones before it. Returns the message for the user when no set
// points are laid out: the general one for a temperature that is not a number,
// otherwise the reason the set points were refused. Empty on success.
QString TTablePreparation::layOutSetPoints() {
    TTempStorage &storage = m_engine.temperatures();
    if (!readTemperature(m_ui.leTempInit, storage.TempInit) ||
        !readTemperature(m_ui.leTempFinal, storage.TempFinal) ||
        !readTemperature(m_ui.leTempStep, storage.TempStep) ||
        !readTemperature(m_ui.leTempDiff, storage.TempDiff))
        return runtext::columnCountUnknown();

    const SetPointTable table =
        generateSetPoints(storage.TempInit, storage.TempFinal, storage.TempStep, storage.TempDiff,
                          m_state.DecimalSeparator, storage);
    if (table.error != SetPointError::None)
        return SetPointErrorText(table.error);

    BulkGridEdit bulk(m_grid);
    m_grid->setRowCount(table.rows.size() + 1);
    for (const SetPointRow &row : table.rows)
        setCellText(m_grid, row.row, 0, row.text);
    return QString();
}

bool TTablePreparation::readTemperature(const QLineEdit *edit, double &target) {
    double value = 0.0;
    if (!numfmt::parseFloat(edit->text(), m_state.DecimalSeparator, &value))
        return false;
    target = value;
    return true;
}

void TTablePreparation::placeDefaultFrequencies() {
    for (size_t i = 0; i < kDefaultFrequencies.size(); ++i) {
        const int column = ResultsGridView::FrozenColumnCount + static_cast<int>(i);
        setCellText(m_grid, 0, column,
                    numfmt::general(kDefaultFrequencies[i], m_state.DecimalSeparator));
    }
}

void TTablePreparation::leFreqColCountDblClick() {
    if (m_ui.leFreqColCount->text() != QLatin1String("5"))
        return;
    const QTableWidgetItem *first = m_grid->item(0, ResultsGridView::FrozenColumnCount);
    if (first && !first->text().isEmpty())
        return;
    placeDefaultFrequencies();
}

void TTablePreparation::NumericKeyPress(const QObject *edit, QChar &key) const {
    key = filterNumericKey(key, isCountEdit(edit), m_state.DecimalSeparator);
}

// Only typed characters are filtered; editing keys and shortcuts (arrows,
// Delete, Ctrl+V ...) carry no printable text and reach the edit unchanged.
bool TTablePreparation::filterTypedKey(QLineEdit *edit, QKeyEvent *event) const {
    const QString typed = event->text();
    if (typed.size() != 1)
        return false;
    QChar key = typed.at(0);
    if (key != QChar(8) && !key.isPrint())
        return false;
    const QChar original = key;
    NumericKeyPress(edit, key);
    if (key == original)
        return false;
    if (!key.isNull())
        edit->insert(QString(key));
    return true;
}

bool TTablePreparation::eventFilter(QObject *watched, QEvent *event) {
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && event->type() == QEvent::KeyPress)
        return filterTypedKey(edit, static_cast<QKeyEvent *>(event));
    if (edit && edit == m_ui.leFreqColCount && event->type() == QEvent::MouseButtonDblClick)
        leFreqColCountDblClick();
    return QObject::eventFilter(watched, event);
}
