#include "app/WinMain.h"

#include "ProgramRunner.h"
#include "app/FaceGallery.h"
#include "app/Helpers.h"
#include "app/ImageXView.h"
#include "app/ResultListModel.h"
#include "app/ResultListView.h"
#include "app/SourceAcquisition.h"
#include "app/WinFotoFace.h"
#include "controls/FA_DriveListBox.h"
#include "controls/FlatButton.h"
#include "search/FaceFilter.h"
#include "search/FolderSearch.h"
#include "search/SourcePicture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <iostream>

QT_BEGIN_NAMESPACE
// Failures show the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace morvelin;
namespace photos = morvelin::testing;

namespace {

constexpr int detectionTimeoutMs = 60000;

QString programFolder()
{
    return QStringLiteral(FACE_MORVELIN_BINARY).section(QLatin1Char('/'), 0, -2) + QLatin1Char('/');
}

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

QStringList captureFilesLeft()
{
    return QDir(TempFolder()).entryList({QStringLiteral("FaceMorvelin*")}, QDir::Files);
}

QString writePlainPhoto(const QTemporaryDir& dir, const QString& name, QSize size = QSize(640, 480))
{
    QImage plain(size, QImage::Format_RGB32);
    plain.fill(qRgb(90, 120, 150));
    const QString path = dir.filePath(name);
    plain.save(path);
    return path;
}

class WinMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = std::make_unique<WinMain>();
        m_window->setDataPath(programFolder() + QStringLiteral("data.xml"));
    }

    void TearDown() override
    {
        // Scans and detections still under way report to objects that are about to go.
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->folderSearch().scansInFlight() == 0; }, detectionTimeoutMs));
        m_window.reset();
        QTest::qWait(50);
    }

    template <typename T>
    T* control(const char* name) const
    {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString text(const char* name) const { return control<QLabel>(name)->text(); }
    bool visible(const char* name) const { return control<QWidget>(name)->isVisible(); }
    FaceGallery* gallery() const { return control<FaceGallery>("ImageList"); }
    QSize outerSize() const { return m_window->frameGeometry().size(); }

    // Asks for an outer size; the window's own rules may answer with another.
    void resizeOuter(QSize outer)
    {
        m_window->resize(outer - (outerSize() - m_window->size()));
        QTest::qWait(20);
    }

    bool searchDone() const
    {
        return !m_window->SearchRunning() && m_window->folderSearch().scansInFlight() == 0
            && control<FlatButton>("StartSearch")->isEnabled();
    }

    // The acquisition is done when the window says how it went.
    bool waitForFaces()
    {
        return QTest::qWaitFor(
            [this] {
                const QString caption = text("WinCaption");
                return caption == QLatin1String("Choose the face to search...") || caption == QLatin1String("No faces found");
            },
            detectionTimeoutMs);
    }

    void clickThumbnail(int index)
    {
        FaceGallery* faces = gallery();
        const QRect place = faces->visualItemRect(faces->item(index));
        QTest::mouseClick(faces->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    }

    void chooseFace(const QString& photo, int index)
    {
        m_window->useChosenPhoto(photo);
        ASSERT_TRUE(waitForFaces());
        ASSERT_GT(gallery()->count(), index);
        clickThumbnail(index);
    }

    void search(const QString& folder)
    {
        auto* picker = control<FA_DriveListBox>("SearchPath");
        picker->UpdatePath(folder);
        ASSERT_EQ(picker->SelPath(), folder);
        emit control<FlatButton>("StartSearch")->Click();
    }

    std::unique_ptr<WinMain> m_window;
};

} // namespace

