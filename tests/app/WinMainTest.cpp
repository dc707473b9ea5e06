// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinMain.h"

#include "ProgramRunner.h"
#include "app/FaceGallery.h"
#include "app/Helpers.h"
#include "app/ImageXView.h"
#include "app/ResultListModel.h"
#include "app/ResultListView.h"
#include "app/SearchStatus.h"
#include "app/SourceAcquisition.h"
#include "app/WinFotoFace.h"
#include "base/BackgroundWork.h"
#include "controls/FA_DriveListBox.h"
#include "controls/FlatButton.h"
#include "platform/Settings.h"
#include "search/FaceFilter.h"
#include "search/FolderSearch.h"
#include "search/PhotoScan.h"
#include "search/ResultList.h"
#include "search/SourcePicture.h"

#include <QTimer>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QCheckBox>
#include <QColorSpace>
#include <QJsonObject>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace morvelin;
namespace photos = morvelin::testing;

namespace {

constexpr int detectionTimeoutMs = 60000;

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) : "";
}

// Pictures compared by their pixels alone, whatever their format or colour space.
QImage pixels(const QImage& image)
{
    QImage plain = image.convertToFormat(QImage::Format_RGB32);
    plain.setColorSpace(QColorSpace());
    return plain;
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
        m_window->setDataPath(QStringLiteral(MORVELIN_DETECTOR_DATA));
    }

    void TearDown() override
    {
        // Scans and detections still under way report to objects that are about to go.
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->folderSearch().scansInFlight() == 0; }, detectionTimeoutMs));
        m_window.reset();
        // The chosen faces are still read on the pool, by a detector that must outlive them.
        BackgroundWork::pool().waitForDone();
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
    void expectShown(std::initializer_list<const char*> shown, std::initializer_list<const char*> hidden) const
    {
        for (const char* name : shown) {
            EXPECT_TRUE(visible(name)) << name;
        }
        for (const char* name : hidden) {
            EXPECT_FALSE(visible(name)) << name;
        }
    }
    FaceGallery* gallery() const { return control<FaceGallery>("ImageList"); }
    QSize outerSize() const { return m_window->frameGeometry().size(); }

    static void expectScoresInSight(const ResultListView& list)
    {
        const QHeaderView* header = list.header();
        const int score = ResultList::ScoreColumn;
        EXPECT_FALSE(list.horizontalScrollBar()->isVisible());
        EXPECT_LE(header->sectionViewportPosition(score) + header->sectionSize(score), list.viewport()->width());
        EXPECT_GE(header->sectionSize(score), header->sectionSizeHint(score));
    }

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

    void clickThumbnail(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        FaceGallery* faces = gallery();
        const QRect place = faces->visualItemRect(faces->item(index));
        QTest::mouseClick(faces->viewport(), Qt::LeftButton, modifiers, place.center());
    }

    std::vector<int> markedRows() const
    {
        std::vector<int> rows;
        for (int row = 0; row < gallery()->count(); ++row) {
            if (gallery()->isMarked(row)) {
                rows.push_back(row);
            }
        }
        return rows;
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
        // The chosen face is read on a worker; the search starts once it is.
        ASSERT_TRUE(QTest::qWaitFor([this] { return text("Labels3") != QLatin1String("Reading the chosen face..."); },
                                    detectionTimeoutMs));
    }

    std::unique_ptr<WinMain> m_window;
};

} // namespace

// The texts themselves are checked against the phrase book; here, what the window shows at first, and
// that its close box only hides it while other closes also remove the tray icon.
TEST_F(WinMainTest, LoadsHiddenShowsTheFaceHintFirstAndOnlyTheCloseBoxKeepsTheTrayIcon)
{
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
    m_window->showFromWelcome();
    expectShown({"Labels1", "Labels2", "Labels3", "Labels4", "Labels6", "Labels8", "ChooseImageFile", "StartSearch",
                 "ImageList", "SearchPath", "ScanSubDirs"},
                {"Labels0", "StopSearch", "ImgX", "ImgX2", "Face2Search", "ImgPreview", "FileList"});
    EXPECT_EQ(m_window->tray().toolTip(), QStringLiteral("Face Morvelin"));
    EXPECT_TRUE(m_window->f12Watched());

    EXPECT_FALSE(m_window->QueryUnload(true));
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_window->f12Watched());
    EXPECT_TRUE(m_window->QueryUnload(false));
    EXPECT_FALSE(m_window->tray().isShown());
    m_window->setCloseEndsProgram(true);
    EXPECT_TRUE(m_window->QueryUnload(true)) << "without a tray the close box ends the program";
}

