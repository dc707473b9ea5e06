// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/SearchController.h"

#include "app/Translate.h"
#include "base/BackgroundWork.h"
#include "base/Folders.h"
#include "base/ProgramNames.h"
#include "platform/Settings.h"
#include "search/FaceIndex.h"
#include "search/FolderSearch.h"
#include "search/MagickImageFileReader.h"
#include "search/OpenFilesLimit.h"
#include "search/PhotoScan.h"
#include "search/ScanVersion.h"

#include <QMessageBox>
#include <QThread>
#include <QThreadPool>

#include <algorithm>

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
    // A worker thread that finds no descriptor for its event loop aborts the program: at least one
    // scan runs, and no more than the open files allow.
    const int scans = std::max(1, OpenFilesLimit::scansWithin(QThread::idealThreadCount()));
    BackgroundWork::pool().setMaxThreadCount(std::min(BackgroundWork::pool().maxThreadCount(), scans));
    FolderSearch::Settings settings{m_dataPath, m_tempFolder, scans};
    m_faceIndex = std::make_shared<FaceIndex>(Settings::indexPath(FaceIndex::defaultPath()), ScanVersion::of(m_dataPath));
    settings.index = m_faceIndex;
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

void SearchController::start(std::shared_ptr<const FaceQuery> query, const QString& folder, bool subDirs)
{
    if (!canStart()) {
        return;
    }
    m_running = true;
    m_stoppedEarly = false;
    // A program that lives in the tray for weeks may see its temporary folder cleaned away and made anew.
    if (TempFolder() != m_tempFolder) {
        delete m_search;
        createFolderSearch();
        MagickImageFileReader::keepTemporaryFilesIn(m_tempFolder);
    }
    m_search->start(std::move(query), folder, subDirs);
}

void SearchController::stop()
{
    m_stoppedEarly = m_running;
    m_search->StopSearchButton();
    end();
}

void SearchController::forgetScannedPhotos(QWidget* parent)
{
    const QString question = Translate(QT_TRANSLATE_NOOP(
        "Morvelin", "Forget what the earlier searches found in your photos? The next search scans every photo again."));
    if (QMessageBox::question(parent, ProgramNames::title(), question) != QMessageBox::Yes) {
        return;
    }
    const std::shared_ptr<FaceIndex> index = m_faceIndex;
    BackgroundWork::run(this, [index] { return index->clear(); }, [this, index](bool cleared) {
        if (cleared) {
            emit forgotten(Translate(QT_TRANSLATE_NOOP("Morvelin", "The scanned photos are forgotten.")));
            return;
        }
        const QString notice = index->notice();
        emit forgotten(Translate(QT_TRANSLATE_NOOP("Morvelin", "The scanned photos could not all be forgotten."))
                       + (notice.isEmpty() ? QString() : QLatin1Char('\n') + notice));
    });
}

QString SearchController::indexReport()
{
    QString report;
    if (const int fromIndex = m_search->counts().photosFromIndex; fromIndex > 0) {
        report += QLatin1Char('\n') + QString::number(fromIndex) + QLatin1Char(' ')
            + Translate(QT_TRANSLATE_NOOP("Morvelin", "photos answered from the face index."));
    }
    if (const QString notice = m_faceIndex->notice(); !notice.isEmpty() && notice != m_noticeReported) {
        report += QLatin1Char('\n') + notice;
        m_noticeReported = notice;
    }
    return report;
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