TEST_F(WinMainTest, LoadsHiddenWithItsTextsAndTheTrayIcon)
{
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Face Morvelin"));
    EXPECT_EQ(text("WinSubCaption"), WinMain::versionText(0, 1, 0));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Face Morvelin Version 0.01 Build: 0"));
    EXPECT_EQ(text("Labels0"), QStringLiteral("Search this face:"));
    EXPECT_EQ(text("Labels1"), QStringLiteral("Look in:"));
    EXPECT_EQ(text("Labels2"), QStringLiteral("Choose the face to search..."));
    EXPECT_TRUE(text("Labels3").isEmpty());
    EXPECT_EQ(text("Labels4"), QStringLiteral("About"));
    EXPECT_EQ(text("Labels8"), QStringLiteral("Check for updates"));
    EXPECT_FALSE(text("Labels6").isEmpty());
    EXPECT_EQ(control<QCheckBox>("ScanSubDirs")->text(), QStringLiteral("Sub-directories search"));

    auto* startSearch = control<FlatButton>("StartSearch");
    EXPECT_EQ(startSearch->Caption(), QStringLiteral("Search"));
    EXPECT_FALSE(startSearch->isEnabled());
    EXPECT_EQ(control<FlatButton>("StopSearch")->Caption(), QStringLiteral("Stop"));
    EXPECT_EQ(control<FlatButton>("ChooseImageFile")->Caption(), QStringLiteral("Select a photo with a face to search..."));

    // What shows once the window is on screen.
    m_window->showFromWelcome();
    for (const char* shown : {"Labels1", "Labels2", "Labels3", "Labels4", "Labels6", "Labels8", "ChooseImageFile",
                              "StartSearch", "ImageList", "SearchPath", "ScanSubDirs"}) {
        EXPECT_TRUE(visible(shown)) << shown;
    }
    for (const char* hidden : {"Labels0", "StopSearch", "ImgX", "ImgX2", "Face2Search", "ImgPreview", "FileList"}) {
        EXPECT_FALSE(visible(hidden)) << hidden;
    }

    EXPECT_EQ(m_window->tray().toolTip(), QStringLiteral("Face Morvelin"));
    auto* searchFacesOnScreen = m_window->findChild<QAction*>(QStringLiteral("SearchFacesonScreen"));
    auto* exitApp = m_window->findChild<QAction*>(QStringLiteral("exitapp"));
    ASSERT_NE(searchFacesOnScreen, nullptr);
    ASSERT_NE(exitApp, nullptr);
    EXPECT_EQ(searchFacesOnScreen->text(), QStringLiteral("Search for faces on screen"));
    EXPECT_EQ(exitApp->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(m_window->keyTimerActive());
}

TEST_F(WinMainTest, VersionTextAndPhotoDialogFilter)
{
    EXPECT_EQ(WinMain::versionText(1, 4, 12), QStringLiteral("Version 1.04 Build: 12"));
    EXPECT_EQ(WinMain::versionText(2, 10, 0), QStringLiteral("Version 2.10 Build: 0"));
    EXPECT_EQ(WinMain::dialogFilter(),
              QStringLiteral("Jpeg files (*.jpg);;TIFF files (*.tif);;Jpeg 2000 files (*.j2k);;BMP files (*.bmp);;"
                             "PCX files (*.pcx);;TGA files (*.tga);;Gif files (*.gif)"));
    EXPECT_TRUE(QFileInfo::exists(WinMain::aboutPage())) << WinMain::aboutPage().toStdString();
}

TEST_F(WinMainTest, LaysOutTheLargestWindowAndSnapsLargerOnes)
{
    m_window->showFromWelcome();
    resizeOuter(QSize(800, 600));
    ASSERT_EQ(outerSize(), QSize(800, 600));

    EXPECT_EQ(control<QWidget>("FileList")->geometry(), QRect(250, 125, 520, 420));
    EXPECT_EQ(control<QWidget>("ImageList")->geometry(), QRect(250, 125, 520, 420));
    const QRect picker = control<QWidget>("SearchPath")->geometry();
    EXPECT_EQ(picker.x(), 10);
    EXPECT_EQ(picker.width(), 230);
    const QRect start = control<QWidget>("StartSearch")->geometry();
    EXPECT_EQ(start.width(), 125);
    EXPECT_EQ(start.x() + start.width(), 240);
    EXPECT_EQ(control<QWidget>("StopSearch")->geometry(), start);
    EXPECT_EQ(control<QWidget>("Labels6")->y(), 125 + 420 - 1);
    const QRect about = control<QWidget>("Labels4")->geometry();
    EXPECT_EQ(about.x() + about.width(), 800 - 20);
    EXPECT_EQ(control<QWidget>("Labels8")->geometry().right() + 1, about.x() - 20);
    const QRect choose = control<QWidget>("ChooseImageFile")->geometry();
    EXPECT_NEAR(choose.center().x(), 250 + 520 / 2, 1);
    EXPECT_NEAR(choose.width(), 520 * 2 / 3, 1);

    resizeOuter(QSize(900, 700));
    EXPECT_TRUE(QTest::qWaitFor([this] { return outerSize() == QSize(800, 600); }))
        << outerSize().width() << " x " << outerSize().height();
    resizeOuter(QSize(900, 500));
    EXPECT_TRUE(QTest::qWaitFor([this] { return outerSize() == QSize(800, 500); }));

    resizeOuter(QSize(700, 500));
    ASSERT_EQ(outerSize(), QSize(700, 500));
    EXPECT_EQ(control<QWidget>("FileList")->geometry(), QRect(250, 125, 420, 320));
}

TEST_F(WinMainTest, ThePhotosFacesFillTheGalleryInDetectorOrderAndAreChosenByAClick)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model or the test photos are missing";
    }
    const QString photo = photos::testPhoto(QStringLiteral("faces/2008_001009.jpg"));
    const QByteArray before = digestOf(photo);
    m_window->useChosenPhoto(photo);

    // Acquiring: on screen, looking, nothing to start yet, F12 not watched.
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Looking for human faces..."));
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
    EXPECT_FALSE(visible("ChooseImageFile"));
    EXPECT_FALSE(m_window->keyTimerActive());

    ASSERT_TRUE(waitForFaces());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Choose the face to search..."));
    EXPECT_EQ(text("WinSubCaption"), QStringLiteral("Recognized faces: 2"));
    EXPECT_EQ(m_window->FacesFound(), 2);
    ASSERT_EQ(gallery()->count(), 2);
    EXPECT_TRUE(visible("ImageList"));
    EXPECT_FALSE(visible("FileList"));
    EXPECT_FALSE(visible("ChooseImageFile"));
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
    EXPECT_TRUE(m_window->keyTimerActive());

    // The same faces, in the same order, as the command line finds in that photo.
    const SourcePicture::Result expected = SourcePicture::findFaces(photo, TempFolder(), programFolder() + "data.xml");
    ASSERT_EQ(expected.faces.size(), 2u);
    EXPECT_EQ(gallery()->thumbnail(0), SourcePicture::thumbnail(expected, 0));
    EXPECT_EQ(gallery()->thumbnail(1), SourcePicture::thumbnail(expected, 1));

    EXPECT_TRUE(captureFilesLeft().isEmpty()) << captureFilesLeft().join(' ').toStdString();
    EXPECT_EQ(digestOf(photo), before) << "the user's photo is only read";
    EXPECT_TRUE(QFileInfo::exists(photo));

    clickThumbnail(1);
    QImage filtered = gallery()->thumbnail(1).convertToFormat(QImage::Format_RGB32);
    FaceFilter::apply(filtered);
    EXPECT_EQ(control<ImageXView>("ImgX")->imageX().picture(), filtered.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(control<QLabel>("Face2Search")->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              gallery()->thumbnail(1).convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(control<FlatButton>("StartSearch")->isEnabled());
    for (const char* shown : {"ImgX", "ImgX2", "Face2Search", "Labels0"}) {
        EXPECT_TRUE(visible(shown)) << shown;
    }
    EXPECT_FALSE(visible("Labels2"));

    clickThumbnail(0);
    QImage first = gallery()->thumbnail(0).convertToFormat(QImage::Format_RGB32);
    FaceFilter::apply(first);
    EXPECT_EQ(control<ImageXView>("ImgX")->imageX().picture(), first.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Choose the face to search...")) << "captions stay as they are";
}

TEST_F(WinMainTest, APictureWithoutFacesOffersThePhotoButtonAgain)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model is missing";
    }
    QTemporaryDir dir;
    const QString photo = writePlainPhoto(dir, QStringLiteral("plain.png"));
    m_window->useChosenPhoto(photo);
    ASSERT_TRUE(waitForFaces());

    EXPECT_EQ(text("WinCaption"), QStringLiteral("No faces found"));
    EXPECT_TRUE(text("WinSubCaption").isEmpty());
    EXPECT_TRUE(visible("ChooseImageFile"));
    EXPECT_EQ(gallery()->count(), 0);
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
    EXPECT_TRUE(m_window->keyTimerActive());
    EXPECT_TRUE(captureFilesLeft().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(photo));
}

