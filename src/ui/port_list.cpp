#include "ui/port_list.h"

#include <QComboBox>
#include <QStyle>

namespace {
constexpr int kAdviceRole = Qt::UserRole;
constexpr int kDeviceRole = Qt::UserRole + 1;
} // namespace

void FillPortList(QComboBox *box, const QList<PortListEntry> &entries) {
    const QString text = box->currentText();
    box->clear();
    for (const PortListEntry &entry : entries) {
        if (entry.noPermissionAdvice.isEmpty()) {
            box->addItem(entry.name);
            continue;
        }
        box->addItem(box->style()->standardIcon(QStyle::SP_MessageBoxWarning), entry.name);
        const int index = box->count() - 1;
        box->setItemData(index, entry.noPermissionAdvice, Qt::ToolTipRole);
        box->setItemData(index, entry.noPermissionAdvice, kAdviceRole);
        box->setItemData(index, entry.devicePath, kDeviceRole);
    }
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box->setEditText(text);
}

QString PortItemAdvice(const QComboBox *box, int index) {
    return box->itemData(index, kAdviceRole).toString();
}

QString PortItemDevice(const QComboBox *box, int index) {
    return box->itemData(index, kDeviceRole).toString();
}
