// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/AcquisitionController.h"
#include "app/ChosenFace.h"
#include "app/SearchController.h"
#include "app/TrayMenu.h"
#include "app/WinMainUi.h"
#include "search/FolderSearch.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

namespace morvelin {

class BackgroundIndexer;
class MatcherChoice;
class OuterFrame;
class PhotoOpener;
class PhotoScan;
class ResultListModel;
class ResultPreview;
class ScanWindows;
class WatchedFoldersDialog;

// The program's working window: the face to search for and where to look on the left, the gallery
// of faces found or the result list on the right. It lives hidden in the tray between uses. It only
// shows and drives: the acquisition of the source picture and the search each have a controller.
class WinMain : public QWidget {
    Q_OBJECT

public:
    // How long a window that was on screen gets to disappear before the screen is captured.
    static constexpr int hideBeforeCaptureMs = 300;

    // Loads the window hidden, with its texts, and puts the tray icon up.
    explicit WinMain(QWidget* parent = nullptr);

    // An empty xfile captures the screen; otherwise xfile is a JPEG to look at, removed afterwards
    // when it lies in the program's temporary folder.
    void GoCapture(const QString& xfile);
    // The photo the user chose as the source picture; it is only read.
    void useChosenPhoto(const QString& photo);
    void StopSearchButton();
    void NewFile(const QString& xfile, int xscore);
    void LinkClick(int index);

    void showFromWelcome();
    // Without a tray the close box ends the program instead of hiding the window.
    void setCloseEndsProgram(bool ends) { m_closeEndsProgram = ends; }
    SystemTray& tray() { return m_tray->tray(); }
    // The detector's data file; DetectorDataPath() unless set.
    void setDataPath(const QString& dataPath);

    // The close request: true when the window may go; a close from the close box hides it instead.
    bool QueryUnload(bool fromCloseBox);

    bool SearchRunning() const { return m_search->running(); }
    bool StopNow() const { return m_search->folderSearch().StopNow(); }
    int FilesFound() const { return m_search->results().filesFound(); }
    int FacesFound() const { return m_acquire->facesFound(); }
    bool f12Watched() const { return m_acquire->watchingF12(); }
    FolderSearch& folderSearch() { return m_search->folderSearch(); }
    BackgroundIndexer& watchedFolders() { return *m_watched; }
    // The dialog of the watched folders, brought up or forward; it stays open beside the window.
    WatchedFoldersDialog* showWatchedFolders();
    ResultListModel& resultList() { return *m_resultModel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Esc puts the window away as its close box does, never ending the program.
    void keyPressEvent(QKeyEvent* event) override;
    // A photo dropped from a file manager becomes the source picture, as one chosen with the dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What the window shows; each mode sets the controls it is about and leaves the others.
    enum class Mode {
        Ready,         // texts loaded, nothing acquired yet
        Acquiring,     // a source picture is on its way to the detector
        Detecting,     // the detector has started: the gallery comes forward
        FacesFound,    // the faces wait to be picked
        NoFacesFound,  // a photo may be chosen instead
        FacesChosen,   // the chosen faces are shown and the search may start; the hint when none is left
        Searching,     // the result list fills
        SearchEnded,
    };
    void apply(Mode mode);

    void createControllers();
    void connectControls();
    void loadTexts();
    void placeControls();

    void prepareAcquisition();
    void stepAside();
    void comeBack();
    void bringForward();
    void onFaceFound(const QImage& thumbnail);
    void onAcquisitionCompleted(int facesFound);
    // A plain click makes the face the only one; `adding` (Ctrl) adds it or takes it back.
    void chooseFace(int row, bool adding);
    void choosePhoto();

    void startSearch();
    void restoreLookIn();
    // What the search has done so far, or how it ended, in the status line.
    void showSearchStatus();
    void scanStarted(PhotoScan* scan);
    void stopRoutine();
    void updateStartSearchEnabled();
    void browseForFolder();
    // The tray's tooltip and, while no search has its say there, the status line tell how far the
    // indexing of the watched folders is.
    void showWatchedStatus();

    WinMainUi m_ui;
    TrayMenu* m_tray = nullptr;

    AcquisitionController* m_acquire = nullptr;
    SearchController* m_search = nullptr;
    BackgroundIndexer* m_watched = nullptr;
    QPointer<WatchedFoldersDialog> m_watchedDialog;
    QString m_watchedShown; // what the status line shows of the watched folders' indexing
    ResultListModel* m_resultModel = nullptr;
    ResultPreview* m_preview = nullptr;
    OuterFrame* m_outerFrame = nullptr;
    ScanWindows* m_scanWindows = nullptr;
    MatcherChoice* m_matcher = nullptr;
    PhotoOpener* m_opener = nullptr;
    QTimer* m_statusTimer = nullptr;
    ChosenFace m_chosenFace;
    int m_acquisitions = 0; // tells the faces of one source picture from those of the next
    std::optional<QPoint> m_placedAt;
    QString m_dataPath;
    // The lines the status keeps after a search: the face index's report and the matcher's fallback.
    QString m_searchNotes;
    bool m_searched = false;
    bool m_closeEndsProgram = false;
};

} // namespace morvelin
