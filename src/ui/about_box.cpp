#include "ui/about_box.h"

#include "settings/data_folder.h"
#include "ui/about_logo.h"
#include "ui/ui_fonts.h"
#include "ui/widget_helpers.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <qdrawutil.h>

namespace {

constexpr QSize kClientSize(486, 161);
constexpr QSize kLogoSize(478, 94);

// A panel framed by a lowered outer and a raised inner bevel.
class BevelPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("О программе"));
    setModal(true);
    setFixedSize(kClientSize);
    setFont(uifont::pixelFont(uifont::Face::MsSansSerif, 11));

    auto *panel = new BevelPanel(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(QRect(QPoint(0, 0), kClientSize));

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(QRect(QPoint(4, 1), kLogoSize));
    icon->setScaledContents(true);
    icon->setPixmap(drawProgramLogo(kLogoSize));
    icon->setAccessibleName(ProgramName());

    m_productName = uihelp::placeLabel(panel, QStringLiteral("ProductName"),
                                       QStringLiteral("Product Name"), font(), {7, 106});
    uihelp::placeLabel(panel, QStringLiteral("Comments"),
                       tr("Измеритель иммитанса Tamrel\nи термометр DS1820"), font(),
                       {7, 128});

    m_actSetLabelText = new QAction(QStringLiteral("actSetLabelText"), this);
    m_actSetLabelText->setObjectName(QStringLiteral("actSetLabelText"));
    connect(m_actSetLabelText, &QAction::triggered, this, &TAboutBox::actSetLabelTextExecute);
}

void TAboutBox::actSetLabelTextExecute() {
    m_productName->setText(ProgramName());
    m_productName->adjustSize();
}

void TAboutBox::showEvent(QShowEvent *event) {
    m_actSetLabelText->trigger();
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
