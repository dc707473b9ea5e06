// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FolderSearch.h"

#include "base/BackgroundWork.h"
#include "search/FaceIndex.h"
#include "search/PhotoScan.h"
#include "search/ResultList.h"

#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <mutex>

#include <malloc.h>

namespace morvelin {

namespace {

// The scans keep the cores busy by themselves; OpenCV's own threads inside each scan would only fight
// them for the cores and wait on each other. Changed only while no scan runs: the setting is the whole
// process's, and OpenCV must not be in a parallel loop when it changes.
void shareCoresBetweenScans(int maxScans, int openCvThreads)
{
    const int perScan = openCvThreads > 0 ? openCvThreads : std::max(1, QThread::idealThreadCount() / maxScans);
    if (cv::getNumThreads() != perScan) {
        cv::setNumThreads(perScan);
    }
}

// The memory budget counts what the scans hold, so what they free must go back to the system: a
// large picture (a photo decoded in full) gets a mapping of its own, given back on free, and the
// allocator keeps at most a few scans' worth of freed heap space. Pictures at the scan's size stay
// in the heap and are reused by the next photo: mapping them anew for every photo costs a quarter
// of the search's time in page faults.
void returnFreedPicturesToTheSystem()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ::mallopt(M_MMAP_THRESHOLD, 16 << 20);
        ::mallopt(M_TRIM_THRESHOLD, 32 << 20);
        ::mallopt(M_ARENA_MAX, 2);
    });
}

} // namespace

FolderSearch::FolderSearch(ResultList& results, Settings settings, QObject* parent)
    : QObject(parent)
    , m_results(results)
    , m_settings(std::move(settings))
{
    if (m_settings.maxScans < 1) {
        m_settings.maxScans = 1;
    }
    returnFreedPicturesToTheSystem();
}

FolderSearch::~FolderSearch() = default;

void FolderSearch::start(std::shared_ptr<const FaceQuery> query, const QString& folder, bool subDirs)
{
    if (m_searchRunning || !m_walkOver) {
        return;
    }
    m_results.clear();
    if (m_scansInFlight == 0) {
        shareCoresBetweenScans(m_settings.maxScans, m_settings.openCvThreads);
    }
    m_query = std::move(query);
    m_stopNow = false;
    m_searchRunning = true;
    m_walkOver = false;
    m_finishedSent = false;
    m_counts = Counts();
    m_specialFiles = 0;
    m_clock.start();
    m_budget = std::make_shared<MemoryBudget>(m_settings.memoryLimit);
    const auto wake = [this] { QMetaObject::invokeMethod(this, &FolderSearch::scheduleStep, Qt::QueuedConnection); };
    FolderWalkWorker::Start walk{folder, subDirs, m_settings.tempFolder, m_settings.openFolder};
    m_walk = std::make_unique<FolderWalkWorker>(std::move(walk), wake);
    m_folder = folder;
    m_subDirs = subDirs;
    scheduleStep();
}

void FolderSearch::StopSearchButton()
{
    // Stopped before the end: scans waiting for memory give up at once.
    if (m_budget) {
        m_budget->cancel();
    }
    runStopRoutine();
}

void FolderSearch::runStopRoutine()
{
    m_stopNow = true;
    if (m_walk) {
        m_walk->stop();
    }
    if (!m_searchRunning) {
        return;
    }
    m_searchRunning = false;
    emit stopped();
    // With scans still under way, the walk's next step (or the last scan) ends the search.
    scheduleStep();
}

FolderSearch::Counts FolderSearch::counts() const
{
    Counts counts = m_counts;
    counts.unreadablePhotos += m_specialFiles;
    return counts;
}

double FolderSearch::photosPerSecond() const
{
    const qint64 elapsed = m_clock.isValid() ? m_clock.elapsed() : 0;
    return elapsed > 0 ? m_counts.photosScanned * 1000.0 / elapsed : 0.0;
}

void FolderSearch::scheduleStep()
{
    if (m_stepScheduled || m_walkOver) {
        return;
    }
    m_stepScheduled = true;
    // One entry per turn of the event loop, so clicks and repaints get through between entries.
    QTimer::singleShot(0, this, &FolderSearch::step);
}

