#pragma once

#include "engine/PixelCanvas.h"
#include "search/ResultList.h"

#include <QObject>
#include <QString>

#include <memory>

namespace morvelin {

class FolderSearch;
class PhotoScan;

// The search as the main window drives it: Search starts it, Stop or the end of the walk ends it.
// It holds the one state the window shows, whether a search is on: after Stop it is over at once;
// at the end of the walk only once the photos still being scanned are done, so that "No files found."
// is never shown while matches may still come.
class SearchController : public QObject {
    Q_OBJECT

public:
    explicit SearchController(QString dataPath, QObject* parent = nullptr);

    // Ignored while scans are under way.
    void setDataPath(const QString& dataPath);

    bool running() const { return m_running; }
    // Scans of a stopped search still report; a new search must not start before they are done.
    bool canStart() const;
    void start(std::shared_ptr<const PixelCanvas> sourceFace, const QString& folder, bool subDirs);
    void stop();

    ResultList& results() { return m_results; }
    FolderSearch& folderSearch() { return *m_search; }

signals:
    void scanStarted(morvelin::PhotoScan* scan);
    // The search is over for the window: the stop routine.
    void ended();
    // canStart() may have changed.
    void idleChanged();

private:
    void createFolderSearch();
    void end();

    QString m_dataPath;
    QString m_tempFolder;
    ResultList m_results;
    FolderSearch* m_search = nullptr;
    bool m_running = false;
};

} // namespace morvelin
