// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/MagickImageFileReader.h"

#include "search/ExifOrientation.h"
#include "search/HeifLayout.h"
#include "search/NativePath.h"

#include <Magick++.h>

#include <QDeadlineTimer>
#include <QDir>

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

// The widest or tallest picture read; JPEG 2000 allows far more than any camera makes.
constexpr MagickCore::MagickSizeType maxSide = 65535;
// Ceilings of ImageMagick's own, whatever the system's policy file allows beyond them (it may set
// lower ones, never higher); the search's memory budget decides what is read at once. Beyond its
// memory limits ImageMagick keeps pixels in a file of its temporary folder, which the program
// points into its own private one.
constexpr MagickCore::MagickSizeType maxCacheBytes = MagickCore::MagickSizeType(1) << 30;

Magick::Image imageFor(const std::string& coder)
{
    Magick::Image image;
    image.quiet(true); // warnings (e.g. a slightly short file) must not throw
    image.magick(coder);
    image.subRange(1); // the first picture of a file with several
    return image;
}

MagickCore::MagickBooleanType withinDeadline(const char*, MagickCore::MagickOffsetType, MagickCore::MagickSizeType,
                                             void* deadline)
{
    return static_cast<const QDeadlineTimer*>(deadline)->hasExpired() ? MagickCore::MagickFalse
                                                                       : MagickCore::MagickTrue;
}

// What the coder's library holds per pixel beside ImageMagick's cache, as measured: OpenJPEG a 32-bit
// integer per channel; libheif its decoded planes and their RGB conversion, 16 bits a sample beyond
// 8-bit pictures. The others decode into ImageMagick's cache line by line.
std::int64_t libraryPixelBytes(const std::string& coder, size_t depth)
{
    if (coder == "JP2" || coder == "J2K") {
        return 16;
    }
    if (coder == "HEIC" || coder == "AVIF") {
        return depth > 8 ? 16 : 8;
    }
    return 0;
}

// ImageMagick's own limits (memory, disk, its cache) and a file it could not open again through our
// descriptor are the machine's, not the photo's.
bool passes(const std::exception& error)
{
    return dynamic_cast<const Magick::ErrorResourceLimit*>(&error) != nullptr
        || dynamic_cast<const Magick::WarningResourceLimit*>(&error) != nullptr
        || dynamic_cast<const Magick::ErrorCache*>(&error) != nullptr
        || dynamic_cast<const Magick::ErrorFileOpen*>(&error) != nullptr;
}

} // namespace

QSize MagickImageFileReader::failWith(const std::exception& error)
{
    return passes(error) ? failForNow(shortReason(error)) : fail(shortReason(error));
}

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
        Magick::ResourceLimits::memory(maxCacheBytes);
        Magick::ResourceLimits::map(maxCacheBytes);
        Magick::ResourceLimits::area(MagickCore::MagickSizeType(maxPixels));
        Magick::ResourceLimits::width(maxSide);
        Magick::ResourceLimits::height(maxSide);
        Magick::ResourceLimits::disk(maxCacheBytes);
        // ImageMagick's time limit counts from its first picture in the process and ends the whole
        // program when reached, which no long-running program can live with; each decode has a
        // deadline of its own instead.
        MagickCore::SetMagickResourceLimit(MagickCore::TimeResource, ~MagickCore::MagickSizeType(0) >> 1);
    });
}

QString MagickImageFileReader::libraryVersion()
{
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(MagickCore::GetMagickVersion(nullptr)),
                                         QString::fromLatin1(MagickCore::GetMagickDelegates()));
}

void MagickImageFileReader::keepTemporaryFilesIn(const QString& folder)
{
    initializeMagick();
    if (folder.isEmpty()) {
        return;
    }
    // The registry, unlike the environment, may be read by decoders on other threads while it is set,
    // and it comes before every environment variable ImageMagick reads for its temporary folder.
    const QByteArray path = NativePath::encode(QDir::cleanPath(folder));
    MagickCore::ExceptionInfo* exception = MagickCore::AcquireExceptionInfo();
    MagickCore::SetImageRegistry(MagickCore::StringRegistryType, "temporary-path", path.constData(), exception);
    MagickCore::DestroyExceptionInfo(exception);
}

