// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// Writes a folder of camera-sized photos for the search's speed benchmark: varied backgrounds (gradients,
// out-of-focus blotches, shapes, textures, all with sensor grain) with 1 to 4 real faces pasted in, cut
// from dlib's hand-marked example photos. Mostly JPEG, one photo in twenty PNG and one in twenty TIFF, one
// in ten portrait. Seeded: the same options write the same files. One photo holds the astronaut, so a
// search for her face has a known best match; corpus.tsv lists every photo's faces.
// Usage: make_photo_corpus [--count N] [--distinct D] [--size WxH] [--seed S] [--jobs J] [--photos TESTDATA]
//                          FOLDER
// Photos past the first D are symbolic links to those, so a large corpus is quick to make.

#include "DetectDataset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

using namespace morvelin::bench;

namespace {

struct Options {
    int count = 200;
    int distinct = 0; // 0: all photos distinct
    QSize size{4000, 3000};
    std::uint32_t seed = 20240611;
    int jobs = 0; // 0: one per core
    QString photos;
    QString folder;
};

// A patch of a real photo around one face, and the face's rectangle within the patch.
struct FaceSource {
    QString name;
    QImage patch;
    QRect face;
};

struct PastedFace {
    QString name;
    QRect box; // the face's rectangle in the written photo
};

// Whole-number draws that do not depend on the standard library's distributions, so a seed means the
// same corpus everywhere.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_engine(seed) {}

    int between(int low, int high) { return low + int(m_engine() % std::uint32_t(high - low + 1)); }
    double fraction() { return m_engine() / 4294967296.0; }
    QColor colour() { return QColor(between(0, 255), between(0, 255), between(0, 255)); }
    std::uint32_t raw() { return m_engine(); }

private:
    std::mt19937 m_engine;
};

// The patch keeps half a face of margin on every side and a little more above: the detector needs the
// forehead and chin that dlib's tight boxes leave out.
FaceSource cutFace(const QImage& photo, const QRect& box, const QString& name)
{
    const int margin = box.width() / 2;
    const QRect patch = box.adjusted(-margin, -margin - box.height() / 5, margin, margin).intersected(photo.rect());
    return {name, photo.copy(patch).convertToFormat(QImage::Format_RGB32), box.translated(-patch.topLeft())};
}

std::vector<FaceSource> markedFaces(const QString& testdata)
{
    std::vector<FaceSource> sources;
    for (const QString& list : {QStringLiteral("faces/training.xml"), QStringLiteral("faces/testing.xml")}) {
        for (const MarkedPhoto& marked : readMarkedPhotos(QDir(testdata).filePath(list))) {
            const QImage photo(marked.path);
            const QString file = QFileInfo(marked.path).fileName();
            for (std::size_t i = 0; i < marked.faces.size() && !photo.isNull(); ++i) {
                sources.push_back(cutFace(photo, marked.faces[i], QStringLiteral("%1#%2").arg(file).arg(i + 1)));
            }
        }
    }
    return sources;
}

FaceSource astronautFace(const QString& testdata)
{
    const QImage photo(QDir(testdata).filePath(QStringLiteral("astronaut.png")));
    if (photo.isNull()) {
        return {};
    }
    // Eyebrows to chin, as dlib marks its faces.
    return cutFace(photo, QRect(176, 72, 96, 100), QStringLiteral("astronaut.png"));
}

QImage gradientBackground(QSize size, Dice& dice)
{
    QImage image(size, QImage::Format_RGB32);
    const double angle = dice.fraction() * 2 * M_PI;
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const QPointF reach(std::cos(angle) * size.width() / 2, std::sin(angle) * size.height() / 2);
    QLinearGradient gradient(centre - reach, centre + reach);
    const int stops = dice.between(2, 4);
    for (int i = 0; i < stops; ++i) {
        gradient.setColorAt(double(i) / (stops - 1), dice.colour());
    }
    QPainter(&image).fillRect(image.rect(), gradient);
    return image;
}

