#pragma once

#include <QList>
#include <QString>

class QComboBox;

// One port of a port-number list. A port this user may not open carries the advice on what to
// do about it and its device; the others carry neither.
struct PortListEntry {
    QString name;
    QString devicePath;
    QString noPermissionAdvice;
};

// Puts the ports into the box's list. The box keeps its text and selects the item that equals
// it exactly, if any. A port the user may not open is marked with a warning sign and its
// advice as the tooltip.
void FillPortList(QComboBox *box, const QList<PortListEntry> &entries);

// The advice and the device of the box's item; empty for a port the user may open.
QString PortItemAdvice(const QComboBox *box, int index);
QString PortItemDevice(const QComboBox *box, int index);
