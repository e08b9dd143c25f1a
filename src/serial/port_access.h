#pragma once

#include <QString>

// What a user can do about a serial device that exists but that this account may not open.
// On Linux serial devices belong to a group (dialout on Debian): its members may open them,
// and a new membership counts from the next login.

// The short Russian remedy: which group to join and how, then to log in again (or only to log
// in again when the user was added since); or, when the device's group may not open it
// either, to ask the administrator for access.
QString NoPermissionRemedy(const QString &devicePath);

// The whole advice for one port: that it cannot be opened, its device, and the remedy.
QString NoPermissionAdvice(const QString &portName, const QString &devicePath);