// The placement itself is the layout's test; the window must apply it at any size down to its
// minimum, and the result list keep its scores in sight.
TEST_F(WinMainTest, GrowsAndShrinksDownToItsMinimumAndTheListKeepsItsScoresInSight)
{
    m_window->showFromWelcome();
    auto* list = control<ResultListView>("FileList");
    list->show();
    resizeOuter(QSize(1600, 1000));
    // A search begun in a large window, the window made smaller while it runs.
    list->resetColumns();
    for (const QSize outer : {QSize(1600, 1000), QSize(1024, 768), QSize(800, 600), QSize(731, 546)}) {
        resizeOuter(outer);
        ASSERT_EQ(outerSize(), outer);
        expectScoresInSight(*list);
    }
    EXPECT_GE(list->columnWidth(ResultList::FileNameColumn), 150);
    EXPECT_GE(list->columnWidth(ResultList::FolderColumn), 150);
    resizeOuter(QSize(400, 300));
    EXPECT_EQ(outerSize(), QSize(585, 520));
    expectScoresInSight(*list);
}

TEST_F(WinMainTest, ThePhotosFacesFillTheGalleryInDetectorOrderAndAreChosenByAClick)
{
    SKIP_WITHOUT_PHOTOS();
    const QString photo = photos::testPhoto(QStringLiteral("faces/2008_001009.jpg"));
    const QByteArray before = digestOf(photo);
    m_window->useChosenPhoto(photo);

    // Acquiring: on screen, looking, nothing to start yet, F12 not watched.
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Looking for human faces..."));
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
    expectShown({}, {"ChooseImageFile"});
    EXPECT_FALSE(m_window->f12Watched());

    ASSERT_TRUE(waitForFaces());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Choose the face to search..."));
    EXPECT_EQ(text("WinSubCaption"), QStringLiteral("Recognized faces: 2"));
    EXPECT_EQ(m_window->FacesFound(), 2);
    ASSERT_EQ(gallery()->count(), 2);
    expectShown({"ImageList"}, {"FileList", "ChooseImageFile"});
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
    EXPECT_TRUE(m_window->f12Watched());

    // The same faces, in the same order, as the command line finds in that photo.
    const SourcePicture::Result expected = SourcePicture::findFaces(photo, QStringLiteral(MORVELIN_DETECTOR_DATA));
    ASSERT_EQ(expected.faces.size(), 2u);
    EXPECT_EQ(gallery()->thumbnail(0), SourcePicture::thumbnail(expected, 0));
    EXPECT_EQ(gallery()->thumbnail(1), SourcePicture::thumbnail(expected, 1));

    EXPECT_TRUE(captureFilesLeft().isEmpty()) << captureFilesLeft().join(' ').toStdString();
    EXPECT_EQ(digestOf(photo), before) << "the user's photo is only read";
    EXPECT_TRUE(QFileInfo::exists(photo));

    clickThumbnail(1);
    QImage filtered = gallery()->thumbnail(1).convertToFormat(QImage::Format_RGB32);
    FaceFilter::apply(filtered);
    EXPECT_EQ(pixels(control<ImageXView>("ImgX")->imageX().picture()), pixels(filtered));
    EXPECT_EQ(pixels(control<QLabel>("Face2Search")->pixmap().toImage()), pixels(gallery()->thumbnail(1)));
    EXPECT_TRUE(control<FlatButton>("StartSearch")->isEnabled());
    expectShown({"ImgX", "ImgX2", "Face2Search", "Labels0"}, {"Labels2"});
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Choose the face to search...")) << "captions stay as they are";

    // By keyboard: the arrows move the focus frame, Enter chooses, Ctrl+Space adds.
    gallery()->setFocus();
    QTest::keyClick(gallery(), Qt::Key_Home);
    QTest::keyClick(gallery(), Qt::Key_Return);
    EXPECT_EQ(markedRows(), std::vector<int>({0}));
    QTest::keyClick(gallery(), Qt::Key_Right);
    QTest::keyClick(gallery(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(markedRows(), std::vector<int>({0, 1}));
}

TEST_F(WinMainTest, CtrlClicksAddAndTakeBackUpToFiveFacesShownSideBySideAndAPlainClickKeepsOne)
{
    SKIP_WITHOUT_PHOTOS();
    chooseFace(photos::testPhoto(QStringLiteral("faces/bald_guys.jpg")), 0);
    ASSERT_GE(gallery()->count(), 7);
    const QImage firstCompared = control<ImageXView>("ImgX")->imageX().picture();
    clickThumbnail(1, Qt::ControlModifier);
    clickThumbnail(2, Qt::ControlModifier);
    EXPECT_EQ(markedRows(), (std::vector<int>{0, 1, 2}));
    // As picked, in the order chosen; the scan windows go on showing the first face as compared.
    auto* strip = control<QLabel>("Face2Search");
    EXPECT_EQ(strip->size(), QSize(3 * 48, 48));
    const QImage shown = pixels(strip->pixmap().toImage());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shown.copy(48 * i, 0, 48, 48), pixels(gallery()->thumbnail(i))) << i;
    }
    EXPECT_EQ(control<ImageXView>("ImgX")->imageX().picture(), firstCompared);
    expectShown({"Face2Search", "Labels0"}, {"ImgX", "ImgX2", "Labels2"});

    clickThumbnail(1, Qt::ControlModifier);
    EXPECT_EQ(markedRows(), (std::vector<int>{0, 2}));
    for (const int row : {3, 4, 5, 6}) {
        clickThumbnail(row, Qt::ControlModifier);
    }
    EXPECT_EQ(markedRows(), (std::vector<int>{0, 2, 3, 4, 5})) << "a sixth face is refused";
    EXPECT_EQ(text("Labels3"), QStringLiteral("At most 5 faces can be chosen."));

    clickThumbnail(6);
    EXPECT_EQ(markedRows(), std::vector<int>{6});
    EXPECT_EQ(strip->size(), QSize(48, 48));
    expectShown({"ImgX", "ImgX2", "Face2Search"}, {});
    EXPECT_NE(text("Labels3"), QStringLiteral("At most 5 faces can be chosen."));
    clickThumbnail(6, Qt::ControlModifier);
    EXPECT_TRUE(markedRows().empty());
    EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled()) << "nothing left to search for";
    expectShown({"Labels2"}, {"Face2Search", "ImgX"});
}

