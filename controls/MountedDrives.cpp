// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/MountedDrives.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>

namespace morvelin {

namespace {

bool isOctalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('7');
}

// The table escapes blanks, tabs, line ends and backslashes in paths as \ooo.
QString unescapedField(const QString& field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == QLatin1Char('\\') && i + 3 < field.size() && isOctalDigit(field[i + 1])
            && isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3]);
        if (!escape) {
            out += field[i];
            continue;
        }
        out += QChar(field.mid(i + 1, 3).toInt(nullptr, 8));
        i += 3;
    }
    return out;
}

bool isUnder(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

bool holds(const QString& mountPoint, const QString& path)
{
    return mountPoint == QLatin1String("/") || path == mountPoint || isUnder(path, mountPoint);
}

bool isDriveLocation(const QString& mountPoint)
{
    return mountPoint == QLatin1String("/home") || isUnder(mountPoint, QStringLiteral("/media"))
        || isUnder(mountPoint, QStringLiteral("/run/media")) || isUnder(mountPoint, QStringLiteral("/mnt"));
}

} // namespace

bool MountedDrives::isPseudoFileSystem(const QString& type)
{
    static const QSet<QString> pseudo{
        QStringLiteral("autofs"),      QStringLiteral("binfmt_misc"), QStringLiteral("bpf"),
        QStringLiteral("cgroup"),      QStringLiteral("cgroup2"),     QStringLiteral("configfs"),
        QStringLiteral("debugfs"),     QStringLiteral("devpts"),      QStringLiteral("devtmpfs"),
        QStringLiteral("efivarfs"),    QStringLiteral("fusectl"),     QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.portal"), QStringLiteral("fuse.lxcfs"),  QStringLiteral("hugetlbfs"),
        QStringLiteral("mqueue"),      QStringLiteral("nsfs"),        QStringLiteral("overlay"),
        QStringLiteral("proc"),        QStringLiteral("pstore"),      QStringLiteral("ramfs"),
        QStringLiteral("rpc_pipefs"),  QStringLiteral("securityfs"),  QStringLiteral("selinuxfs"),
        QStringLiteral("squashfs"),    QStringLiteral("sysfs"),       QStringLiteral("tmpfs"),
        QStringLiteral("tracefs"),     QStringLiteral("nfsd"),
    };
    return pseudo.contains(type);
}

QStringList MountedDrives::fromMountTable(const QString& table, const QString& homeFolder)
{
    // A later mount on the same point hides the earlier one.
    QMap<QString, QString> typeOfMountPoint;
    const QStringList lines = table.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 3) {
            continue;
        }
        QString mountPoint = QDir::cleanPath(unescapedField(fields[1]));
        if (!mountPoint.startsWith(QLatin1Char('/'))) {
            continue;
        }
        typeOfMountPoint.insert(mountPoint, fields[2]);
    }

    const QString home = QDir::cleanPath(homeFolder);
    QString homeDrive;
    QStringList drives;
    for (auto it = typeOfMountPoint.cbegin(); it != typeOfMountPoint.cend(); ++it) {
        const QString& mountPoint = it.key();
        if (mountPoint == QLatin1String("/")) {
            drives << mountPoint; // whatever the root is mounted from, the user's files are on it
            continue;
        }
        if (isPseudoFileSystem(it.value())) {
            continue;
        }
        if (isDriveLocation(mountPoint)) {
            drives << mountPoint;
        }
        if (!home.isEmpty() && holds(mountPoint, home) && mountPoint.size() > homeDrive.size()) {
            homeDrive = mountPoint;
        }
    }
    if (!homeDrive.isEmpty() && !drives.contains(homeDrive)) {
        drives << homeDrive;
    }
    drives.sort();
    return drives;
}

QStringList MountedDrives::current()
{
    QFile file(QStringLiteral("/proc/self/mounts"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("/")};
    }
    // /proc files report size 0, so read until the end rather than by size.
    const QString table = QString::fromLocal8Bit(file.readAll());
    QStringList drives = fromMountTable(table, QDir::homePath());
    if (drives.isEmpty()) {
        drives << QStringLiteral("/");
    }
    return drives;
}

QString MountedDrives::driveOf(const QString& path, const QStringList& drives)
{
    const QString cleaned = QDir::cleanPath(path);
    if (!cleaned.startsWith(QLatin1Char('/'))) {
        return {};
    }
    QString best;
    for (const QString& drive : drives) {
        if (holds(drive, cleaned) && (best.isEmpty() || drive.size() > best.size())) {
            best = drive;
        }
    }
    return best;
}

} // namespace morvelin
