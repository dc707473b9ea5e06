#include "app/WinMain.h"

#include "app/AppIcon.h"
#include "app/FaceGallery.h"
#include "app/Helpers.h"
#include "app/ImageXView.h"
#include "app/ResultListModel.h"
#include "app/ResultListView.h"
#include "app/SourceAcquisition.h"
#include "app/Translate.h"
#include "app/Version.h"
#include "app/WinFotoFace.h"
#include "base/DataFolder.h"
#include "base/ProgramNames.h"
#include "controls/FA_DriveListBox.h"
#include "controls/FlatButton.h"
#include "search/FolderSearch.h"
#include "search/ImageX.h"
#include "search/PhotoScan.h"
#include "search/SourcePicture.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QThread>
#include <QVersionNumber>
#include <QtConcurrent/QtConcurrentRun>

namespace morvelin {

namespace {

// The marks let lupdate collect the texts into the phrase book.
QString translated(const char* english)
{
    return Translate(QString::fromUtf8(english));
}

const QString legalNotice = QStringLiteral("Copyright \u00a9 The Face Morvelin developers");
const QColor steelBlue(57, 105, 152);

// The photo dialog's file types, exactly as the program has always offered them.
const QString cdiagFilter = QStringLiteral(
    "Jpeg files (*.jpg)|*.jpg|TIFF files (*.tif)|*.tif|Jpeg 2000 files (*.j2k)|*.j2k|BMP files (*.bmp)|*.bmp|"
    "PCX files (*.pcx)|*.pcx|TGA files (*.tga)|*.tga|Gif files (*.gif)|*.gif");

constexpr int statusLabel = 3;
constexpr int aboutLink = 4;
constexpr int legalNoticeLabel = 6;
constexpr int updatesLink = 8;
constexpr int bottomLeftPixels = 24;
constexpr int previewDecodeFactor = 2;

struct UpdateTool {
    const char* program;
    QStringList arguments;
};

// The desktops' own software-update tools, the first one installed is started.
const UpdateTool updateTools[] = {
    {"gnome-software", {QStringLiteral("--mode=updates")}},
    {"plasma-discover", {QStringLiteral("--mode"), QStringLiteral("Update")}},
    {"update-manager", {}},
    {"mintupdate", {}},
};

QFont fontOf(const QString& family, double pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

constexpr double winCaptionPoints = 18;
constexpr double winSubCaptionPoints = 8.25;
constexpr double smallestPoints = 6;

// A translation longer than the line gets a smaller font rather than being cut.
void fitFont(QLabel* label, double pointSize)
{
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    while (font.pointSizeF() > smallestPoints
           && QFontMetrics(font).horizontalAdvance(label->text()) > label->contentsRect().width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

// A small viewfinder: the corner decoration of the window.
QPixmap bottomLeftPicture(qreal pixelRatio)
{
    QPixmap picture(QSize(bottomLeftPixels, bottomLeftPixels) * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 2));
    const int s = bottomLeftPixels - 2;
    const int arm = 7;
    painter.drawPolyline(QPolygon({QPoint(1, 1 + arm), QPoint(1, 1), QPoint(1 + arm, 1)}));
    painter.drawPolyline(QPolygon({QPoint(s - arm, 1), QPoint(s, 1), QPoint(s, 1 + arm)}));
    painter.drawPolyline(QPolygon({QPoint(1, s - arm), QPoint(1, s), QPoint(1 + arm, s)}));
    painter.drawPolyline(QPolygon({QPoint(s - arm, s), QPoint(s, s), QPoint(s, s - arm)}));
    painter.drawEllipse(QRectF(7, 5, s - 12, s - 9));
    return picture;
}

} // namespace

WinMain::WinMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_screenCapture(DesktopCapture)
    , m_dataPath(DetectorDataPath())
{
    setObjectName(QStringLiteral("WinMain"));
    SetMainWindow(this);
    setWindowIcon(AppIcon());
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, steelBlue);
    setPalette(palette);
    setFont(fontOf(QStringLiteral("Sans Serif"), 8.25, false));

    m_resultModel = new ResultListModel(m_results, this);
    createFolderSearch();
    connect(&m_results, &ResultList::filesFoundChanged, this, &WinMain::showCount);

    createControls();
    createTray();
    m_keyTimer.setInterval(keyTimerInterval);
    connect(&m_keyTimer, &QTimer::timeout, this, &WinMain::keyTimerTick);
    // Where F12 cannot be watched globally, it still works while this window has the focus.
    auto* f12 = new QShortcut(QKeySequence(Qt::Key_F12), this);
    connect(f12, &QShortcut::activated, this, [this] { m_keyState.notePressed(); });

    const MainLayout layout = MainLayout::forWidget(this);
    resize(layout.toPixels(QRectF(0, 0, MainLayout::designClientWidth, MainLayout::designClientHeight)).size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    loadTexts();
    startKeyTimer();
}

WinMain::~WinMain() = default;

void WinMain::setDataPath(const QString& dataPath)
{
    if (m_searchRunning || m_search->scansInFlight() > 0) {
        return;
    }
    m_dataPath = dataPath;
    delete m_search;
    createFolderSearch();
}

void WinMain::createFolderSearch()
{
    m_searchTempFolder = TempFolder();
    FolderSearch::Settings settings{m_dataPath, m_searchTempFolder, QThread::idealThreadCount()};
    m_search = new FolderSearch(m_results, settings, this);
    connect(m_search, &FolderSearch::scanStarted, this, &WinMain::scanStarted);
    connect(m_search, &FolderSearch::stopped, this, &WinMain::onSearchStopped);
    connect(m_search, &FolderSearch::finished, this, [this] {
        stopRoutine();
        updateStartSearchEnabled();
    });
}

void WinMain::createControls()
{
    createLabels();
    createLeftColumn();
    createLists();
    m_bottomLeft = new QLabel(this);
    m_bottomLeft->setObjectName(QStringLiteral("BottomLeft"));
    m_bottomLeft->setPixmap(bottomLeftPicture(devicePixelRatioF()));
    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(AppIcon().pixmap(QSize(96, 96)));
    m_image1->setAlignment(Qt::AlignCenter);
}

void WinMain::createLabels()
{
    m_winCaption = new QLabel(this);
    m_winCaption->setObjectName(QStringLiteral("WinCaption"));
    m_winCaption->setFont(fontOf(QStringLiteral("Arial"), winCaptionPoints, false));
    setTextColour(m_winCaption, Qt::white);
    m_winSubCaption = new QLabel(this);
    m_winSubCaption->setObjectName(QStringLiteral("WinSubCaption"));
    m_winSubCaption->setFont(fontOf(QStringLiteral("Arial"), winSubCaptionPoints, true));
    setTextColour(m_winSubCaption, Qt::white);

    for (const int index : {0, 1, 2, 3}) {
        addLabel(index, index == 0 || index == 2);
    }
    m_labels[2]->setWordWrap(true);
    m_labels[2]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_labels[statusLabel]->setWordWrap(true);
    m_labels[statusLabel]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const int index : {aboutLink, updatesLink}) {
        QLabel* link = addLabel(index, false);
        QFont font = fontOf(QStringLiteral("Arial"), 8.25, false);
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        link->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        link->installEventFilter(this);
    }
    QLabel* notice = addLabel(legalNoticeLabel, false);
    notice->setFont(fontOf(QStringLiteral("Arial"), 7, false));
    notice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QLabel* WinMain::addLabel(int index, bool bold)
{
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Labels%1").arg(index));
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    setTextColour(label, Qt::white);
    m_labels[index] = label;
    return label;
}

void WinMain::createLeftColumn()
{
    m_searchPath = new FA_DriveListBox(this);
    m_searchPath->setObjectName(QStringLiteral("SearchPath"));
    connect(m_searchPath, &FA_DriveListBox::PathChange, this, &WinMain::browseForFolder);
    m_scanSubDirs = new QCheckBox(this);
    m_scanSubDirs->setObjectName(QStringLiteral("ScanSubDirs"));
    setTextColour(m_scanSubDirs, Qt::white);

    m_startSearch = new FlatButton(this);
    m_startSearch->setObjectName(QStringLiteral("StartSearch"));
    connect(m_startSearch, &FlatButton::Click, this, &WinMain::startSearch);
    m_stopSearch = new FlatButton(this);
    m_stopSearch->setObjectName(QStringLiteral("StopSearch"));
    m_stopSearch->hide();
    connect(m_stopSearch, &FlatButton::Click, this, &WinMain::StopSearchButton);

    m_face2Search = new QLabel(this);
    m_face2Search->setObjectName(QStringLiteral("Face2Search"));
    m_imgX = new ImageXView(this);
    m_imgX->setObjectName(QStringLiteral("ImgX"));
    m_imgX2 = new ImageXView(this);
    m_imgX2->setObjectName(QStringLiteral("ImgX2"));
    m_imgPreview = new ImageXView(this);
    m_imgPreview->setObjectName(QStringLiteral("ImgPreview"));
}

void WinMain::createLists()
{
    m_imageList = new FaceGallery(this);
    m_imageList->setObjectName(QStringLiteral("ImageList"));
    QPalette gallery = m_imageList->palette();
    gallery.setColor(QPalette::Base, steelBlue);
    m_imageList->setPalette(gallery);
    connect(m_imageList, &FaceGallery::faceClicked, this, &WinMain::pickFace);

    m_fileList = new ResultListView(*m_resultModel, this);
    m_fileList->setObjectName(QStringLiteral("FileList"));
    m_fileList->hide();
    connect(m_fileList, &ResultListView::previewRequested, this, &WinMain::previewPhoto);
    connect(m_fileList, &ResultListView::openRequested, this, [](const QString& path) { OpenWithShell(path); });

    // Over the gallery, so created after it.
    m_chooseImageFile = new FlatButton(this);
    m_chooseImageFile->setObjectName(QStringLiteral("ChooseImageFile"));
    connect(m_chooseImageFile, &FlatButton::Click, this, &WinMain::choosePhoto);
}

void WinMain::createTray()
{
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("traymenu"));
    m_searchFacesOnScreen = m_trayMenu->addAction(QString());
    m_searchFacesOnScreen->setObjectName(QStringLiteral("SearchFacesonScreen"));
    m_trayMenu->addSeparator()->setObjectName(QStringLiteral("sep"));
    m_exitApp = m_trayMenu->addAction(QString());
    m_exitApp->setObjectName(QStringLiteral("exitapp"));
    connect(m_searchFacesOnScreen, &QAction::triggered, this, [this] { GoCapture(QString()); });
    connect(m_exitApp, &QAction::triggered, this, [] { ExitProgram(); });
    m_sysTray.setIcon(AppIcon());
    m_sysTray.setPopupMenu(m_trayMenu, m_searchFacesOnScreen);
    connect(&m_sysTray, &SystemTray::MouseClick, this, [this](int button) {
        // The right button's menu is the desktop's to show.
        if (button == 1) {
            GoCapture(QString());
        }
    });
}

void WinMain::loadTexts()
{
    hide();
    m_labels[0]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Search this face:")));
    m_labels[0]->hide();
    m_labels[1]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Look in:")));
    m_labels[statusLabel]->clear();
    m_labels[aboutLink]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "About")));
    m_labels[updatesLink]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Check for updates")));
    m_labels[legalNoticeLabel]->setText(legalNotice);
    m_labels[2]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Choose the face to search...")));

    const QVersionNumber version = QVersionNumber::fromString(QLatin1String(programVersion));
    setWinCaption(ProgramNames::title());
    setWinSubCaption(versionText(version.majorVersion(), version.minorVersion(), version.microVersion()));
    setWindowTitle(m_winCaption->text() + QLatin1Char(' ') + m_winSubCaption->text());

    m_chooseImageFile->setCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Select a photo with a face to search...")));
    m_startSearch->setEnabled(false);
    m_labels[2]->show();
    m_imgX->hide();
    m_imgX2->hide();
    m_face2Search->hide();

    m_stopSearch->setCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Stop")));
    m_startSearch->setCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Search")));
    m_imgPreview->hide();
    m_scanSubDirs->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Sub-directories search")));
    m_exitApp->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Exit")));
    m_searchFacesOnScreen->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Search for faces on screen")));
    m_chooseImageFile->show();

    m_sysTray.setToolTip(ProgramNames::title());
    m_sysTray.show();
}

