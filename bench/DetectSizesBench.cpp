// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// Detection at every size, through the program's own path for a photo (the file decoded at the
// scan's size, the detector, the boxes taken back to the photo's own pixels), for the shipped data
// file and for the tile counts, overlaps and confidence thresholds it was chosen from:
//   collage 3x3 / 4x4: the twelve test photos fitted into the cells of a 4000 x 3000 and of a
//          6000 x 4500 picture; the share of the faces each photo shows alone that the collage shows
//   pasted N px: dlib's 43 hand-marked faces, each with its surroundings, scaled so that the face is
//          N pixels wide and pasted into 4000 x 3000 backgrounds; the share found
//   false/photo: finds on dlib's marked photos that match no marked face, per photo; on each marked
//          face cut out tightly as a photo of its own (a find beside the face: a partial face); on 20
//          generated 4000 x 3000 pictures without people (stripes, checks, bricks and windows, shapes)
//   ms: processor time of one 4000 x 3000 JPEG's decoding and detection on one core
// A find matches a face when the centre of the find's box lies inside the face's box.
// Usage: detect_sizes_bench [TESTDATA [MODELS [DATA_XML]]]; DETECT_SIZES_SHIPPED_ONLY=1 measures
// only the shipped data file.

#include "DetectDataset.h"

#include "search/DetectorConfig.h"
#include "search/FaceDetector.h"
#include "search/ImageX.h"
#include "search/PhotoPixels.h"
#include "search/PhotoScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <ctime>
#include <string>

using namespace morvelin;
using namespace morvelin::bench;

namespace {

double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The faces of a photo file as a scan finds them, in pixels of the photo's own size (the model's box).
std::vector<QRect> findInFile(const QString& path, const DetectorConfig& config)
{
    ImageX photo;
    if (!photo.load(path)) {
        return {};
    }
    const QSize photoSize(photo.width(), photo.height());
    PhotoScan::scaleDown(photo);
    const QImage scaled = photo.picture();
    const PhotoPixels inPhoto(photoSize, scaled.size());
    std::vector<QRect> finds;
    for (const DetectedFace& face : FaceDetector::detect(scaled, config).faces) {
        finds.push_back(inPhoto.box(QRect(QPoint(face.x1, face.y1), QPoint(face.x2 - 1, face.y2 - 1))));
    }
    return finds;
}

struct Count {
    int faces = 0;
    int found = 0;
    int falseFinds = 0;
    int photos = 0;

    double share() const { return faces > 0 ? 100.0 * found / faces : 0; }
    double falsePerPhoto() const { return photos > 0 ? double(falseFinds) / photos : 0; }
};

// Each face matches one find at most; finds matching no face (nor an ignored box) are false.
void tally(const std::vector<QRect>& faces, const std::vector<QRect>& ignored, const std::vector<QRect>& finds, Count& count)
{
    std::vector<bool> taken(faces.size(), false);
    count.faces += int(faces.size());
    ++count.photos;
    for (const QRect& find : finds) {
        bool matched = false;
        for (std::size_t i = 0; i < faces.size() && !matched; ++i) {
            if (!taken[i] && faces[i].contains(find.center())) {
                taken[i] = matched = true;
                ++count.found;
            }
        }
        const bool ignore = std::any_of(ignored.begin(), ignored.end(), [&](const QRect& box) { return box.contains(find.center()); });
        count.falseFinds += !matched && !ignore ? 1 : 0;
    }
}

QString writeJpeg(const QDir& folder, const QString& name, const QImage& image)
{
    const QString path = folder.filePath(name);
    image.save(path, "JPEG", 92);
    return path;
}

// The photos fitted into a grid of cells, centred in each, kept in proportion; where each landed.
struct Placed {
    QString photo;
    QRectF at; // in the collage's pixels
    QSize size; // the photo's own
};

