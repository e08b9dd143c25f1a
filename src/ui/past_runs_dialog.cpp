#include "ui/past_runs_dialog.h"

#include "ui/journal_upkeep_bar.h"
#include "ui/sample_text.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PastRunsDialog", text);
}

QString timeText(const QDateTime &time) {
    return time.isValid() ? QLocale().toString(time, QStringLiteral("dd.MM.yyyy HH:mm:ss"))
                          : QStringLiteral("—");
}

constexpr int kSampleColumn = 4;

// A file saved while the run went on holds the readings up to the save only.
QString savedText(const TJournalRunSummary &run) {
    if (run.SavedFile.isEmpty())
        return tr("не сохранено");
    const QString file = QDir::toNativeSeparators(run.SavedFile);
    return run.UnsavedReadings ? tr("%1 (есть отсчёты после сохранения)").arg(file)
                               : file;
}

} // namespace

PastRunsDialog::PastRunsDialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgPastRuns"));
    setWindowTitle(tr("Прошлые измерения"));
    resize(900, 360);

    m_list = new QTableWidget(0, 6, this);
    m_list->setObjectName(QStringLiteral("grdPastRuns"));
    m_list->setHorizontalHeaderLabels(
        {tr("Начало"), tr("Окончание"), tr("Уставки × частоты"),
         tr("Заполнено ячеек"), tr("Образец"),
         tr("Сохранено в файл")});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);

    m_details = new QLabel(this);
    m_details->setObjectName(QStringLiteral("lblRunDetails"));
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_details->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(tr("Открыть"), QDialogButtonBox::ActionRole);
    m_save = buttons->addButton(tr("Сохранить в.."), QDialogButtonBox::ActionRole);
    m_export = buttons->addButton(tr("Сохранить все отсчёты..."),
                                  QDialogButtonBox::ActionRole);
    m_delete = buttons->addButton(tr("Удалить"), QDialogButtonBox::DestructiveRole);
    buttons->addButton(tr("Закрыть"), QDialogButtonBox::RejectRole);
    // Enter opens the selected run; deleting takes a click and a "Да".
    m_open->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_open, &QPushButton::clicked, this, [this] { emit openRequested(selectedRunId()); });
    connect(m_save, &QPushButton::clicked, this, [this] { emit saveRequested(selectedRunId()); });
    connect(m_export, &QPushButton::clicked, this,
            [this] { emit exportRequested(selectedRunId()); });
    connect(m_delete, &QPushButton::clicked, this,
            [this] { emit deleteRequested(selectedRunId()); });
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &PastRunsDialog::updateButtons);
    connect(m_list, &QTableWidget::itemSelectionChanged, this,
            [this] { emit selectedRunChanged(selectedRunId()); });
    connect(m_list, &QTableWidget::cellDoubleClicked, this,
            [this] { emit openRequested(selectedRunId()); });

    m_upkeep = new JournalUpkeepBar(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_details);
    layout->addWidget(m_upkeep);
    layout->addWidget(buttons);
    updateButtons();
}

void PastRunsDialog::setRuns(const QVector<TJournalRunSummary> &runs, qint64 currentRunId) {
    m_currentRunId = currentRunId;
    m_ids.clear();
    m_list->clearContents();
    m_list->setRowCount(runs.size());
    const QLocale locale;
    for (int row = 0; row < runs.size(); ++row) {
        const TJournalRunSummary &run = runs[row];
        m_ids << run.Id;
        QString start = timeText(run.StartedAt);
        if (run.Id == currentRunId)
            start += tr(" (на экране)");
        const QStringList texts = {
            start,
            timeText(run.EndedAt),
            QStringLiteral("%1 × %2").arg(locale.toString(run.SetPointCount),
                                          locale.toString(run.FrequencyCount)),
            locale.toString(run.CellCount),
            !run.Sample                ? QStringLiteral("—")
            : run.Sample->Name.isEmpty() ? tr("без имени")
                                         : run.Sample->Name,
            savedText(run),
        };
        for (int column = 0; column < texts.size(); ++column)
            m_list->setItem(row, column, new QTableWidgetItem(texts[column]));
        // The whole sample where the column has room for its name only.
        if (run.Sample)
            m_list->item(row, kSampleColumn)
                ->setToolTip(sampletext::details(*run.Sample, m_separator));
    }
    m_list->resizeColumnsToContents();
    if (!runs.isEmpty())
        m_list->selectRow(0);
    updateButtons();
}

void PastRunsDialog::setDetails(const QString &text) {
    m_details->setText(text);
}

qint64 PastRunsDialog::selectedRunId() const {
    const int row = m_list->currentRow();
    return m_list->selectionModel()->hasSelection() && row >= 0 && row < m_ids.size() ? m_ids[row]
                                                                                      : 0;
}

void PastRunsDialog::updateButtons() {
    const qint64 id = selectedRunId();
    m_open->setEnabled(id != 0);
    m_save->setEnabled(id != 0);
    m_export->setEnabled(id != 0);
    m_delete->setEnabled(id != 0 && id != m_currentRunId);
}
