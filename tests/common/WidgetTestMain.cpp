#include "UserFolders.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need a QApplication; without a display they run on the offscreen platform, which is
// also what listing the tests at build time gets.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const UserFolders user;
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