QString WinMain::versionText(int major, int minor, int build)
{
    return translated(QT_TRANSLATE_NOOP("Morvelin", "Version")) + QLatin1Char(' ') + QString::number(major) + QLatin1Char('.')
        + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0')) + QLatin1Char(' ')
        + translated(QT_TRANSLATE_NOOP("Morvelin", "Build:")) + QLatin1Char(' ') + QString::number(build);
}

QString WinMain::dialogFilter()
{
    const QStringList parts = cdiagFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        filters.append(parts[i]);
    }
    return filters.join(QStringLiteral(";;"));
}

QString WinMain::aboutPage()
{
    const QString installed = AppFolder() + QStringLiteral("../share/doc/face-morvelin/README.md");
    if (QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return QStringLiteral(MORVELIN_SOURCE_README);
}

void WinMain::setWinCaption(const QString& text)
{
    m_winCaption->setText(text);
    fitFont(m_winCaption, winCaptionPoints);
}

void WinMain::setWinSubCaption(const QString& text)
{
    m_winSubCaption->setText(text);
    fitFont(m_winSubCaption, winSubCaptionPoints);
}

// ---- Layout -------------------------------------------------------------------------------------

void WinMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

MainLayout::Sizes WinMain::controlSizes(const MainLayout& layout) const
{
    MainLayout::Sizes sizes;
    // A translation longer than the link's design width widens it rather than being cut.
    const auto linkWidth = [&layout](const QLabel* link, double design) {
        const int text = link->fontMetrics().horizontalAdvance(link->text()) + 4;
        return std::max(design, layout.twipsX(text));
    };
    sizes.link4Width = linkWidth(m_labels.at(aboutLink), sizes.link4Width);
    sizes.link8Width = linkWidth(m_labels.at(updatesLink), sizes.link8Width);
    sizes.searchPathHeight = layout.twipsY(m_searchPath->sizeHint().height());
    sizes.bottomLeftWidth = layout.twipsX(bottomLeftPixels);
    sizes.bottomLeftHeight = layout.twipsY(bottomLeftPixels);
    if (!m_previewTwips.isEmpty()) {
        sizes.preview = m_previewTwips;
    }
    return sizes;
}

void WinMain::layoutControls()
{
    const MainLayout layout = MainLayout::forWidget(this);
    // Before the window is on screen its frame is unknown; then the outer size is the inner one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const QSizeF window = layout.toTwips(size() + frame);
    const QSize largest = layout.toPixels(QRectF(0, 0, layout.twipsX(MainLayout::maxWidthPixels),
                                                 layout.twipsY(MainLayout::maxHeightPixels)))
                              .size();
    setMaximumSize(largest - frame);
    if (const std::optional<QSizeF> snapped = layout.snapped(window)) {
        resize(layout.toPixels(QRectF(QPointF(0, 0), *snapped)).size() - frame);
        return;
    }

    const MainLayout::Placement place = layout.place(window, controlSizes(layout));
    const auto put = [&layout](QWidget* control, const QRectF& twips) { control->setGeometry(layout.toPixels(twips)); };
    put(m_fileList, place.fileList);
    put(m_imageList, place.imageList);
    put(m_labels[legalNoticeLabel], place.legalNotice);
    put(m_searchPath, place.searchPath);
    put(m_labels[0], place.labels0);
    put(m_labels[1], place.labels1);
    put(m_labels[2], place.labels2);
    put(m_labels[statusLabel], place.labels3);
    put(m_scanSubDirs, place.scanSubDirs);
    put(m_winCaption, place.winCaption);
    put(m_winSubCaption, place.winSubCaption);
    put(m_face2Search, place.face2Search);
    put(m_imgX, place.imgX);
    put(m_imgX2, place.imgX2);
    put(m_startSearch, place.startSearch);
    put(m_stopSearch, place.stopSearch);
    put(m_bottomLeft, place.bottomLeft);
    put(m_image1, place.image1);
    put(m_labels[aboutLink], place.link4);
    put(m_labels[updatesLink], place.link8);
    put(m_imgPreview, place.imgPreview);
    put(m_chooseImageFile, place.chooseImageFile);
    fitFont(m_winCaption, winCaptionPoints);
    fitFont(m_winSubCaption, winSubCaptionPoints);
}

// ---- Closing and showing ------------------------------------------------------------------------

bool WinMain::QueryUnload(bool fromCloseBox)
{
    if (fromCloseBox && !m_closeEndsProgram) {
        hide();
        startKeyTimer();
        return false;
    }
    m_sysTray.remove();
    return true;
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

bool WinMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (const int index : {aboutLink, updatesLink}) {
            if (watched == m_labels[index]) {
                LinkClick(index);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WinMain::LinkClick(int index)
{
    if (index == aboutLink) {
        m_chooseImageFile->hide();
        OpenWithShell(aboutPage());
    } else if (index == updatesLink) {
        FormNotOnTop(this);
        startUpdateTool();
    }
}

void WinMain::startUpdateTool()
{
    for (const UpdateTool& tool : updateTools) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(tool.program));
        if (!program.isEmpty()) {
            QProcess::startDetached(program, tool.arguments);
            return;
        }
    }
}

// ---- The source face ----------------------------------------------------------------------------

void WinMain::GoCapture(const QString& xfile)
{
    const bool wasVisible = isVisible();
    SourceAcquisition* acquisition = beginAcquisition();
    if (acquisition == nullptr) {
        return;
    }
    if (!xfile.isEmpty()) {
        acquisition->fromFile(xfile);
        showAcquiring();
        return;
    }
    // The window (or the tray menu) must be off the screen before the screen is taken.
    QTimer::singleShot(wasVisible ? hideBeforeCaptureMs : hideBeforeCaptureMs / 3, acquisition, [this, acquisition] {
        m_screenCapture.capture([this, current = QPointer<SourceAcquisition>(acquisition)](const QImage& screen) {
            // A portal answers late; by then a newer acquisition may have taken over.
            if (current.isNull() || current->isAbandoned()) {
                return;
            }
            current->fromScreen(screen);
            showAcquiring();
        });
    });
}

void WinMain::useChosenPhoto(const QString& photo)
{
    m_imgPreview->hide();
    SourceAcquisition* acquisition = beginAcquisition();
    if (acquisition == nullptr) {
        return;
    }
    acquisition->fromPhoto(photo);
    showAcquiring();
}

// Null while a search runs: then the window only comes forward.
SourceAcquisition* WinMain::beginAcquisition()
{
    if (m_searchRunning) {
        bringForward();
        return nullptr;
    }
    m_chooseImageFile->hide();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    m_facesFound = 0;
    hide();
    m_keyTimer.stop();
    m_imageList->clearFaces();
    m_facePicked = false;

    // A detection still under way is not waited for: its faces must not reach this gallery.
    if (m_acquisition) {
        m_acquisition->abandon();
    }
    auto* acquisition = new SourceAcquisition(TempFolder(), m_dataPath, this);
    connect(acquisition, &SourceAcquisition::Notice, this, &WinMain::onNotice);
    connect(acquisition, &SourceAcquisition::FaceFound, this, &WinMain::onFaceFound);
    connect(acquisition, &SourceAcquisition::Completed, this, &WinMain::onAcquisitionCompleted);
    m_acquisition = acquisition;
    return acquisition;
}

void WinMain::showAcquiring()
{
    setWinCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Looking for human faces...")));
    m_startSearch->setEnabled(false);
    m_labels[2]->show();
    m_imgX->hide();
    m_imgX2->hide();
    m_face2Search->hide();
    m_labels[0]->hide();
    show();
    m_facesFound = 0;
}

void WinMain::bringForward()
{
    show();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    FormOnTop(this);
    QTimer::singleShot(0, this, [this] { FormNotOnTop(this); });
}

void WinMain::onNotice()
{
    m_labels[2]->show();
    m_imgX->hide();
    m_imgX2->hide();
    m_face2Search->hide();
    FormOnTop(this);
    QTimer::singleShot(0, this, [this] { FormNotOnTop(this); });
    m_imageList->show();
    m_fileList->hide();
}

void WinMain::onFaceFound(const QImage& thumbnail)
{
    ++m_facesFound;
    m_imageList->addThumbnail(thumbnail);
    setWinSubCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Recognized faces: ")) + QString::number(m_facesFound));
}

void WinMain::onAcquisitionCompleted()
{
    if (m_facesFound != 0) {
        setWinCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Choose the face to search...")));
        m_imageList->showThumbnails();
        m_chooseImageFile->hide();
    } else {
        setWinCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "No faces found")));
        setWinSubCaption(QString());
        m_chooseImageFile->show();
    }
    if (m_acquisition) {
        m_acquisition->deleteLater();
    }
    startKeyTimer();
}

