#pragma once

#include <QString>

// Why this account may not open a serial device that exists, and so what the user can do
// about it. The serial layer finds the reason on the system it runs on; the window says it.
struct PortAccessReason {
    enum Kind {
        // No group the user could join may open it: only the administrator can give access.
        AskAdministrator,
        // Members of `group` may open it (Linux): join with usermod, then log in again.
        JoinGroup,
        // Members of `group` may open it, on a system whose command for joining we do not
        // know: ask the administrator to add the user, then log in again.
        AskToJoinGroup,
        // The user was added to `group` after this session's login: log in again.
        LogInAgain,
        // Windows refuses an opened port to everyone else: another program holds it.
        HeldByAnotherProgram,
    };

    Kind kind = AskAdministrator;
    QString group;
    QString user;

    bool operator==(const PortAccessReason &o) const {
        return kind == o.kind && group == o.group && user == o.user;
    }
};