// The window is placed once: photo after photo, one without faces, one dragged from a file manager, or
// F12, never moves it. Esc then puts the window away.
TEST_F(WinMainTest, AcquisitionsOfEveryKindLeaveTheWindowWhereItWas)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir dir;
    const QString plain = writePlainPhoto(dir, QStringLiteral("plain.png"));
    m_window->showFromWelcome();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->move(m_window->pos() + QPoint(30, 20));
    QTest::qWait(20);
    const QPoint placed = m_window->pos();
    const QPoint inside = m_window->rect().center();
    for (int i = 0; i < 10; ++i) {
        if (i == 5) {
            m_window->GoCapture(QString());
            EXPECT_FALSE(m_window->isVisible()) << "out of the screen's picture";
            ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->isVisible(); }, detectionTimeoutMs));
        } else if (i == 7) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(photos::testPhoto(QStringLiteral("faces/2008_001009.jpg")))});
            QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(m_window.get(), &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDropEvent drop(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(m_window.get(), &drop);
            QCoreApplication::processEvents();
            EXPECT_EQ(text("WinCaption"), QStringLiteral("Looking for human faces..."));
        } else {
            m_window->useChosenPhoto(i == 3 ? plain : photos::testPhoto(QStringLiteral("astronaut.png")));
            EXPECT_TRUE(m_window->isVisible()) << i;
        }
        ASSERT_TRUE(waitForFaces()) << i;
        EXPECT_EQ(m_window->pos(), placed) << i;
        if (i == 3) { // no faces: the photo button is offered again
            EXPECT_EQ(text("WinCaption"), QStringLiteral("No faces found"));
            EXPECT_TRUE(text("WinSubCaption").isEmpty());
            EXPECT_TRUE(visible("ChooseImageFile"));
            EXPECT_EQ(gallery()->count(), 0);
            EXPECT_FALSE(control<FlatButton>("StartSearch")->isEnabled());
            EXPECT_TRUE(m_window->f12Watched());
            EXPECT_TRUE(captureFilesLeft().isEmpty());
            EXPECT_TRUE(QFileInfo::exists(plain));
        }
        if (i != 5) { // what the offscreen screen shows is no concern here
            EXPECT_EQ(gallery()->count(), i == 3 ? 0 : i == 7 ? 2 : 1) << i;
        }
    }

    QMimeData notAPhoto;
    notAPhoto.setUrls({QUrl::fromLocalFile(QStringLiteral(MORVELIN_DETECTOR_DATA))});
    QDragEnterEvent refused(inside, Qt::CopyAction, &notAPhoto, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    ASSERT_TRUE(m_window->isVisible());
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(WinMainTest, ANewAcquisitionSupersedesOneStillDetecting)
{
    SKIP_WITHOUT_PHOTOS();
    // 24 faces in a photo converted to 1600 pixels wide: its detection takes a while.
    m_window->useChosenPhoto(photos::testPhoto(QStringLiteral("faces/bald_guys.jpg")));
    // The detector is asked once the acquisition holds the converted photo.
    QPointer<SourceAcquisition> first;
    ASSERT_TRUE(QTest::qWaitFor(
        [this, &first] {
            first = m_window->findChild<SourceAcquisition*>();
            return first != nullptr && !first->TargetPicture().isNull();
        },
        detectionTimeoutMs));
    m_window->useChosenPhoto(photos::testPhoto(QStringLiteral("astronaut.png")));
    ASSERT_TRUE(waitForFaces());
    // Let the first detection finish too: its faces and its Completed must not reach this gallery.
    EXPECT_TRUE(QTest::qWaitFor([&first] { return first.isNull(); }, detectionTimeoutMs))
        << "the superseded acquisition ends when its detection does";
    QTest::qWait(200);

    EXPECT_EQ(m_window->FacesFound(), 1);
    EXPECT_EQ(gallery()->count(), 1);
    EXPECT_EQ(text("WinSubCaption"), QStringLiteral("Recognized faces: 1"));
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Choose the face to search..."));
}

// One photo set searched again and again: with the features matcher a first start chooses, with the
// grid and sub-directories, for two faces at once, and without the features model.
TEST_F(WinMainTest, SearchesAFolderWithEitherMatcherForOneOrMoreFacesAndListsThemBestFirst)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    ASSERT_TRUE(Settings::matcher().isEmpty());
    m_window->setDataPath(QStringLiteral(MORVELIN_DETECTOR_DATA));
    auto* features = control<QCheckBox>("CompareFeatures");
    ASSERT_TRUE(features->isEnabled()) << features->toolTip().toStdString();
    EXPECT_TRUE(features->isChecked());

    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString astronaut = photos::testPhoto(QStringLiteral("astronaut.png"));
    const QString two = photos::testPhoto(QStringLiteral("faces/2008_001009.jpg"));
    QFile::copy(astronaut, dir.filePath(QStringLiteral("astronaut.png")));
    QFile::copy(two, dir.filePath(QStringLiteral("two.jpg")));
    writePlainPhoto(dir, QStringLiteral("plain.png"));
    QDir(folder).mkdir(QStringLiteral("sub"));
    QFile::copy(photos::testPhoto(QStringLiteral("faces/2009_004587.jpg")), dir.filePath(QStringLiteral("sub/deep.jpg")));

    // Only the features matcher tells each face's similarity.
    int described = 0;
    int similarities = 0;
    QObject watching;
    QObject::connect(&m_window->folderSearch(), &FolderSearch::scanStarted, &watching, [&](PhotoScan* scan) {
        QObject::connect(scan, &PhotoScan::faceDescribed, &watching, [&](int, const QJsonObject& face) {
            ++described;
            similarities += face.contains(QStringLiteral("similarity")) ? 1 : 0;
        });
    });
    const auto searchAll = [&] {
        described = similarities = 0;
        search(folder);
        ASSERT_TRUE(QTest::qWaitFor([this] { return searchDone(); }, detectionTimeoutMs));
    };

    chooseFace(astronaut, 0);
    // Before: Search offered.
    expectShown({"StartSearch"}, {"StopSearch"});
    EXPECT_TRUE(control<FlatButton>("StartSearch")->isEnabled());

    int mostScanWindows = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&mostScanWindows] {
        int windows = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            windows += qobject_cast<WinFotoFace*>(widget) != nullptr && widget->isVisible() ? 1 : 0;
        }
        mostScanWindows = std::max(mostScanWindows, windows);
    });
    watch.start(2);
    search(folder);

    // During: the first search's columns fitted to the list as shown.
    auto* view = control<ResultListView>("FileList");
    EXPECT_GE(view->columnWidth(ResultList::FileNameColumn), 150);
    EXPECT_GE(view->columnWidth(ResultList::FolderColumn), 150);
    expectScoresInSight(*view);
    EXPECT_TRUE(m_window->SearchRunning());
    expectShown({"StopSearch", "FileList"}, {"StartSearch", "ChooseImageFile", "ImageList"});
    EXPECT_FALSE(m_window->f12Watched());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Searching"));
    EXPECT_EQ(text("Labels3"), QStringLiteral("Searching..."));
    // F12 during a search does nothing, not even afterwards.
    m_window->GoCapture(QString());
    EXPECT_EQ(text("WinCaption"), QStringLiteral("Searching"));

    ASSERT_TRUE(QTest::qWaitFor([this] { return searchDone(); }, detectionTimeoutMs));
    watch.stop();

    // After.
    expectShown({"StartSearch", "FileList"}, {"StopSearch", "ChooseImageFile", "ImageList"});
    EXPECT_TRUE(m_window->f12Watched());
    EXPECT_TRUE(m_window->StopNow());
    EXPECT_EQ(m_window->folderSearch().counts().photosSeen, 3) << "without sub-directories";
    EXPECT_GE(described, 1);
    EXPECT_EQ(similarities, described);

    ResultListModel& list = m_window->resultList();
    ASSERT_GE(list.rowCount(), 1);
    EXPECT_EQ(list.pathAt(0), dir.filePath(QStringLiteral("astronaut.png")));
    // The face that matched is the one chosen, drawn at the row's left as the gallery shows it.
    const QImage face = pixels(gallery()->thumbnail(0));
    EXPECT_EQ(pixels(list.data(list.index(0, 0), ResultList::FaceRole).value<QImage>()), face);
    const QRect cell = view->visualRect(list.index(0, 0));
    const QRect drawn(cell.left() + 2, cell.top() + (cell.height() - 48) / 2, 48, 48);
    EXPECT_EQ(pixels(view->viewport()->grab(drawn).toImage()), face);
    // The preview frames it on the photo, scaled with the photo.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    auto* preview = control<ImageXView>("ImgPreview");
    ASSERT_TRUE(QTest::qWaitFor([preview] { return preview->isVisible(); }, detectionTimeoutMs));
    const QRect box = list.faceBoxAt(0);
    const double scale = preview->imageX().picture().width() / 512.0;
    EXPECT_LT(scale, 1);
    EXPECT_EQ(preview->mark(),
              QRectF(box.x() * scale, box.y() * scale, box.width() * scale, box.height() * scale).toRect());
    EXPECT_TRUE(text("Labels3").startsWith(QStringLiteral("Found in %1 of 3 photos.").arg(list.rowCount())))
        << text("Labels3").toStdString();
    EXPECT_GE(mostScanWindows, 1);
    EXPECT_LE(mostScanWindows, QThread::idealThreadCount());
    QTest::qWait(50);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<WinFotoFace*>(widget), nullptr) << "every scan window closes on Completed";
    }

    // The grid, remembered, with sub-directories on: the photo below is scanned too.
    features->click();
    EXPECT_EQ(Settings::matcher(), QStringLiteral("grid"));
    control<QCheckBox>("ScanSubDirs")->setChecked(true);
    searchAll();
    EXPECT_EQ(m_window->folderSearch().counts().photosSeen, 4);
    EXPECT_GE(described, 1);
    EXPECT_EQ(similarities, 0);
    EXPECT_EQ(list.pathAt(0), dir.filePath(QStringLiteral("astronaut.png")));

    // The chosen face stays through the next picture, and both are searched for together.
    features->click();
    const QImage first = gallery()->thumbnail(0);
    m_window->useChosenPhoto(two);
    ASSERT_TRUE(waitForFaces());
    ASSERT_EQ(gallery()->count(), 3) << "the chosen face, then the new picture's";
    EXPECT_EQ(gallery()->thumbnail(0), first);
    EXPECT_EQ(markedRows(), std::vector<int>{0});
    EXPECT_TRUE(control<FlatButton>("StartSearch")->isEnabled());
    clickThumbnail(1, Qt::ControlModifier);
    const QImage second = gallery()->thumbnail(1);
    searchAll();
    EXPECT_EQ(similarities, described);
    QStringList listed;
    for (int row = 0; row < list.rowCount(); ++row) {
        listed << QFileInfo(list.pathAt(row)).fileName();
    }
    EXPECT_TRUE(listed.contains(QStringLiteral("astronaut.png"))) << listed.join(' ').toStdString();
    EXPECT_TRUE(listed.contains(QStringLiteral("two.jpg"))) << listed.join(' ').toStdString();

    // Only the face left unchosen leaves with the next picture.
    m_window->useChosenPhoto(astronaut);
    ASSERT_TRUE(waitForFaces());
    ASSERT_EQ(gallery()->count(), 3);
    EXPECT_EQ(gallery()->thumbnail(0), first);
    EXPECT_EQ(gallery()->thumbnail(1), second);
    EXPECT_EQ(markedRows(), (std::vector<int>{0, 1}));

    // Without its model the box is off and says why.
    QTemporaryDir noModel;
    QFile::copy(QStringLiteral(MORVELIN_DETECTOR_DATA), noModel.filePath(QStringLiteral("data.xml")));
    m_window->setDataPath(noModel.filePath(QStringLiteral("data.xml")));
    EXPECT_FALSE(features->isEnabled());
    EXPECT_FALSE(features->isChecked());
    EXPECT_TRUE(features->toolTip().contains(QStringLiteral("fr_feature.onnx"))) << features->toolTip().toStdString();
    searchAll();
    EXPECT_TRUE(text("Labels3").contains(QStringLiteral("compared as brightness grids"))) << text("Labels3").toStdString();
}

