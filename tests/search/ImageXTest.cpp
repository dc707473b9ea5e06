// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ImageX.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>
#include <libheif/heif.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <thread>

#include <malloc.h>

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

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray word(4, '\0');
    qToLittleEndian(value, word.data());
    return word.left(bytes);
}

// EXIF as a JPEG carries it: "Exif\0\0" and a TIFF structure whose one tag is the orientation.
QByteArray exifWithOrientation(int value)
{
    return QByteArray("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24) + char(value) + QByteArray(7, '\0');
}

QByteArray jpegWithExif(const QImage& image, const QByteArray& exif)
{
    const int length = int(exif.size()) + 2;
    return encoded(image, "jpeg").insert(2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif);
}

// A WebP of the extended layout, its EXIF chunk after the picture as libwebp writes it: the TIFF
// structure without JPEG's "Exif\0\0".
QByteArray webpWithExif(const QImage& image, const QByteArray& exif)
{
    const QByteArray tiff = exif.mid(6);
    QByteArray body = "WEBP" + QByteArray("VP8X\x0A\0\0\0\x08\0\0\0", 12) + littleEndian(image.width() - 1, 3)
        + littleEndian(image.height() - 1, 3) + encoded(image, "webp").mid(12) + "EXIF" + littleEndian(tiff.size(), 4) + tiff;
    if (tiff.size() % 2) {
        body += '\0';
    }
    return "RIFF" + littleEndian(body.size(), 4) + body;
}

// HEIF as libheif's own encoder writes it: ImageMagick's writer keeps neither a turn in the HEIF
// boxes (irot, imir) nor the EXIF metadata.
QByteArray heif(const QImage& picture, heif_compression_format codec, heif_orientation turn = heif_orientation_normal,
                const QByteArray& exif = QByteArray())
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, codec, &encoder);
    heif_encoder_set_lossy_quality(encoder, 95);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_image* image = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(plane + qsizetype(y) * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = turn;
    heif_image_handle* handle = nullptr;
    heif_context_encode_image(context, image, encoder, options, &handle);
    if (!exif.isEmpty()) {
        heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size()));
    }
    QByteArray bytes;
    heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* out) {
                           static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    heif_context_write(context, &writer, &bytes);
    heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

// Every size box of the HEIF file (the picture's and its tiles') says `size`.
QByteArray heifClaiming(QSize size)
{
    QByteArray bytes = heif(pattern(64, 48), heif_compression_HEVC);
    for (qsizetype at = bytes.indexOf("ispe"); at >= 0; at = bytes.indexOf("ispe", at + 4)) {
        qToBigEndian(quint32(size.width()), bytes.data() + at + 8);
        qToBigEndian(quint32(size.height()), bytes.data() + at + 12);
    }
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

// Set in a copy of this test program that decodes one photo and reports its peak memory.
const char* const decodePeakVariable = "MORVELIN_DECODE_PEAK_OF";

// The process's resident memory now and at its peak, from the kernel's own count. getrusage's
// ru_maxrss would not do in a child: it starts from the size of the parent that forked it.
struct Resident {
    std::int64_t now = 0;
    std::int64_t peak = 0;
};

Resident resident()
{
    Resident bytes;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return bytes;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        const std::int64_t kilobytes = line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
        if (line.startsWith("VmRSS:")) {
            bytes.now = kilobytes;
        } else if (line.startsWith("VmHWM:")) {
            bytes.peak = kilobytes;
        }
    }
    return bytes;
}

// A run-length TGA of 24 bits, one colour: ImageMagick's decoder on a file of a few hundred kilobytes.
QByteArray runLengthTga(int width, int height)
{
    QByteArray tga(18, '\0');
    tga[2] = 10;
    tga[12] = char(width & 0xFF);
    tga[13] = char(width >> 8);
    tga[14] = char(height & 0xFF);
    tga[15] = char(height >> 8);
    tga[16] = 24;
    return tga + QByteArray("\xFF\x40\x60\x80", 4).repeated((qsizetype(width) * height + 127) / 128);
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

// Each of EXIF's eight orientations as Qt's JPEG reader shows it, and the same EXIF in a WebP and
// in HEIF files: alone, as converters write it, or beside HEIF's own turn, as phones write it.
TEST_F(ImageXTest, EveryTypeTurnsAsItsExifOrientationSaysAndHeifTurnsOnce)
{
    const QImage original = pattern(24, 16);
    for (int value = 1; value <= 8; ++value) {
        SCOPED_TRACE(value);
        const QByteArray exif = exifWithOrientation(value);
        QBuffer jpeg;
        jpeg.setData(jpegWithExif(original, exif));
        QImageReader shown(&jpeg, "jpeg");
        shown.setAutoTransform(true);
        const QImage expected = shown.read();
        ASSERT_FALSE(expected.isNull());
        QStringList files{write(QStringLiteral("%1.jpg").arg(value), jpeg.data()),
                          write(QStringLiteral("%1.webp").arg(value), webpWithExif(original, exif))};
        if (value == 6) {
            files << write("exif.heic", heif(original, heif_compression_HEVC, heif_orientation_normal, exif))
                  << write("phone.heic", heif(original, heif_compression_HEVC, heif_orientation_rotate_90_cw, exif))
                  << write("phone.avif", heif(original, heif_compression_AV1, heif_orientation_rotate_90_cw, exif));
        }
        for (const QString& path : files) {
            SCOPED_TRACE(path.toStdString());
            ImageX image;
            ASSERT_TRUE(image.load(path)) << image.errorString().toStdString();
            EXPECT_EQ(QSize(image.width(), image.height()), expected.size()) << "the size is turned before decoding";
            EXPECT_LE(meanDifference(image.picture(), expected), path.endsWith(".jpg") ? 0.0 : 8.0);
        }
    }
}

TEST_F(ImageXTest, WebpAndHeifAreReadByTheirContentWhateverTheirName)
{
    const QImage original = pattern(24, 16);
    const QByteArray heic = heif(original, heif_compression_HEVC);
    QFile png(seed("png.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    for (const QString& path : {write("a.webp", encoded(original, "webp")), write("b.heic", heic), write("c.HEIF", heic),
                                write("d.avif", heif(original, heif_compression_AV1)), write("heic.jpg", heic),
                                write("webp.png", encoded(original, "webp")), write("png.heic", png.readAll())}) {
        SCOPED_TRACE(path.toStdString());
        ImageX image;
        ASSERT_TRUE(image.load(path)) << image.errorString().toStdString();
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(24, 16));
        image.resize(0, 8);
        EXPECT_LE(meanDifference(image.picture(), original.scaled(12, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
                  10.0);
    }
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

    // The same claim in HEIF, and one beyond what libheif itself accepts: refused before any pixel.
    for (const auto& [claim, megapixels] : {std::pair{QSize(12000, 10000), 120}, std::pair{QSize(40000, 40000), 1600}}) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(image.load(write("claim.heic", heifClaiming(claim))));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(image.errorString(), QStringLiteral("picture too large (%1 megapixels)").arg(megapixels));
        EXPECT_EQ(image.picture(), small);
    }
}

TEST_F(ImageXTest, SeparateInstancesDecodeOnSeveralThreadsAlike)
{
    const std::array<QString, 8> paths{seed("pcx.pcx"), seed("tga.tga"), seed("jp2.jp2"), seed("j2k.j2k"),
                                       seed("jpg.jpg"), seed("tif.tif"),
                                       write("heic.heic", heif(pattern(24, 16), heif_compression_HEVC)),
                                       write("avif.avif", heif(pattern(24, 16), heif_compression_AV1))};
    std::array<int, 4> mismatches{};
    std::vector<std::thread> threads;
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (size_t i = 0; i < 10 * paths.size(); ++i) {
                ImageX image;
                mismatches[t] += !image.load(paths[i % paths.size()]) || meanDifference(image.picture(), pattern(24, 16)) > 8.0;
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

// What a scan reserves for decoding a photo at its scan's size is what decoding it takes at most: the
// peak of a process of its own for every decoder path, within a tenth.
TEST_F(ImageXTest, DecodingMemoryIsWithinATenthOfTheMeasuredPeak)
{
    const auto filled = [](QImage::Format format) {
        QImage image(4000, 3000, format);
        if (format == QImage::Format_Indexed8) {
            image.setColorTable({qRgb(20, 40, 60), qRgb(200, 180, 160)});
        }
        image.fill(1);
        return image;
    };
    const struct {
        const char* name;
        QImage::Format format;
    } pngs[] = {
        {"rgb.png", QImage::Format_RGB32},         {"alpha.png", QImage::Format_ARGB32},
        {"grey.png", QImage::Format_Grayscale8},   {"palette.png", QImage::Format_Indexed8},
        {"deep-rgb.png", QImage::Format_RGBX64},   {"deep-alpha.png", QImage::Format_RGBA64},
        {"deep-grey.png", QImage::Format_Grayscale16},
    };
    QStringList photos;
    for (const auto& png : pngs) {
        photos.append(write(QLatin1String(png.name), encoded(filled(png.format), "png")));
    }
    for (const char* format : {"bmp", "tiff", "webp"}) {
        photos.append(write(QStringLiteral("photo.") + QLatin1String(format), encoded(filled(QImage::Format_RGB32), format)));
    }
    photos.append(write(QStringLiteral("deep.tiff"), encoded(filled(QImage::Format_RGBA64), "tiff")));
    photos.append(write(QStringLiteral("runs.tga"), runLengthTga(4000, 3000)));
    QProcess convert;
    convert.start(QStringLiteral("convert"), {photos.first(), QStringLiteral("-interlace"), QStringLiteral("PNG"),
                                              QStringLiteral("PNG24:") + m_dir.filePath(QStringLiteral("interlaced.png"))});
    if (convert.waitForFinished(60000) && convert.exitCode() == 0) {
        photos.append(m_dir.filePath(QStringLiteral("interlaced.png")));
    }
    for (const QString& photo : photos) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(decodePeakVariable), photo);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ImageXDecodePeak.*")});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QStringList report = QString::fromLocal8Bit(child.readAllStandardOutput())
                                       .section(QStringLiteral("decode-peak "), 1)
                                       .split(QRegularExpression(QStringLiteral("\\s+")));
        const double peak = report.value(0).toDouble();
        const double estimate = report.value(1).toDouble();
        ASSERT_GT(peak, 0) << photo.toStdString();
        EXPECT_NEAR(estimate / peak, 1.0, 0.1)
            << photo.toStdString() << ": " << peak / 1e6 << " MB decoding, " << estimate / 1e6 << " MB reserved";
    }
}

// The child of the test above: decodes the photo at its scan's size.
TEST(ImageXDecodePeak, OfOnePhoto)
{
    const QByteArray path = qgetenv(decodePeakVariable);
    if (path.isEmpty()) {
        GTEST_SKIP() << "run by DecodingMemoryIsWithinATenthOfTheMeasuredPeak in a process of its own";
    }
    ImageX photo;
    ASSERT_TRUE(photo.load(QString::fromLocal8Bit(path)));
    photo.resize(1600, 0);
    const std::int64_t estimate = photo.decodingMemory();
    ::malloc_trim(0);
    const std::int64_t before = resident().now;
    ASSERT_FALSE(photo.picture().isNull());
    std::printf("decode-peak %lld %lld\n", static_cast<long long>(resident().peak - before),
                static_cast<long long>(estimate));
}
