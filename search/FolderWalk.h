#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace morvelin {

// The walk over a folder, one directory entry per step, so the caller can let its event loop run
// between entries and stop the walk at any of them. Entries come in the file system's own order,
// depth first: a sub-folder's contents come before the rest of its parent.
class FolderWalk {
public:
    enum class Step {
        Photo,    // `next` set the path of a file with a recognised extension
        Other,    // an entry that is not scanned (folder entered, other file, "." or "..")
        Finished, // nothing left, or stopped
    };

    FolderWalk(const QString& folder, bool subDirs);
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Takes the next entry. The stop flag is tested first, before every entry.
    Step next(QString& photoPath);
    void stop() { m_stopNow = true; }
    bool stopped() const { return m_stopNow; }

    // Folders that could not be opened (the starting folder included), for the summary.
    int unreadableFolders() const { return m_unreadableFolders; }

    // The last four characters of the path, lower case, name one of the nine photo types; so names
    // ending in .jpeg or .tiff are not scanned.
    static bool isPhotoPath(const QString& path);

private:
    struct OpenFolder;

    void enter(const QString& folder);
    bool alreadyVisited(const QString& folder);

    bool m_subDirs;
    bool m_stopNow = false;
    int m_unreadableFolders = 0;
    std::vector<std::unique_ptr<OpenFolder>> m_stack;
    // Real folders entered in this walk, by device and inode: a link back into the tree is not
    // followed a second time.
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_visited;
};

} // namespace morvelin
