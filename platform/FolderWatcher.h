// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <cstdint>

class QSocketNotifier;

namespace morvelin {

// Tells what changes in folder trees, through inotify: every sub-folder is watched, and a folder made
// or moved in below a watched one is watched from then on. Lives on the thread whose event loop reads
// the events; watching a tree lists its folders, so that thread is not the window's.
class FolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit FolderWatcher(QObject* parent = nullptr);
    ~FolderWatcher() override;

    // Whether inotify could be had at all.
    bool isOpen() const { return m_fd >= 0; }
    // Watches `folder` and every folder below it. False when some could not be watched (the user's
    // limit of watches, a folder that cannot be read): changes there go unseen.
    bool watchTree(const QString& folder);
    // Ends the watches on `folder` and below it.
    void unwatchTree(const QString& folder);
    // Folders on NFS, SMB/CIFS, FUSE (sshfs and the like) and other network file systems, whose
    // changes made by other machines inotify never hears of.
    static bool isOnNetwork(const QString& folder);

signals:
    // A file was written and closed, made, moved in or touched.
    void fileChanged(const QString& path);
    // A file or folder was deleted or moved away.
    void removed(const QString& path);
    // A folder was made or moved in below a watched one; it and its sub-folders are watched now.
    void folderAdded(const QString& path);
    // The kernel's queue ran over: events were lost, so anything may have changed.
    void overflowed();

private:
    void readEvents();
    void handle(int wd, std::uint32_t mask, const QString& name);
    bool watchOne(const QString& folder);

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QHash<int, QString> m_folders; // by watch descriptor
};

} // namespace morvelin
