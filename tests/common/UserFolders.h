// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QTemporaryDir>

// A home, settings, runtime and temporary folder of the test's own, set in the environment for this
// process and every program it starts, so that no test reads or changes the real user's files.
class UserFolders {
public:
    UserFolders();
    QString path(const char* folder) const;

private:
    QTemporaryDir m_root;
};
