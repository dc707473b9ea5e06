// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/WatchedFolderKeeper.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QThread;
class QThreadPool;

namespace morvelin {

// The tray program's keeper of the watched folders, seen from the window's thread: the keeper runs on
// a thread of its own and scans on one more, both at the lowest CPU and I/O priority, so that the
// desktop never waits for it; a search pauses it. Only names cross over, nothing that touches a disk.
class BackgroundIndexer : public QObject {
    Q_OBJECT

public:
    using Status = WatchedFolderKeeper::Status;

    // Starts with the watched folders of the settings.
    explicit BackgroundIndexer(QString dataPath, QObject* parent = nullptr);
    // Waits a moment for the photo in hand; one stuck on a dead mount is left behind.
    ~BackgroundIndexer() override;

    // The watched folders as the settings keep them; the keeper follows at once.
    void setFolders(const QStringList& folders);
    QStringList folders() const { return m_folders; }
    // A search has the cores and the disk to itself meanwhile.
    void setPaused(bool paused);
    // The face index was emptied: the watched folders are indexed again.
    void reindex();

    Status status() const { return m_status; }

signals:
    void statusChanged();

private:
    QThread* m_thread = nullptr;
    QThreadPool* m_scans = nullptr;
    WatchedFolderKeeper* m_keeper = nullptr;
    QStringList m_folders;
    Status m_status;
};

} // namespace morvelin
