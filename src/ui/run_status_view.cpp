#include "ui/run_status_view.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QLabel *addLabel(QHBoxLayout *layout, const char *name, int stretch) {
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    if (layout->count() > 0) {
        auto *line = new QFrame;
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
    }
    layout->addWidget(label, stretch);
    return label;
}

// A label repaints even when given the text it shows; the display refresh
// sets the same texts many times a second.
void setIfChanged(QLabel *label, const QString &text) {
    if (label->text() != text)
        label->setText(text);
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