TEST_F(WinMainTest, ANewAcquisitionSupersedesOneStillDetecting)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model or the test photos are missing";
    }
    // 24 faces in a photo converted to 1600 pixels wide: its detection takes a while.
    m_window->useChosenPhoto(photos::testPhoto(QStringLiteral("faces/bald_guys.jpg")));
    // Its JPEG is written and the detector asked once the acquisition knows its capture file.
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            const auto* first = m_window->findChild<SourceAcquisition*>();
            return first != nullptr && !first->CaptureFile().isEmpty();
        },
        detectionTimeoutMs));
    m_window->useChosenPhoto(photos::testPhoto(QStringLiteral("astronaut.png")));
    ASSERT_TRUE(waitForFaces());
    // Let the first detection finish too: its faces and its Completed must not reach this gallery.
    EXPECT_TRUE(QTest::qWaitFor([] { return captureFilesLeft().isEmpty(); }, detectionTimeoutMs))
        << "each detection removes its own file";
    QTest::qWait(200);

    EXPECT_EQ(m_window->FacesFound(), 1);
    EXPECT_EQ(gallery()->count(), 1);
    EXPECT_EQ(text("WinSubCaption"), QStringLiteral("Recognized faces: 1"));
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Choose the face to search..."));
}

TEST_F(WinMainTest, F12WithTheWindowFocusedCapturesTheScreen)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model is missing";
    }
    m_window->showFromWelcome();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F12);
    // The window leaves the screen for the capture, then comes back looking.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window->isVisible(); }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return text("WinCaption") == QLatin1String("Looking for human faces..."); }));
    EXPECT_TRUE(waitForFaces());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(captureFilesLeft().isEmpty());
}

