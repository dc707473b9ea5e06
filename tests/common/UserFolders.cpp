// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "UserFolders.h"

#include <QDir>
#include <QFile>

UserFolders::UserFolders()
{
    for (const char* folder : {"home", "config", "runtime", "tmp"}) {
        QDir(m_root.path()).mkdir(QLatin1String(folder));
    }
    // Qt refuses a runtime folder that others may read.
    QFile::setPermissions(path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", path("home").toUtf8());
    qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", path("runtime").toUtf8());
    qputenv("TMPDIR", path("tmp").toUtf8());
}

QString UserFolders::path(const char* folder) const
{
    return m_root.path() + QLatin1Char('/') + QLatin1String(folder);
}
