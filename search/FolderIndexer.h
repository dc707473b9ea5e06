// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceQuery.h"
#include "search/FolderSearch.h"
#include "search/MemoryBudget.h"
#include "search/ResultList.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace morvelin {

class FaceIndex;
class FolderWalkWorker;

// Brings the face index up to date without a person to look for: the search's own walk and scans,
// comparing with nobody and listing nothing, so every photo the index does not answer yet is scanned
// and remembered exactly as a search stores it, and a later search of those folders only compares.
// A walk that reaches the end of a folder forgets the photos that are gone from it. The photos are
// counted by a second walk ahead of the scans, so the progress has a total while memory stays bounded.
class FolderIndexer : public QObject {
    Q_OBJECT

public:
    struct Settings {
        QString dataPath;   // the detector's data file
        QString tempFolder; // the program's own temporary folder, never indexed
        std::shared_ptr<FaceIndex> index;
        int maxScans = 1;
        // OpenCV's threads for each scan; 0: the cores shared between the scans.
        int openCvThreads = 0;
        std::int64_t memoryLimit = MemoryBudget::defaultBytes;
    };

    struct Progress {
        int photosChecked = 0;   // scanned, or found unchanged in the index
        int photosTotal = 0;     // at least the photos checked; final once the count is done
        int photosFromIndex = 0;
        int unreadablePhotos = 0;
        int unreadableFolders = 0;
    };

    FolderIndexer(Settings settings, QObject* parent = nullptr);
    ~FolderIndexer() override;

    // The default matcher, prepared with nobody, behind a threshold no score reaches.
    static std::shared_ptr<const FaceQuery> indexingQuery(const QString& dataPath);

    // Every photo in `folders` and their sub-folders, one folder after the other. Ignored while running.
    void update(const QStringList& folders);
    // Single files: each photo that is there is scanned unless the index answers it; for a path that
    // is gone, its entry and those below it (a folder) are forgotten. Ignored while running.
    void updatePhotos(const QStringList& paths);
    // No further photo is started; the scans under way finish, then finished(false).
    void stop();

    bool running() const { return m_running; }
    Progress progress() const;
    // What the last run did not finish: the folders not walked to the end, the files not scanned.
    QStringList unfinishedFolders() const { return m_unfinishedFolders; }
    QStringList unfinishedPhotos() const { return m_photos; }

signals:
    // A photo was checked, or the count grew.
    void progressed();
    // A folder or photo that could not be read, and why.
    void notRead(const QString& path, const QString& reason, bool folder);
    // complete: every folder was walked to the end and every photo handed over was checked.
    void finished(bool complete);

private:
    void begin();
    void nextFolder();
    void onFolderFinished();
    void nextPhoto();
    void startCounting(const QStringList& folders);
    void countNextFolder();
    void count();
    void end(bool complete);

    Settings m_settings;
    std::shared_ptr<const FaceQuery> m_query;
    ResultList m_results; // stays empty: nobody is looked for
    FolderSearch* m_search = nullptr;
    std::shared_ptr<MemoryBudget> m_budget;
    bool m_running = false;
    bool m_stopping = false;
    QString m_currentFolder;
    QStringList m_folders;
    QStringList m_unfinishedFolders;
    QStringList m_photos;
    Progress m_done;   // the folders and files finished in this run
    int m_counted = 0; // photos the counting walk found
    std::unique_ptr<FolderWalkWorker> m_counter;
    QStringList m_toCount;
};

} // namespace morvelin