TEST_F(WinMainTest, TheCloseBoxHidesOtherClosesRemoveTheTrayIcon)
{
    m_window->showFromWelcome();
    EXPECT_FALSE(m_window->QueryUnload(true));
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_window->keyTimerActive());

    EXPECT_TRUE(m_window->QueryUnload(false));
    EXPECT_FALSE(m_window->tray().isShown());

    m_window->setCloseEndsProgram(true);
    EXPECT_TRUE(m_window->QueryUnload(true)) << "without a tray the close box ends the program";
}

TEST_F(WinMainTest, SearchesAFolderAndListsTheFaceBestFirst)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model or the test photos are missing";
    }
    QTemporaryDir dir;
    const QString folder = dir.path();
    QFile::copy(photos::testPhoto(QStringLiteral("astronaut.png")), dir.filePath(QStringLiteral("astronaut.png")));
    QFile::copy(photos::testPhoto(QStringLiteral("faces/2008_001009.jpg")), dir.filePath(QStringLiteral("two.jpg")));
    writePlainPhoto(dir, QStringLiteral("plain.png"));
    QDir(folder).mkdir(QStringLiteral("sub"));
    QFile::copy(photos::testPhoto(QStringLiteral("faces/2009_004587.jpg")), dir.filePath(QStringLiteral("sub/deep.jpg")));

    chooseFace(photos::testPhoto(QStringLiteral("astronaut.png")), 0);
    // Before: Search offered.
    EXPECT_TRUE(visible("StartSearch"));
    EXPECT_TRUE(control<FlatButton>("StartSearch")->isEnabled());
    EXPECT_FALSE(visible("StopSearch"));

    int mostScanWindows = 0;
    // How long the window thread was ever busy: a figure, not a check.
    QElapsedTimer sinceTick;
    qint64 longestGapMs = 0;
    sinceTick.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&mostScanWindows, &sinceTick, &longestGapMs] {
        longestGapMs = std::max(longestGapMs, sinceTick.restart());
        int windows = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            windows += qobject_cast<WinFotoFace*>(widget) != nullptr && widget->isVisible() ? 1 : 0;
        }
        mostScanWindows = std::max(mostScanWindows, windows);
    });
    watch.start(2);
    search(folder);

    // During.
    EXPECT_TRUE(m_window->SearchRunning());
    EXPECT_FALSE(visible("StartSearch"));
    EXPECT_TRUE(visible("StopSearch"));
    EXPECT_FALSE(visible("ChooseImageFile"));
    EXPECT_TRUE(visible("FileList"));
    EXPECT_FALSE(visible("ImageList"));
    EXPECT_FALSE(m_window->keyTimerActive());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Searching"));
    EXPECT_EQ(text("WinSubCaption"), QStringLiteral("Face Morvelin is searching for faces in your image files..."));
    EXPECT_EQ(text("Labels3"), QStringLiteral("Searching..."));
    // F12 during a search does nothing, not even afterwards.
    m_window->GoCapture(QString());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Searching"));

    ASSERT_TRUE(QTest::qWaitFor([this] { return searchDone(); }, detectionTimeoutMs));
    watch.stop();
    RecordProperty("longest_event_loop_gap_ms", static_cast<int>(longestGapMs));
    std::cout << "longest gap between event loop turns during the search: " << longestGapMs << " ms\n";

    // After.
    EXPECT_TRUE(visible("StartSearch"));
    EXPECT_FALSE(visible("StopSearch"));
    EXPECT_FALSE(visible("ChooseImageFile"));
    EXPECT_TRUE(visible("FileList"));
    EXPECT_FALSE(visible("ImageList"));
    EXPECT_TRUE(m_window->keyTimerActive());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Face Morvelin"));
    EXPECT_EQ(text("WinSubCaption"), QStringLiteral("Face search software"));
    EXPECT_TRUE(m_window->StopNow());
    EXPECT_EQ(m_window->folderSearch().counts().photosSeen, 3) << "without sub-directories";

    ResultListModel& list = m_window->resultList();
    ASSERT_GE(list.rowCount(), 1);
    EXPECT_EQ(list.pathAt(0), dir.filePath(QStringLiteral("astronaut.png")));
    EXPECT_EQ(text("Labels3"), QStringLiteral("Found %1 so far.").arg(m_window->FilesFound()));
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Filename"));
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), QStringLiteral("In Folder"));
    EXPECT_EQ(list.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Score"));
    EXPECT_GE(mostScanWindows, 1);
    EXPECT_LE(mostScanWindows, QThread::idealThreadCount());
    QTest::qWait(50);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<WinFotoFace*>(widget), nullptr) << "every scan window closes on Completed";
    }

    // Sub-directories on: the photo below is scanned too.
    control<QCheckBox>("ScanSubDirs")->setChecked(true);
    search(folder);
    ASSERT_TRUE(QTest::qWaitFor([this] { return searchDone(); }, detectionTimeoutMs));
    EXPECT_EQ(m_window->folderSearch().counts().photosSeen, 4);
}

