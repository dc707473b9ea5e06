#include "ImageXTestSamples.h"

#include "search/FaceFilter.h"
#include "search/ImageX.h"

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

class ImageXTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = ImageXTestSamples::writeFile(m_dir.filePath(name), bytes);
        EXPECT_FALSE(path.isEmpty()) << name.toStdString();
        return path;
    }

    QString writeSample(const QString& name, const QImage& image, const QString& extension)
    {
        return write(name + '.' + extension, ImageXTestSamples::encode(image, extension));
    }

    QTemporaryDir m_dir;
};

// Writes `value` into `count` bytes at `at`, least significant byte first unless `bigEndian`.
void put(QByteArray& bytes, int at, quint32 value, int count, bool bigEndian = false)
{
    for (int i = 0; i < count; ++i) {
        bytes[at + i] = char((value >> (8 * (bigEndian ? count - 1 - i : i))) & 0xff);
    }
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// Real files whose headers are changed to claim `width` x `height`; the pixel data stays tiny.
QByteArray claimSize(QByteArray bytes, const QString& extension, quint32 width, quint32 height)
{
    const auto pair = [&bytes](int at, quint32 first, quint32 second, int count, bool bigEndian) {
        put(bytes, at, first, count, bigEndian);
        put(bytes, at + count, second, count, bigEndian);
    };
    if (extension == QLatin1String("bmp")) {
        pair(18, width, height, 4, false);
    } else if (extension == QLatin1String("png")) {
        pair(16, width, height, 4, true);
        put(bytes, 29, crc32(bytes.mid(12, 17)), 4, true);
    } else if (extension == QLatin1String("jpg")) {
        pair(int(bytes.indexOf(QByteArray("\xff\xc0", 2))) + 5, height, width, 2, true);
    } else if (extension == QLatin1String("gif")) {
        pair(6, width, height, 2, false);
        pair(int(bytes.indexOf(',')) + 5, width, height, 2, false);
    } else if (extension == QLatin1String("tga")) {
        pair(12, width, height, 2, false);
    } else if (extension == QLatin1String("pcx")) {
        pair(8, width - 1, height - 1, 2, false);
    } else if (extension == QLatin1String("jp2") || extension == QLatin1String("j2k")) {
        if (const int ihdr = int(bytes.indexOf("ihdr")); ihdr >= 0) {
            pair(ihdr + 4, height, width, 4, true);
        }
        const int siz = int(bytes.indexOf(QByteArray("\xff\x51", 2)));
        pair(siz + 6, width, height, 4, true);
        pair(siz + 22, width, height, 4, true);
    }
    return bytes;
}

} // namespace

TEST_F(ImageXTest, EveryFormatLoadsWithItsSizeAndPixels)
{
    const QImage original = ImageXTestSamples::pattern(64, 48);
    for (const ImageXTestSamples::Sample& sample : ImageXTestSamples::samples(original, true)) {
        SCOPED_TRACE(sample.name.toStdString());
        ImageX image;
        ASSERT_TRUE(image.load(write(sample.name + '.' + sample.extension, sample.bytes)))
            << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(64, 48));
        EXPECT_EQ(image.picture().format(), QImage::Format_RGB32);
        EXPECT_LE(ImageXTestSamples::meanDifference(image.picture(), sample.expected), sample.tolerance);
    }
}

TEST_F(ImageXTest, ExtensionsAreMatchedOnTheEndOfTheNameInAnyCase)
{
    const QImage original = ImageXTestSamples::pattern(16, 12);
    ImageX image;
    EXPECT_TRUE(image.load(write("upper.JPG", ImageXTestSamples::encode(original, "jpg"))));
    EXPECT_TRUE(image.load(write("long.jpeg", ImageXTestSamples::encode(original, "jpg"))));
    EXPECT_TRUE(image.load(write("long.TIFF", ImageXTestSamples::encode(original, "tif"))));
    EXPECT_TRUE(image.load(write("mixed.J2k", ImageXTestSamples::encode(original, "j2k"))));
    EXPECT_FALSE(image.load(write("photo.jpg.txt", ImageXTestSamples::encode(original, "jpg"))));
    EXPECT_EQ(image.errorString(), QStringLiteral("not an image type this program reads (.txt)"));
}

