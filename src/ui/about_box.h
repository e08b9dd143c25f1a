#pragma once

#include <QDialog>

class QAction;
class QLabel;

// AboutBox: the program's logo, name and a contact line. Created once, hidden,
// and shown modally on request.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QLabel *productName() const { return m_productName; }

public slots:
    void actSetLabelTextExecute();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_productName = nullptr;
    QAction *m_actSetLabelText = nullptr;
};