TEST_F(WinMainTest, StopMidSearchKeepsTheRowsFoundSoFar)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model or the test photos are missing";
    }
    QTemporaryDir dir;
    const QStringList all = QDir(photos::testPhoto(QStringLiteral("faces"))).entryList({QStringLiteral("*.jpg")});
    for (int copy = 0; copy < 3; ++copy) {
        for (const QString& name : all) {
            QFile::copy(photos::testPhoto(QStringLiteral("faces/") + name), dir.filePath(QString::number(copy) + name));
        }
    }
    chooseFace(photos::testPhoto(QStringLiteral("astronaut.png")), 0);
    search(dir.path());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->FilesFound() >= 1; }, detectionTimeoutMs));
    emit control<FlatButton>("StopSearch")->Click();

    EXPECT_FALSE(m_window->SearchRunning());
    EXPECT_TRUE(visible("StartSearch"));
    EXPECT_FALSE(visible("StopSearch"));
    EXPECT_TRUE(m_window->keyTimerActive());
    const int rowsAtStop = m_window->resultList().rowCount();
    EXPECT_GE(rowsAtStop, 1);
    EXPECT_EQ(text("Labels3"), QStringLiteral("Found %1 so far.").arg(m_window->FilesFound()));

    // The photos in hand are finished and still reported; nothing new is handed out.
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->folderSearch().scansInFlight() == 0; }, detectionTimeoutMs));
    EXPECT_TRUE(QTest::qWaitFor([this] { return control<FlatButton>("StartSearch")->isEnabled(); }));
    EXPECT_GE(m_window->resultList().rowCount(), rowsAtStop);
    EXPECT_LT(m_window->folderSearch().counts().photosSeen, all.size() * 3);
    EXPECT_EQ(text("Labels3"), QStringLiteral("Found %1 so far.").arg(m_window->FilesFound()));
}

