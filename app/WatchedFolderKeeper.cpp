// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WatchedFolderKeeper.h"

#include "platform/FolderWatcher.h"
#include "platform/Settings.h"
#include "search/FaceIndex.h"
#include "search/FolderIndexer.h"
#include "search/PhotoTypes.h"
#include "search/ScanVersion.h"

#include <QTimer>

namespace morvelin {

namespace {

bool isBelow(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

WatchedFolderKeeper::WatchedFolderKeeper(QString dataPath, QString tempFolder)
    : m_dataPath(std::move(dataPath))
    , m_tempFolder(std::move(tempFolder))
{
}

WatchedFolderKeeper::~WatchedFolderKeeper() = default;

void WatchedFolderKeeper::start()
{
    m_watcher = new FolderWatcher(this);
    connect(m_watcher, &FolderWatcher::fileChanged, this, [this](const QString& path) { noteChange(path, false); });
    connect(m_watcher, &FolderWatcher::removed, this, [this](const QString& path) { noteChange(path, true); });
    connect(m_watcher, &FolderWatcher::folderAdded, this, [this](const QString& path) {
        walkLater({path});
        m_settle->start();
    });
    connect(m_watcher, &FolderWatcher::overflowed, this, &WatchedFolderKeeper::rewatchAll);
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(settleMs);
    connect(m_settle, &QTimer::timeout, this, &WatchedFolderKeeper::next);
    m_recheck = new QTimer(this);
    m_recheck->setInterval(networkRecheckMs);
    connect(m_recheck, &QTimer::timeout, this, [this] {
        walkLater(m_unwatched);
        next();
    });
    m_recheck->start();
    m_reportSoon = new QTimer(this);
    m_reportSoon->setSingleShot(true);
    m_reportSoon->setInterval(250);
    connect(m_reportSoon, &QTimer::timeout, this, &WatchedFolderKeeper::report);
    openIndex();
}

void WatchedFolderKeeper::openIndex()
{
    // Called from the old indexer's own signal too, which must return before it goes.
    if (m_indexer) {
        disconnect(m_indexer, nullptr, this, nullptr);
        m_indexer->deleteLater();
    }
    m_index = std::make_shared<FaceIndex>(Settings::indexPath(FaceIndex::defaultPath()), ScanVersion::of(m_dataPath));
    m_noticeAtOpen = m_index->notice();
    // One scan at a time, and OpenCV kept to the scan's own thread, which runs at the lowest priority.
    m_indexer = new FolderIndexer({.dataPath = m_dataPath, .tempFolder = m_tempFolder, .index = m_index,
                                   .maxScans = 1, .openCvThreads = 1},
                                  this);
    connect(m_indexer, &FolderIndexer::progressed, this, [this] {
        if (!m_reportSoon->isActive()) {
            m_reportSoon->start();
        }
    });
    connect(m_indexer, &FolderIndexer::finished, this, &WatchedFolderKeeper::onIndexerFinished);
}

void WatchedFolderKeeper::setFolders(const QStringList& folders)
{
    for (const QString& gone : m_folders) {
        if (folders.contains(gone)) {
            continue;
        }
        m_watcher->unwatchTree(gone);
        m_unwatched.removeAll(gone);
        m_toWalk.removeIf([&gone](const QString& folder) { return isBelow(folder, gone); });
        m_changed.removeIf([&gone](const QString& path) { return isBelow(path, gone); });
    }
    const QStringList before = m_folders;
    m_folders = folders;
    for (const QString& added : folders) {
        if (!before.contains(added)) {
            watch(added);
        }
    }
    next();
}

// Watched before the walk, so that nothing changed during the walk goes unseen.
void WatchedFolderKeeper::watch(const QString& folder)
{
    if (FolderWatcher::isOnNetwork(folder) || !m_watcher->watchTree(folder)) {
        m_unwatched.append(folder);
    }
    walkLater({folder});
}

void WatchedFolderKeeper::walkLater(const QStringList& folders)
{
    // A tree of new folders copied in is walked from the watched folders rather than listed folder by folder.
    if (m_toWalk.size() + folders.size() > largestChangeList) {
        m_toWalk = m_folders;
        return;
    }
    for (const QString& folder : folders) {
        if (!m_toWalk.contains(folder)) {
            m_toWalk.append(folder);
        }
    }
}

void WatchedFolderKeeper::noteChange(const QString& path, bool removed)
{
    const bool privateFile = !m_tempFolder.isEmpty() && path.startsWith(m_tempFolder);
    if (privateFile || (!removed && !PhotoTypes::isPhotoName(path))) {
        return;
    }
    m_changed.insert(path);
    if (m_changed.size() > largestChangeList) {
        m_changed.clear();
        walkLater(m_folders);
    }
    m_settle->start();
}

// Events were lost: folders made meanwhile may lack their watch, and any photo may have changed.
void WatchedFolderKeeper::rewatchAll()
{
    for (const QString& folder : m_folders) {
        if (!m_unwatched.contains(folder)) {
            m_watcher->watchTree(folder);
        }
    }
    m_changed.clear();
    walkLater(m_folders);
    next();
}

void WatchedFolderKeeper::setPaused(bool paused)
{
    m_paused = paused;
    if (paused) {
        m_indexer->stop();
        return;
    }
    next();
}

void WatchedFolderKeeper::reindex()
{
    if (m_indexer->running()) {
        m_indexer->stop();
        // What is under way goes on writing into the emptied index until it stops; a fresh one is
        // opened once it has.
        connect(m_indexer, &FolderIndexer::finished, this, &WatchedFolderKeeper::reindex, Qt::SingleShotConnection);
        return;
    }
    openIndex();
    walkLater(m_folders);
    next();
}

void WatchedFolderKeeper::next()
{
    if (m_paused || m_indexer->running() || m_settle->isActive()) {
        report();
        return;
    }
    if (!m_toWalk.isEmpty()) {
        const QStringList folders = m_toWalk;
        m_toWalk.clear();
        m_indexer->update(folders);
    } else if (!m_changed.isEmpty()) {
        const QStringList photos(m_changed.cbegin(), m_changed.cend());
        m_changed.clear();
        m_indexer->updatePhotos(photos);
    }
    report();
}

void WatchedFolderKeeper::onIndexerFinished(bool complete)
{
    if (!complete) {
        const QStringList folders = m_indexer->unfinishedFolders();
        m_toWalk = folders + m_toWalk;
        m_toWalk.removeDuplicates();
        for (const QString& photo : m_indexer->unfinishedPhotos()) {
            m_changed.insert(photo);
        }
    }
    // A write failed or the index was emptied elsewhere: the old one stores nothing any more.
    if (m_index->notice() != m_noticeAtOpen) {
        openIndex();
    }
    QMetaObject::invokeMethod(this, &WatchedFolderKeeper::next, Qt::QueuedConnection);
}

void WatchedFolderKeeper::report()
{
    Status status;
    status.folders = int(m_folders.size());
    status.working = m_indexer->running() || !m_toWalk.isEmpty() || !m_changed.isEmpty();
    if (m_indexer->running()) {
        const FolderIndexer::Progress progress = m_indexer->progress();
        status.photosChecked = progress.photosChecked;
        status.photosTotal = progress.photosTotal;
    }
    emit statusChanged(status);
}

} // namespace morvelin