void FolderSearch::step()
{
    m_stepScheduled = false;
    if (m_walkOver) {
        return;
    }
    if (!m_stopNow && m_scansInFlight >= m_settings.maxScans) {
        return; // a completing scan schedules the next step
    }
    const std::optional<FolderWalkWorker::Entry> entry = m_walk->take();
    if (!entry) {
        return; // the walk's next entry schedules the next step
    }
    switch (entry->step) {
    case FolderWalk::Step::Photo:
        countWalked(*entry);
        startScan(entry->path);
        break;
    case FolderWalk::Step::Other:
        break;
    case FolderWalk::Step::Skipped:
        countWalked(*entry);
        emit notRead(entry->path, entry->skipReason, entry->skippedFolder);
        break;
    case FolderWalk::Step::Finished:
        m_walkOver = true;
        // The stop routine runs once: here when the walk ran out, or already on Stop.
        if (!m_stopNow) {
            forgetVanishedPhotos();
            runStopRoutine();
        }
        finishIfIdle();
        return;
    }
    scheduleStep();
}

void FolderSearch::countWalked(const FolderWalkWorker::Entry& entry)
{
    m_counts.unreadableFolders = entry.unreadableFolders;
    m_specialFiles = entry.specialFiles;
}

void FolderSearch::startScan(const QString& photo)
{
    auto* scan = new PhotoScan(m_query, this);
    ++m_counts.photosSeen;
    ++m_scansInFlight;
    connect(scan, &PhotoScan::matched, &m_results,
            [this](const QString& fileName, int xscore, const QImage& face, const QRect& box) {
                m_results.NewFile(fileName, xscore, face, box);
            });
    connect(scan, &PhotoScan::Completed, this, [this, scan]() { onScanCompleted(scan); });
    m_running.insert(scan);
    QTimer::singleShot(std::chrono::seconds(m_settings.photoSeconds), scan, [this, scan]() { abandon(scan); });
    scan->setMemoryBudget(m_budget);
    scan->setFaceIndex(m_settings.index);
    connect(scan, &PhotoScan::answeredFromIndex, this, [this]() { ++m_counts.photosFromIndex; });
    emit scanStarted(scan);
    scan->Start(photo, m_settings.dataPath);
}

void FolderSearch::onScanCompleted(PhotoScan* scan)
{
    scan->deleteLater();
    m_running.remove(scan);
    --m_scansInFlight;
    // A photo the stop kept from its turn was not scanned, nor found unreadable.
    if (!scan->stoppedBeforeScan()) {
        ++m_counts.photosScanned;
    }
    if (!scan->stoppedBeforeScan() && !scan->failure().isEmpty()) {
        ++m_counts.unreadablePhotos;
        emit notRead(scan->fileName(), scan->failure(), false);
    }
    scheduleStep();
    finishIfIdle();
}

void FolderSearch::abandon(PhotoScan* scan)
{
    if (!m_running.remove(scan)) {
        return;
    }
    // A decoder cannot be interrupted; its worker goes on until it is done, in a thread of its own
    // so the other photos do not wait, and what it finds no longer counts.
    m_abandoned.insert(scan);
    disconnect(scan, nullptr, this, nullptr);
    disconnect(scan, &PhotoScan::matched, nullptr, nullptr);
    // The scan owns itself from here on, so that its worker gives the pool its thread back however
    // long it takes, even after this search is gone.
    scan->setParent(nullptr);
    BackgroundWork::pool().releaseThread();
    connect(scan, &PhotoScan::Completed, scan, [scan] {
        BackgroundWork::pool().reserveThread();
        scan->deleteLater();
    });
    connect(scan, &PhotoScan::Completed, this, [this, scan] { m_abandoned.remove(scan); });
    --m_scansInFlight;
    ++m_counts.photosScanned;
    ++m_counts.unreadablePhotos;
    emit notRead(scan->fileName(), QStringLiteral("abandoned: not scanned within %1 s").arg(m_settings.photoSeconds),
                 false);
    scheduleStep();
    finishIfIdle();
}

// Only after a whole walk: a stopped one has not seen every photo that is still there.
void FolderSearch::forgetVanishedPhotos()
{
    if (m_settings.index) {
        m_settings.index->pruneMissing(m_folder, m_subDirs);
    }
}

void FolderSearch::finishIfIdle()
{
    if (m_walkOver && m_scansInFlight == 0 && !m_finishedSent) {
        m_finishedSent = true;
        emit finished();
    }
}

} // namespace morvelin
