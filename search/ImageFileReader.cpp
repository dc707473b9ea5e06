#include "search/ImageFileReader.h"

#include "search/MagickImageFileReader.h"
#include "search/NativePath.h"
#include "search/QtImageFileReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvelin {

namespace {

// The last part of the name after its dot, lower case: "jpg", "jpeg", "tiff", ...
QString extensionOf(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return dot > slash ? path.mid(dot + 1).toLower() : QString();
}

// The decoder's name for a type by its extension: Qt's for its own, ImageMagick's in capitals.
QByteArray typeOfExtension(const QString& extension)
{
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
        return "jpeg";
    }
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff")) {
        return "tiff";
    }
    for (const char* own : {"bmp", "gif", "png"}) {
        if (extension == QLatin1String(own)) {
            return own;
        }
    }
    for (const char* magick : {"pcx", "tga", "jp2", "j2k"}) {
        if (extension == QLatin1String(magick)) {
            return QByteArray(magick).toUpper();
        }
    }
    return QByteArray();
}

bool isPcx(const QByteArray& head)
{
    if (head.size() < 4 || head[0] != 0x0A) {
        return false;
    }
    const char version = head[1];
    const char encoding = head[2];
    const char bits = head[3];
    return (version == 0 || (version >= 2 && version <= 5)) && (encoding == 0 || encoding == 1)
        && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

// The type the first bytes announce among the nine, or nothing (TGA has no signature).
QByteArray typeOfContent(const QByteArray& head)
{
    if (head.startsWith("\xFF\xD8\xFF")) {
        return "jpeg";
    }
    if (head.startsWith("\x89PNG\r\n\x1A\n")) {
        return "png";
    }
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) {
        return "gif";
    }
    if (head.startsWith("II*") || head.startsWith(QByteArray("MM\0*", 4))) {
        return "tiff";
    }
    if (head.startsWith(QByteArray("\0\0\0\x0CjP  \r\n\x87\n", 12))) {
        return "JP2";
    }
    if (head.startsWith("\xFF\x4F\xFF\x51")) {
        return "J2K";
    }
    if (head.startsWith("BM")) {
        return "bmp";
    }
    return isPcx(head) ? QByteArray("PCX") : QByteArray();
}

std::unique_ptr<ImageFileReader> readerFor(const QByteArray& type)
{
    if (type.at(0) >= 'A' && type.at(0) <= 'Z') {
        return std::make_unique<MagickImageFileReader>(type.toStdString());
    }
    return std::make_unique<QtImageFileReader>(type);
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode)) {
        return QStringLiteral("is a folder, not an image");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("not a photo (a named pipe)");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("not a photo (a socket)");
    }
    return QStringLiteral("not a photo (a device or other special file)");
}

QString systemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

} // namespace

std::unique_ptr<ImageFileReader> ImageFileReader::open(const QString& path, QString& error)
{
    // The extension says whether the file is meant as a photo; the content how to decode it.
    const QString extension = extensionOf(path);
    const QByteArray named = typeOfExtension(extension);
    if (named.isEmpty()) {
        error = QStringLiteral("not an image type this program reads (%1)")
                    .arg(extension.isEmpty() ? QStringLiteral("no extension") : QLatin1Char('.') + extension);
        return nullptr;
    }
    OpenFile opened;
    if (!openFile(path, opened, error)) {
        return nullptr;
    }
    const QByteArray found = typeOfContent(opened.file->peek(16));
    // TGA has no signature and PCX a loose one; every other type must show its own.
    if (found.isEmpty() && named != "TGA" && named != "PCX") {
        error = QStringLiteral("not a readable image (its content is none of the photo types)");
        return nullptr;
    }
    std::unique_ptr<ImageFileReader> reader = readerFor(found.isEmpty() ? named : found);
    reader->m_open = std::move(opened);
    if (!reader->checkHeader()) {
        error = reader->errorString();
        return nullptr;
    }
    return reader;
}

bool ImageFileReader::openFile(const QString& path, OpenFile& opened, QString& error)
{
    // Non-blocking, so a named pipe cannot hold the open; what it is comes from the open file
    // itself, so nothing can be swapped in between the check and the reading.
    const int descriptor =
        ::open(NativePath::encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        error = errno == ENOENT ? QStringLiteral("no such file")
                                : QStringLiteral("cannot open the file (%1)").arg(systemError(errno));
        return false;
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = kindOf(info.st_mode);
    } else if (info.st_size == 0) {
        error = QStringLiteral("empty file");
    } else if (info.st_size > maxFileBytes) {
        error = QStringLiteral("file too large (%1 MB)").arg(info.st_size >> 20);
    }
    auto file = std::make_unique<QFile>();
    if (error.isEmpty() && !file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = QStringLiteral("cannot open the file (%1)").arg(file->errorString());
    }
    if (!error.isEmpty()) {
        ::close(descriptor);
        return false;
    }
    // Regular files never block; reads wait for the disk as usual from here on.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    opened = OpenFile{std::move(file), descriptor, info.st_size};
    return true;
}

bool ImageFileReader::checkHeader()
{
    m_error.clear();
    file().seek(0);
    const QSize size = readHeader();
    if (!size.isValid() || size.isEmpty()) {
        if (m_error.isEmpty()) {
            fail(QStringLiteral("no picture size in the header"));
        }
        return false;
    }
    if (!decodesReduced() && pixelCount(size) > maxPixels) {
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
    file().seek(0);
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
    // The pixels are in the image now; the file is no longer needed.
    m_open = OpenFile();
    return image;
}

QSize ImageFileReader::fail(const QString& reason)
{
    m_error = QStringLiteral("not a readable image (%1)").arg(reason);
    return QSize();
}

} // namespace morvelin