void WinMain::pickFace(int index)
{
    const QImage face = m_imageList->thumbnail(index);
    if (face.isNull()) {
        return;
    }
    m_face2Search->setPixmap(QPixmap::fromImage(face));
    m_sourceFace = std::make_shared<const PixelCanvas>(SourcePicture::chosenFace(face));
    m_imgX->imageX().setPicture(SourcePicture::filteredFace(face));
    m_imgX->imageX().displayFlag = true;
    m_imgX2->imageX().setPicture(m_imgX->imageX().picture());
    m_imgX2->imageX().secondFilter();
    m_imgX2->imageX().displayFlag = true;
    m_facePicked = true;
    updateStartSearchEnabled();
    m_labels[2]->hide();
    m_imgX->show();
    m_imgX2->show();
    m_face2Search->show();
    m_labels[0]->show();
    m_imgX->update();
    m_imgX2->update();
}

void WinMain::choosePhoto()
{
    const QString photo =
        QFileDialog::getOpenFileName(this, translated(QT_TRANSLATE_NOOP("Morvelin", "Choose the image file")), QString(), dialogFilter());
    if (photo.isEmpty()) {
        return;
    }
    useChosenPhoto(photo);
}

void WinMain::keyTimerTick()
{
    if (m_keyState.pressedSinceLastQuery()) {
        GoCapture(QString());
    }
}