TEST_F(WinMainTest, AnEmptyFolderEndsAtOnceWithNoFilesFound)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the detector's model or the test photos are missing";
    }
    QTemporaryDir dir;
    chooseFace(photos::testPhoto(QStringLiteral("astronaut.png")), 0);
    search(dir.path());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->SearchRunning(); }, 5000));
    EXPECT_EQ(text("Labels3"), QStringLiteral("No files found."));
    EXPECT_TRUE(visible("StartSearch"));
    EXPECT_TRUE(control<FlatButton>("StartSearch")->isEnabled());
}

TEST_F(WinMainTest, TheListKeepsTheBestFirstAndCountsEveryReport)
{
    m_window->showFromWelcome();
    ResultListModel& list = m_window->resultList();
    m_window->NewFile(QStringLiteral("/photos/a.jpg"), 91000);
    m_window->NewFile(QStringLiteral("/photos/b.jpg"), 78000);
    m_window->NewFile(QStringLiteral("/photos/c.jpg"), 85500);
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.pathAt(0), QStringLiteral("/photos/a.jpg"));
    EXPECT_EQ(list.pathAt(1), QStringLiteral("/photos/c.jpg"));
    EXPECT_EQ(list.pathAt(2), QStringLiteral("/photos/b.jpg"));
    EXPECT_EQ(list.index(1, 0).data().toString(), QStringLiteral("c.jpg"));
    EXPECT_EQ(list.index(1, 1).data().toString(), QStringLiteral("/photos/"));
    EXPECT_EQ(list.index(1, 2).data().toString(), QStringLiteral("85500"));

    // A perfect score is the best, and comes first.
    m_window->NewFile(QStringLiteral("/photos/d.jpg"), 100000);
    EXPECT_EQ(list.pathAt(0), QStringLiteral("/photos/d.jpg"));

    // The same photo again: one row, every report counted.
    m_window->NewFile(QStringLiteral("/photos/b.jpg"), 70000);
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.index(3, 2).data().toString(), QStringLiteral("78000"));
    EXPECT_EQ(text("Labels3"), QStringLiteral("Found 5 so far."));
}

