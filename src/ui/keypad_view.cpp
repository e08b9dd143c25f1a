#include "ui/keypad_view.h"

#include "ui/key_glyph.h"
#include "ui/panel_colors.h"
#include "ui/rounded_panel.h"
#include "ui/ui_fonts.h"
#include "ui/widget_helpers.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

using uifont::Face;
using uifont::pixelFont;

namespace {

constexpr QSize kKeySize(40, 18);

struct KeySpec {
    KeypadView::Key key;
    const char *name;
    QPoint at;
    const char *face;
    const char *labelName;
    const char *labelText;
    QPoint labelAt;
    QSize labelSize;
    Qt::Alignment labelAlign;
};

using K = KeypadView::Key;

const KeySpec kFunctionKeys[] = {
    {K::F1, "btnF1", {11, 26}, "", "lblF1", "F1", {16, 14}, {30, 13}, Qt::AlignHCenter},
    {K::F2, "btnF2", {11, 64}, "", "lblF2", "F2", {16, 50}, {30, 13}, Qt::AlignHCenter},
    {K::F3, "btnF3", {11, 99}, "", "lblF3", "F3", {16, 88}, {30, 13}, Qt::AlignHCenter},
    {K::F4, "btnF4", {11, 142}, "", "lblF4", "F4", {16, 131}, {30, 13}, Qt::AlignHCenter},
};

const KeySpec kBlockKeys[] = {
    {K::K1, "btn1", {11, 20}, "1", "Label11", "C", {27, 7}, {13, 13}, Qt::AlignLeft},
    {K::K2, "btn2", {62, 20}, "2", "Label12", "L", {75, 7}, {13, 13}, Qt::AlignLeft},
    {K::K3, "btn3", {116, 20}, "3", "Label13", "R", {129, 7}, {13, 13}, Qt::AlignLeft},
    {K::K4, "btn4", {12, 57}, "4", "Label14", "I", {20, 45}, {30, 13}, Qt::AlignHCenter},
    {K::K5, "btn5", {64, 57}, "5", "Label15", "^", {69, 45}, {30, 13}, Qt::AlignHCenter},
    {K::K6, "btn6", {116, 57}, "6", "Label16", "Z", {121, 45}, {30, 13}, Qt::AlignHCenter},
    {K::K7, "btn7", {12, 93}, "7", "Label17", "<", {19, 82}, {30, 13}, Qt::AlignHCenter},
    {K::K8, "btn8", {64, 93}, "8", "Label18", QT_TRANSLATE_NOOP("KeypadView", "ВВОД"), {68, 82}, {30, 13}, Qt::AlignHCenter},
    {K::K9, "btn9", {116, 93}, "9", "Label19", ">", {120, 82}, {30, 13}, Qt::AlignHCenter},
    {K::K10, "btn10", {12, 136}, "", "Label20", "XX", {17, 125}, {30, 13}, Qt::AlignHCenter},
    {K::K11, "btn11", {64, 136}, "0", "Label21", "v", {68, 121}, {30, 13}, Qt::AlignHCenter},
    {K::K12, "btn12", {115, 136}, "", "Label22", QT_TRANSLATE_NOOP("KeypadView", "Меню"), {118, 126}, {30, 13}, Qt::AlignHCenter},
};

const K kDarkKeys[] = {K::K5, K::K7, K::K8, K::K9, K::K11};
const K kLightKeys[] = {K::K1,  K::K2, K::K3, K::K4, K::K6, K::K10,
                        K::K12, K::F1, K::F2, K::F3, K::F4};

// What a screen reader says for a key: its digit (if any) and the label above it.
QString accessibleKeyName(const KeySpec &spec) {
    const QString face = QString::fromUtf8(spec.face);
    const QString label = QCoreApplication::translate("KeypadView", spec.labelText);
    return face.isEmpty() ? label : face + QLatin1Char(' ') + label;
}

} // namespace

KeypadView::KeypadView(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlButtons"));
    uihelp::fillBackground(this, QColor(panelcolor::FrontPanel));

    m_keypad = new RoundedPanel(15, this);
    m_keypad->setObjectName(QStringLiteral("pnlButtons12"));
    uihelp::fillBackground(m_keypad, QColor(panelcolor::Keypad));
    m_keypad->setGeometry(57, 6, 168, 167);

    const QFont labelFont = pixelFont(Face::Tahoma, 9, true);
    auto addKey = [this, &labelFont](const KeySpec &spec, QWidget *parent) {
        QLabel *label = uihelp::placeLabel(parent, QString::fromLatin1(spec.labelName),
                                           QCoreApplication::translate("KeypadView", spec.labelText), labelFont,
                                           spec.labelAt, spec.labelSize);
        label->setAlignment(spec.labelAlign | Qt::AlignVCenter);
        auto *button = new QPushButton(QString::fromUtf8(spec.face), parent);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setGeometry(QRect(spec.at, kKeySize));
        button->setAccessibleName(accessibleKeyName(spec));
        m_keys[static_cast<int>(spec.key)] = button;
        return label;
    };
    for (const KeySpec &spec : kFunctionKeys)
        addKey(spec, this);
    for (const KeySpec &spec : kBlockKeys) {
        QLabel *label = addKey(spec, m_keypad);
        if (spec.key == K::K11)
            label->setFont(pixelFont(Face::Tahoma, 11));
    }
}

QPushButton *KeypadView::button(Key key) const {
    return m_keys[static_cast<int>(key)];
}

QWidget *KeypadView::keypadPanel() const {
    return m_keypad;
}

void KeypadView::bindAction(Key key, QAction *action) {
    uihelp::bindButton(button(key), action, false);
}

void KeypadView::PaintKeypad() {
    for (Key key : kDarkKeys)
        PaintKeyGlyph(button(key), QColor(panelcolor::DarkKey), QColor(panelcolor::LightKey), 0);
    for (Key key : kLightKeys)
        PaintKeyGlyph(button(key), QColor(panelcolor::LightKey), QColor(panelcolor::DarkKey), 0);
}