// A press while the watch was off (during a search or a detection) must not count now.
void WinMain::startKeyTimer()
{
    m_keyState.clear();
    m_keyTimer.start();
}

// ---- The search ---------------------------------------------------------------------------------

bool WinMain::StopNow() const
{
    return m_search->StopNow();
}

void WinMain::startSearch()
{
    if (!m_facePicked || m_searchRunning || m_search->scansInFlight() > 0) {
        return;
    }
    m_chooseImageFile->hide();
    m_keyTimer.stop();
    setWinCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Searching")));
    setWinSubCaption(ProgramNames::title() + QLatin1Char(' ')
                             + translated(QT_TRANSLATE_NOOP("Morvelin", "is searching for faces in your image files...")));
    m_labels[statusLabel]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Searching...")));
    m_imageList->hide();
    m_fileList->show();
    m_startSearch->hide();
    m_stopSearch->show();
    m_fileList->resetColumns();
    m_imgPreview->hide();
    m_searchRunning = true;
    // A program that lives in the tray for weeks may see its temporary folder cleaned away and made anew.
    if (TempFolder() != m_searchTempFolder) {
        delete m_search;
        createFolderSearch();
    }

    m_search->start(m_sourceFace, m_searchPath->SelPath(), m_scanSubDirs->isChecked());
}

