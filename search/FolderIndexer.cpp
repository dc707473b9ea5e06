// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FolderIndexer.h"

#include "search/FaceIndex.h"
#include "search/FolderWalkWorker.h"
#include "search/MatcherRegistry.h"
#include "search/PhotoScan.h"
#include "search/PhotoTypes.h"

#include <QFileInfo>

#include <limits>

namespace morvelin {

namespace {

// The parent of a file's path, as the index keys its folders.
QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

FolderIndexer::FolderIndexer(Settings settings, QObject* parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_query(indexingQuery(m_settings.dataPath))
{
    FolderSearch::Settings search{.dataPath = m_settings.dataPath,
                                  .tempFolder = m_settings.tempFolder,
                                  .maxScans = m_settings.maxScans,
                                  .memoryLimit = m_settings.memoryLimit};
    search.index = m_settings.index;
    search.openCvThreads = m_settings.openCvThreads;
    m_search = new FolderSearch(m_results, search, this);
    connect(m_search, &FolderSearch::notRead, this, &FolderIndexer::notRead);
    connect(m_search, &FolderSearch::finished, this, &FolderIndexer::onFolderFinished);
    connect(m_search, &FolderSearch::scanStarted, this, [this](PhotoScan* scan) {
        // After the search's own handler, which counts the scan.
        connect(scan, &PhotoScan::Completed, this, &FolderIndexer::progressed);
    });
}

FolderIndexer::~FolderIndexer() = default;

std::shared_ptr<const FaceQuery> FolderIndexer::indexingQuery(const QString& dataPath)
{
    QString problem;
    std::unique_ptr<FaceMatcher> matcher =
        MatcherRegistry::make(MatcherRegistry::defaultFor(dataPath).name, dataPath, problem);
    if (!matcher) {
        // The last matcher needs no model of its own.
        matcher = MatcherRegistry::make(MatcherRegistry::names().constLast(), dataPath, problem);
    }
    return FaceQuery::of(std::move(matcher), {}, std::numeric_limits<std::int64_t>::max());
}

void FolderIndexer::update(const QStringList& folders)
{
    if (m_running) {
        return;
    }
    begin();
    m_folders = folders;
    startCounting(folders);
    nextFolder();
}

void FolderIndexer::updatePhotos(const QStringList& paths)
{
    if (m_running) {
        return;
    }
    begin();
    m_photos = paths;
    m_counted = int(paths.size());
    nextPhoto();
}

void FolderIndexer::begin()
{
    m_running = true;
    m_stopping = false;
    m_done = Progress();
    m_counted = 0;
    m_folders.clear();
    m_unfinishedFolders.clear();
    m_photos.clear();
    m_budget = std::make_shared<MemoryBudget>(m_settings.memoryLimit);
}

void FolderIndexer::stop()
{
    if (!m_running || m_stopping) {
        return;
    }
    m_stopping = true;
    if (m_counter) {
        m_counter->stop();
    }
    if (m_search->SearchRunning()) {
        m_search->StopSearchButton();
    }
}

FolderIndexer::Progress FolderIndexer::progress() const
{
    Progress now = m_done;
    if (!m_currentFolder.isEmpty()) {
        const FolderSearch::Counts counts = m_search->counts();
        now.photosChecked += counts.photosScanned;
        now.photosFromIndex += counts.photosFromIndex;
        now.unreadablePhotos += counts.unreadablePhotos;
        now.unreadableFolders += counts.unreadableFolders;
    }
    now.photosTotal = std::max(m_counted, now.photosChecked);
    return now;
}

void FolderIndexer::nextFolder()
{
    if (m_stopping || m_folders.isEmpty()) {
        m_unfinishedFolders = m_folders;
        end(!m_stopping);
        return;
    }
    const QString folder = m_folders.takeFirst();
    // A folder that is not there (a drive not mounted) is not walked: that would forget its photos.
    if (!QFileInfo(folder).isDir()) {
        ++m_done.unreadableFolders;
        emit notRead(folder, QStringLiteral("not a folder"), true);
        nextFolder();
        return;
    }
    m_currentFolder = folder;
    m_search->start(m_query, m_currentFolder, true);
}

void FolderIndexer::onFolderFinished()
{
    const FolderSearch::Counts counts = m_search->counts();
    m_done.photosChecked += counts.photosScanned;
    m_done.photosFromIndex += counts.photosFromIndex;
    m_done.unreadablePhotos += counts.unreadablePhotos;
    m_done.unreadableFolders += counts.unreadableFolders;
    if (m_stopping) {
        m_folders.prepend(m_currentFolder);
    }
    m_currentFolder.clear();
    // Out of the search's own signal, which must return before the search starts again.
    QMetaObject::invokeMethod(this, &FolderIndexer::nextFolder, Qt::QueuedConnection);
}

void FolderIndexer::nextPhoto()
{
    while (!m_stopping && !m_photos.isEmpty()) {
        const QString path = m_photos.first();
        const QFileInfo file(path);
        const bool privateFile = !m_settings.tempFolder.isEmpty() && path.startsWith(m_settings.tempFolder);
        if (!file.exists()) {
            m_settings.index->pruneMissing(folderOf(path), false);
            m_settings.index->pruneMissing(path, true);
        }
        if (!file.exists() || privateFile || !file.isFile() || !PhotoTypes::isPhotoName(path)) {
            m_photos.removeFirst();
            m_counted = std::max(0, m_counted - 1);
            continue;
        }
        auto* scan = new PhotoScan(m_query, this);
        scan->setMemoryBudget(m_budget);
        scan->setFaceIndex(m_settings.index);
        connect(scan, &PhotoScan::answeredFromIndex, this, [this] { ++m_done.photosFromIndex; });
        connect(scan, &PhotoScan::Completed, this, [this, scan] {
            scan->deleteLater();
            m_photos.removeOne(scan->fileName());
            ++m_done.photosChecked;
            if (!scan->failure().isEmpty()) {
                ++m_done.unreadablePhotos;
                emit notRead(scan->fileName(), scan->failure(), false);
            }
            emit progressed();
            nextPhoto();
        });
        scan->Start(path, m_settings.dataPath);
        return;
    }
    end(!m_stopping);
}

void FolderIndexer::startCounting(const QStringList& folders)
{
    m_toCount = folders;
    countNextFolder();
}

void FolderIndexer::countNextFolder()
{
    m_counter.reset();
    if (m_toCount.isEmpty()) {
        return;
    }
    const auto wake = [this] { QMetaObject::invokeMethod(this, &FolderIndexer::count, Qt::QueuedConnection); };
    m_counter = std::make_unique<FolderWalkWorker>(
        FolderWalkWorker::Start{m_toCount.takeFirst(), true, m_settings.tempFolder, {}}, wake);
    QMetaObject::invokeMethod(this, &FolderIndexer::count, Qt::QueuedConnection);
}

void FolderIndexer::count()
{
    const int before = m_counted;
    while (m_counter) {
        const std::optional<FolderWalkWorker::Entry> entry = m_counter->take();
        if (!entry) {
            break; // the walk's next entry wakes this again
        }
        if (entry->step == FolderWalk::Step::Photo) {
            ++m_counted;
        } else if (entry->step == FolderWalk::Step::Finished) {
            countNextFolder();
        }
    }
    if (m_counted != before) {
        emit progressed();
    }
}

void FolderIndexer::end(bool complete)
{
    if (!m_running) {
        return;
    }
    m_counter.reset();
    m_toCount.clear();
    m_running = false;
    m_stopping = false;
    m_settings.index->flush();
    emit finished(complete);
}

} // namespace morvelin