QImage collage(const QStringList& photos, QSize size, int across, int down, std::vector<Placed>& placed)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 128));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF cell(double(size.width()) / across, double(size.height()) / down);
    for (int i = 0; i < photos.size() && i < across * down; ++i) {
        const QImage photo(photos[i]);
        const QSizeF fitted = QSizeF(photo.size()).scaled(cell, Qt::KeepAspectRatio);
        const QPointF corner(cell.width() * (i % across) + (cell.width() - fitted.width()) / 2,
                             cell.height() * (i / across) + (cell.height() - fitted.height()) / 2);
        const QRectF at(corner, fitted);
        painter.drawImage(at, photo);
        placed.push_back({photos[i], at, photo.size()});
    }
    return image;
}

QRect placedBox(const QRect& box, const Placed& placed)
{
    const double sx = placed.at.width() / placed.size.width();
    const double sy = placed.at.height() / placed.size.height();
    return QRectF(placed.at.left() + box.left() * sx, placed.at.top() + box.top() * sy, box.width() * sx, box.height() * sy)
        .toAlignedRect();
}

// The faces each photo shows alone are those the detector without tiles finds in it with its old
// threshold (no false face on the marked photos): the faces a person saw found before.
Count collageCount(const QStringList& photos, const QDir& work, const DetectorConfig& config, QSize size, int across,
                   int down)
{
    DetectorConfig alone = config;
    alone.tilesAcross = 0;
    alone.scoreThreshold = 0.4f;
    alone.secondLookScore = 0;
    alone.keyPointsChecked = false;
    std::vector<Placed> placed;
    const QString path = writeJpeg(work, QStringLiteral("collage.jpg"), collage(photos, size, across, down, placed));
    std::vector<QRect> faces;
    for (const Placed& photo : placed) {
        for (const QRect& face : findInFile(photo.photo, alone)) {
            faces.push_back(placedBox(face, photo));
        }
    }
    Count count;
    tally(faces, {}, findInFile(path, config), count);
    return count;
}

// Backgrounds without faces: a test photo of dogs blown up, and generated textures.
QImage backgroundFor(int index, QSize size, const QString& dogs)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(std::uint32_t(index) * 7919u + 1u);
    const QColor a = QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256));
    const QColor b = QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256));
    image.fill(a);
    QPainter painter(&image);
    switch (index % 5) {
    case 0:
        painter.drawImage(image.rect(), QImage(dogs));
        break;
    case 1: // stripes
        for (int x = 0; x < size.width(); x += 40 + index) {
            painter.fillRect(x, 0, 12 + index % 20, size.height(), b);
        }
        break;
    case 2: // checks
        for (int y = 0; y < size.height(); y += 90) {
            for (int x = (y / 90) % 2 * 90; x < size.width(); x += 180) {
                painter.fillRect(x, y, 90, 90, b);
            }
        }
        break;
    case 3: // bricks and windows
        for (int y = 0; y < size.height(); y += 150) {
            for (int x = (y / 150) % 2 * 110; x < size.width(); x += 220) {
                painter.fillRect(x + 10, y + 10, 200, 130, b);
                painter.fillRect(x + 40, y + 35, 50, 50, a.darker(200));
                painter.fillRect(x + 120, y + 35, 50, 50, a.darker(200));
            }
        }
        break;
    default: // noise and shapes
        for (int i = 0; i < 400; ++i) {
            painter.setBrush(QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
            painter.setPen(Qt::NoPen);
            const int side = 20 + random.bounded(300);
            painter.drawEllipse(random.bounded(size.width()), random.bounded(size.height()), side, side * (1 + random.bounded(3)) / 2);
        }
    }
    return image;
}

