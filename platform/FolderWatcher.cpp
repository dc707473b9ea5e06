// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/FolderWatcher.h"

#include <QDirIterator>
#include <QFile>
#include <QSocketNotifier>

#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace morvelin {

namespace {

constexpr std::uint32_t folderEvents = IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO | IN_ATTRIB | IN_DELETE
    | IN_MOVED_FROM | IN_DELETE_SELF | IN_ONLYDIR;

// What statfs reports for file systems whose files change behind inotify's back; some have no
// constant in linux/magic.h.
constexpr std::array<unsigned long, 9> networkTypes{
    NFS_SUPER_MAGIC, SMB_SUPER_MAGIC,
    0xFF534D42UL, // CIFS
    0xFE534D42UL, // SMB2
    0x65735546UL, // FUSE: sshfs, rclone and the like
    0x6B414653UL, // AFS
    0x00C36400UL, // Ceph
    0x47504653UL, // GPFS
    0x0BD00BD0UL, // Lustre
};

} // namespace

FolderWatcher::FolderWatcher(QObject* parent)
    : QObject(parent)
    , m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd < 0) {
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
}

FolderWatcher::~FolderWatcher()
{
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
}

bool FolderWatcher::isOnNetwork(const QString& folder)
{
    struct statfs about {};
    if (::statfs(QFile::encodeName(folder).constData(), &about) != 0) {
        return false;
    }
    for (const unsigned long type : networkTypes) {
        if (static_cast<unsigned long>(about.f_type) == type) {
            return true;
        }
    }
    return false;
}

bool FolderWatcher::watchTree(const QString& folder)
{
    if (!watchOne(folder)) {
        return false;
    }
    bool all = true;
    // Links to folders are not followed: they may lead back up the tree.
    QDirIterator below(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                       QDirIterator::Subdirectories);
    while (below.hasNext()) {
        all = watchOne(below.next()) && all;
    }
    return all;
}

bool FolderWatcher::watchOne(const QString& folder)
{
    if (m_fd < 0) {
        return false;
    }
    const int wd = ::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), folderEvents);
    if (wd < 0) {
        return false;
    }
    m_folders.insert(wd, folder);
    return true;
}

void FolderWatcher::unwatchTree(const QString& folder)
{
    const QString below = folder + QLatin1Char('/');
    for (auto watch = m_folders.begin(); watch != m_folders.end();) {
        if (watch.value() == folder || watch.value().startsWith(below)) {
            ::inotify_rm_watch(m_fd, watch.key());
            watch = m_folders.erase(watch);
        } else {
            ++watch;
        }
    }
}

void FolderWatcher::readEvents()
{
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
        if (length <= 0) {
            return; // EAGAIN: all read
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const QString name = event->len > 0 ? QFile::decodeName(event->name) : QString();
            handle(event->wd, event->mask, name);
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
}

void FolderWatcher::handle(int wd, std::uint32_t mask, const QString& name)
{
    if (mask & IN_Q_OVERFLOW) {
        emit overflowed();
        return;
    }
    if (mask & IN_IGNORED) {
        m_folders.remove(wd);
        return;
    }
    const auto folder = m_folders.constFind(wd);
    if (folder == m_folders.cend() || name.isEmpty()) {
        return; // the folder's own events: its removal shows in its parent
    }
    const QString path = folder.value() + QLatin1Char('/') + name;
    if (mask & (IN_DELETE | IN_MOVED_FROM)) {
        if (mask & IN_ISDIR) {
            unwatchTree(path);
        }
        emit removed(path);
    } else if (mask & IN_ISDIR) {
        if (mask & (IN_CREATE | IN_MOVED_TO)) {
            watchTree(path);
            emit folderAdded(path);
        }
    } else {
        emit fileChanged(path);
    }
}

} // namespace morvelin