void WinMain::StopSearchButton()
{
    m_search->StopSearchButton();
    stopRoutine();
}

// The walk has run out: the search is over once the photos still being scanned are done, so that
// "No files found." is never shown while matches may still come.
void WinMain::onSearchStopped()
{
    if (m_search->scansInFlight() == 0) {
        stopRoutine();
    }
}

void WinMain::stopRoutine()
{
    if (!m_searchRunning) {
        return;
    }
    m_chooseImageFile->hide();
    m_startSearch->show();
    m_stopSearch->hide();
    if (m_results.filesFound() == 0) {
        m_labels[statusLabel]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "No files found.")));
    }
    setWinCaption(ProgramNames::title());
    setWinSubCaption(translated(QT_TRANSLATE_NOOP("Morvelin", "Face search software")));
    startKeyTimer();
    m_searchRunning = false;
    updateStartSearchEnabled();
}

// Scans of a stopped search still report; a new search must not start before they are done.
void WinMain::updateStartSearchEnabled()
{
    m_startSearch->setEnabled(m_facePicked && !m_searchRunning && m_search->scansInFlight() == 0);
}

void WinMain::scanStarted(PhotoScan* scan)
{
    auto* window = new WinFotoFace(m_imgX->imageX().picture());
    connect(window, &WinFotoFace::StopSearchClicked, this, &WinMain::StopSearchButton);
    window->Start(scan);
    if (!(windowState() & Qt::WindowMaximized)) {
        window->setWindowState(windowState() & Qt::WindowMinimized);
    }
    if (!(window->windowState() & Qt::WindowMinimized)) {
        window->show();
    }
}

