// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceQuery.h"
#include "search/ResultList.h"

#include <QObject>
#include <QWidget>
#include <QString>

#include <memory>

namespace morvelin {

class FaceIndex;
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
    // The last search ended by Stop rather than at the end of its folder.
    bool stoppedEarly() const { return m_stoppedEarly; }
    // Scans of a stopped search still report; a new search must not start before they are done.
    bool canStart() const;
    void start(std::shared_ptr<const FaceQuery> query, const QString& folder, bool subDirs);
    void stop();
    // Empties the face index once the user confirms, off the window's thread (the index waits for
    // the writes before it); forgotten() says how it went.
    void forgetScannedPhotos(QWidget* parent);
    // Lines for the status after a search: how many photos the face index answered, and once why it
    // could not be used.
    QString indexReport();

    ResultList& results() { return m_results; }
    FolderSearch& folderSearch() { return *m_search; }

signals:
    void scanStarted(morvelin::PhotoScan* scan);
    // The search is over for the window: the stop routine.
    void ended();
    // canStart() may have changed.
    void idleChanged();
    // The face index was emptied, or could not be: what to tell the user.
    void forgotten(const QString& status);

private:
    void createFolderSearch();
    void end();

    QString m_dataPath;
    QString m_tempFolder;
    ResultList m_results;
    FolderSearch* m_search = nullptr;
    std::shared_ptr<FaceIndex> m_faceIndex;
    bool m_running = false;
    bool m_stoppedEarly = false;
    QString m_noticeReported; // the face index's trouble is said once, not after every search
};

} // namespace morvelin
