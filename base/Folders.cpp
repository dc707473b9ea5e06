// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <optional>

#include <unistd.h>

namespace morvelin {

namespace {

constexpr QChar separator = QLatin1Char('/');
// A private folder is "face-morvelin-PID-XXXXXX": the process that made it, then QTemporaryDir's letters.
const QString tempFolderPrefix = QStringLiteral("face-morvelin-");
constexpr qsizetype uniqueLetters = 6;

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

std::optional<pid_t> ownerOf(const QString& folderName)
{
    const QString rest = folderName.mid(tempFolderPrefix.size());
    const qsizetype dash = rest.indexOf(QLatin1Char('-'));
    if (!folderName.startsWith(tempFolderPrefix) || dash < 1 || rest.size() - dash - 1 != uniqueLetters) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong pid = rest.left(dash).toLongLong(&ok);
    if (!ok || pid <= 0 || pid != qlonglong(pid_t(pid)) || !rest.at(0).isDigit()) {
        return std::nullopt;
    }
    return pid_t(pid);
}

// EPERM means a process of another user holds the number: alive, whatever it is.
bool isRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// A run ended by SIGKILL or the out-of-memory killer leaves its private folder behind, with any
// pixel cache ImageMagick kept there; nothing else would ever remove them.
void removeFoldersOfEndedRuns(const QString& tempRoot)
{
    const QDir root(tempRoot);
    const QFileInfoList entries =
        root.entryInfoList({tempFolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const std::optional<pid_t> owner = ownerOf(entry.fileName());
        if (!owner || *owner == ::getpid() || isRunning(*owner) || !isOurs(entry.filePath())) {
            continue;
        }
        QDir(entry.filePath()).removeRecursively();
    }
}

void createTempFolder()
{
    static std::once_flag swept;
    std::call_once(swept, [] { removeFoldersOfEndedRuns(QDir::tempPath()); });
    QTemporaryDir*& dir = tempFolderDir();
    if (dir != nullptr) {
        dir->setAutoRemove(isOurs(dir->path()));
        delete dir;
    }
    const QString name = tempFolderPrefix + QString::number(::getpid()) + QLatin1Char('-')
        + QString(uniqueLetters, QLatin1Char('X'));
    dir = new QTemporaryDir(QDir::tempPath() + separator + name);
    if (!dir->isValid()) {
        delete dir;
        dir = nullptr;
        return;
    }
    registerTempFolderRemoval();
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
