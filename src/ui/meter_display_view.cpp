#include "ui/meter_display_view.h"

#include "ui/panel_colors.h"
#include "ui/ui_fonts.h"
#include "ui/widget_helpers.h"

#include <QLabel>
#include <QResizeEvent>
#include <QTimerEvent>

using uifont::Face;
using uifont::pixelFont;

namespace {
// The width the right-anchored labels were placed for.
constexpr int kDesignWidth = 360;
constexpr int kDesignHeight = 167;
constexpr QPoint kFrequencyAt{249, 87};
constexpr int kF3MarkX = 324;
// A mark that changes more often than this is only a flicker to the eye,
// and each change shown costs a repaint of the panel under it. The display
// refresh's period: the first frame after a quiet spell starts both, so the
// mark and the captions are painted together.
constexpr int kMarkPaceMs = 200;
// After its pace the mark waits this long for the captions before a change
// is shown on its own: the refresh runs a period after the first frame after
// the last refresh, and a fast line sends a frame in less than this.
constexpr int kMarkWaitMs = kMarkPaceMs / 4;
const QString kMarkText = QStringLiteral("*");
} // namespace

MeterDisplayView::MeterDisplayView(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlDeviceIMDisplay"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    resize(kDesignWidth, kDesignHeight);
    setPanelColor(QColor(panelcolor::LinkOk));

    const QFont big = pixelFont(Face::System, 27, true);
    const QFont small = pixelFont(Face::System, 11, true);
    const QFont mark = pixelFont(Face::Terminal, 27, true);
    const QSize sized;

    auto field = [this](Field f) -> QLabel *& { return m_fields[static_cast<int>(f)]; };
    field(Field::RLC) = addLabel("lblDisplayRLC", "R", big, {10, 47}, sized, false);
    field(Field::RLCValue) = addLabel("lblDisplayRLCValue", QString(), big, {70, 47}, sized, false);
    field(Field::DQ) = addLabel("lblDisplayDQ", "D", big, {10, 87}, sized, false);
    field(Field::DQValue) = addLabel("lblDisplayDQValue", QString(), big, {70, 87}, sized, false);
    field(Field::Limit) = addLabel("lblDisplayLimit", "A100kOm", big, {193, 14}, sized, true);
    field(Field::Level) = addLabel("lblDisplayLevel", "0.02V", big, {243, 47}, sized, true);
    field(Field::Frequency) =
        addLabel("lblDisplayFrequency", "1kHz", big, kFrequencyAt, sized, true);
    field(Field::Offset) = addLabel("lblDisplayOffset", "0.00V", big, {243, 130}, sized, true);
    field(Field::Value1) = addLabel("lblValue1", "0", small, {38, 125}, sized, false);
    field(Field::Value2) = addLabel("lblValue2", "0", small, {38, 141}, sized, false);

    m_modeMarks = {
        addLabel("lblDisplayF1Mode", "*", mark, {324, 21}, {30, 30}, true),
        addLabel("lblDisplayF2Mode", "*", mark, {324, 53}, {30, 30}, true),
        addLabel("lblDisplayF3Mode", "*", mark, {kF3MarkX, 93}, {30, 30}, true),
        addLabel("lblDisplayF4Mode", "*", mark, {324, 136}, {30, 25}, true),
    };
    for (QLabel *m : m_modeMarks)
        m->setAlignment(Qt::AlignCenter);

    QFont flash = pixelFont(Face::SmallFonts, 27, true);
    m_flash = addLabel("lblDisplayFlash", kMarkText, flash, {10, 129}, sized, false);

    m_frequencyFont = big;
    m_frequencyBox = QSize(kF3MarkX - kFrequencyAt.x(), label(Field::Frequency)->height());
    label(Field::Frequency)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fitFrequency();
}

