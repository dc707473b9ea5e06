// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QTimer;

namespace morvelin {

class FaceIndex;
class FolderIndexer;
class FolderWatcher;

// Keeps the watched folders indexed, on the thread it lives on: a whole walk of each at the start,
// then what inotify reports, a short while after a file stops changing; folders inotify cannot
// follow (network shares, too many folders for the watch limit) are walked again every quarter of an
// hour. Paused, it finishes the photo in hand and later picks up where it left off.
class WatchedFolderKeeper : public QObject {
    Q_OBJECT

public:
    struct Status {
        int folders = 0;
        bool working = false; // photos are being checked; false: up to date
        int photosChecked = 0;
        int photosTotal = 0;
    };

    // A file is indexed once it has not changed for this long: a copy in progress is left alone.
    static constexpr int settleMs = 2000;
    static constexpr int networkRecheckMs = 15 * 60 * 1000;
    // More changed files or new folders than this waiting at once are not listed one by one: the
    // watched folders are walked.
    static constexpr int largestChangeList = 4096;

    WatchedFolderKeeper(QString dataPath, QString tempFolder);
    ~WatchedFolderKeeper() override;

    // On the keeper's own thread, before anything else.
    void start();
    void setFolders(const QStringList& folders);
    void setPaused(bool paused);
    // The index was emptied: a fresh one, and every folder walked again.
    void reindex();

signals:
    void statusChanged(const morvelin::WatchedFolderKeeper::Status& status);

private:
    void openIndex();
    void watch(const QString& folder);
    void walkLater(const QStringList& folders);
    void noteChange(const QString& path, bool removed);
    void rewatchAll();
    void next();
    void onIndexerFinished(bool complete);
    void report();

    QString m_dataPath;
    QString m_tempFolder;
    std::shared_ptr<FaceIndex> m_index;
    FolderIndexer* m_indexer = nullptr;
    FolderWatcher* m_watcher = nullptr;
    QTimer* m_settle = nullptr;
    QTimer* m_recheck = nullptr;
    QTimer* m_reportSoon = nullptr;
    QStringList m_folders;
    QStringList m_unwatched; // walked again by the timer
    QStringList m_toWalk;
    QSet<QString> m_changed;
    QString m_noticeAtOpen;
    bool m_paused = false;
};

} // namespace morvelin

Q_DECLARE_METATYPE(morvelin::WatchedFolderKeeper::Status)
