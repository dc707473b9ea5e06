#include "search/ImageFileReader.h"

#include "search/MagickImageFileReader.h"
#include "search/QtImageFileReader.h"

#include <QFile>
#include <QFileInfo>

namespace morvelin {

namespace {

QString suffixOf(const QString& path)
{
    const QString lower = path.right(5).toLower();
    if (lower == QLatin1String(".jpeg") || lower == QLatin1String(".tiff")) {
        return lower.mid(1);
    }
    const QString last4 = path.right(4).toLower();
    return last4.startsWith(QLatin1Char('.')) ? last4.mid(1) : QString();
}

} // namespace

std::unique_ptr<ImageFileReader> ImageFileReader::forPath(const QString& path)
{
    const QString suffix = suffixOf(path);
    if (suffix == QLatin1String("bmp")) {
        return std::make_unique<QtImageFileReader>("bmp");
    }
    if (suffix == QLatin1String("gif")) {
        return std::make_unique<QtImageFileReader>("gif");
    }
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        return std::make_unique<QtImageFileReader>("jpeg");
    }
    if (suffix == QLatin1String("png")) {
        return std::make_unique<QtImageFileReader>("png");
    }
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff")) {
        return std::make_unique<QtImageFileReader>("tiff");
    }
    if (suffix == QLatin1String("pcx") || suffix == QLatin1String("tga") || suffix == QLatin1String("jp2")
        || suffix == QLatin1String("j2k")) {
        return std::make_unique<MagickImageFileReader>(suffix.toUpper().toStdString());
    }
    return nullptr;
}

bool ImageFileReader::open(const QString& path)
{
    m_error.clear();
    m_size = QSize();
    if (!readBytes(path)) {
        return false;
    }
    const QSize size = readHeader();
    if (!size.isValid() || size.isEmpty()) {
        if (m_error.isEmpty()) {
            fail(QStringLiteral("no picture size in the header"));
        }
        return false;
    }
    if (pixelCount(size) > maxPixels) {
        const std::int64_t megapixels = (pixelCount(size) + 999'999) / 1'000'000;
        m_error = QStringLiteral("picture too large (%1 megapixels)").arg(megapixels);
        return false;
    }
    m_size = size;
    return true;
}

QImage ImageFileReader::read(QSize target)
{
    if (!m_size.isValid() || target.isEmpty() || pixelCount(target) > maxPixels) {
        fail(QStringLiteral("no picture to decode at %1 x %2").arg(target.width()).arg(target.height()));
        return QImage();
    }
    QImage image = decode(target);
    if (image.isNull()) {
        if (m_error.isEmpty()) {
            fail(QStringLiteral("no pixels"));
        }
        return QImage();
    }
    image.convertTo(QImage::Format_RGB32);
    if (image.size() != target) {
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // The pixels are in the image now; the file's bytes are no longer needed.
    m_bytes = QByteArray();
    return image;
}

QSize ImageFileReader::fail(const QString& reason)
{
    m_error = QStringLiteral("not a readable image (%1)").arg(reason);
    return QSize();
}

bool ImageFileReader::readBytes(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        m_error = QStringLiteral("no such file");
        return false;
    }
    if (info.isDir()) {
        m_error = QStringLiteral("is a folder, not an image");
        return false;
    }
    if (info.size() > maxFileBytes) {
        m_error = QStringLiteral("file too large (%1 MB)").arg(info.size() >> 20);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open the file (%1)").arg(file.errorString());
        return false;
    }
    // Exactly the size measured: a file that grows meanwhile cannot push past the limit.
    m_bytes.resize(qMin(file.size(), maxFileBytes));
    const qint64 got = file.read(m_bytes.data(), m_bytes.size());
    m_bytes.resize(qMax<qint64>(got, 0));
    if (m_bytes.isEmpty()) {
        m_error = QStringLiteral("empty file");
        return false;
    }
    return true;
}

} // namespace morvelin