TEST_F(ImageXTest, DecodingHappensAtTheSizeAskedForInEveryFormat)
{
    const QImage original = ImageXTestSamples::pattern(64, 48);
    const QImage expected = original.scaled(32, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const ImageXTestSamples::Sample& sample : ImageXTestSamples::samples(original, false)) {
        SCOPED_TRACE(sample.name.toStdString());
        ImageX image;
        ASSERT_TRUE(image.load(write(sample.name + '.' + sample.extension, sample.bytes)));
        image.resize(0, 24);
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(32, 24));
        EXPECT_LE(ImageXTestSamples::meanDifference(image.picture(), expected), sample.tolerance + 4.0);
    }

    // A JPEG asked for at less than half its size is decoded small, then brought to the exact size.
    ImageX big;
    ASSERT_TRUE(big.load(writeSample("big", ImageXTestSamples::pattern(2000, 1500), "jpg")));
    big.resize(0, 600);
    EXPECT_EQ(big.picture().size(), QSize(800, 600));
    EXPECT_LE(ImageXTestSamples::meanDifference(big.picture(), ImageXTestSamples::pattern(800, 600)), 6.0);
}

TEST_F(ImageXTest, ResizeWithOneSideZeroKeepsTheProportionBeforeAndAfterDecoding)
{
    ImageX decoded;
    decoded.setPicture(QImage(3000, 2000, QImage::Format_RGB32));
    decoded.resize(0, 1200);
    EXPECT_EQ(QSize(decoded.width(), decoded.height()), QSize(1800, 1200));
    EXPECT_EQ(decoded.picture().size(), QSize(1800, 1200));
    decoded.setPicture(QImage(3000, 2000, QImage::Format_RGB32));
    decoded.resize(1600, 0);
    decoded.resize(0, 0);
    decoded.resize(-5, 10);
    EXPECT_EQ(QSize(decoded.width(), decoded.height()), QSize(1600, 1067));
    EXPECT_EQ(decoded.picture().size(), QSize(1600, 1067));

    ImageX lazy;
    ASSERT_TRUE(lazy.load(writeSample("wide", ImageXTestSamples::pattern(300, 200), "png")));
    lazy.resize(0, 120);
    EXPECT_EQ(QSize(lazy.width(), lazy.height()), QSize(180, 120));
    EXPECT_EQ(lazy.picture().size(), QSize(180, 120));
    ASSERT_TRUE(lazy.load(m_dir.filePath("wide.png")));
    lazy.resize(160, 0);
    EXPECT_EQ(lazy.picture().size(), QSize(160, 107));
}

TEST_F(ImageXTest, OrientationStoredInTheFileTurnsThePicture)
{
    const QImage original = ImageXTestSamples::pattern(64, 48);
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
    EXPECT_LE(ImageXTestSamples::meanDifference(image.picture(), expected), 4.0);
}

TEST_F(ImageXTest, AFailedLoadKeepsThePreviousImageAndSaysWhy)
{
    const QImage original = ImageXTestSamples::pattern(40, 30);
    const QByteArray png = ImageXTestSamples::encode(original, "png");
    QDir(m_dir.path()).mkdir("folder.png");
    const std::array<std::pair<QString, QString>, 5> failures{{
        {m_dir.filePath("absent.png"), "no such file"},
        {m_dir.filePath("folder.png"), "is a folder, not an image"},
        {write("empty.png", QByteArray()), "empty file"},
        {write("notes.txt", png), "not an image type this program reads (.txt)"},
        {write("garbage.jpg", "this is no picture"), "not a readable image"},
    }};

    ImageX image;
    ASSERT_TRUE(image.load(write("good.bmp", ImageXTestSamples::encode(original, "bmp"))));
    const QImage before = image.picture();
    for (const auto& [path, reason] : failures) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(image.load(path));
        EXPECT_TRUE(image.errorString().startsWith(reason)) << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(40, 30));
        EXPECT_EQ(image.picture(), before);
    }
}

TEST_F(ImageXTest, PixelsThatFailToDecodeBringThePreviousImageBack)
{
    // Valid headers, broken bodies: the failure only shows once the pixels are decoded.
    const QImage original = ImageXTestSamples::pattern(64, 48);
    QByteArray png = ImageXTestSamples::encode(original, "png");
    for (int i = int(png.indexOf("IDAT")) + 4; i < png.size() - 12; ++i) {
        png[i] = char(0xa5);
    }
    const QByteArray pcx = ImageXTestSamples::encode(original, "pcx").left(200);

    ImageX image;
    image.setPicture(QImage(7, 5, QImage::Format_RGB32));
    for (const QString& path : {write("broken.png", png), write("short.pcx", pcx)}) {
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(image.load(path)) << image.errorString().toStdString();
        EXPECT_EQ(image.width(), 64);
        image.resize(32, 0);
        EXPECT_EQ(image.picture().size(), QSize(7, 5));
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(7, 5));
        EXPECT_TRUE(image.errorString().startsWith("not a readable image")) << image.errorString().toStdString();
    }

    // A second load before the first is decoded falls back to the last decoded picture only.
    ImageX twice;
    ASSERT_TRUE(twice.load(writeSample("fine", original, "png")));
    ASSERT_TRUE(twice.load(m_dir.filePath("broken.png")));
    EXPECT_TRUE(twice.picture().isNull());
    EXPECT_TRUE(twice.isNull());
    EXPECT_EQ(QSize(twice.width(), twice.height()), QSize(0, 0));
}

