#include "search/FolderWalk.h"

#include "base/Folders.h"

#include <QFile>

#include <array>

#include <dirent.h>
#include <sys/stat.h>

namespace morvelin {

namespace {

const std::array<QString, 9> photoExtensions = {
    QStringLiteral(".bmp"), QStringLiteral(".tif"), QStringLiteral(".gif"),
    QStringLiteral(".jpg"), QStringLiteral(".png"), QStringLiteral(".pcx"),
    QStringLiteral(".tga"), QStringLiteral(".jp2"), QStringLiteral(".j2k"),
};

bool isFolder(const QString& path, const dirent* entry)
{
    if (entry->d_type == DT_DIR) {
        return true;
    }
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) {
        return false;
    }
    // Links are followed: a link to a folder is a folder, a link to a file a file.
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
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

FolderWalk::FolderWalk(const QString& folder, bool subDirs)
    : m_subDirs(subDirs)
{
    enter(FolderWithSeparator(folder));
}

FolderWalk::~FolderWalk() = default;

bool FolderWalk::isPhotoPath(const QString& path)
{
    const QString ending = path.right(4).toLower();
    for (const QString& extension : photoExtensions) {
        if (ending == extension) {
            return true;
        }
    }
    return false;
}

bool FolderWalk::alreadyVisited(const QString& folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0) {
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
    DIR* handle = ::opendir(QFile::encodeName(folder).constData());
    if (!handle) {
        ++m_unreadableFolders;
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
    while (!m_stack.empty()) {
        OpenFolder& current = *m_stack.back();
        const dirent* entry = ::readdir(current.handle);
        if (!entry) {
            m_stack.pop_back();
            continue;
        }
        const QString name = QFile::decodeName(entry->d_name);
        if (name == QLatin1String(".") || name == QLatin1String("..")) {
            return Step::Other;
        }
        const QString path = current.path + name;
        if (isFolder(path, entry)) {
            if (m_subDirs) {
                enter(path + QLatin1Char('/'));
            }
            return Step::Other;
        }
        if (!isPhotoPath(path)) {
            return Step::Other;
        }
        photoPath = path;
        return Step::Photo;
    }
    return Step::Finished;
}

} // namespace morvelin
