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

QByteArray seed(const QString& name)
{
    QFile file(QStringLiteral(MORVELIN_TEST_DATA "/fuzz-corpus/seed-") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ImageXTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name.toStdString();
        return path;
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
        const bool grey = info.fileName().contains("grey");
        const bool lossy = QStringList{"jpg", "gif"}.contains(info.suffix()) || info.fileName().contains("palette");
        ImageX image;
        ASSERT_TRUE(image.load(info.filePath())) << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(24, 16));
        EXPECT_EQ(image.picture().format(), QImage::Format_RGB32);
        const QImage expected = grey ? pattern(24, 16).convertToFormat(QImage::Format_Grayscale8) : pattern(24, 16);
        EXPECT_LE(meanDifference(image.picture(), expected), lossy ? 6.0 : 0.5);

        ASSERT_TRUE(image.load(info.filePath()));
        image.resize(0, 8);
        EXPECT_EQ(image.picture().size(), QSize(12, 8));
        const QImage half = expected.scaled(12, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LE(meanDifference(image.picture(), half), lossy ? 10.0 : 4.0);
    }
    extensions.removeDuplicates();
    EXPECT_EQ(extensions.size(), 9) << extensions.join(' ').toStdString();

    // A JPEG asked for at less than half its size is decoded small, then brought to the exact size.
    ImageX big;
    ASSERT_TRUE(big.load(write("big.jpg", encoded(pattern(2000, 1500), "jpeg"))));
    big.resize(0, 600);
    EXPECT_EQ(big.picture().size(), QSize(800, 600));
    EXPECT_LE(meanDifference(big.picture(), pattern(800, 600)), 6.0);
}

TEST_F(ImageXTest, ExtensionsAreMatchedOnTheEndOfTheNameInAnyCase)
{
    ImageX image;
    EXPECT_TRUE(image.load(write("upper.JPG", seed("jpg.jpg"))));
    EXPECT_TRUE(image.load(write("long.jpeg", seed("jpg.jpg"))));
    EXPECT_TRUE(image.load(write("long.TIFF", seed("tif.tif"))));
    EXPECT_TRUE(image.load(write("mixed.J2k", seed("j2k.j2k"))));
    EXPECT_FALSE(image.load(write("photo.jpg.txt", seed("jpg.jpg"))));
    EXPECT_EQ(image.errorString(), QStringLiteral("not an image type this program reads (.txt)"));
}

TEST_F(ImageXTest, ResizeWithOneSideZeroKeepsTheProportion)
{
    ImageX decoded;
    decoded.setPicture(QImage(3000, 2000, QImage::Format_RGB32));
    decoded.resize(1600, 0);
    decoded.resize(0, 0);
    decoded.resize(-5, 10);
    EXPECT_EQ(QSize(decoded.width(), decoded.height()), QSize(1600, 1067));
    EXPECT_EQ(decoded.picture().size(), QSize(1600, 1067));
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

TEST_F(ImageXTest, AFailedLoadKeepsThePreviousImageAndSaysWhy)
{
    const QByteArray png = seed("png.png");
    QDir(m_dir.path()).mkdir("folder.png");
    const std::array<std::pair<QString, QString>, 8> failures{{
        {m_dir.filePath("absent.png"), "no such file"},
        {m_dir.filePath("folder.png"), "is a folder, not an image"},
        {write("empty.png", QByteArray()), "empty file"},
        {write("notes.txt", png), "not an image type this program reads (.txt)"},
        {write("garbage.jpg", "this is no picture"), "not a readable image"},
        // Mislabelled: the extension decides the decoder, and the content does not fit it.
        {write("png-inside.jpg", png), "not a readable image"},
        {write("png-inside.pcx", png), "not a readable image"},
        {write("png-inside.tga", png), "not a readable image"},
    }};

    ImageX image;
    ASSERT_TRUE(image.load(write("good.bmp", seed("bmp.bmp"))));
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
    ImageX image;
    image.setPicture(QImage(7, 5, QImage::Format_RGB32));
    for (const QString& path : {write("broken.png", png), write("short.pcx", seed("pcx.pcx").left(200))}) {
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
    ASSERT_TRUE(twice.load(write("fine.png", seed("png.png"))));
    ASSERT_TRUE(twice.load(m_dir.filePath("broken.png")));
    EXPECT_TRUE(twice.picture().isNull());
    EXPECT_TRUE(twice.isNull());
    EXPECT_EQ(QSize(twice.width(), twice.height()), QSize(0, 0));
}

TEST_F(ImageXTest, PicturesAboveOneHundredMegapixelsAreRefusedFromTheHeader)
{
    // Small files of every format whose headers claim 12000 x 10000 pixels.
    const QFileInfoList claims = QDir(QStringLiteral(MORVELIN_TEST_DATA)).entryInfoList({"claims-120-megapixels.*"});
    EXPECT_EQ(claims.size(), 8);
    const QImage small = pattern(16, 12);
    for (const QFileInfo& claim : claims) {
        SCOPED_TRACE(claim.fileName().toStdString());
        ImageX image;
        image.setPicture(small);
        EXPECT_FALSE(image.load(claim.filePath()));
        EXPECT_EQ(image.errorString(), QStringLiteral("picture too large (120 megapixels)"));
        EXPECT_EQ(image.picture(), small);
    }

    ImageX image;
    image.setPicture(small);
    image.resize(0, 1'000'000);
    EXPECT_EQ(image.height(), 12);
    EXPECT_TRUE(image.errorString().startsWith("picture too large"));
}

TEST_F(ImageXTest, SaveWritesAJpegThatQtReadsBackAndNothingWithoutAPicture)
{
    ImageX image;
    ASSERT_TRUE(image.load(write("photo.tga", seed("tga.tga"))));
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
    QStringList paths;
    QList<QImage> expected;
    for (const QString name : {"pcx.pcx", "tga.tga", "jp2.jp2", "j2k.j2k", "jpg.jpg", "tif.tif"}) {
        paths.append(QStringLiteral(MORVELIN_TEST_DATA "/fuzz-corpus/seed-") + name);
        ImageX image;
        ASSERT_TRUE(image.load(paths.last()));
        expected.append(image.picture());
    }
    std::array<int, 4> mismatches{};
    std::vector<std::thread> threads;
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 10 * paths.size(); ++i) {
                ImageX image;
                mismatches[t] += !image.load(paths[i % paths.size()]) || image.picture() != expected[i % paths.size()];
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, (std::array<int, 4>{}));
}