std::int64_t MagickImageFileReader::decoderMemory(QSize target) const
{
    // ImageMagick's pixel cache holds four channels of its quantum, the ARGB32 copy four bytes, and
    // the coder's library its own picture while ImageMagick copies it.
    const std::int64_t cachePixel = 4 * std::int64_t(sizeof(Magick::Quantum));
    return pixelCount(size()) * (cachePixel + 4 + m_libraryPixelBytes) + pixelCount(target) * 4 + fileBytes();
}

std::string MagickImageFileReader::source() const
{
    return m_coder + ":/proc/self/fd/" + std::to_string(fileDescriptor());
}

QSize MagickImageFileReader::readHeader()
{
    const HeifLayout layout = isHeif() ? HeifLayout::read(file()) : HeifLayout();
    try {
        Magick::Image image = imageFor(m_coder);
        image.ping(source());
        if (image.columns() == 0 && pixelCount(layout.largest) > maxPixels) {
            // libheif refuses a picture beyond its own limits without a word of its size.
            return layout.largest;
        }
        if (image.columns() > size_t(maxPixels) || image.rows() > size_t(maxPixels)) {
            // Still reported as too large, without overflowing the int of a QSize.
            return QSize(int(maxPixels), int(maxPixels));
        }
        m_libraryPixelBytes = libraryPixelBytes(m_coder, image.depth());
        // libheif applies HEIF's own rotation and mirror, and the size it reports is turned already.
        if (isHeif() && !layout.turnsItself) {
            const Magick::Blob exif = image.profile("EXIF");
            setTransformation(ExifOrientation::of(
                QByteArray::fromRawData(static_cast<const char*>(exif.data()), qsizetype(exif.length()))));
        }
        return QSize(int(image.columns()), int(image.rows()));
    } catch (const std::exception& error) {
        return failWith(error);
    }
}

QImage MagickImageFileReader::decode(QSize)
{
    const QDeadlineTimer deadline{std::chrono::seconds(maxDecodeSeconds)};
    try {
        Magick::Image image = imageFor(m_coder);
        MagickCore::SetImageInfoProgressMonitor(image.imageInfo(), withinDeadline, const_cast<QDeadlineTimer*>(&deadline));
        image.read(source());
        const QSize size(int(image.columns()), int(image.rows()));
        if (size != storedSize()) {
            // The header checked is the only one trusted.
            fail(QStringLiteral("the pixels disagree with the header"));
            return QImage();
        }
        const Magick::ColorspaceType space = image.colorSpace();
        if (space != Magick::sRGBColorspace && space != Magick::RGBColorspace
            && space != Magick::GRAYColorspace) {
            image.colorSpace(Magick::sRGBColorspace);
        }
        // A coder stopped by the deadline returns what it had so far, without an error. Not every
        // coder asks in time: libheif and OpenJPEG decode in one call, bounded by the pixel limit.
        if (deadline.hasExpired()) {
            failForNow(QStringLiteral("decoding took longer than %1 s").arg(maxDecodeSeconds));
            return QImage();
        }
        // ARGB32 holds one 32-bit word per pixel, so lines have no padding; its byte order follows
        // the machine's.
        const char* order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRA" : "ARGB";
        QImage pixels(size, QImage::Format_ARGB32);
        if (pixels.isNull()) {
            failForNow(QStringLiteral("out of memory"));
            return QImage();
        }
        image.write(0, 0, size_t(size.width()), size_t(size.height()), order, Magick::CharPixel,
                    pixels.bits());
        return pixels;
    } catch (const std::exception& error) {
        // A coder the deadline stopped may throw rather than return what it had.
        if (deadline.hasExpired()) {
            failForNow(QStringLiteral("decoding took longer than %1 s").arg(maxDecodeSeconds));
        } else {
            failWith(error);
        }
        return QImage();
    }
}

} // namespace morvelin