// Every marked face with its surroundings (the face's box grown to 2.5 times), scaled so that the
// face is `width` pixels wide, pasted on a grid of 4000 x 3000 backgrounds, twelve to a picture.
Count pastedCount(const std::vector<MarkedPhoto>& marked, const QDir& work, const DetectorConfig& config, int width,
                  const QString& dogs)
{
    const QSize size(4000, 3000);
    Count count;
    std::vector<std::pair<QImage, QRect>> crops;
    for (const MarkedPhoto& photo : marked) {
        const QImage image(photo.path);
        for (const QRect& face : photo.faces) {
            const QRect around = QRect(face.center() - QPoint(face.width() * 5 / 4, face.height() * 5 / 4),
                                       QSize(face.width() * 5 / 2, face.height() * 5 / 2)) & image.rect();
            crops.emplace_back(image.copy(around), face.translated(-around.topLeft()));
        }
    }
    for (std::size_t first = 0; first < crops.size(); first += 12) {
        QImage picture = backgroundFor(int(first / 12) * 5, size, dogs); // the dogs' photo behind every face
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        std::vector<QRect> faces;
        for (std::size_t i = first; i < crops.size() && i < first + 12; ++i) {
            const double scale = double(width) / crops[i].second.width();
            const QSizeF scaled = QSizeF(crops[i].first.size()) * scale;
            const QPointF at(300 + (i - first) % 4 * 950, 250 + (i - first) / 4 * 950);
            painter.drawImage(QRectF(at, scaled), crops[i].first);
            const QRect face = crops[i].second;
            faces.push_back(QRectF(at + QPointF(face.left(), face.top()) * scale, QSizeF(face.size()) * scale).toAlignedRect());
        }
        painter.end();
        Count one;
        tally(faces, {}, findInFile(writeJpeg(work, QStringLiteral("pasted.jpg"), picture), config), one);
        count.faces += one.faces;
        count.found += one.found;
    }
    return count;
}

Count markedPhotosCount(const std::vector<MarkedPhoto>& marked, const DetectorConfig& config)
{
    Count count;
    for (const MarkedPhoto& photo : marked) {
        tally(photo.faces, photo.ignored, findInFile(photo.path, config), count);
    }
    return count;
}

// Every marked face cut out tightly (its box grown by a tenth on each side), as a photo of its own:
// the one face is to be found, and nothing else.
Count tightCropsCount(const std::vector<MarkedPhoto>& marked, const QDir& work, const DetectorConfig& config)
{
    Count count;
    for (const MarkedPhoto& photo : marked) {
        const QImage image(photo.path);
        for (const QRect& face : photo.faces) {
            const QRect crop = face.adjusted(-face.width() / 10, -face.height() / 10, face.width() / 10, face.height() / 10)
                & image.rect();
            const QString path = writeJpeg(work, QStringLiteral("tight.jpg"), image.copy(crop));
            tally({face.translated(-crop.topLeft())}, {}, findInFile(path, config), count);
        }
    }
    return count;
}

Count withoutPeopleCount(const QDir& work, const DetectorConfig& config, const QString& dogs)
{
    Count count;
    for (int i = 1; count.photos < 20; ++i) {
        if (i % 5 == 0) {
            continue; // the dogs: the model takes some of their faces for faces, counted apart
        }
        tally({}, {}, findInFile(writeJpeg(work, QStringLiteral("empty.jpg"), backgroundFor(i, QSize(4000, 3000), dogs)), config),
              count);
    }
    return count;
}

double millisecondsPerPhoto(const QString& path, const DetectorConfig& config)
{
    findInFile(path, config); // loads the model
    constexpr int runs = 5;
    const double start = threadMilliseconds();
    for (int i = 0; i < runs; ++i) {
        findInFile(path, config);
    }
    return (threadMilliseconds() - start) / runs;
}

constexpr int pastedWidths[] = {40, 60, 80, 100, 150, 200};

void printHeader()
{
    std::printf("%-34s %8s %8s", "detector", "3x3", "4x4");
    for (const int width : pastedWidths) {
        std::printf(" %5dpx", width);
    }
    std::printf(" %9s %9s %9s %7s\n", "false/ph", "tight/ph", "empty/ph", "ms");
}

