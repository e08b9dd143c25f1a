#pragma once

#include <QWidget>

#include <array>

class QAction;
class QPushButton;
class RoundedPanel;

// pnlButtons: the meter's four function keys and its twelve-key block
// (pnlButtons12) with the labels printed above the keys. Each key is a button
// that runs the action bound to it; the faces are painted by PaintKeypad.
class KeypadView : public QWidget {
    Q_OBJECT
public:
    enum class Key { F1, F2, F3, F4, K1, K2, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12 };
    static constexpr int KeyCount = 16;

    explicit KeypadView(QWidget *parent = nullptr);

    QPushButton *button(Key key) const;
    QWidget *keypadPanel() const;

    // The key keeps its own face; it only takes the action's enabled state.
    void bindAction(Key key, QAction *action);

    // Paints every key face once: dark keys 5, 7, 8, 9, 0, then the light ones.
    void PaintKeypad();

private:
    std::array<QPushButton *, KeyCount> m_keys{};
    RoundedPanel *m_keypad = nullptr;
};