// The substitute face is wider than the one the display was drawn for:
// "100kHz" would run into the F3 mark. The text is fitted into its box.
void MeterDisplayView::fitFrequency() {
    QLabel *l = label(Field::Frequency);
    uihelp::fitFontToWidth(l, m_frequencyFont, m_frequencyBox.width(),
                           m_frequencyFont.pixelSize() * 2 / 3);
    l->resize(m_frequencyBox);
}

QLabel *MeterDisplayView::addLabel(const char *name, const QString &text, const QFont &font,
                                   QPoint at, QSize size, bool rightAnchored) {
    QLabel *label = uihelp::placeLabel(this, QString::fromLatin1(name), text, font, at, size);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    if (rightAnchored)
        m_rightAnchored.push_back({label, at.x()});
    return label;
}

// The refresh sets every caption five times a second, most of them unchanged;
// sizing a label to its text is the costly part.
void MeterDisplayView::setCaption(Field field, const QString &text) {
    QLabel *l = label(field);
    if (l->text() == text)
        return;
    l->setText(text);
    if (field == Field::Frequency)
        fitFrequency();
    else
        l->adjustSize();
    catchUpFlash();
}

QString MeterDisplayView::caption(Field field) const {
    return label(field)->text();
}

QLabel *MeterDisplayView::label(Field field) const {
    return m_fields[static_cast<int>(field)];
}

void MeterDisplayView::setModeMarkVisible(int mark, bool visible) {
    if (mark >= 1 && mark <= ModeMarkCount)
        m_modeMarks[mark - 1]->setVisible(visible);
}

bool MeterDisplayView::isModeMarkVisible(int mark) const {
    return mark >= 1 && mark <= ModeMarkCount && m_modeMarks[mark - 1]->isVisibleTo(this);
}

void MeterDisplayView::setSecondaryVisible(bool visible) {
    for (Field f : {Field::DQ, Field::DQValue, Field::Level, Field::Frequency})
        label(f)->setVisible(visible);
}

// Every frame sets the colour, nearly always the one the panel has; reading
// the panel's palette asks the window system whether the window is active.
void MeterDisplayView::setPanelColor(const QColor &colour) {
    if (colour == m_panelColour)
        return;
    m_panelColour = colour;
    uihelp::fillBackground(this, colour);
}

QColor MeterDisplayView::panelColor() const {
    return palette().color(QPalette::Window);
}

// The panel is painted for the new caption: a change of the mark that is due
// goes into the same painting instead of one of its own, and the mark's next
// pace starts with the captions' even when it has nothing to show now, so that
// on a fast line the two keep step.
void MeterDisplayView::catchUpFlash() {
    if (m_flashDue)
        showFlash();
}

void MeterDisplayView::toggleFlash() {
    m_flashOn = !m_flashOn;
    if (!m_flashPace.isActive())
        showFlash();
}

// The label stays shown and only its text comes and goes: showing and hiding
// a widget asks the window system where the pointer is, a round trip each time.
void MeterDisplayView::showFlash() {
    if (isFlashShown() != m_flashOn)
        m_flash->setText(m_flashOn ? kMarkText : QString());
    m_flashPace.start(kMarkPaceMs, this);
    m_flashDue = false;
}

bool MeterDisplayView::isFlashShown() const {
    return !m_flash->text().isEmpty();
}

void MeterDisplayView::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_flashPace.timerId()) {
        QFrame::timerEvent(event);
        return;
    }
    m_flashPace.stop();
    if (!m_flashDue) {
        m_flashDue = true;
        m_flashPace.start(kMarkWaitMs, this);
        return;
    }
    m_flashDue = false;
    if (isFlashShown() != m_flashOn)
        showFlash();
}

bool MeterDisplayView::isFlashVisible() const {
    return m_flashOn;
}

void MeterDisplayView::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    const int shift = width() - kDesignWidth;
    for (const Anchored &a : m_rightAnchored)
        a.label->move(a.designX + shift, a.label->y());
}
