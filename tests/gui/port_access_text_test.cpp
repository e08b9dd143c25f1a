// What the user reads about a port this account may not open, for each reason a system gives.
#include "ui/port_access_text.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct RemedyCase {
    PortAccessReason reason;
    const char *text;
};

TEST(PortAccessText, EachReasonGivesItsRemedy) {
    const RemedyCase cases[] = {
        {{PortAccessReason::JoinGroup, "dialout", "nobody"},
         "Порт открывают члены группы «dialout». Добавьте себя в неё командой\n\n"
         "sudo usermod -aG dialout nobody\n\n"
         "и войдите в систему заново (выйдите из сеанса и войдите снова)."},
        {{PortAccessReason::AskToJoinGroup, "dialer", "nobody"},
         "Порт открывают члены группы «dialer». Попросите администратора добавить вас в неё и "
         "войдите в систему заново."},
        {{PortAccessReason::LogInAgain, "uucp", "anna"},
         "Вы уже в группе «uucp», но вошли в систему раньше, чем вас в неё добавили: выйдите из "
         "системы и войдите снова."},
        {{PortAccessReason::AskAdministrator, {}, {}},
         "У вашей учётной записи нет права открывать это устройство; попросите администратора "
         "дать вам доступ к нему."},
        {{PortAccessReason::HeldByAnotherProgram, {}, {}},
         "Порт занят другой программой: закройте её (или другую копию этой программы), и порт "
         "откроется при следующей попытке подключения."},
    };
    for (const RemedyCase &c : cases)
        EXPECT_EQ(PortAccessRemedyText(c.reason), QString::fromUtf8(c.text)) << c.text;
}

// The device is shown as the system writes paths, so a Windows user reads "\\.\COM3".
TEST(PortAccessText, TheAdviceNamesThePortAndItsDevice) {
    const PortAccessReason held{PortAccessReason::HeldByAnotherProgram, {}, {}};
    EXPECT_EQ(PortAccessAdviceText("COM3", "/dev/ttyUSB0", held),
              "Нет доступа к порту COM3 (" + QDir::toNativeSeparators("/dev/ttyUSB0") + "). " +
                  PortAccessRemedyText(held));
    EXPECT_EQ(PortAccessAdviceText("COM3", "\\\\.\\COM3", held),
              "Нет доступа к порту COM3 (\\\\.\\COM3). " + PortAccessRemedyText(held));
}

} // namespace
