// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "RecaptureMeasure.h"

#include "engine/FaceMatchTech.h"
#include "search/FacePictureLoader.h"
#include "search/FaceScore.h"
#include "search/GridMatcher.h"
#include "search/PhotoScan.h"
#include "search/SourcePicture.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

namespace morvelin::bench {

namespace {

struct ScannedFace {
    QRect box; // pixels of the scanned photo
    PixelCanvas picture;
};

struct FolderPhoto {
    QString path;
    int original = 0; // index of the photo it was made from
    double scanScale = 1; // scanned photo's pixels per original pixel
    std::vector<ScannedFace> faces;
};

// Where a capture's pixels came from: capture = original * scale + offset.
struct Capture {
    QString path;
    double scale = 1;
    QPointF offset;
};

QImage mirrored(const QImage& photo)
{
    return photo.mirrored(true, false);
}

QImage tinted(const QImage& photo)
{
    QImage result = photo.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            line[x] = qRgb(std::min(255, qRed(line[x]) * 11 / 10), qGreen(line[x]) * 95 / 100, qBlue(line[x]) * 75 / 100);
        }
    }
    return result;
}

bool writeJpeg(const QImage& image, const QString& path, int quality)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    return writer.write(image);
}

// The folder: every photo as it is, mirrored and tinted.
std::vector<FolderPhoto> makeFolder(const QStringList& photos, const QDir& folder)
{
    std::vector<FolderPhoto> made;
    for (int i = 0; i < photos.size(); ++i) {
        const QImage photo(photos[i]);
        const QString stem = QFileInfo(photos[i]).completeBaseName();
        const QString plain = folder.filePath(stem + QStringLiteral(".jpg"));
        QFile::copy(photos[i], plain);
        made.push_back({plain, i, 1.0, {}});
        const QString flipped = folder.filePath(stem + QStringLiteral("_mirrored.jpg"));
        writeJpeg(mirrored(photo), flipped, 95);
        made.push_back({flipped, i, 1.0, {}});
        const QString warm = folder.filePath(stem + QStringLiteral("_tinted.jpg"));
        writeJpeg(tinted(photo), warm, 95);
        made.push_back({warm, i, 1.0, {}});
    }
    return made;
}

// Scans every photo of the folder with the program's scan and keeps the faces it compared.
void scanFolder(std::vector<FolderPhoto>& folder, const QString& dataPath)
{
    FoundFace blank;
    blank.picture = QImage(48, 48, QImage::Format_RGB32);
    blank.picture.fill(Qt::black);
    const std::shared_ptr<const FaceQuery> anyFace = FaceQuery::of(std::make_unique<GridMatcher>(), {blank});
    QEventLoop loop;
    int running = 0;
    std::vector<std::unique_ptr<PhotoScan>> scans;
    for (FolderPhoto& photo : folder) {
        const QSize original = QImageReader(photo.path).size();
        auto scan = std::make_unique<PhotoScan>(anyFace);
        QObject::connect(scan.get(), &PhotoScan::photoMeasured, [&photo, original](const QSize&, const QSize& scanSize) {
            photo.scanScale = double(scanSize.width()) / original.width();
        });
        QObject::connect(scan.get(), &PhotoScan::faceScored, [&photo](int, const QRect& box, const QImage& face, qint64) {
            photo.faces.push_back({box, FacePictureLoader::fromImage(face)});
        });
        QObject::connect(scan.get(), &PhotoScan::Completed, &loop, [&] {
            if (--running == 0) {
                loop.quit();
            }
        });
        ++running;
        scan->Start(photo.path, dataPath);
        scans.push_back(std::move(scan));
    }
    loop.exec();
}

QImage gainAndGamma(const QImage& photo, double gain, double gamma)
{
    std::array<int, 256> table{};
    for (int v = 0; v < 256; ++v) {
        table[v] = std::clamp(static_cast<int>(std::lrint(255 * gain * std::pow(v / 255.0, gamma))), 0, 255);
    }
    QImage result = photo.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            line[x] = qRgb(table[qRed(line[x])], table[qGreen(line[x])], table[qBlue(line[x])]);
        }
    }
    return result;
}

// A plain window: a border, a dark title bar and a light strip where a toolbar would be.
QImage inWindow(const QImage& content, std::mt19937& random, QPointF& offset)
{
    static const QColor desktops[] = {QColor(58, 110, 165), QColor(40, 42, 54), QColor(96, 125, 98), QColor(180, 180, 188)};
    const int border = 4;
    const int title = 30;
    const int toolbar = 24;
    const QSize window(content.width() + 2 * border, content.height() + title + toolbar + border);
    std::uniform_int_distribution<int> margin(40, 240);
    const QSize screen(window.width() + 2 * margin(random), window.height() + 2 * margin(random));
    const QPoint corner(std::uniform_int_distribution<int>(0, screen.width() - window.width())(random),
                        std::uniform_int_distribution<int>(0, screen.height() - window.height())(random));
    QImage canvas(screen, QImage::Format_RGB32);
    canvas.fill(desktops[std::uniform_int_distribution<int>(0, 3)(random)]);
    QPainter painter(&canvas);
    painter.fillRect(QRect(corner, window), QColor(225, 225, 228));
    painter.fillRect(QRect(corner, QSize(window.width(), title)), QColor(52, 52, 58));
    painter.fillRect(QRect(corner + QPoint(border, title), QSize(content.width(), toolbar)), QColor(242, 242, 242));
    const QPoint inside = corner + QPoint(border, title + toolbar);
    painter.drawImage(inside, content);
    offset = inside;
    return canvas;
}

