#include "ImageXTestSamples.h"

#include "search/MagickImageFileReader.h"

#include <Magick++.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <cstdlib>

namespace morvelin {

namespace {

constexpr double lossless = 0.5;
constexpr double lossy = 6.0;

QByteArray qtEncode(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

Magick::Image toMagick(const QImage& image)
{
    MagickImageFileReader::initializeMagick();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Magick::Image magick(size_t(argb.width()), size_t(argb.height()), "BGRA", Magick::CharPixel,
                         argb.constBits());
    magick.matte(false);
    return magick;
}

QByteArray magickEncode(Magick::Image image, const std::string& coder)
{
    image.magick(coder);
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

QByteArray magickEncode(const QImage& image, const std::string& coder)
{
    return magickEncode(toMagick(image), coder);
}

} // namespace

QImage ImageXTestSamples::pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool block = x < width / 4 && y < height / 4;
            image.setPixel(x, y, block ? qRgb(250, 250, 240)
                                       : qRgb(x * 255 / width, y * 255 / height, 60 + (x + y) % 8));
        }
    }
    return image;
}

QStringList ImageXTestSamples::nineExtensions()
{
    return {"bmp", "tif", "gif", "jpg", "png", "pcx", "tga", "jp2", "j2k"};
}

QByteArray ImageXTestSamples::encode(const QImage& image, const QString& extension)
{
    if (extension == QLatin1String("bmp")) {
        return qtEncode(image, "bmp");
    }
    if (extension == QLatin1String("tif")) {
        return qtEncode(image, "tiff");
    }
    if (extension == QLatin1String("jpg")) {
        return qtEncode(image, "jpeg", 92);
    }
    if (extension == QLatin1String("png")) {
        return qtEncode(image, "png");
    }
    return magickEncode(image, extension.toUpper().toStdString());
}

QList<ImageXTestSamples::Sample> ImageXTestSamples::samples(const QImage& image, bool variants)
{
    QList<Sample> list;
    for (const QString& extension : nineExtensions()) {
        const bool exact = extension != QLatin1String("jpg") && extension != QLatin1String("gif");
        list.append({extension, extension, encode(image, extension), image, exact ? lossless : lossy});
    }
    if (!variants) {
        return list;
    }
    Magick::Image rle = toMagick(image);
    rle.compressType(Magick::RLECompression);
    list.append({"tga-rle", "tga", magickEncode(rle, "TGA"), image, lossless});
    // The V4/V5 headers Windows writes for colour-managed bitmaps, which some readers reject.
    Magick::Image v5 = toMagick(image);
    v5.defineValue("bmp", "format", "bmp4");
    list.append({"bmp-v5", "bmp", magickEncode(v5, "BMP"), image, lossless});
    Magick::Image cmyk = toMagick(image);
    cmyk.quality(95);
    cmyk.colorSpace(Magick::CMYKColorspace);
    list.append({"jpg-cmyk", "jpg", magickEncode(cmyk, "JPEG"), image, lossy});
    list.append({"png-16bit", "png", qtEncode(image.convertToFormat(QImage::Format_RGBX64), "png"), image,
                 lossless});
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    list.append({"tif-grey", "tif", qtEncode(grey, "tiff"), grey, lossless});
    Magick::Image palette = toMagick(image);
    palette.quantizeDither(false);
    palette.quantizeColors(256);
    palette.quantize();
    list.append({"pcx-palette", "pcx", magickEncode(palette, "PCX"), image, lossy});
    return list;
}

QString ImageXTestSamples::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return QString();
    }
    return path;
}

double ImageXTestSamples::meanDifference(const QImage& a, const QImage& b)
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

} // namespace morvelin