void WinMain::NewFile(const QString& xfile, int xscore)
{
    m_results.NewFile(xfile, xscore);
}

void WinMain::showCount(int filesFound)
{
    if (filesFound == 0) {
        return;
    }
    m_labels[statusLabel]->setText(translated(QT_TRANSLATE_NOOP("Morvelin", "Found")) + QLatin1Char(' ') + QString::number(filesFound)
                                   + QLatin1Char(' ') + translated(QT_TRANSLATE_NOOP("Morvelin", "so far.")));
}

void WinMain::browseForFolder()
{
    if (m_searchPath->SelPath() != FA_DriveListBox::browseText()) {
        return;
    }
    const QString folder = BrowseFolder(this, QStringLiteral("Choose folder"), false, m_searchPath->SelPath());
    if (!folder.isEmpty()) {
        m_searchPath->UpdatePath(folder);
    }
}

// Decoded on a worker at about the size shown: a large photo would stall the window.
void WinMain::previewPhoto(const QString& path)
{
    const int sequence = ++m_previewSequence;
    const int decodeWidth = std::max(1, m_searchPath->width() * previewDecodeFactor);
    QtConcurrent::run([path, decodeWidth] {
        ImageX image;
        if (!image.load(path)) {
            return std::pair<QImage, QSize>();
        }
        const QSize photoSize(image.width(), image.height());
        if (image.width() > decodeWidth) {
            image.resize(decodeWidth, 0);
        }
        return std::pair<QImage, QSize>(image.picture(), photoSize);
    }).then(this, [this, sequence](const std::pair<QImage, QSize>& preview) {
        showPreview(sequence, preview.first, preview.second);
    });
}