// A few random colours blown up smoothly: the soft patches of an out-of-focus background.
QImage blotchBackground(QSize size, Dice& dice)
{
    QImage small(dice.between(3, 12), dice.between(3, 9), QImage::Format_RGB32);
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            small.setPixel(x, y, dice.colour().rgb());
        }
    }
    return small.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage shapesBackground(QSize size, Dice& dice)
{
    QImage image = gradientBackground(size, dice);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const int shapes = dice.between(15, 40);
    for (int i = 0; i < shapes; ++i) {
        QColor colour = dice.colour();
        colour.setAlpha(dice.between(90, 255));
        painter.setBrush(colour);
        const QRectF box(dice.between(-300, size.width()), dice.between(-300, size.height()),
                         dice.between(60, size.width() / 2), dice.between(60, size.height() / 2));
        switch (dice.between(0, 2)) {
        case 0:
            painter.drawEllipse(box);
            break;
        case 1:
            painter.drawRect(box);
            break;
        default: {
            QPainterPath path;
            path.moveTo(box.topLeft() + QPointF(dice.fraction() * box.width(), 0));
            path.lineTo(box.bottomRight());
            path.lineTo(box.bottomLeft() + QPointF(0, -dice.fraction() * box.height()));
            painter.drawPath(path);
        }
        }
    }
    return image;
}

// A repeated tile (stripes, checks or bricks), turned by a random angle: fabric, tiles, a wall.
QImage textureBackground(QSize size, Dice& dice)
{
    const int side = dice.between(24, 160);
    QImage tile(side, side, QImage::Format_RGB32);
    const QColor first = dice.colour();
    const QColor second = dice.colour();
    tile.fill(first);
    {
        QPainter painter(&tile);
        switch (dice.between(0, 2)) {
        case 0:
            painter.fillRect(0, 0, side, side / 2, second);
            break;
        case 1:
            painter.fillRect(0, 0, side / 2, side / 2, second);
            painter.fillRect(side / 2, side / 2, side - side / 2, side - side / 2, second);
            break;
        default:
            painter.fillRect(0, 0, side, side / 10 + 1, second);
            painter.fillRect(0, side / 2, side, side / 10 + 1, second);
            painter.fillRect(side / 3, 0, side / 10 + 1, side / 2, second);
            painter.fillRect(side * 5 / 6, side / 2, side / 10 + 1, side / 2, second);
        }
    }
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QBrush brush(tile);
    brush.setTransform(QTransform().rotate(dice.between(0, 89)));
    painter.fillRect(image.rect(), brush);
    return image;
}

// Sensor grain; it also makes the files as large as a camera's.
void addGrain(QImage& image, int amplitude, std::uint32_t seed)
{
    std::uint32_t state = seed | 1u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int shift = int(state % std::uint32_t(2 * amplitude + 1)) - amplitude;
            const QRgb pixel = line[x];
            line[x] = qRgb(std::clamp(qRed(pixel) + shift, 0, 255), std::clamp(qGreen(pixel) + shift, 0, 255),
                           std::clamp(qBlue(pixel) + shift, 0, 255));
        }
    }
}

QImage background(QSize size, Dice& dice)
{
    QImage image;
    switch (dice.between(0, 3)) {
    case 0:
        image = gradientBackground(size, dice);
        break;
    case 1:
        image = blotchBackground(size, dice);
        break;
    case 2:
        image = shapesBackground(size, dice);
        break;
    default:
        image = textureBackground(size, dice);
    }
    addGrain(image, dice.between(3, 10), dice.raw());
    return image;
}

// Opaque inside, fading out over the patch's outer eighth, so no hard seam frames the face.
QImage feathered(const QImage& patch)
{
    QImage result = patch.convertToFormat(QImage::Format_ARGB32);
    const int fade = std::max(2, std::min(result.width(), result.height()) / 8);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const int fromTopOrBottom = std::min(y, result.height() - 1 - y);
        for (int x = 0; x < result.width(); ++x) {
            const int fromEdge = std::min({x, result.width() - 1 - x, fromTopOrBottom});
            const int alpha = std::min(255, fromEdge * 255 / fade);
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
        }
    }
    return result;
}