TEST_F(WinMainTest, StopMidSearchKeepsTheRowsFoundSoFar)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir dir;
    const QStringList all = QDir(photos::testPhoto(QStringLiteral("faces"))).entryList({QStringLiteral("*.jpg")});
    for (int copy = 0; copy < 3; ++copy) {
        for (const QString& name : all) {
            QFile::copy(photos::testPhoto(QStringLiteral("faces/") + name), dir.filePath(QString::number(copy) + name));
        }
    }
    // A face each copy of bald_guys.jpg holds.
    chooseFace(photos::testPhoto(QStringLiteral("faces/bald_guys.jpg")), 0);
    search(dir.path());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->FilesFound() >= 1; }, detectionTimeoutMs));
    emit control<FlatButton>("StopSearch")->Click();

    EXPECT_FALSE(m_window->SearchRunning());
    expectShown({"StartSearch"}, {"StopSearch"});
    EXPECT_TRUE(m_window->f12Watched());
    const int rowsAtStop = m_window->resultList().rowCount();
    EXPECT_GE(rowsAtStop, 1);
    const QString stopped = QStringLiteral("Stopped after %1 photos; the rest of the folder was not searched.");
    EXPECT_TRUE(text("Labels3").startsWith(stopped.arg(m_window->folderSearch().counts().photosScanned))) << text("Labels3").toStdString();

    // The photos in hand are finished and still reported; nothing new is handed out.
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->folderSearch().scansInFlight() == 0; }, detectionTimeoutMs));
    EXPECT_TRUE(QTest::qWaitFor([this] { return control<FlatButton>("StartSearch")->isEnabled(); }));
    EXPECT_GE(m_window->resultList().rowCount(), rowsAtStop);
    EXPECT_LT(m_window->folderSearch().counts().photosSeen, all.size() * 3);
    // The scans Stop left running are counted once they are done.
    EXPECT_TRUE(text("Labels3").startsWith(stopped.arg(m_window->folderSearch().counts().photosScanned)
                                           + QStringLiteral("\nFound in %1 of them.").arg(m_window->resultList().rowCount())))
        << text("Labels3").toStdString();
}

