// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinMain.h"

#include "app/AppIcon.h"
#include "app/BackgroundIndexer.h"
#include "app/FaceGallery.h"
#include "app/Helpers.h"
#include "app/HelpLinks.h"
#include "app/ImageXView.h"
#include "app/MainTexts.h"
#include "app/MatcherChoice.h"
#include "app/OuterFrame.h"
#include "app/PhotoOpener.h"
#include "app/ResultListModel.h"
#include "app/ResultListView.h"
#include "app/ResultPreview.h"
#include "app/ScanWindows.h"
#include "app/SearchStatus.h"
#include "app/Translate.h"
#include "app/Version.h"
#include "app/WatchedFoldersDialog.h"
#include "base/DataFolder.h"
#include "base/ProgramNames.h"
#include "controls/FA_DriveListBox.h"
#include "controls/FlatButton.h"
#include "platform/Settings.h"
#include "search/PhotoScan.h"
#include "search/PhotoTypes.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QVersionNumber>

namespace morvelin {

namespace {

constexpr int aboutLink = WinMainUi::aboutLinkNumber;
constexpr int updatesLink = WinMainUi::updatesLinkNumber;

// A remark after the status line's text, on a line of its own.
QString noteOf(const QString& note)
{
    return note.isEmpty() ? QString() : QLatin1Char('\n') + note;
}

// The one local photo a drag carries, or empty: several files, a web address or another type are not
// a source picture.
QString droppedPhoto(const QMimeData* data)
{
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return QString();
    }
    const QString path = urls.front().toLocalFile();
    return PhotoTypes::isPhotoName(path) && QFileInfo(path).isFile() ? path : QString();
}

} // namespace

WinMain::WinMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("WinMain"));
    SetMainWindow(this);
    setWindowIcon(AppIcon());
    createControllers();
    m_ui.setup(this, *m_resultModel);
    m_outerFrame = new OuterFrame(this, [this] { placeControls(); });
    m_scanWindows = new ScanWindows(this, [this] { return m_ui.keptInSight(); });
    m_matcher = new MatcherChoice(m_ui.compareFeatures, m_dataPath, this);
    connectControls();
    m_tray = new TrayMenu(this);
    connect(m_tray, &TrayMenu::captureRequested, this, [this] { GoCapture(QString()); });
    connect(m_tray, &TrayMenu::openRequested, this, &WinMain::bringForward);
    connect(m_tray, &TrayMenu::forgetRequested, this, [this] { m_search->forgetScannedPhotos(this); });
    connect(m_tray, &TrayMenu::watchedFoldersRequested, this, &WinMain::showWatchedFolders);
    connect(m_search, &SearchController::forgotten, m_ui.status, &QLabel::setText);
    // What they held is gone from the index: the watched folders are indexed anew.
    connect(m_search, &SearchController::forgotten, m_watched, &BackgroundIndexer::reindex);
    connect(m_watched, &BackgroundIndexer::statusChanged, this, &WinMain::showWatchedStatus);
    m_preview = new ResultPreview(m_ui.imgPreview, m_ui.searchPath, this);
    m_opener = new PhotoOpener(this);
    connect(m_ui.fileList, &ResultListView::openRequested, m_opener, &PhotoOpener::open);
    m_statusTimer = new QTimer(this);
    m_statusTimer->setInterval(500);
    connect(m_statusTimer, &QTimer::timeout, this, &WinMain::showSearchStatus);
    setAcceptDrops(true);
    restoreLookIn();
    auto* links = new HelpLinks({m_ui.aboutLink, m_ui.updatesLink, m_ui.photoLink, m_ui.watchLink}, this);
    connect(links, &HelpLinks::clicked, this, [this](QLabel* link) {
        if (link == m_ui.photoLink) {
            choosePhoto();
            return;
        }
        if (link == m_ui.watchLink) {
            showWatchedFolders();
            return;
        }
        LinkClick(link == m_ui.aboutLink ? aboutLink : updatesLink);
    });
    // Where F12 cannot be watched globally, it still works while this window has the focus.
    auto* f12 = new QShortcut(QKeySequence(Qt::Key_F12), this);
    connect(f12, &QShortcut::activated, m_acquire, &AcquisitionController::noteF12);

    const MainLayout layout = MainLayout::forWidget(this);
    resize(layout.toPixels(QRectF(0, 0, MainLayout::designClientWidth, MainLayout::designClientHeight)).size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    loadTexts();
    m_acquire->watchF12(true);
}

