#pragma once

#include "app/MainLayout.h"
#include "platform/KeyState.h"
#include "platform/ScreenCapture.h"
#include "platform/SystemTray.h"
#include "engine/PixelCanvas.h"
#include "search/ResultList.h"

#include <QFuture>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>

class QCheckBox;
class QLabel;

namespace morvelin {

class FA_DriveListBox;
class FaceGallery;
class FaceIndex;
class FlatButton;
class FolderSearch;
class ImageXView;
class OuterFrame;
class PhotoScan;
class ResultListModel;
class ResultListView;
class ScanWindows;
class SourceAcquisition;

// The program's working window: the face to search for and where to look on the left, the gallery
// of faces found or the result list on the right. It lives hidden in the tray between uses.
class WinMain : public QWidget {
    Q_OBJECT

public:
    static constexpr int keyTimerInterval = 10;
    // How long a window that was on screen gets to disappear before the screen is captured.
    static constexpr int hideBeforeCaptureMs = 300;

    // Loads the window hidden, with its texts, and puts the tray icon up.
    explicit WinMain(QWidget* parent = nullptr);
    ~WinMain() override;

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
    SystemTray& tray() { return m_sysTray; }
    // The detector's data file; DetectorDataPath() unless set.
    void setDataPath(const QString& dataPath);

    // The close request: true when the window may go; a close from the close box hides it instead.
    bool QueryUnload(bool fromCloseBox);

    bool SearchRunning() const { return m_searchRunning; }
    bool StopNow() const;
    int FilesFound() const { return m_results.filesFound(); }
    int FacesFound() const { return m_facesFound; }
    bool keyTimerActive() const { return m_keyTimer.isActive(); }
    FolderSearch& folderSearch() { return *m_search; }
    ResultListModel& resultList() { return *m_resultModel; }

    // "Version 1.04 Build: 12" for 1.4.12.
    static QString versionText(int major, int minor, int build);
    // The photo dialog's file types, in the dialog's own notation.
    static QString dialogFilter();
    // The README installed with the program, else the one it was built from.
    static QString aboutPage();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createLabels();
    void createLeftColumn();
    void createLists();
    void createTray();
    void createFolderSearch();
    void createMatcherChoice();
    void checkFeaturesModel();
    QLabel* addLabel(int index, bool bold);
    void loadTexts();
    void setWinCaption(const QString& text);
    void setWinSubCaption(const QString& text);
    void layoutControls();
    MainLayout::Sizes controlSizes(const MainLayout& layout) const;

    SourceAcquisition* beginAcquisition();
    void showAcquiring();
    void bringForward();
    void onNotice();
    void onFaceFound(const QImage& thumbnail);
    void onAcquisitionCompleted();
    void pickFace(int index);
    void choosePhoto();
    void keyTimerTick();
    void startKeyTimer();

    void startSearch();
    void scanStarted(PhotoScan* scan);
    void forgetScannedPhotos();
    void showIndexUse();
    void onSearchStopped();
    void stopRoutine();
    void updateStartSearchEnabled();
    void showCount(int filesFound);
    void browseForFolder();
    void previewPhoto(const QString& path);
    void showPreview(int sequence, const QImage& picture, QSize photoSize);
    void startUpdateTool();

    // Controls
    QLabel* m_winCaption = nullptr;
    QLabel* m_winSubCaption = nullptr;
    std::map<int, QLabel*> m_labels;
    FA_DriveListBox* m_searchPath = nullptr;
    QCheckBox* m_scanSubDirs = nullptr;
    QCheckBox* m_compareFeatures = nullptr; // the features matcher, remembered in the settings
    FlatButton* m_startSearch = nullptr;
    FlatButton* m_stopSearch = nullptr;
    FlatButton* m_chooseImageFile = nullptr;
    QLabel* m_face2Search = nullptr;
    ImageXView* m_imgX = nullptr;
    ImageXView* m_imgX2 = nullptr;
    ImageXView* m_imgPreview = nullptr;
    FaceGallery* m_imageList = nullptr;
    ResultListView* m_fileList = nullptr;
    QLabel* m_bottomLeft = nullptr;
    QLabel* m_image1 = nullptr;
    SystemTray m_sysTray;
    QMenu* m_trayMenu = nullptr;
    QAction* m_searchFacesOnScreen = nullptr;
    QAction* m_forgetScannedPhotos = nullptr;
    QAction* m_exitApp = nullptr;
    QTimer m_keyTimer;
    KeyState m_keyState;
    ScreenCapture m_screenCapture;

    // Acquisition
    QString m_dataPath;
    QPointer<SourceAcquisition> m_acquisition;
    int m_facesFound = 0;
    bool m_facePicked = false;
    std::shared_ptr<const PixelCanvas> m_sourceFace;
    QImage m_sourcePhoto;             // the picture the gallery's faces were cut from
    QFuture<std::vector<float>> m_sourceFeatures; // of the picked face, read on a worker
    QString m_featuresProblem;        // why the features matcher cannot be used, empty when it can

    // Search
    ResultList m_results;
    ResultListModel* m_resultModel = nullptr;
    FolderSearch* m_search = nullptr;
    QString m_searchTempFolder;
    ScanWindows* m_scanWindows = nullptr;
    std::shared_ptr<FaceIndex> m_faceIndex;
    QString m_indexNoticeShown; // the face index's trouble is said once, not after every search
    bool m_searchRunning = false;
    int m_previewSequence = 0;
    QSizeF m_previewTwips;

    bool m_closeEndsProgram = false;
    OuterFrame* m_outerFrame = nullptr;
};

} // namespace morvelin