// A window of its own would add nothing: the status is its counts' text alone.
TEST(SearchStatusTest, TellsPhotosListedBesideSearchedAndHowTheSearchEnded)
{
    using State = SearchStatus::State;
    FolderSearch::Counts counts;
    EXPECT_EQ(SearchStatus::text(State::Running, counts, 0), QStringLiteral("Searching..."));
    EXPECT_EQ(SearchStatus::text(State::Finished, counts, 0), QStringLiteral("This folder holds no photos."));
    counts.photosSeen = counts.photosScanned = 40;
    EXPECT_EQ(SearchStatus::text(State::Running, counts, 6), QStringLiteral("Found in 6 of 40 photos so far."));
    EXPECT_EQ(SearchStatus::text(State::Finished, counts, 0),
              QStringLiteral("No photo in this folder shows this face (40 searched)."));
    counts.unreadablePhotos = 300;
    counts.unreadableFolders = 2;
    EXPECT_EQ(SearchStatus::text(State::Finished, counts, 6),
              QStringLiteral("Found in 6 of 40 photos.\n300 files could not be read.\n2 folders could not be opened."));
    counts = FolderSearch::Counts();
    counts.photosSeen = counts.photosScanned = 69;
    EXPECT_EQ(SearchStatus::text(State::Stopped, counts, 3),
              QStringLiteral("Stopped after 69 photos; the rest of the folder was not searched.\nFound in 3 of them."));
}

