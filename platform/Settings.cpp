// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/Settings.h"

#include "base/ProgramNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace morvelin {

namespace {

const QString showTipKey = QStringLiteral("Welcome/ShowTip");
const QString showText = QStringLiteral("1");
const QString hideText = QStringLiteral("0");
const QString matcherKey = QStringLiteral("Search/Matcher");
const QString lookInKey = QStringLiteral("Search/LookIn");
const QString indexPathKey = QStringLiteral("Index/Path");
const QString subFoldersKey = QStringLiteral("Search/SubFolders");
const QString watchedKey = QStringLiteral("Watch/Folders");

bool storeWatched(const QStringList& folders)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    store.setValue(watchedKey, folders);
    store.sync();
    return store.status() == QSettings::NoError;
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QDir::isAbsolutePath(path) && QFileInfo(path).isDir();
}

} // namespace

QString Settings::showTip()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    if (store.status() != QSettings::NoError) {
        return showText;
    }
    const QVariant value = store.value(showTipKey);
    if (!value.isValid()) {
        return showText;
    }
    // A hand-edited "1, 0" reads as a list; any text but "1" means "do not show".
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool Settings::showWelcome()
{
    return showTip() == showText;
}

bool Settings::setShowTip(bool show)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    store.setValue(showTipKey, show ? showText : hideText);
    store.sync();
    return store.status() == QSettings::NoError;
}

QString Settings::matcher()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    const QVariant value = store.value(matcherKey);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool Settings::setMatcher(const QString& name)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    store.setValue(matcherKey, name);
    store.sync();
    return store.status() == QSettings::NoError;
}

QString Settings::lookIn()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    const QVariant stored = store.value(lookInKey);
    if (stored.typeId() == QMetaType::QString && isFolder(stored.toString())) {
        return stored.toString();
    }
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return isFolder(pictures) ? pictures : QDir::homePath();
}

bool Settings::searchSubFolders()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    return store.value(subFoldersKey).toString() == showText;
}

bool Settings::setLookIn(const QString& folder, bool subFolders)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    store.setValue(lookInKey, folder);
    store.setValue(subFoldersKey, subFolders ? showText : hideText);
    store.sync();
    return store.status() == QSettings::NoError;
}

QString Settings::indexPath(const QString& fallback)
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    const QString path = store.value(indexPathKey).toString().trimmed();
    return path.isEmpty() ? fallback : QDir::cleanPath(QDir::home().absoluteFilePath(path));
}

QStringList Settings::watchedFolders()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, ProgramNames::title(), ProgramNames::title());
    QStringList folders;
    // A hand-edited entry may be one word, or hold relative or doubled names: each is kept once, cleaned.
    for (const QString& folder : store.value(watchedKey).toStringList()) {
        if (!folder.isEmpty() && !folders.contains(watchedForm(folder))) {
            folders.append(watchedForm(folder));
        }
    }
    return folders;
}

QString Settings::watchedForm(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool Settings::watchFolder(const QString& folder)
{
    QStringList folders = watchedFolders();
    if (folders.contains(watchedForm(folder))) {
        return true;
    }
    folders.append(watchedForm(folder));
    return storeWatched(folders);
}

bool Settings::unwatchFolder(const QString& folder)
{
    QStringList folders = watchedFolders();
    return folders.removeAll(watchedForm(folder)) > 0 && storeWatched(folders);
}

} // namespace morvelin