void WinMain::createControllers()
{
    m_dataPath = DetectorDataPath();
    m_acquire = new AcquisitionController(m_dataPath, this);
    connect(m_acquire, &AcquisitionController::captureRequested, this, [this] { GoCapture(QString()); });
    connect(m_acquire, &AcquisitionController::started, this, [this] { apply(Mode::Acquiring); });
    connect(m_acquire, &AcquisitionController::notice, this, [this] { apply(Mode::Detecting); });
    connect(m_acquire, &AcquisitionController::faceFound, this, &WinMain::onFaceFound);
    connect(m_acquire, &AcquisitionController::completed, this, &WinMain::onAcquisitionCompleted);

    m_search = new SearchController(m_dataPath, this);
    m_watched = new BackgroundIndexer(m_dataPath, this);
    m_resultModel = new ResultListModel(m_search->results(), this);
    connect(&m_search->results(), &ResultList::filesFoundChanged, this, [this] {
        if (m_search->running()) {
            showSearchStatus();
        }
    });
    connect(m_search, &SearchController::scanStarted, this, &WinMain::scanStarted);
    connect(m_search, &SearchController::ended, this, &WinMain::stopRoutine);
    connect(m_search, &SearchController::idleChanged, this, [this] {
        if (m_search->canStart()) {
            m_watched->setPaused(false);
        }
        m_scanWindows->closeAll();
        updateStartSearchEnabled();
        // The scans a Stop left running may still have listed photos.
        if (m_searched && !m_search->running()) {
            showSearchStatus();
        }
    });
}

void WinMain::setDataPath(const QString& dataPath)
{
    m_dataPath = dataPath;
    m_acquire->setDataPath(dataPath);
    m_search->setDataPath(dataPath);
    m_matcher->setDataPath(dataPath);
}

void WinMain::apply(Mode mode)
{
    switch (mode) {
    case Mode::Ready:
        m_ui.startSearch->setEnabled(false);
        m_ui.showFaceArea(false);
        m_ui.imgPreview->hide();
        m_ui.chooseImageFile->show();
        break;
    case Mode::Acquiring:
        m_ui.setWinCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Looking for human faces...")));
        m_ui.startSearch->setEnabled(false);
        m_ui.showFaceArea(false);
        comeBack();
        break;
    case Mode::Detecting:
        m_ui.showFaceArea(false);
        FormOnTop(this);
        QTimer::singleShot(0, this, [this] { FormNotOnTop(this); });
        m_ui.imageList->show();
        m_ui.fileList->hide();
        break;
    case Mode::FacesFound:
        m_ui.setWinCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Choose the face to search...")));
        m_ui.chooseImageFile->hide();
        break;
    case Mode::NoFacesFound:
        m_ui.setWinCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "No faces found")));
        m_ui.setWinSubCaption(QString());
        m_ui.chooseImageFile->show();
        break;
    case Mode::FacesChosen:
        m_ui.showFaceArea(m_chosenFace.isPicked());
        updateStartSearchEnabled();
        break;
    case Mode::Searching:
        m_ui.chooseImageFile->hide();
        m_ui.imageList->hide();
        m_ui.fileList->show();
        m_ui.startSearch->hide();
        m_ui.stopSearch->show();
        m_ui.imgPreview->hide();
        break;
    case Mode::SearchEnded:
        m_ui.chooseImageFile->hide();
        m_ui.startSearch->show();
        m_ui.stopSearch->hide();
        break;
    }
}

