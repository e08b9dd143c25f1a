// Test entry of the journal suite. Qt loads its SQLite driver as a plugin,
// which needs an application object. Started with kOpenJournalArg, the
// program only opens a journal and reports the outcome: the permission test
// runs it as another user.
#include "journal_support.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], kOpenJournalArg) == 0)
        return reportJournalOpen(QString::fromLocal8Bit(argv[2]));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
