#include "control/sample_command.h"

#include "control/journal_controller.h"
#include "ui/sample_dialog.h"

TSampleCommand::TSampleCommand(TJournalController &journal, QChar decimalSeparator,
                               QWidget *dialogParent, QObject *parent)
    : QObject(parent), m_journal(journal), m_separator(decimalSeparator),
      m_dialogParent(dialogParent) {}

void TSampleCommand::actSampleExecute() {
    SampleDialog dialog(m_separator, m_dialogParent);
    dialog.setSample(m_journal.sample());
    if (m_shown)
        m_shown(dialog);
    else
        dialog.exec();
    if (dialog.result() == QDialog::Accepted)
        m_journal.setSample(dialog.chosen());
}