void WinMain::connectControls()
{
    connect(m_ui.searchPath, &FA_DriveListBox::PathChange, this, &WinMain::browseForFolder);
    connect(m_ui.startSearch, &FlatButton::Click, this, &WinMain::startSearch);
    connect(m_ui.stopSearch, &FlatButton::Click, this, &WinMain::StopSearchButton);
    connect(m_scanWindows, &ScanWindows::StopSearchClicked, this, &WinMain::StopSearchButton);
    connect(m_ui.imageList, &FaceGallery::faceClicked, this, &WinMain::chooseFace);
    connect(m_ui.fileList, &ResultListView::previewRequested, this,
            [this](const QString& path, const QRect& faceBox) { m_preview->show(path, faceBox); });
    connect(m_ui.chooseImageFile, &FlatButton::Click, this, &WinMain::choosePhoto);
}

void WinMain::loadTexts()
{
    hide();
    m_ui.searchThisFace->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Search this face:")));
    m_ui.lookIn->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Look in:")));
    m_ui.status->setText(m_matcher->fallbackNote());
    m_ui.aboutLink->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "About")));
    m_ui.updatesLink->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Check for updates")));
    m_ui.photoLink->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Select a photo...")));
    m_ui.watchLink->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Watched folders...")));
    m_ui.legalNotice->setText(MainTexts::legalNotice());
    m_ui.faceHint->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Choose the face to search...")));

    const QVersionNumber version = QVersionNumber::fromString(QLatin1String(programVersion));
    m_ui.setWinCaption(ProgramNames::title());
    m_ui.setWinSubCaption(MainTexts::versionText(version.majorVersion(), version.minorVersion(), version.microVersion()));
    setWindowTitle(m_ui.winCaption->text() + QLatin1Char(' ') + m_ui.winSubCaption->text());

    m_ui.chooseImageFile->setCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Select a photo with a face to search...")));
    m_ui.stopSearch->setCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Stop")));
    m_ui.startSearch->setCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Search")));
    m_ui.scanSubDirs->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Sub-directories search")));
    m_matcher->loadTexts();
    apply(Mode::Ready);
    m_tray->setTexts(Translate(QT_TRANSLATE_NOOP("Morvelin", "Search for faces on screen")),
                     Translate(QT_TRANSLATE_NOOP("Morvelin", "Exit")), ProgramNames::title());
}

void WinMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void WinMain::placeControls()
{
    m_ui.layout(this, m_preview->twips(), m_outerFrame->size());
}

bool WinMain::QueryUnload(bool fromCloseBox)
{
    if (fromCloseBox && !m_closeEndsProgram) {
        stepAside();
        m_acquire->watchF12(true);
        return false;
    }
    m_tray->tray().remove();
    return true;
}

void WinMain::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_closeEndsProgram) {
        showMinimized();
        return;
    }
    QueryUnload(true);
}