// Pastes `source` with its face `faceSide` pixels wide at a free place; false when none was found.
bool paste(QImage& photo, const FaceSource& source, int faceSide, Dice& dice, std::vector<QRect>& taken,
           std::vector<PastedFace>& pasted)
{
    const double zoom = double(faceSide) / source.face.width();
    const QSize size(std::max(1, int(source.patch.width() * zoom)), std::max(1, int(source.patch.height() * zoom)));
    if (size.width() >= photo.width() || size.height() >= photo.height()) {
        return false;
    }
    for (int attempt = 0; attempt < 30; ++attempt) {
        const QRect place(dice.between(0, photo.width() - size.width()), dice.between(0, photo.height() - size.height()),
                          size.width(), size.height());
        const bool overlaps =
            std::any_of(taken.begin(), taken.end(), [&](const QRect& other) { return other.intersects(place); });
        if (overlaps) {
            continue;
        }
        const QImage scaled = source.patch.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPainter(&photo).drawImage(place.topLeft(), feathered(scaled));
        taken.push_back(place);
        const QRect face(place.left() + int(source.face.left() * zoom), place.top() + int(source.face.top() * zoom),
                         int(source.face.width() * zoom), int(source.face.height() * zoom));
        pasted.push_back({source.name, face});
        return true;
    }
    return false;
}

// Face widths between 80 and 600 pixels in a 4000-pixel photo (in proportion in others), small ones as
// likely as large ones on a log scale.
int faceSide(Dice& dice, double photoScale)
{
    return std::max(8, int(std::lrint(photoScale * 80.0 * std::pow(600.0 / 80.0, dice.fraction()))));
}

QString suffixFor(int index)
{
    switch (index % 20) {
    case 7:
        return QStringLiteral(".png");
    case 13:
        return QStringLiteral(".tif");
    default:
        return QStringLiteral(".jpg");
    }
}

QString nameFor(int index, int distinct)
{
    return QStringLiteral("photo_%1%2").arg(index, 4, 10, QLatin1Char('0')).arg(suffixFor(index % distinct));
}

bool write(const QImage& image, const QString& path)
{
    QImageWriter writer(path);
    if (path.endsWith(QLatin1String(".jpg"))) {
        writer.setQuality(90);
    } else if (path.endsWith(QLatin1String(".png"))) {
        writer.setQuality(80); // zlib level 1: quick, and grain does not compress anyway
    }
    return writer.write(image);
}

struct Corpus {
    Options options;
    std::vector<FaceSource> faces;
    FaceSource astronaut;
    int astronautIndex = 0;
};

// Writes photo `index`; returns its line for corpus.tsv, empty on failure.
QString makePhoto(const Corpus& corpus, int index)
{
    Dice dice(corpus.options.seed * 2654435761u + std::uint32_t(index));
    const QSize size = index % 10 == 4 ? corpus.options.size.transposed() : corpus.options.size;
    const double photoScale = std::max(size.width(), size.height()) / 4000.0;
    QImage photo = background(size, dice);
    std::vector<QRect> taken;
    std::vector<PastedFace> pasted;
    if (index == corpus.astronautIndex && !corpus.astronaut.patch.isNull()) {
        paste(photo, corpus.astronaut, int(420 * photoScale), dice, taken, pasted);
    }
    const int wanted = dice.between(1, 4);
    for (int i = 0; i < wanted; ++i) {
        const FaceSource& source = corpus.faces[std::size_t(dice.between(0, int(corpus.faces.size()) - 1))];
        paste(photo, source, faceSide(dice, photoScale), dice, taken, pasted);
    }
    const QString name = nameFor(index, corpus.options.distinct);
    if (!write(photo, QDir(corpus.options.folder).filePath(name))) {
        return QString();
    }
    QStringList faces;
    for (const PastedFace& face : pasted) {
        faces << QStringLiteral("%1 %2,%3,%4x%5")
                     .arg(face.name)
                     .arg(face.box.x())
                     .arg(face.box.y())
                     .arg(face.box.width())
                     .arg(face.box.height());
    }
    return QStringLiteral("%1\t%2x%3\t%4").arg(name).arg(size.width()).arg(size.height()).arg(faces.join(QStringLiteral("; ")));
}

