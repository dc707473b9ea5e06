// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "TestChild.h"
#include "UserFolders.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need a QApplication; without a display they run on the offscreen platform, which is
// also what listing the tests at build time gets. Translations that return their input give the
// English texts exactly as the program writes them, and a window closing never ends the test.
int main(int argc, char* argv[])
{
    if (const std::optional<int> status = TestChild::runIfChild(argc, argv)) {
        return *status;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const UserFolders user;
    qputenv("LC_ALL", "C");
    qputenv("LANGUAGE", "");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
