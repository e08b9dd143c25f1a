#include "ui/run_status_view.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace {

// A label repaints even when given the text it shows; the display refresh
// sets the same texts many times a second.
void setIfChanged(QLabel *label, const QString &text) {
    if (label->text() != text)
        label->setText(text);
}

QFrame *addSeparator(QHBoxLayout *layout) {
    auto *line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    return line;
}

QLabel *addLabel(QHBoxLayout *layout, const char *name, int stretch) {
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    if (layout->count() > 0)
        addSeparator(layout);
    layout->addWidget(label, stretch);
    return label;
}

// A label that shows, with its separator, only while it has something to say.
QLabel *addOccasionalLabel(QHBoxLayout *layout, const char *name) {
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(layout->spacing());
    addSeparator(row);
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    row->addWidget(label);
    layout->addWidget(box);
    box->hide();
    return label;
}

void setOccasional(QLabel *label, const QString &text) {
    setIfChanged(label, text);
    label->parentWidget()->setVisible(!text.isEmpty());
}

} // namespace

RunStatusView::RunStatusView(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlRunStatus"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(8);
    m_cells = addLabel(layout, "lblCells", 0);
    m_elapsed = addLabel(layout, "lblElapsed", 0);
    m_drift = addLabel(layout, "lblDrift", 0);
    m_arrival = addLabel(layout, "lblArrival", 1);
    m_sample = new QLabel;
    m_sample->setObjectName(QStringLiteral("lblSample"));
    m_sample->hide();
    layout->addWidget(m_sample);
    m_meterLink = addOccasionalLabel(layout, "lblMeterLink");
    m_thermoLink = addOccasionalLabel(layout, "lblThermoLink");
}

void RunStatusView::setCells(const QString &text) {
    setIfChanged(m_cells, text);
}

void RunStatusView::setElapsed(const QString &text) {
    setIfChanged(m_elapsed, text);
}

void RunStatusView::setDrift(const QString &text) {
    setIfChanged(m_drift, text);
}

void RunStatusView::setArrival(const QString &text) {
    setIfChanged(m_arrival, text);
}

void RunStatusView::setSample(const QString &text) {
    setIfChanged(m_sample, text);
    m_sample->setVisible(!text.isEmpty());
}

void RunStatusView::setMeterLink(const QString &text) {
    setOccasional(m_meterLink, text);
}

void RunStatusView::setThermometerLink(const QString &text) {
    setOccasional(m_thermoLink, text);
}
