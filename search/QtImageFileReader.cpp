#include "search/QtImageFileReader.h"

#include "search/ExifOrientation.h"
#include "search/JpegLayout.h"
#include "search/WebpLayout.h"

#include <QImageReader>

#include <algorithm>
#include <mutex>

namespace morvelin {

namespace {

// Enough for the largest picture accepted, even at 16 bits per channel; Qt's default of 128 MB
// would refuse ordinary 40-megapixel photos. The search's memory budget is the real bound.
constexpr int allocationLimitMb = 1024;
// libjpeg reduces by 1/2, 1/4 or 1/8 only: what it decodes has up to twice the wanted sides, and
// never less than an eighth of the picture's.
constexpr std::int64_t jpegReductionSlack = 4;
constexpr std::int64_t jpegLargestReduction = 8 * 8;
// Two bytes per coefficient, one coefficient per pixel and component at most.
constexpr std::int64_t bytesPerCoefficient = 2;
// What a format of unknown depth may decode to: 16 bits for each of four channels.
constexpr std::int64_t deepestPixelBytes = 8;

void raiseAllocationLimitOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(allocationLimitMb); });
}

void pinFormat(QImageReader& reader, const QByteArray& format)
{
    // The content already chose the format; no other decoder is tried on the file.
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // The orientation is applied by ImageFileReader, for every type alike.
    reader.setAutoTransform(false);
}

std::int64_t bytesPerPixel(QImage::Format format)
{
    if (format == QImage::Format_Invalid) {
        return deepestPixelBytes;
    }
    return std::max<std::int64_t>(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
}

} // namespace

QtImageFileReader::QtImageFileReader(QByteArray format)
    : m_format(std::move(format))
{
    raiseAllocationLimitOnce();
}

std::int64_t QtImageFileReader::decoderMemory(QSize target) const
{
    const std::int64_t full = pixelCount(size());
    const std::int64_t wanted = pixelCount(target);
    // The converted RGB32 picture and its scaled copy come on top of what the decoder makes.
    const std::int64_t finishing = full * 4 + wanted * 4;
    if (m_format == "jpeg") {
        const std::int64_t decoded =
            std::min(full, std::max(full / jpegLargestReduction + 1, wanted * jpegReductionSlack));
        return m_coefficientBytes + decoded * 4 + wanted * 4 * 2;
    }
    if (m_format == "webp") {
        // Qt's WebP reader takes the whole file in memory and decodes to 32 bits a pixel.
        return fileBytes() + full * 4 + finishing;
    }
    return full * bytesPerPixel(m_decodedFormat) + finishing;
}

bool QtImageFileReader::checkJpegScans()
{
    const JpegLayout layout = JpegLayout::read(file(), maxJpegScans);
    file().seek(0);
    if (layout.scans > maxJpegScans) {
        fail(QStringLiteral("a JPEG of more than %1 scans").arg(maxJpegScans));
        return false;
    }
    if (layout.valid && layout.progressive) {
        m_coefficientBytes = pixelCount(layout.size) * layout.components * bytesPerCoefficient;
    }
    return true;
}

QSize QtImageFileReader::readHeader()
{
    if (m_format == "jpeg" && !checkJpegScans()) {
        return QSize();
    }
    QImageReader reader(&file(), m_format);
    pinFormat(reader, m_format);
    if (!reader.canRead()) {
        return fail(reader.errorString());
    }
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        return fail(reader.errorString());
    }
    m_decodedFormat = reader.imageFormat();
    // Qt reads the orientation of JPEG and TIFF itself, not WebP's.
    setTransformation(m_format == "webp" ? ExifOrientation::of(WebpLayout::exifOf(file())) : reader.transformation());
    return stored;
}

QImage QtImageFileReader::decode(QSize target)
{
    QImageReader reader(&file(), m_format);
    pinFormat(reader, m_format);
    reader.setScaledSize(target);
    QImage image;
    if (!reader.read(&image)) {
        fail(reader.errorString());
        return QImage();
    }
    return image;
}

} // namespace morvelin
