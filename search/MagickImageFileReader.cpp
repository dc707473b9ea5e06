#include "search/MagickImageFileReader.h"

#include <Magick++.h>

#include <mutex>

namespace morvelin {

namespace {

// "Magick: improper image header `' @ error/pcx.c/ReadPCXImage/329" -> "improper image header"
QString shortReason(const std::exception& error)
{
    QString text = QString::fromLocal8Bit(error.what()).simplified();
    const int colon = text.indexOf(QLatin1String(": "));
    if (colon >= 0) {
        text = text.mid(colon + 2);
    }
    for (const QLatin1String end : {QLatin1String(" `"), QLatin1String(" @ ")}) {
        const int at = text.indexOf(end);
        if (at > 0) {
            text.truncate(at);
        }
    }
    return text.trimmed();
}

Magick::Image imageFor(const std::string& coder)
{
    Magick::Image image;
    image.quiet(true); // warnings (e.g. a slightly short file) must not throw
    image.magick(coder);
    image.subRange(1); // the first picture of a file with several
    return image;
}

} // namespace

MagickImageFileReader::MagickImageFileReader(std::string coder)
    : m_coder(std::move(coder))
{
    initializeMagick();
}

void MagickImageFileReader::initializeMagick()
{
    // InitializeMagick is the one call that is not thread-safe; reading separate Image objects on
    // several threads is. Scans already run one photo per core, so ImageMagick's own OpenMP threads
    // would only compete with them.
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        Magick::ResourceLimits::thread(1);
    });
}

QSize MagickImageFileReader::readHeader()
{
    try {
        const Magick::Blob blob(bytes().constData(), size_t(bytes().size()));
        Magick::Image image = imageFor(m_coder);
        image.ping(blob);
        if (image.columns() > size_t(maxPixels) || image.rows() > size_t(maxPixels)) {
            // Still reported as too large, without overflowing the int of a QSize.
            return QSize(int(maxPixels), int(maxPixels));
        }
        return QSize(int(image.columns()), int(image.rows()));
    } catch (const std::exception& error) {
        return fail(shortReason(error));
    }
}

QImage MagickImageFileReader::decode(QSize)
{
    try {
        const Magick::Blob blob(bytes().constData(), size_t(bytes().size()));
        Magick::Image image = imageFor(m_coder);
        image.read(blob);
        const QSize size(int(image.columns()), int(image.rows()));
        if (size != this->size()) {
            // The header checked is the only one trusted.
            fail(QStringLiteral("the pixels disagree with the header"));
            return QImage();
        }
        const Magick::ColorspaceType space = image.colorSpace();
        if (space != Magick::sRGBColorspace && space != Magick::RGBColorspace
            && space != Magick::GRAYColorspace) {
            image.colorSpace(Magick::sRGBColorspace);
        }
        // ARGB32 holds one 32-bit word per pixel, so lines have no padding; its byte order follows
        // the machine's.
        const char* order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRA" : "ARGB";
        QImage pixels(size, QImage::Format_ARGB32);
        if (pixels.isNull()) {
            fail(QStringLiteral("out of memory"));
            return QImage();
        }
        image.write(0, 0, size_t(size.width()), size_t(size.height()), order, Magick::CharPixel,
                    pixels.bits());
        return pixels;
    } catch (const std::exception& error) {
        fail(shortReason(error));
        return QImage();
    }
}

} // namespace morvelin
