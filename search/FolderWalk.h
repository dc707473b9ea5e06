// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMimeDatabase>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>

namespace morvelin {

// The walk over a folder, one directory entry per step, so the caller can stop it at any entry. A step
// waits on the disk as long as its system call does, so the walk runs off the window's thread (see
// FolderWalkWorker). Entries come in the file system's own order, depth first: a sub-folder's
// contents come before the rest of its parent.
class FolderWalk {
public:
    enum class Step {
        Photo,    // `next` set the path of a file with a photo's name (see PhotoTypes)
        Other,    // an entry that is not scanned (folder entered, other file, "." or "..")
        // `next` set the path of a folder or photo that cannot be read, or of an image of a type the
        // program does not read; see skipReason()
        Skipped,
        Finished, // nothing left, or stopped
    };

    // Opens a folder for listing, as opendir does.
    using Opener = std::function<DIR*(const char* path)>;

    // `privateFolder` (the program's own temporary folder) is never entered. `open` lets a test make
    // a listing hang as on a dead network mount; none: opendir.
    FolderWalk(const QString& folder, bool subDirs, const QString& privateFolder = QString(), Opener open = {});
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Takes the next entry. The stop flag is tested first, before every entry. Names are bytes: see
    // NativePath.
    Step next(QString& photoPath);
    void stop() { m_stopNow = true; }
    bool stopped() const { return m_stopNow; }

    // Folders that could not be opened (the starting folder included), for the summary.
    int unreadableFolders() const { return m_unreadableFolders; }
    // Pipes, sockets and devices named like photos: skipped unopened, counted as files not read.
    int specialFiles() const { return m_specialFiles; }
    // Why the entry of the last Skipped step is not read, and whether it is a folder.
    QString skipReason() const { return m_lastSkip.reason; }
    bool skippedFolder() const { return m_lastSkip.folder; }
    // Why a folder cannot be searched, empty when it can.
    static QString problemWith(const QString& folder);

private:
    struct OpenFolder;
    struct Skip {
        QString path;
        QString reason;
        bool folder = false;
    };

    void enter(const QString& folder);
    bool alreadyVisited(const QString& folder);
    Step skip(Skip entry, QString& path);
    bool isImageName(const QString& name) const;

    Opener m_open;
    QMimeDatabase m_mimeTypes;
    std::deque<Skip> m_pendingSkips;
    Skip m_lastSkip;
    bool m_subDirs;
    bool m_stopNow = false;
    int m_unreadableFolders = 0;
    int m_specialFiles = 0;
    std::vector<std::unique_ptr<OpenFolder>> m_stack;
    // Real folders entered in this walk, by device and inode: a link back into the tree is not
    // followed a second time.
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_visited;
};

} // namespace morvelin