void WinMain::showPreview(int sequence, const QImage& picture, QSize photoSize)
{
    // A later click wins; an unreadable photo leaves the preview as it was.
    if (sequence != m_previewSequence || picture.isNull() || photoSize.isEmpty()) {
        return;
    }
    const MainLayout layout = MainLayout::forWidget(this);
    const QRectF picker = QRectF(layout.twipsX(m_searchPath->x()), layout.twipsY(m_searchPath->y()),
                                 layout.twipsX(m_searchPath->width()), layout.twipsY(m_searchPath->height()));
    const double width = photoSize.width() > photoSize.height() ? picker.width() / 2 : picker.width() / 3;
    // The control keeps the photo's proportions.
    const double previewHeight = layout.twipsY(layout.toPixels(QRectF(0, 0, width, 0)).width()
                                                * double(photoSize.height()) / photoSize.width());
    m_previewTwips = QSizeF(width, previewHeight);
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const double windowHeight = layout.twipsY(height() + frame.height());
    m_imgPreview->setGeometry(layout.toPixels(layout.previewRect(m_previewTwips, windowHeight, picker)));
    m_imgPreview->imageX().setPicture(picture);
    m_imgPreview->imageX().displayFlag = true;
    m_imgPreview->show();
    m_imgPreview->update();
}

} // namespace morvelin
