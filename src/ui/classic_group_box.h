#pragma once

#include <QGroupBox>

// A group box drawn the classic way: an etched frame whose top line runs
// through the middle of the title, so the content may start right below the
// title. Its children are placed at fixed positions.
class ClassicGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit ClassicGroupBox(const QString &title, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