void WinMain::dragEnterEvent(QDragEnterEvent* event)
{
    // A photo dragged out of the result list and back is not a new source picture.
    if (event->source() == nullptr && !droppedPhoto(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void WinMain::dropEvent(QDropEvent* event)
{
    const QString photo = droppedPhoto(event->mimeData());
    if (event->source() != nullptr || photo.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // After the drop has returned: the acquisition hides this window, which the drag still holds.
    QTimer::singleShot(0, this, [this, photo] { useChosenPhoto(photo); });
}

void WinMain::closeEvent(QCloseEvent* event)
{
    const bool fromCloseBox = event->spontaneous();
    if (!QueryUnload(fromCloseBox)) {
        event->ignore();
        return;
    }
    event->accept();
    if (fromCloseBox) {
        // No tray to come back from: the close box ends the program.
        QTimer::singleShot(0, qApp, [] { ExitProgram(); });
    }
}

void WinMain::showFromWelcome()
{
    showNormal();
    raise();
    activateWindow();
}

void WinMain::bringForward()
{
    comeBack();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    FormOnTop(this);
    QTimer::singleShot(0, this, [this] { FormNotOnTop(this); });
}

void WinMain::LinkClick(int index)
{
    if (index == aboutLink) {
        HelpLinks::showAbout(this);
    } else if (index == updatesLink) {
        FormNotOnTop(this);
        HelpLinks::checkForUpdates(this);
    }
}

void WinMain::GoCapture(const QString& xfile)
{
    if (m_search->running()) {
        bringForward();
        return;
    }
    const bool wasVisible = isVisible();
    prepareAcquisition();
    if (!xfile.isEmpty()) {
        m_acquire->fromFile(xfile);
        return;
    }
    // The window (or the tray menu) must be off the screen before the screen is taken.
    stepAside();
    m_acquire->fromScreen(wasVisible ? hideBeforeCaptureMs : hideBeforeCaptureMs / 3);
}

void WinMain::useChosenPhoto(const QString& photo)
{
    m_preview->hide();
    if (m_search->running()) {
        bringForward();
        return;
    }
    prepareAcquisition();
    m_acquire->fromPhoto(photo);
}

void WinMain::prepareAcquisition()
{
    m_ui.chooseImageFile->hide();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    m_acquire->watchF12(false);
    // The last search's counts are not this picture's.
    m_searched = false;
    m_ui.status->setText(m_matcher->fallbackNote());
    // The person's faces may come from several pictures: those chosen wait beside the new ones.
    m_ui.imageList->keepOnly(m_chosenFace.keys());
    ++m_acquisitions;
}

// Where the window stood is kept: shown again, it comes back there, not where a window manager
// would place a new window.
void WinMain::stepAside()
{
    if (isVisible()) {
        m_placedAt = pos();
    }
    hide();
}

void WinMain::comeBack()
{
    show();
    // A maximised window keeps its place by its state; moving it would take that back.
    if (m_placedAt && !isMaximized() && pos() != *m_placedAt) {
        move(*m_placedAt);
    }
}

void WinMain::onFaceFound(const QImage& thumbnail)
{
    m_ui.imageList->addThumbnail(thumbnail);
    m_ui.setWinSubCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Recognized faces: ")) + QString::number(m_acquire->facesFound()));
}

void WinMain::onAcquisitionCompleted(int facesFound)
{
    m_ui.imageList->showThumbnails(m_acquisitions, m_acquire->found());
    apply(facesFound != 0 ? Mode::FacesFound : Mode::NoFacesFound);
    if (m_chosenFace.isPicked()) {
        apply(Mode::FacesChosen);
    }
    m_acquire->watchF12(true);
}

void WinMain::chooseFace(int row, bool adding)
{
    const FaceGallery::Face* face = m_ui.imageList->face(row);
    if (face == nullptr) {
        return;
    }
    const QString tooMany =
        Translate(QT_TRANSLATE_NOOP("Morvelin", "At most %1 faces can be chosen.")).arg(ChosenFace::maxFaces);
    if (!adding) {
        m_chosenFace.pick(face->key, face->thumbnail, face->found, m_dataPath);
    } else if (!m_chosenFace.toggle(face->key, face->thumbnail, face->found, m_dataPath)) {
        m_ui.status->setText(tooMany);
        return;
    }
    if (m_ui.status->text() == tooMany) {
        m_ui.status->setText(m_matcher->fallbackNote());
    }
    m_ui.imageList->markChosen(m_chosenFace.keys());
    m_ui.setChosenFaces(m_chosenFace.thumbnails());
    apply(Mode::FacesChosen);
    placeControls();
}

void WinMain::choosePhoto()
{
    const QString photo =
        QFileDialog::getOpenFileName(this, Translate(QT_TRANSLATE_NOOP("Morvelin", "Choose the image file")), QString(), MainTexts::dialogFilter());
    if (photo.isEmpty()) {
        return;
    }
    useChosenPhoto(photo);
}

void WinMain::startSearch()
{
    if (!m_chosenFace.isPicked() || !m_search->canStart()) {
        return;
    }
    // The chosen faces are read on a worker; the window waits for them without blocking.
    if (!m_chosenFace.isRead()) {
        m_ui.startSearch->setEnabled(false);
        m_ui.status->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Reading the chosen face...")));
        m_chosenFace.whenRead(this, [this] { startSearch(); });
        return;
    }
    QString problem;
    std::shared_ptr<const FaceQuery> query = m_chosenFace.forSearch(m_matcher->matcherName(), m_dataPath, problem);
    if (!query) {
        m_ui.status->setText(problem);
        updateStartSearchEnabled();
        return;
    }
    m_acquire->watchF12(false);
    m_ui.setWinCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Searching")));
    m_ui.setWinSubCaption(ProgramNames::title() + QLatin1Char(' ')
                     + Translate(QT_TRANSLATE_NOOP("Morvelin", "is searching for faces in your image files...")));
    const QString folder = m_ui.searchPath->SelPath();
    Settings::setLookIn(folder, m_ui.scanSubDirs->isChecked());
    m_searched = true;
    m_searchNotes = noteOf(m_matcher->fallbackNote());
    apply(Mode::Searching);
    // Once shown: a hidden list has not been given its width yet.
    m_ui.fileList->resetColumns();
    // The search has the cores and the disk; the watched folders' indexing goes on once it is over.
    m_watched->setPaused(true);
    m_search->start(std::move(query), folder, m_ui.scanSubDirs->isChecked());
    showSearchStatus();
    m_statusTimer->start();
}

void WinMain::restoreLookIn()
{
    m_ui.searchPath->UpdatePath(FolderWithSeparator(Settings::lookIn()));
    m_ui.scanSubDirs->setChecked(Settings::searchSubFolders());
}

void WinMain::showSearchStatus()
{
    const SearchStatus::State state = m_search->running()
        ? SearchStatus::State::Running
        : (m_search->stoppedEarly() ? SearchStatus::State::Stopped : SearchStatus::State::Finished);
    const QString text =
        SearchStatus::text(state, m_search->folderSearch().counts(), m_search->results().rowCount());
    m_ui.status->setText(text + m_searchNotes);
}

void WinMain::StopSearchButton()
{
    m_search->stop();
}

void WinMain::stopRoutine()
{
    m_statusTimer->stop();
    apply(Mode::SearchEnded);
    m_ui.setWinCaption(ProgramNames::title());
    m_ui.setWinSubCaption(Translate(QT_TRANSLATE_NOOP("Morvelin", "Face search software")));
    m_searchNotes = m_search->indexReport() + noteOf(m_matcher->fallbackNote());
    showSearchStatus();
    m_acquire->watchF12(true);
    updateStartSearchEnabled();
}

void WinMain::updateStartSearchEnabled()
{
    m_ui.startSearch->setEnabled(m_chosenFace.isPicked() && m_search->canStart());
}

void WinMain::scanStarted(PhotoScan* scan)
{
    m_scanWindows->follow(scan, m_ui.imgX->imageX().picture());
}

void WinMain::NewFile(const QString& xfile, int xscore)
{
    m_search->results().NewFile(xfile, xscore);
}

void WinMain::browseForFolder()
{
    if (m_ui.searchPath->SelPath() != FA_DriveListBox::browseText()) {
        return;
    }
    const QString folder = BrowseFolder(this, Translate(QT_TRANSLATE_NOOP("Morvelin", "Choose folder")), false, m_ui.searchPath->SelPath());
    if (!folder.isEmpty()) {
        m_ui.searchPath->UpdatePath(folder);
    }
}

WatchedFoldersDialog* WinMain::showWatchedFolders()
{
    if (!m_watchedDialog) {
        m_watchedDialog = new WatchedFoldersDialog(*m_watched, this);
        m_watchedDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_watchedDialog->show();
    m_watchedDialog->raise();
    m_watchedDialog->activateWindow();
    return m_watchedDialog;
}

void WinMain::showWatchedStatus()
{
    const QString watched = WatchedFoldersDialog::statusText(*m_watched);
    m_tray->tray().setToolTip(watched.isEmpty() ? ProgramNames::title() : ProgramNames::title() + QLatin1Char('\n') + watched);
    // Only over what the line shows when nothing else has been said there.
    const QString fallback = m_matcher->fallbackNote();
    const QString current = m_ui.status->text();
    if (m_search->running() || (current != fallback && current != m_watchedShown)) {
        return;
    }
    m_watchedShown = watched.isEmpty() ? fallback : (fallback.isEmpty() ? watched : fallback + QLatin1Char('\n') + watched);
    m_ui.status->setText(m_watchedShown);
}

} // namespace morvelin
