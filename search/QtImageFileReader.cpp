// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

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
// libpng's and zlib's state while a PNG is decoded, as measured.
constexpr std::int64_t pngDecoderBytes = 384 << 10;
// Where a PNG's header says whether its rows are interlaced: after the signature, the IHDR chunk's
// length and type, and its width, height, depth, colour type, compression and filter method.
constexpr qint64 pngInterlaceAt = 28;

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

// A picture decoded whole, then made RGB32 and scaled, as measured (see the README): Qt converts a
// picture of 32 bits a pixel or more to RGB32 in its own memory, a narrower one (grey, palette)
// into a new RGB32 picture beside it, and the scaled copy comes beside the RGB32 one.
std::int64_t wholePictureMemory(std::int64_t full, std::int64_t wanted, std::int64_t pixelBytes)
{
    const std::int64_t decoded = full * pixelBytes;
    if (pixelBytes >= 4) {
        return decoded + wanted * 4;
    }
    return full * 4 + std::max(decoded, wanted * 4);
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
    if (m_format == "jpeg") {
        const std::int64_t decoded =
            std::min(full, std::max(full / jpegLargestReduction + 1, wanted * jpegReductionSlack));
        return m_coefficientBytes + decoded * 4 + wanted * 4 * 2;
    }
    if (m_format == "webp") {
        // Qt's WebP reader takes the whole file in memory and decodes to 32 bits a pixel.
        return fileBytes() + wholePictureMemory(full, wanted, 4);
    }
    if (m_format == "png" && bytesPerPixel(m_decodedFormat) == 4 && !m_interlaced) {
        // Qt reduces such a PNG row by row as it decodes: a row or two beside the scaled picture.
        return wanted * 4 + std::int64_t(size().width()) * 4 * 2 + pngDecoderBytes;
    }
    return wholePictureMemory(full, wanted, bytesPerPixel(m_decodedFormat));
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

bool QtImageFileReader::scalesWhileDecoding(const QImageReader& reader) const
{
    return bytesPerPixel(m_decodedFormat) == 4 && reader.supportsOption(QImageIOHandler::ScaledSize);
}

QSize QtImageFileReader::readHeader()
{
    if (m_format == "jpeg" && !checkJpegScans()) {
        return QSize();
    }
    if (m_format == "png") {
        const QByteArray header = file().peek(pngInterlaceAt + 1);
        m_interlaced = header.size() > pngInterlaceAt && header.at(pngInterlaceAt) != 0;
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
    // Qt scales any other picture in its decoded format, a 16-bit one through a second 64-bit copy
    // of itself; ImageFileReader scales it once it is RGB32.
    if (scalesWhileDecoding(reader)) {
        reader.setScaledSize(target);
    }
    QImage image;
    if (!reader.read(&image)) {
        fail(reader.errorString());
        return QImage();
    }
    return image;
}

} // namespace morvelin