TEST_F(WinMainTest, DraggedRowsOfferFilesAndTheirPathsEachFollowedByABar)
{
    ResultListModel& list = m_window->resultList();
    m_window->NewFile(QStringLiteral("/photos/a.jpg"), 91000);
    m_window->NewFile(QStringLiteral("/photos/b c.jpg"), 85000);
    m_window->NewFile(QStringLiteral("/photos/d#1.jpg"), 80000);
    m_window->NewFile(QStringLiteral("/photos/e.jpg"), 75000);

    auto* view = control<ResultListView>("FileList");
    for (const int row : {2, 0, 1}) {
        view->selectionModel()->select(list.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::unique_ptr<QMimeData> data(list.mimeData(view->selectionModel()->selectedIndexes()));

    EXPECT_EQ(data->text(), QStringLiteral("/photos/a.jpg|/photos/b c.jpg|/photos/d#1.jpg|"));
    const QList<QUrl> files = data->urls();
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(QStringList({files[0].toLocalFile(), files[1].toLocalFile(), files[2].toLocalFile()}),
              QStringList({"/photos/a.jpg", "/photos/b c.jpg", "/photos/d#1.jpg"}));
    EXPECT_EQ(list.supportedDragActions(), Qt::CopyAction);
    EXPECT_TRUE(list.flags(list.index(0, 0)) & Qt::ItemIsDragEnabled);

    // Enter opens the current row as a double click does.
    QSignalSpy opened(view, &ResultListView::openRequested);
    view->setCurrentIndex(list.index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.front().front().toString(), QStringLiteral("/photos/b c.jpg"));
}

