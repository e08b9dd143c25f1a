#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QFrame>

#include <array>
#include <vector>

class QLabel;

// The green display of the meter replica (pnlDeviceIMDisplay). It only shows
// what it is given; the meter link decides what that is.
class MeterDisplayView : public QFrame {
    Q_OBJECT
public:
    enum class Field {
        RLC,       // lblDisplayRLC
        RLCValue,  // lblDisplayRLCValue
        DQ,        // lblDisplayDQ
        DQValue,   // lblDisplayDQValue
        Limit,     // lblDisplayLimit
        Level,     // lblDisplayLevel
        Frequency, // lblDisplayFrequency
        Offset,    // lblDisplayOffset
        Value1,    // lblValue1
        Value2,    // lblValue2
    };
    static constexpr int FieldCount = 10;
    static constexpr int ModeMarkCount = 4;

    explicit MeterDisplayView(QWidget *parent = nullptr);

    void setCaption(Field field, const QString &text);
    QString caption(Field field) const;
    QLabel *label(Field field) const;

    // mark is 1 to 4 (F1 to F4); other numbers are ignored.
    void setModeMarkVisible(int mark, bool visible);
    bool isModeMarkVisible(int mark) const;

    // The quantity D/Q with its value, the level and the frequency.
    void setSecondaryVisible(bool visible);

    void setPanelColor(const QColor &colour);
    QColor panelColor() const;

    // The reception mark changes at every frame, but the screen shows at
    // most one change per fifth of a second: the first change after a quiet
    // spell is shown at once, the later ones at that pace, the last one
    // always. After the pace a change waits a moment for a new caption, to
    // be painted with it. isFlashVisible tells the mark as the frames left it,
    // isFlashShown as the screen shows it now.
    void toggleFlash();
    bool isFlashVisible() const;
    bool isFlashShown() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    struct Anchored {
        QLabel *label;
        int designX;
    };
    QLabel *addLabel(const char *name, const QString &text, const QFont &font, QPoint at,
                     QSize size, bool rightAnchored);

    void fitFrequency();
    void showFlash();
    void catchUpFlash();

    std::array<QLabel *, FieldCount> m_fields{};
    // The frequency's box, from its place to the F3 mark, and its design font.
    QSize m_frequencyBox;
    QFont m_frequencyFont;
    std::array<QLabel *, ModeMarkCount> m_modeMarks{};
    QLabel *m_flash = nullptr;
    bool m_flashOn = true;
    // Runs while a change of the mark would come too soon after the last one
    // shown. Not a QTimer: the window's timers are its named ones.
    QBasicTimer m_flashPace;
    // The pace is over and the mark waits for the captions, a quarter of the
    // pace at most.
    bool m_flashDue = false;
    std::vector<Anchored> m_rightAnchored;
    // The colour last given; invalid before the first.
    QColor m_panelColour;
};
