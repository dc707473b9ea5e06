#include "app/SearchController.h"

#include "base/Folders.h"
#include "search/FolderSearch.h"
#include "search/PhotoScan.h"

#include <QThread>

namespace morvelin {

SearchController::SearchController(QString dataPath, QObject* parent)
    : QObject(parent)
    , m_dataPath(std::move(dataPath))
{
    createFolderSearch();
}

void SearchController::setDataPath(const QString& dataPath)
{
    if (m_running || m_search->scansInFlight() > 0) {
        return;
    }
    m_dataPath = dataPath;
    delete m_search;
    createFolderSearch();
}

void SearchController::createFolderSearch()
{
    m_tempFolder = TempFolder();
    FolderSearch::Settings settings{m_dataPath, m_tempFolder, QThread::idealThreadCount()};
    m_search = new FolderSearch(m_results, settings, this);
    connect(m_search, &FolderSearch::scanStarted, this, &SearchController::scanStarted);
    connect(m_search, &FolderSearch::stopped, this, [this] {
        if (m_search->scansInFlight() == 0) {
            end();
        }
    });
    connect(m_search, &FolderSearch::finished, this, [this] {
        end();
        emit idleChanged();
    });
}

bool SearchController::canStart() const
{
    return !m_running && m_search->scansInFlight() == 0;
}

void SearchController::start(std::shared_ptr<const PixelCanvas> sourceFace, const QString& folder, bool subDirs)
{
    if (!canStart()) {
        return;
    }
    m_running = true;
    // A program that lives in the tray for weeks may see its temporary folder cleaned away and made anew.
    if (TempFolder() != m_tempFolder) {
        delete m_search;
        createFolderSearch();
    }
    m_search->start(std::move(sourceFace), folder, subDirs);
}

void SearchController::stop()
{
    m_search->StopSearchButton();
    end();
}

void SearchController::end()
{
    if (!m_running) {
        return;
    }
    m_running = false;
    emit ended();
}

} // namespace morvelin