TEST_F(ImageXTest, PicturesAboveOneHundredMegapixelsAreRefusedFromTheHeader)
{
    // JPEG is not among them: it is decoded straight at the size asked for.
    const QImage small = ImageXTestSamples::pattern(16, 12);
    for (const QString extension : {"bmp", "png", "gif", "tga", "pcx", "jp2", "j2k"}) {
        SCOPED_TRACE(extension.toStdString());
        const QByteArray bytes = claimSize(ImageXTestSamples::encode(small, extension), extension, 12000, 10000);
        ImageX image;
        image.setPicture(small);
        EXPECT_FALSE(image.load(write("huge." + extension, bytes)));
        EXPECT_EQ(image.errorString(), QStringLiteral("picture too large (120 megapixels)"));
        EXPECT_EQ(image.picture(), small.convertToFormat(QImage::Format_RGB32));
    }

    ImageX image;
    image.setPicture(small);
    image.resize(0, 1'000'000);
    EXPECT_EQ(image.height(), 12);
    EXPECT_TRUE(image.errorString().startsWith("picture too large"));
}

TEST_F(ImageXTest, SaveWritesAJpegThatQtReadsBack)
{
    ImageX image;
    ASSERT_TRUE(image.load(writeSample("photo", ImageXTestSamples::pattern(320, 240), "tga")));
    image.resize(0, 120);
    const QString saved = m_dir.filePath("scan.jpg");
    ASSERT_TRUE(image.save(saved)) << image.errorString().toStdString();
    EXPECT_EQ(QImageReader::imageFormat(saved), QByteArray("jpeg"));
    const QImage back(saved);
    EXPECT_EQ(back.size(), QSize(160, 120));
    EXPECT_LE(ImageXTestSamples::meanDifference(back, image.picture()), 2.0);

    EXPECT_FALSE(ImageX().save(m_dir.filePath("nothing.jpg")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("nothing.jpg")));
    EXPECT_FALSE(image.save(m_dir.filePath("no-such-folder/scan.jpg")));
}

TEST_F(ImageXTest, FiltersChangeThePictureInPlace)
{
    const QImage original = ImageXTestSamples::pattern(64, 48);
    QImage filtered = original;
    FaceFilter::apply(filtered);
    QImage both = filtered;
    FaceFilter::applySecond(both);

    ImageX image;
    ASSERT_TRUE(image.load(writeSample("face", original, "png")));
    image.filter();
    EXPECT_EQ(image.picture(), filtered);
    image.secondFilter();
    EXPECT_EQ(image.picture(), both);
    ImageX empty;
    empty.filter();
    EXPECT_TRUE(empty.isNull());
}

TEST_F(ImageXTest, RealPhotosDecodeAsQtShowsThem)
{
    const QDir photos(QStringLiteral(MORVELIN_TEST_PHOTOS));
    QStringList paths;
    for (const QString& name : photos.entryList({"*.jpg", "*.png"}, QDir::Files)) {
        paths.append(photos.filePath(name));
    }
    for (const QString& name : QDir(photos.filePath("faces")).entryList({"*.jpg"}, QDir::Files)) {
        paths.append(photos.filePath("faces/" + name));
    }
    if (paths.isEmpty()) {
        GTEST_SKIP() << "no test photos in " MORVELIN_TEST_PHOTOS " (scripts/setup.sh fetches them)";
    }
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage expected = reader.read().convertToFormat(QImage::Format_RGB32);
        ImageX image;
        ASSERT_TRUE(image.load(path)) << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), expected.size());
        EXPECT_EQ(image.picture(), expected);
    }
}

TEST_F(ImageXTest, SeparateInstancesDecodeOnSeveralThreadsAlike)
{
    QStringList paths;
    QList<QImage> expected;
    for (const QString extension : {"pcx", "tga", "jp2", "j2k", "jpg", "tif"}) {
        paths.append(writeSample("threads", ImageXTestSamples::pattern(96, 64), extension));
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