void row(const std::string& name, const DetectorConfig& config, const QStringList& photos,
         const std::vector<MarkedPhoto>& marked, const QDir& work, const QString& dogs, const QString& timed)
{
    const Count three = collageCount(photos, work, config, QSize(4000, 3000), 3, 3);
    const Count four = collageCount(photos, work, config, QSize(6000, 4500), 4, 4);
    std::printf("%-34s %7.1f%% %7.1f%%", name.c_str(), three.share(), four.share());
    for (const int width : pastedWidths) {
        std::printf(" %6.1f%%", pastedCount(marked, work, config, width, dogs).share());
    }
    std::printf(" %9.3f %9.3f %9.3f %7.1f\n", markedPhotosCount(marked, config).falsePerPhoto(),
                tightCropsCount(marked, work, config).falsePerPhoto(), withoutPeopleCount(work, config, dogs).falsePerPhoto(),
                millisecondsPerPhoto(timed, config));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    cv::setNumThreads(1);
    const QDir photos(testPhotosFolder(argc, argv));
    const QString models = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(MORVELIN_FACE_MODELS);
    const QString dataXml = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(MORVELIN_DATA_XML);

    std::vector<MarkedPhoto> marked = readMarkedPhotos(photos.filePath("faces/testing.xml"));
    for (MarkedPhoto& photo : readMarkedPhotos(photos.filePath("faces/training.xml"))) {
        marked.push_back(std::move(photo));
    }
    QStringList collagePhotos;
    for (const QString& name : QDir(photos.filePath("faces")).entryList({QStringLiteral("*.jpg")})) {
        collagePhotos << photos.filePath(QStringLiteral("faces/") + name);
    }
    collagePhotos << photos.filePath("astronaut.png");
    QFile dataFile(dataXml);
    dataFile.open(QIODevice::ReadOnly);
    const DetectorConfig::Result shipped = DetectorConfig::parse(dataFile.readAll(), models);
    if (marked.empty() || !shipped.config) {
        std::fprintf(stderr, "need the test photos (%s) and a data file (%s)\n", qPrintable(photos.path()),
                     qPrintable(shipped.error));
        return 1;
    }
    const QString dogs = photos.filePath("faces/dogs.jpg");
    QTemporaryDir work;
    const QDir folder(work.path());
    std::vector<Placed> unused;
    const QString timed = writeJpeg(folder, QStringLiteral("timed.jpg"), collage(collagePhotos, QSize(4000, 3000), 3, 3, unused));

    std::printf("%d marked photos with %d faces, %d photos in the collages; the model's box is judged\n\n",
                int(marked.size()), int(std::accumulate(marked.begin(), marked.end(), 0,
                                                        [](int sum, const MarkedPhoto& p) { return sum + int(p.faces.size()); })),
                int(collagePhotos.size()));
    printHeader();
    DetectorConfig base = *shipped.config;
    base.framing = DetectorConfig::Framing::DetectorBox;
    row("shipped data.xml", base, collagePhotos, marked, folder, dogs, timed);
    if (std::getenv("DETECT_SIZES_SHIPPED_ONLY")) {
        return 0;
    }
    // The tile pass at the thresholds it was chosen from: the first look's confidence, and the least
    // confidence of the second look that confirms a face (0: none asked), with the key points checked.
    struct Variant {
        int tiles;
        float score;
        float secondLook;
        bool keyPoints;
    };
    for (const Variant variant : {Variant{3, 0.5f, 0.0f, false}, Variant{4, 0.5f, 0.0f, false}, Variant{4, 0.5f, 0.0f, true},
                                  Variant{4, 0.5f, 0.5f, true}, Variant{4, 0.5f, 0.6f, true}, Variant{4, 0.6f, 0.6f, true}}) {
        DetectorConfig config = base;
        config.tilesAcross = variant.tiles;
        config.scoreThreshold = variant.score;
        config.secondLookScore = variant.secondLook;
        config.keyPointsChecked = variant.keyPoints;
        char name[96];
        std::snprintf(name, sizeof name, "tiles %d, score %.2f, 2nd %.2f%s", variant.tiles, variant.score,
                      variant.secondLook, variant.keyPoints ? ", points" : "");
        row(name, config, collagePhotos, marked, folder, dogs, timed);
    }
    return 0;
}