TEST_F(WinMainTest, RowsShareTheIconOfTheirEnding)
{
    QTemporaryDir dir;
    const QString upper = writePlainPhoto(dir, QStringLiteral("holiday.JPG"));
    QDir(dir.path()).mkdir(QStringLiteral("other"));
    const QString lower = writePlainPhoto(dir, QStringLiteral("other/beach.jpg"));
    m_window->NewFile(upper, 90000);
    m_window->NewFile(lower, 80000);
    ResultListModel& list = m_window->resultList();
    EXPECT_EQ(list.FileIcons().size(), 1);
    EXPECT_TRUE(list.FileIcons().contains(QStringLiteral("jpg")));
    const QVariant first = list.index(0, 0).data(Qt::DecorationRole);
    const QVariant second = list.index(1, 0).data(Qt::DecorationRole);
    EXPECT_EQ(first.value<QPixmap>().cacheKey(), second.value<QPixmap>().cacheKey());
}

TEST_F(WinMainTest, DraggedRowsOfferFilesAndTheirPathsEachFollowedByABar)
{
    ResultListModel& list = m_window->resultList();
    m_window->NewFile(QStringLiteral("/photos/a.jpg"), 91000);
    m_window->NewFile(QStringLiteral("/photos/b c.jpg"), 85000);
    m_window->NewFile(QStringLiteral("/photos/d#1.jpg"), 80000);
    m_window->NewFile(QStringLiteral("/photos/e.jpg"), 75000);

    auto* view = control<ResultListView>("FileList");
    view->selectionModel()->select(list.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->selectionModel()->select(list.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->selectionModel()->select(list.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::unique_ptr<QMimeData> data(list.mimeData(view->selectionModel()->selectedIndexes()));

    EXPECT_EQ(data->text(), QStringLiteral("/photos/a.jpg|/photos/b c.jpg|/photos/d#1.jpg|"));
    const QList<QUrl> files = data->urls();
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[0].toLocalFile(), QStringLiteral("/photos/a.jpg"));
    EXPECT_EQ(files[1].toLocalFile(), QStringLiteral("/photos/b c.jpg"));
    EXPECT_EQ(files[2].toLocalFile(), QStringLiteral("/photos/d#1.jpg"));
    EXPECT_EQ(list.supportedDragActions(), Qt::CopyAction);
    EXPECT_TRUE(list.flags(list.index(0, 0)) & Qt::ItemIsDragEnabled);
}

TEST_F(WinMainTest, AClickPreviewsTheRowsPhotoUnderThePicker)
{
    if (!photos::haveDetectorAndPhotos()) {
        GTEST_SKIP() << "the test photos are missing";
    }
    m_window->showFromWelcome();
    resizeOuter(QSize(800, 600));
    ASSERT_EQ(outerSize(), QSize(800, 600));
    const int bottom = 600 - 60;
    const QString landscape = photos::testPhoto(QStringLiteral("faces/2007_007763.jpg")); // 500 x 375
    const QString portrait = photos::testPhoto(QStringLiteral("faces/2008_001009.jpg"));  // 360 x 480
    m_window->NewFile(landscape, 90000);
    m_window->NewFile(portrait, 80000);
    auto* view = control<ResultListView>("FileList");
    view->show();
    auto* preview = control<ImageXView>("ImgPreview");
    const QRect picker = control<QWidget>("SearchPath")->geometry();

    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(view->model()->index(0, 0)).center());
    ASSERT_TRUE(QTest::qWaitFor([preview] { return preview->isVisible(); }, 10000));
    EXPECT_EQ(preview->width(), picker.width() / 2);
    EXPECT_NEAR(preview->height(), preview->width() * 375 / 500, 1);
    EXPECT_NEAR(preview->geometry().center().x(), picker.center().x(), 1);
    EXPECT_EQ(preview->y() + preview->height(), bottom) << "60 pixels above the window height";
    EXPECT_TRUE(preview->imageX().displayFlag);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(view->model()->index(1, 0)).center());
    ASSERT_TRUE(QTest::qWaitFor([preview, picker] { return preview->width() == qRound(picker.width() / 3.0); }, 10000));
    EXPECT_NEAR(preview->height(), preview->width() * 480 / 360, 1);
    EXPECT_EQ(preview->y() + preview->height(), bottom) << "60 pixels above the window height";
}
