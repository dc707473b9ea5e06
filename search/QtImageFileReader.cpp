#include "search/QtImageFileReader.h"

#include <QBuffer>
#include <QImageReader>

#include <mutex>

namespace morvelin {

namespace {

// Enough for the largest picture accepted, even at 16 bits per channel; Qt's default of 128 MB
// would refuse ordinary 40-megapixel photos.
constexpr int allocationLimitMb = 1024;

void raiseAllocationLimitOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(allocationLimitMb); });
}

bool turnsSideways(QImageIOHandler::Transformations transformation)
{
    return transformation.testFlag(QImageIOHandler::TransformationRotate90);
}

void pinFormat(QImageReader& reader, const QByteArray& format)
{
    // A mislabelled file fails instead of reaching whichever decoder its content points to.
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
}

} // namespace

QtImageFileReader::QtImageFileReader(QByteArray format)
    : m_format(std::move(format))
{
    raiseAllocationLimitOnce();
}

QSize QtImageFileReader::readHeader()
{
    QBuffer buffer;
    buffer.setData(bytes());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    pinFormat(reader, m_format);
    if (!reader.canRead()) {
        return fail(reader.errorString());
    }
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        return fail(reader.errorString());
    }
    m_transformation = reader.transformation();
    return turnsSideways(m_transformation) ? stored.transposed() : stored;
}

QImage QtImageFileReader::decode(QSize target)
{
    QBuffer buffer;
    buffer.setData(bytes());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    pinFormat(reader, m_format);
    // The scaled size applies before the orientation is: ask in the file's own orientation.
    reader.setScaledSize(turnsSideways(m_transformation) ? target.transposed() : target);
    QImage image;
    if (!reader.read(&image)) {
        fail(reader.errorString());
        return QImage();
    }
    return image;
}

} // namespace morvelin
