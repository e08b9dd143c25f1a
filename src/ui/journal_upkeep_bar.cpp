#include "ui/journal_upkeep_bar.h"

#include "base/number_format.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr int kDefaultDays = 365;
constexpr int kMostDays = 36500;

} // namespace

JournalUpkeepBar::JournalUpkeepBar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("barJournalUpkeep"));
    m_size = new QLabel(this);
    m_size->setObjectName(QStringLiteral("lblJournalSize"));
    m_compact = new QPushButton(tr("Сжать журнал"), this);
    m_compact->setObjectName(QStringLiteral("btnCompactJournal"));
    m_compact->setToolTip(tr("Убрать из файла журнала место, оставшееся от удалённых измерений"));
    m_days = new QSpinBox(this);
    m_days->setObjectName(QStringLiteral("spnOlderDays"));
    m_days->setRange(1, kMostDays);
    m_days->setValue(kDefaultDays);
    m_days->setSuffix(tr(" дн."));
    m_deleteOlder = new QPushButton(tr("Удалить измерения старше"), this);
    m_deleteOlder->setObjectName(QStringLiteral("btnDeleteOlderRuns"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_size, 1);
    row->addWidget(m_compact);
    row->addSpacing(12);
    row->addWidget(m_deleteOlder);
    row->addWidget(m_days);

    connect(m_compact, &QPushButton::clicked, this, &JournalUpkeepBar::compactRequested);
    connect(m_deleteOlder, &QPushButton::clicked, this,
            [this] { emit deleteOlderRequested(m_days->value()); });
}

void JournalUpkeepBar::setJournalBytes(qint64 bytes) {
    m_size->setText(tr("Размер журнала измерений: %1").arg(bytesText(bytes)));
}

QString JournalUpkeepBar::sizeText() const {
    return m_size->text();
}

QString JournalUpkeepBar::bytesText(qint64 bytes) {
    const QChar sep = numfmt::systemDecimalSeparator();
    constexpr double kKilo = 1024.0;
    if (bytes < kKilo * kKilo)
        return tr("%1 КБ").arg(numfmt::fixed(bytes / kKilo, 0, 0, sep));
    if (bytes < kKilo * kKilo * kKilo)
        return tr("%1 МБ").arg(numfmt::fixed(bytes / (kKilo * kKilo), 0, 1, sep));
    return tr("%1 ГБ").arg(numfmt::fixed(bytes / (kKilo * kKilo * kKilo), 0, 2, sep));
}