Capture capture(const QImage& photo, int index, std::mt19937& random, const QDir& work)
{
    std::uniform_real_distribution<double> size(0.4, 0.9);
    std::uniform_real_distribution<double> change(0.85, 1.15);
    Capture made;
    made.scale = size(random);
    const double gain = change(random);
    const double gamma = change(random);
    const int quality = std::uniform_int_distribution<int>(70, 90)(random);
    QImage shown = gainAndGamma(photo.scaled(photo.size() * made.scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                                gain, gamma);
    made.scale = double(shown.width()) / photo.width();
    if (index % 2 == 1) {
        shown = inWindow(shown, random, made.offset);
    }
    made.path = work.filePath(QStringLiteral("capture.jpg"));
    writeJpeg(shown, made.path, quality);
    return made;
}

// The face of the capture that lies where `target` lies in its scanned photo, or -1.
int faceAt(const SourcePicture::Result& found, const Capture& made, double captureWidth, const FolderPhoto& photo,
           const QRect& target)
{
    const double pictureScale = found.picture.width() / captureWidth;
    int best = -1;
    double bestDistance = target.width() / 2.0;
    for (std::size_t i = 0; i < found.faces.size(); ++i) {
        const DetectedFace& face = found.faces[i];
        const QPointF centre((face.x1 + face.x2) / 2.0, (face.y1 + face.y2) / 2.0);
        const QPointF inScan = (centre / pictureScale - made.offset) / made.scale * photo.scanScale;
        const QPointF away = inScan - QRectF(target).center();
        const double distance = std::hypot(away.x(), away.y());
        if (distance <= bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

std::int64_t bestScore(const PixelCanvas& source, const FolderPhoto& photo)
{
    std::int64_t best = -1;
    for (const ScannedFace& face : photo.faces) {
        best = std::max(best, FaceScore::fromDistance(FaceMatchTech().CompareFaces(source, face.picture)).tenThousandths());
    }
    return best;
}

void score(const PixelCanvas& source, int original, const std::vector<FolderPhoto>& folder,
           RecaptureMeasure::Figures& figures)
{
    std::int64_t own = -1;
    std::int64_t bestWrong = -1;
    int wrong = 0;
    int wrongListed = 0;
    for (const FolderPhoto& photo : folder) {
        const std::int64_t best = bestScore(source, photo);
        if (photo.path == folder[std::size_t(original) * 3].path) {
            own = best;
        } else if (photo.original != original) {
            ++wrong;
            wrongListed += best >= 700000 ? 1 : 0;
            bestWrong = std::max(bestWrong, best);
        }
    }
    figures.first += own > bestWrong ? 1 : 0;
    figures.listed += own >= 700000 ? 1 : 0;
    figures.wrongListed += double(wrongListed) / std::max(1, wrong);
}

} // namespace

RecaptureMeasure::Figures RecaptureMeasure::run(const QStringList& photos, const QString& dataPath,
                                                const QString& workFolder)
{
    const QDir work(workFolder);
    work.mkpath(QStringLiteral("folder"));
    std::vector<FolderPhoto> folder = makeFolder(photos, QDir(work.filePath(QStringLiteral("folder"))));
    scanFolder(folder, dataPath);

    Figures figures;
    figures.folderSize = static_cast<int>(folder.size());
    std::mt19937 random(14);
    int index = 0;
    for (int p = 0; p < photos.size(); ++p) {
        const FolderPhoto& photo = folder[std::size_t(p) * 3];
        const QImage original(photos[p]);
        for (const ScannedFace& target : photo.faces) {
            ++figures.sources;
            const Capture made = capture(original, index++, random, work);
            const SourcePicture::Result found = SourcePicture::findFaces(made.path, dataPath);
            const int pick = faceAt(found, made, QImageReader(made.path).size().width(), photo, target.box);
            if (pick < 0) {
                ++figures.lost;
                continue;
            }
            score(FacePictureLoader::fromImage(SourcePicture::filteredFace(SourcePicture::thumbnail(found, std::size_t(pick)))), p, folder,
                  figures);
        }
    }
    figures.wrongListed /= std::max(1, figures.sources - figures.lost);
    return figures;
}

void RecaptureMeasure::print(const Figures& f)
{
    const double n = std::max(1, f.sources);
    std::printf("Re-captured faces searched in %d photos (the photos, mirrored and tinted)\n", f.folderSize);
    std::printf("sources %d, not found again %d\n", f.sources, f.lost);
    std::printf("own photo ranked first  %5.1f%%\n", 100 * f.first / n);
    std::printf("own photo listed (>=70) %5.1f%%\n", 100 * f.listed / n);
    std::printf("wrong photos listed     %5.1f%% of them\n", 100 * f.wrongListed);
}

} // namespace morvelin::bench
