// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/SystemPlaces.h"

#include "controls/MountedDrives.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStandardPaths>

namespace morvelin {

namespace {

QString existingFolder(QStandardPaths::StandardLocation location)
{
    const QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        return {};
    }
    return QDir::cleanPath(path);
}

// XDG points a folder the user switched off at the home folder; that one is listed once, as home.
QString userFolder(QStandardPaths::StandardLocation location)
{
    const QString path = existingFolder(location);
    if (path == QDir::cleanPath(QDir::homePath())) {
        return {};
    }
    return path;
}

QString folderName(const QString& path, const QString& fallback)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? fallback : name;
}

void addUserFolder(std::vector<DrivePlace>& places, const QString& path, const QString& text, const QIcon& icon,
                   int indent)
{
    if (!path.isEmpty()) {
        places.push_back({text, path, icon, indent, false});
    }
}

void addDrives(std::vector<DrivePlace>& places)
{
    for (const QString& mountPoint : MountedDrives::current()) {
        const bool fixed = mountPoint == QLatin1String("/") || mountPoint == QLatin1String("/home");
        const QIcon icon = fixed ? SystemPlaces::themeIcon(QStringLiteral("drive-harddisk"), QStyle::SP_DriveHDIcon)
                                 : SystemPlaces::themeIcon(QStringLiteral("drive-removable-media"),
                                                           QStyle::SP_DriveHDIcon);
        const QString root = mountPoint == QLatin1String("/") ? mountPoint : mountPoint + QLatin1Char('/');
        places.push_back({mountPoint, root, icon, 2, true});
    }
}

void addDesktopFolders(std::vector<DrivePlace>& places, const QString& desktop)
{
    if (desktop.isEmpty()) {
        return;
    }
    const QFileInfoList folders =
        QDir(desktop).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& folder : folders) {
        places.push_back({folder.fileName(), QDir::cleanPath(folder.absoluteFilePath()),
                          SystemPlaces::folderIcon(folder.absoluteFilePath()), 1, false});
    }
}

} // namespace

QIcon SystemPlaces::themeIcon(const QString& name, QStyle::StandardPixmap fallback)
{
    const QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull()) {
        return icon;
    }
    return QApplication::style()->standardIcon(fallback);
}

QIcon SystemPlaces::folderIcon(const QString& path)
{
    const QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(path));
    if (!icon.isNull()) {
        return icon;
    }
    return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
}

std::vector<DrivePlace> SystemPlaces::list()
{
    std::vector<DrivePlace> places;
    const QString desktop = userFolder(QStandardPaths::DesktopLocation);
    const QString documents = userFolder(QStandardPaths::DocumentsLocation);
    const QString pictures = userFolder(QStandardPaths::PicturesLocation);
    const QString home = existingFolder(QStandardPaths::HomeLocation);

    addUserFolder(places, desktop, QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Desktop")),
                  themeIcon(QStringLiteral("user-desktop"), QStyle::SP_DesktopIcon), 0);
    addUserFolder(places, documents, folderName(documents, QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "My Documents"))),
                  themeIcon(QStringLiteral("folder-documents"), QStyle::SP_DirIcon), 1);
    addUserFolder(places, pictures,
                  folderName(pictures, QStandardPaths::displayName(QStandardPaths::PicturesLocation)),
                  themeIcon(QStringLiteral("folder-pictures"), QStyle::SP_DirIcon), 1);
    addUserFolder(places, home, QStandardPaths::displayName(QStandardPaths::HomeLocation),
                  themeIcon(QStringLiteral("user-home"), QStyle::SP_DirHomeIcon), 1);
    places.push_back({QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "My Computer")), QStringLiteral("My Computer"),
                      themeIcon(QStringLiteral("computer"), QStyle::SP_ComputerIcon), 1, false});
    addDrives(places);
    addDesktopFolders(places, desktop);
    return places;
}

} // namespace morvelin
