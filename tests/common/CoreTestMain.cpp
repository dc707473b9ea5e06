// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "TestChild.h"
#include "UserFolders.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// For tests that use Qt's image readers, signals or QProcess.
int main(int argc, char* argv[])
{
    if (const std::optional<int> status = TestChild::runIfChild(argc, argv)) {
        return *status;
    }
    const UserFolders user;
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
