// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace morvelin {

// The mounted file systems that hold the user's files, the "drives" the folder picker lists: the
// root, /home and the file system of the home folder when they are separate, and removable or added
// disks under /media, /run/media and /mnt. Kernel and memory file systems are left out.
class MountedDrives {
public:
    // Mount points without a trailing "/", root first, then by name. table is in the format of
    // /proc/self/mounts.
    static QStringList fromMountTable(const QString& table, const QString& homeFolder);

    // The drives of this machine, from /proc/self/mounts; just "/" when it cannot be read.
    static QStringList current();

    // The drive whose mount point holds path (the longest one), or empty when none does.
    static QString driveOf(const QString& path, const QStringList& drives);

    static bool isPseudoFileSystem(const QString& type);
};

} // namespace morvelin
