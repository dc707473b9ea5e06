// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinFotoFace.h"

#include "app/AppIcon.h"
#include "app/MainLayout.h"
#include "app/Translate.h"
#include "base/ProgramNames.h"
#include "controls/FlatButton.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace morvelin {

namespace {


constexpr double shownPortraitHeight = 1500;
constexpr double shownLandscapeWidth = 2000;
constexpr double targetPictureTop = 1680;
constexpr int faceBoxPixels = 50;
constexpr int logoPixels = 64;

const QColor steelBlue(57, 105, 152);

} // namespace

WinFotoFace::WinFotoFace(const QImage& sourceFace, double scale, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_scale(scale)
{
    setObjectName(QStringLiteral("WinFotoFace"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A scan window closing must never end a program that lives in the tray.
    setAttribute(Qt::WA_QuitOnClose, false);
    // One window per photo: taking the focus each time would keep it from whatever the user types in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(ProgramNames::title());
    setWindowIcon(AppIcon());
    const QSize client = pixels(QRectF(0, 0, designWidth, designHeight)).size();
    setFixedSize(client);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(client.width() / 2, client.height() / 2));
    }

    m_masterTitle = addLabel("MasterTitle", QRectF(1800, 360, 3930, 330), 14.25, Qt::AlignLeft | Qt::AlignVCenter);
    m_detailedStatus = addLabel("DetailedStatus", QRectF(1800, 720, 3900, 210), 8.25, Qt::AlignLeft | Qt::AlignVCenter);
    m_targetPicture = new QLabel(this);
    m_targetPicture->setObjectName(QStringLiteral("TargetPicture"));
    m_targetPicture->setScaledContents(true);
    m_targetPicture->setGeometry(pixels(QRectF(1920, targetPictureTop, 1935, 1575)));
    m_sourceFace = addFaceBox("SourceFace", QRectF(480, 1920, 720, 720));
    m_detectedFace = addFaceBox("DetectedFace", QRectF(4560, 1920, 735, 735));
    m_sourceFaceTitle = addLabel("SourceFaceTitle", QRectF(120, 2880, 1380, 570), 8.25, Qt::AlignHCenter | Qt::AlignTop);
    m_faceDetTitle = addLabel("FaceDetTitle", QRectF(4200, 2880, 1380, 570), 8.25, Qt::AlignHCenter | Qt::AlignTop);
    m_stopSearch = new FlatButton(Translate(QT_TRANSLATE_NOOP("Morvelin", "Stop")), this);
    m_stopSearch->setObjectName(QStringLiteral("StopSearch"));
    m_stopSearch->setGeometry(pixels(QRectF(1920, 3600, 1935, 375)));
    connect(m_stopSearch, &FlatButton::Click, this, &WinFotoFace::StopSearchClicked);

    m_sourceFaceTitle->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Source")));
    m_faceDetTitle->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Target")));
    m_sourceFace->setPixmap(QPixmap::fromImage(sourceFace));
    // An empty black box would read as a face that is black; it shows once a face is compared.
    m_detectedFace->hide();
}

QLabel* WinFotoFace::addLabel(const char* name, const QRectF& twips, double pointSize, Qt::Alignment alignment)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize * m_scale);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAlignment(alignment);
    label->setGeometry(pixels(twips));
    return label;
}