bool linkPhoto(const Options& options, int index)
{
    const QString target = nameFor(index % options.distinct, options.distinct);
    const QString link = QDir(options.folder).filePath(nameFor(index, options.distinct));
    QFile::remove(link);
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

bool parseOptions(const QStringList& arguments, Options& options)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        const QString value = i + 1 < arguments.size() ? arguments[i + 1] : QString();
        bool ok = true;
        if (word == QLatin1String("--count")) {
            options.count = value.toInt(&ok);
            ++i;
        } else if (word == QLatin1String("--distinct")) {
            options.distinct = value.toInt(&ok);
            ++i;
        } else if (word == QLatin1String("--seed")) {
            options.seed = value.toUInt(&ok);
            ++i;
        } else if (word == QLatin1String("--jobs")) {
            options.jobs = value.toInt(&ok);
            ++i;
        } else if (word == QLatin1String("--photos")) {
            options.photos = value;
            ++i;
        } else if (word == QLatin1String("--size")) {
            const QStringList sides = value.split(QLatin1Char('x'));
            bool heightOk = false;
            options.size = sides.size() == 2 ? QSize(sides[0].toInt(&ok), sides[1].toInt(&heightOk)) : QSize();
            ok = ok && heightOk && options.size.width() >= 64 && options.size.height() >= 64;
            ++i;
        } else if (!word.startsWith(QLatin1String("--")) && options.folder.isEmpty()) {
            options.folder = word;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "make_photo_corpus: cannot use '%s'\n", qPrintable(word));
            return false;
        }
    }
    if (options.distinct <= 0 || options.distinct > options.count) {
        options.distinct = options.count;
    }
    if (options.jobs <= 0) {
        options.jobs = int(std::max(1u, std::thread::hardware_concurrency()));
    }
    return !options.folder.isEmpty() && options.count >= 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // libpng's remark on the astronaut's colour profile is no news to anyone running this.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.warning=false"));
    Corpus corpus;
    if (!parseOptions(app.arguments(), corpus.options)) {
        std::fprintf(stderr, "usage: make_photo_corpus [--count N] [--distinct D] [--size WxH] [--seed S] "
                             "[--jobs J] [--photos TESTDATA] FOLDER\n");
        return 2;
    }
    const Options& options = corpus.options;
    const QString testdata = options.photos.isEmpty() ? QStringLiteral(MORVELIN_TEST_PHOTOS) : options.photos;
    corpus.faces = markedFaces(testdata);
    corpus.astronaut = astronautFace(testdata);
    if (corpus.faces.empty() || corpus.astronaut.patch.isNull()) {
        std::fprintf(stderr, "make_photo_corpus: no test photos in %s (scripts/fetch-test-photos.sh)\n",
                     qPrintable(testdata));
        return 1;
    }
    corpus.astronautIndex = options.distinct / 2;
    if (!QDir().mkpath(options.folder)) {
        std::fprintf(stderr, "make_photo_corpus: cannot create %s\n", qPrintable(options.folder));
        return 1;
    }

    std::vector<QString> lines(std::size_t(options.distinct));
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> workers;
    for (int j = 0; j < options.jobs; ++j) {
        workers.emplace_back([&] {
            for (int index = next++; index < options.distinct && !failed; index = next++) {
                lines[std::size_t(index)] = makePhoto(corpus, index);
                failed = failed || lines[std::size_t(index)].isEmpty();
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    for (int index = options.distinct; index < options.count && !failed; ++index) {
        failed = !linkPhoto(options, index);
    }
    if (failed) {
        std::fprintf(stderr, "make_photo_corpus: cannot write the photos in %s\n", qPrintable(options.folder));
        return 1;
    }

    QFile manifest(QDir(options.folder).filePath(QStringLiteral("corpus.tsv")));
    if (manifest.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream out(&manifest);
        out << "# photo\tsize\tfaces (source x,y,WxH)\n";
        for (const QString& line : lines) {
            out << line << '\n';
        }
    }
    std::printf("%d photos in %s (%d written, %d linked); the astronaut is in %s\n", options.count,
                qPrintable(options.folder), options.distinct, options.count - options.distinct,
                qPrintable(nameFor(corpus.astronautIndex, options.distinct)));
    return 0;
}
