// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceQuery.h"
#include "search/FolderWalkWorker.h"
#include "search/MemoryBudget.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

namespace morvelin {

class FaceIndex;
class PhotoScan;
class ResultList;

// The search as the Search and Stop buttons drive it: takes the folder walk's entries one per turn of
// the event loop, hands every photo to a scan on the worker pool, and reports matches to the result
// list. At most `maxScans` scans are under way at once; the walk waits for a free one, so memory stays
// bounded however large the folder. Lives on the thread that owns the windows; the walk runs on a
// thread of its own, so a folder listing that hangs holds up nothing but the walk.
class FolderSearch : public QObject {
    Q_OBJECT

public:
    struct Settings {
        QString dataPath;   // the detector's data file
        QString tempFolder; // the program's own temporary folder, never searched; a trailing separator
        int maxScans = 1;
        // The memory the scans under way share, however many they are.
        std::int64_t memoryLimit = MemoryBudget::defaultBytes;
        // A photo still not scanned after this long is abandoned and counted as not read.
        int photoSeconds = 120;
        // What photos scanned before hold; none: every photo is scanned.
        std::shared_ptr<FaceIndex> index{};
        // How the walk opens folders; none: opendir.
        FolderWalk::Opener openFolder{};
        // OpenCV's threads for each scan; 0: the cores shared between the scans.
        int openCvThreads = 0;
    };

    struct Counts {
        int photosSeen = 0;        // files with a photo ending handed to a scan
        int photosScanned = 0;     // scans completed
        int photosFromIndex = 0;   // of those, answered by the face index without decoding
        // scans that could not read their photo, abandoned ones included, and special files with a
        // photo's name
        int unreadablePhotos = 0;
        int unreadableFolders = 0; // folders that could not be opened
    };

    FolderSearch(ResultList& results, Settings settings, QObject* parent = nullptr);
    ~FolderSearch() override;

    // Clears the result list and starts walking `folder`; every photo's faces are compared by the
    // query's matcher. Ignored while a search runs.
    void start(std::shared_ptr<const FaceQuery> query, const QString& folder, bool subDirs);
    // The stop routine: no further photo is handed out; scans under way finish and still report.
    void StopSearchButton();

    bool StopNow() const { return m_stopNow; }
    bool SearchRunning() const { return m_searchRunning; }
    int scansInFlight() const { return m_scansInFlight; }
    Counts counts() const;
    // Abandoned scans whose worker has not come back yet; the program must not wait for them.
    int abandonedScansRunning() const { return int(m_abandoned.size()); }
    // A walk left behind in a hung system call (one between two entries is given a moment to end);
    // the program must not wait for it either.
    bool abandonedWalkRunning() const
    {
        return m_walkOver && m_walk && !m_walk->endsWithin(FolderWalkWorker::endingGrace);
    }
    // Scans completed per second since the start.
    double photosPerSecond() const;

signals:
    // A scan was handed a photo; a window may show its events. The scan deletes itself after Completed.
    void scanStarted(morvelin::PhotoScan* scan);
    // The stop routine ran: at the end of the walk or on Stop.
    void stopped();
    // The walk is over and no scan is under way any more.
    void finished();
    // A folder or photo-named file that was not read, and why.
    void notRead(const QString& path, const QString& reason, bool folder);

private:
    void runStopRoutine();
    void scheduleStep();
    void step();
    void countWalked(const FolderWalkWorker::Entry& entry);
    void startScan(const QString& photo);
    void onScanCompleted(PhotoScan* scan);
    void abandon(PhotoScan* scan);
    void finishIfIdle();
    void forgetVanishedPhotos();

    ResultList& m_results;
    Settings m_settings;
    std::shared_ptr<const FaceQuery> m_query;
    std::unique_ptr<FolderWalkWorker> m_walk;
    std::shared_ptr<MemoryBudget> m_budget;
    QSet<PhotoScan*> m_running;
    QSet<PhotoScan*> m_abandoned;
    bool m_stopNow = true;
    bool m_searchRunning = false;
    bool m_walkOver = true;
    bool m_stepScheduled = false;
    bool m_finishedSent = false;
    int m_scansInFlight = 0;
    Counts m_counts;
    int m_specialFiles = 0;
    QElapsedTimer m_clock;
    QString m_folder;
    bool m_subDirs = false;
};

} // namespace morvelin