// A one-pixel frame around the 48 x 48 face.
QLabel* WinFotoFace::addFaceBox(const char* name, const QRectF& twips)
{
    auto* box = new QLabel(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    box->setAlignment(Qt::AlignCenter);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    box->setPalette(palette);
    box->setGeometry(QRect(pixels(twips).topLeft(), QSize(faceBoxPixels, faceBoxPixels)));
    return box;
}

QRect WinFotoFace::pixels(const QRectF& twips) const
{
    return units().toPixels(twips);
}

MainLayout WinFotoFace::units() const
{
    const MainLayout screen = MainLayout::forWidget(this);
    return MainLayout(screen.twipsPerPixelX() / m_scale, screen.twipsPerPixelY() / m_scale);
}

void WinFotoFace::Start(PhotoScan* scan)
{
    if (m_scan) {
        disconnect(m_scan, nullptr, this, nullptr);
    }
    m_scan = scan;
    scan->showPhotoWithin(pixels(QRectF(0, 0, shownLandscapeWidth, shownPortraitHeight)).size());
    m_masterTitle->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Face Search")));
    // The last photo and its last face stay until this photo's replace them: a photo takes a moment,
    // and a window that blanked at every photo would show nothing a person could read.
    connect(scan, &PhotoScan::stageChanged, this, &WinFotoFace::showStage);
    connect(scan, &PhotoScan::photoLoaded, this, &WinFotoFace::showPhoto);
    connect(scan, &PhotoScan::faceScored, this,
            [this](int faceCount, const QRect&, const QImage& face, qint64 score) { showFace(faceCount, face, score); });
    connect(scan, &PhotoScan::Completed, this, &WinFotoFace::scanCompleted);
}

void WinFotoFace::scanCompleted()
{
    if (m_scan) {
        disconnect(m_scan, nullptr, this, nullptr);
        if (m_scan->faceCount() == 0) {
            m_detectedFace->clear();
            m_detectedFace->hide();
            m_faceDetTitle->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Target")));
        }
    }
    m_scan = nullptr;
    emit ScanCompleted();
}

void WinFotoFace::showStage(PhotoScan::Stage stage)
{
    QString text = Translate(PhotoScan::stageText(stage));
    if (stage == PhotoScan::Stage::Loading && m_scan) {
        // The path may be longer than the line: its middle gives way, not its name.
        const int room = std::max(0, m_detailedStatus->width() - m_detailedStatus->fontMetrics().horizontalAdvance(text + QLatin1Char(' ')));
        text += QLatin1Char(' ') + m_detailedStatus->fontMetrics().elidedText(m_scan->fileName(), Qt::ElideMiddle, room);
    }
    m_detailedStatus->setText(text);
}

void WinFotoFace::showPhoto(const QImage& scaledPhoto)
{
    const MainLayout units = this->units();
    // Centred in the window as the user sees it: its frame is the desktop's, not part of the picture.
    const double windowWidth = units.toTwips(size()).width();
    const QRectF shown =
        targetPictureRect(scaledPhoto.size(), units.twipsPerPixelX(), units.twipsPerPixelY(), windowWidth);
    const QRect area = units.toPixels(shown);
    m_targetPicture->setGeometry(area);
    m_targetPicture->setPixmap(
        QPixmap::fromImage(scaledPhoto.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void WinFotoFace::showFace(int faceCount, const QImage& face, qint64 scoreTenThousandths)
{
    m_detectedFace->setPixmap(QPixmap::fromImage(face));
    m_detectedFace->show();
    m_faceDetTitle->setText(faceTitle(faceCount, scoreTenThousandths));
}

QRectF WinFotoFace::targetPictureRect(QSize photo, double twipsPerPixelX, double twipsPerPixelY, double windowWidth)
{
    if (photo.isEmpty()) {
        return QRectF();
    }
    const double w = photo.width();
    const double h = photo.height();
    const bool portrait = photo.height() > photo.width();
    const float scale = portrait ? static_cast<float>(shownPortraitHeight / (twipsPerPixelY * h))
                                 : static_cast<float>(std::min(shownLandscapeWidth / (twipsPerPixelX * w),
                                                               shownPortraitHeight / (twipsPerPixelY * h)));
    const double height = twipsPerPixelY * h * scale;
    const double width = twipsPerPixelX * w * scale;
    return QRectF((windowWidth - width) / 2, targetPictureTop, width, height);
}

QString WinFotoFace::faceTitle(int faceCount, qint64 scoreTenThousandths)
{
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Face:")) + QLatin1Char(' ') + QString::number(faceCount) + QLatin1Char('\n')
        + QString::number(scoreTenThousandths / 10000) + QLatin1Char('%');
}

void WinFotoFace::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, steelBlue.lighter(125));
    background.setColorAt(1, steelBlue.darker(140));
    painter.fillRect(rect(), background);
    const QRect logo = pixels(QRectF(420, 300, 0, 0)).adjusted(0, 0, qRound(logoPixels * m_scale), qRound(logoPixels * m_scale));
    AppIcon().paint(&painter, logo);
}

// Minimized with the main window, a scan window stays out of sight until it closes.
void WinFotoFace::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) {
        hide();
    } else if (!isVisible()) {
        show();
    }
}

} // namespace morvelin
