#include "base/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <mutex>

#include <unistd.h>

namespace morvelin {

namespace {

constexpr QChar separator = QLatin1Char('/');

// Scans may ask for the temporary folder from worker threads.
std::mutex& tempFolderMutex()
{
    static std::mutex mutex;
    return mutex;
}

QTemporaryDir*& tempFolderDir()
{
    static QTemporaryDir* dir = nullptr;
    return dir;
}

void removeTempFolder()
{
    const std::lock_guard lock(tempFolderMutex());
    delete tempFolderDir();
    tempFolderDir() = nullptr;
}

void registerTempFolderRemoval()
{
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    // Leaving the event loop destroys the application, the usual end; std::exit skips that.
    qAddPostRoutine(removeTempFolder);
    std::atexit(removeTempFolder);
    // A command-line search that must not wait for a stuck decoder ends with quick_exit.
    std::at_quick_exit(removeTempFolder);
}

// Another user could re-create a vanished folder under the same name in the shared /tmp.
bool isOurs(const QString& folder)
{
    const QFileInfo info(folder);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid() && (info.permissions() & others) == 0;
}

void createTempFolder()
{
    QTemporaryDir*& dir = tempFolderDir();
    if (dir != nullptr) {
        dir->setAutoRemove(isOurs(dir->path()));
        delete dir;
    }
    dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/face-morvelin-XXXXXX"));
    if (!dir->isValid()) {
        delete dir;
        dir = nullptr;
        return;
    }
    registerTempFolderRemoval();
    // ImageMagick keeps the pixels of large pictures in files of its own; here they go with the rest.
    qputenv("MAGICK_TEMPORARY_PATH", QFile::encodeName(dir->path()));
}

} // namespace

QString TempFolder()
{
    const std::lock_guard lock(tempFolderMutex());
    // A tray program runs for weeks, and the system's clean-up of /tmp may take the folder away.
    if (tempFolderDir() == nullptr || !isOurs(tempFolderDir()->path())) {
        createTempFolder();
    }
    return tempFolderDir() == nullptr ? QString() : FolderWithSeparator(tempFolderDir()->path());
}

QString AppFolder()
{
    if (QCoreApplication::instance() == nullptr) {
        return QString();
    }
    return FolderWithSeparator(QCoreApplication::applicationDirPath());
}

QString FolderOfPath(const QString& path)
{
    return path.left(path.lastIndexOf(separator) + 1);
}

QString NameOfPath(const QString& path)
{
    return path.mid(path.lastIndexOf(separator) + 1);
}

QString FolderWithSeparator(const QString& folder)
{
    if (folder.isEmpty()) {
        return QString();
    }
    qsizetype end = folder.size();
    while (end > 0 && folder.at(end - 1) == separator) {
        --end;
    }
    return folder.left(end) + separator;
}

} // namespace morvelin
