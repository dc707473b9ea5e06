// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FolderWalk.h"

#include "base/Folders.h"
#include "search/NativePath.h"
#include "search/PhotoTypes.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace morvelin {

namespace {

enum class Kind { Folder, File, Special };

Kind kindOf(const QString& path, const dirent* entry)
{
    switch (entry->d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_REG:
        return Kind::File;
    case DT_UNKNOWN:
    case DT_LNK:
        break;
    default:
        return Kind::Special;
    }
    // Links are followed: a link to a folder is a folder, a link to a file a file.
    struct stat info {};
    if (::stat(NativePath::encode(path).constData(), &info) != 0) {
        return Kind::File; // a dangling link: reading it says why
    }
    if (S_ISDIR(info.st_mode)) {
        return Kind::Folder;
    }
    return S_ISREG(info.st_mode) ? Kind::File : Kind::Special;
}

QString systemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

} // namespace

struct FolderWalk::OpenFolder {
    QString path; // with its trailing separator
    DIR* handle = nullptr;

    ~OpenFolder()
    {
        if (handle) {
            ::closedir(handle);
        }
    }
};

FolderWalk::FolderWalk(const QString& folder, bool subDirs, const QString& privateFolder, Opener open)
    : m_open(open ? std::move(open) : Opener(::opendir))
    , m_subDirs(subDirs)
{
    // Counted as visited already, so neither the walk nor a link ever enters it.
    if (!privateFolder.isEmpty()) {
        alreadyVisited(privateFolder);
    }
    enter(FolderWithSeparator(folder));
}

QString FolderWalk::problemWith(const QString& folder)
{
    DIR* handle = ::opendir(NativePath::encode(folder).constData());
    if (!handle) {
        return systemError(errno);
    }
    ::closedir(handle);
    return QString();
}

FolderWalk::~FolderWalk() = default;

// By the name alone, as a file manager tells a type: the file is not opened.
bool FolderWalk::isImageName(const QString& name) const
{
    return m_mimeTypes.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().startsWith(QLatin1String("image/"));
}

bool FolderWalk::alreadyVisited(const QString& folder)
{
    struct stat info {};
    if (::stat(NativePath::encode(folder).constData(), &info) != 0) {
        return false;
    }
    return !m_visited.insert({static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)})
                .second;
}

void FolderWalk::enter(const QString& folder)
{
    if (alreadyVisited(folder)) {
        return;
    }
    DIR* handle = m_open(NativePath::encode(folder).constData());
    if (!handle) {
        ++m_unreadableFolders;
        m_pendingSkips.push_back({folder, systemError(errno), true});
        return;
    }
    auto open = std::make_unique<OpenFolder>();
    open->path = folder;
    open->handle = handle;
    m_stack.push_back(std::move(open));
}

FolderWalk::Step FolderWalk::next(QString& photoPath)
{
    if (m_stopNow) {
        m_stack.clear();
        return Step::Finished;
    }
    if (!m_pendingSkips.empty()) {
        Skip entry = std::move(m_pendingSkips.front());
        m_pendingSkips.pop_front();
        return skip(std::move(entry), photoPath);
    }
    while (!m_stack.empty()) {
        OpenFolder& current = *m_stack.back();
        const dirent* entry = ::readdir(current.handle);
        if (!entry) {
            m_stack.pop_back();
            continue;
        }
        const QString name = NativePath::decode(QByteArray(entry->d_name));
        if (name == QLatin1String(".") || name == QLatin1String("..")) {
            return Step::Other;
        }
        const QString path = current.path + name;
        const Kind kind = kindOf(path, entry);
        if (kind == Kind::Folder) {
            if (m_subDirs) {
                enter(path + QLatin1Char('/'));
            }
            return Step::Other;
        }
        if (!PhotoTypes::isPhotoName(path)) {
            // Said under --verbose, so that no picture is passed over without a word.
            if (isImageName(name)) {
                return skip({path, PhotoTypes::notReadReason(path), false}, photoPath);
            }
            return Step::Other;
        }
        if (kind == Kind::Special) {
            // Named like a photo, but a pipe, socket or device: opening it could wait for ever.
            ++m_specialFiles;
            return skip({path, QStringLiteral("not a photo (not a regular file)"), false}, photoPath);
        }
        photoPath = path;
        return Step::Photo;
    }
    return Step::Finished;
}

FolderWalk::Step FolderWalk::skip(Skip entry, QString& path)
{
    path = entry.path;
    m_lastSkip = std::move(entry);
    return Step::Skipped;
}

} // namespace morvelin
