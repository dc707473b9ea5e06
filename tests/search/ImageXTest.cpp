#include "search/ImageX.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <thread>

using namespace morvelin;

namespace {

// Every seed of the fuzzer's corpus holds this picture at 24 x 16: a colour gradient with a bright
// block in the top-left corner, so that flipped, mirrored or channel-swapped decoding shows.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool block = x < width / 4 && y < height / 4;
            image.setPixel(x, y, block ? qRgb(250, 250, 240) : qRgb(x * 255 / width, y * 255 / height, 60 + (x + y) % 8));
        }
    }
    return image;
}

// Mean difference per channel.
double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull()) {
        return 1e9;
    }
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * left.width() * left.height());
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QString seed(const char* name)
{
    return QStringLiteral(MORVELIN_TEST_DATA "/fuzz-corpus/seed-") + QLatin1String(name);
}

// Loads `path` into an image that already holds a marker picture: it must give a picture, a picture
// that failed to decode and brought the marker back, or an error; never a crash or a hang.
void expectCleanOutcome(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    const QImage marker(5, 3, QImage::Format_RGB32);
    ImageX image;
    image.setPicture(marker);
    if (!image.load(path)) {
        EXPECT_FALSE(image.errorString().isEmpty());
        EXPECT_EQ(image.picture().size(), marker.size());
        return;
    }
    const QSize announced(image.width(), image.height());
    image.resize(0, std::max(1, image.height() / 2));
    if (image.picture().size() == marker.size() && announced != marker.size()) {
        EXPECT_FALSE(image.errorString().isEmpty());
        return;
    }
    EXPECT_EQ(image.picture().size(), QSize(image.width(), image.height()));
    EXPECT_EQ(image.picture().format(), QImage::Format_RGB32);
}

class ImageXTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name.toStdString();
        return file.fileName();
    }

    QString copy(const QString& name, const char* seedName)
    {
        QFile file(seed(seedName));
        return write(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ImageXTest, EveryFormatAndVariantLoadsWithItsSizeAndPixelsAndDecodesAtTheSizeAskedFor)
{
    const QFileInfoList seeds = QDir(QStringLiteral(MORVELIN_TEST_DATA "/fuzz-corpus")).entryInfoList(QDir::Files);
    QStringList extensions;
    for (const QFileInfo& info : seeds) {
        SCOPED_TRACE(info.fileName().toStdString());
        extensions.append(info.suffix());
        const bool lossy = QStringList{"jpg", "gif"}.contains(info.suffix()) || info.fileName().contains("palette");
        ImageX image;
        ASSERT_TRUE(image.load(info.filePath())) << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(24, 16));
        EXPECT_EQ(image.picture().format(), QImage::Format_RGB32);
        const QImage expected = info.fileName().contains("grey")
            ? pattern(24, 16).convertToFormat(QImage::Format_Grayscale8) : pattern(24, 16);
        EXPECT_LE(meanDifference(image.picture(), expected), lossy ? 6.0 : 0.5);
        image.resize(0, 8);
        const QImage half = expected.scaled(12, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LE(meanDifference(image.picture(), half), lossy ? 10.0 : 4.0);
    }
    extensions.removeDuplicates();
    EXPECT_EQ(extensions.size(), 9) << extensions.join(' ').toStdString();

    // A JPEG asked for at less than half its size is decoded small, then brought to the exact size.
    ImageX big;
    ASSERT_TRUE(big.load(write("big.jpg", encoded(pattern(2000, 1500), "jpeg"))));
    big.resize(0, 600);
    EXPECT_LE(meanDifference(big.picture(), pattern(800, 600)), 6.0);
}

TEST_F(ImageXTest, OrientationStoredInTheFileTurnsThePicture)
{
    const QImage original = pattern(64, 48);
    QFile file(m_dir.filePath("turned.tif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QImageWriter writer(&file, "tiff");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(original));
    file.close();

    ImageX image;
    ASSERT_TRUE(image.load(file.fileName()));
    EXPECT_EQ(QSize(image.width(), image.height()), QSize(48, 64));
    image.resize(0, 32);
    const QImage expected =
        original.transformed(QTransform().rotate(90)).scaled(24, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LE(meanDifference(image.picture(), expected), 4.0);
}

TEST_F(ImageXTest, TheEndOfTheNameChoosesTheDecoderAndAFailedLoadKeepsThePreviousImage)
{
    for (const QString& path : {copy("upper.JPG", "jpg.jpg"), copy("long.jpeg", "jpg.jpg"), copy("long.TIFF", "tif.tif"),
                                copy("mixed.J2k", "j2k.j2k")}) {
        EXPECT_TRUE(ImageX().load(path)) << path.toStdString();
    }
    QDir(m_dir.path()).mkdir("folder.png");
    const std::array<std::pair<QString, QString>, 6> failures{{
        {m_dir.filePath("absent.png"), "no such file"},
        {m_dir.filePath("folder.png"), "is a folder, not an image"},
        {write("empty.png", QByteArray()), "empty file"},
        {copy("notes.txt", "png.png"), "not an image type this program reads (.txt)"},
        {copy("photo.jpg.txt", "jpg.jpg"), "not an image type this program reads (.txt)"},
        {write("garbage.jpg", "this is no picture"), "not a readable image"},
    }};
    ImageX image;
    ASSERT_TRUE(image.load(seed("bmp.bmp")));
    const QImage before = image.picture();
    for (const auto& [path, reason] : failures) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(image.load(path));
        EXPECT_TRUE(image.errorString().startsWith(reason)) << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(24, 16));
        EXPECT_EQ(image.picture(), before);
    }
}

TEST_F(ImageXTest, PixelsThatFailToDecodeBringThePreviousImageBack)
{
    // Valid headers, broken bodies: the failure only shows once the pixels are decoded.
    QByteArray png = encoded(pattern(64, 48), "png");
    for (int i = int(png.indexOf("IDAT")) + 4; i < png.size() - 12; ++i) {
        png[i] = char(0xa5);
    }
    QFile pcx(seed("pcx.pcx"));
    ASSERT_TRUE(pcx.open(QIODevice::ReadOnly));
    ImageX image;
    image.setPicture(QImage(7, 5, QImage::Format_RGB32));
    for (const QString& path : {write("broken.png", png), write("short.pcx", pcx.read(200))}) {
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(image.load(path)) << image.errorString().toStdString();
        EXPECT_GT(image.width(), 7);
        image.resize(32, 0);
        EXPECT_EQ(image.picture().size(), QSize(7, 5));
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(7, 5));
        EXPECT_TRUE(image.errorString().startsWith("not a readable image")) << image.errorString().toStdString();
    }

    // A second load before the first is decoded falls back to the last decoded picture only.
    ImageX twice;
    ASSERT_TRUE(twice.load(seed("png.png")));
    ASSERT_TRUE(twice.load(m_dir.filePath("broken.png")));
    EXPECT_TRUE(twice.picture().isNull()); // decoding happens here
    EXPECT_TRUE(twice.isNull());
    EXPECT_EQ(QSize(twice.width(), twice.height()), QSize(0, 0));
}

TEST_F(ImageXTest, PicturesAboveOneHundredMegapixelsAreRefusedFromTheHeader)
{
    // Small files of every format whose headers claim 12000 x 10000 pixels.
    const QFileInfoList claims = QDir(QStringLiteral(MORVELIN_TEST_DATA)).entryInfoList({"claims-120-megapixels.*"});
    EXPECT_EQ(claims.size(), 8);
    const QImage small = pattern(16, 12);
    ImageX image;
    image.setPicture(small);
    for (const QFileInfo& claim : claims) {
        SCOPED_TRACE(claim.fileName().toStdString());
        if (claim.suffix() == QLatin1String("jpg")) {
            continue; // a JPEG is decoded straight at the size asked for
        }
        EXPECT_FALSE(image.load(claim.filePath()));
        EXPECT_EQ(image.errorString(), QStringLiteral("picture too large (120 megapixels)"));
        EXPECT_EQ(image.picture(), small);
    }
    image.resize(0, 1'000'000);
    EXPECT_EQ(image.height(), 12);
    EXPECT_TRUE(image.errorString().startsWith("picture too large"));
}

TEST_F(ImageXTest, SaveWritesAJpegThatQtReadsBackAndNothingWithoutAPicture)
{
    ImageX image;
    ASSERT_TRUE(image.load(seed("tga.tga")));
    image.resize(0, 12);
    const QString saved = m_dir.filePath("scan.jpg");
    ASSERT_TRUE(image.save(saved)) << image.errorString().toStdString();
    EXPECT_EQ(QImageReader::imageFormat(saved), QByteArray("jpeg"));
    EXPECT_LE(meanDifference(QImage(saved), image.picture()), 4.0);

    EXPECT_FALSE(ImageX().save(m_dir.filePath("nothing.jpg")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("nothing.jpg")));
    EXPECT_FALSE(image.save(m_dir.filePath("no-such-folder/scan.jpg")));
}

TEST_F(ImageXTest, SeparateInstancesDecodeOnSeveralThreadsAlike)
{
    const std::array<QString, 6> paths{seed("pcx.pcx"), seed("tga.tga"), seed("jp2.jp2"),
                                       seed("j2k.j2k"), seed("jpg.jpg"), seed("tif.tif")};
    std::array<int, 4> mismatches{};
    std::vector<std::thread> threads;
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (size_t i = 0; i < 10 * paths.size(); ++i) {
                ImageX image;
                mismatches[t] += !image.load(paths[i % paths.size()]) || meanDifference(image.picture(), pattern(24, 16)) > 6.0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, (std::array<int, 4>{}));
}

// The seeds, every file that once broke the loader (kept in tests/data) and truncated copies of them all.
TEST_F(ImageXTest, BrokenAndTruncatedFilesLoadCleanly)
{
    const QFileInfoList breakers = QDir(QStringLiteral(MORVELIN_TEST_DATA))
        .entryInfoList({"*.bmp", "*.tif", "*.gif", "*.jpg", "*.png", "*.pcx", "*.tga", "*.jp2", "*.j2k"}, QDir::Files);
    const QFileInfoList seeds = QDir(QStringLiteral(MORVELIN_TEST_DATA "/fuzz-corpus")).entryInfoList(QDir::Files);
    for (const QFileInfo& info : breakers + seeds) {
        expectCleanOutcome(info.filePath());
        QFile file(info.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << info.filePath().toStdString();
        const QByteArray bytes = file.readAll();
        const qsizetype size = bytes.size();
        for (const qsizetype cut : {qsizetype(1), qsizetype(8), qsizetype(18), qsizetype(54), size / 4, size / 2,
                                    size * 3 / 4, size - 1}) {
            if (cut > 0 && cut < size) {
                expectCleanOutcome(write(QStringLiteral("cut%1-").arg(cut) + info.fileName(), bytes.left(cut)));
            }
        }
    }
}
