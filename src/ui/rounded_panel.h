#pragma once

#include <QWidget>

// A panel whose visible outline is a rectangle with rounded corners: the
// corners outside the outline are neither drawn nor take the mouse.
class RoundedPanel : public QWidget {
    Q_OBJECT
public:
    explicit RoundedPanel(int cornerDiameter, QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void pnlButtons12Resize();

    int m_cornerDiameter;
};
