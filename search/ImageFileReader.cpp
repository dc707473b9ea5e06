// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ImageFileReader.h"

#include "search/MagickImageFileReader.h"
#include "search/NativePath.h"
#include "search/PhotoTypes.h"
#include "search/QtImageFileReader.h"

#include <QTransform>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvelin {

namespace {

std::unique_ptr<ImageFileReader> readerFor(const QByteArray& type)
{
    if (PhotoTypes::isMagickType(type)) {
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

// What the machine refused rather than the file: the same file may open next time.
bool passes(int number)
{
    switch (number) {
    case EMFILE:
    case ENFILE:
    case ENOMEM:
    case ENOBUFS:
    case EIO:
    case EAGAIN:
    case EINTR:
    case ETIMEDOUT:
    case ESTALE:
        return true;
    default:
        return false;
    }
}

QString systemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

// The mirrors first, then the quarter turn clockwise: the order in which EXIF and Qt define the
// eight orientations.
QImage turned(const QImage& image, QImageIOHandler::Transformations turn)
{
    const QImage mirrored = image.mirrored(turn.testFlag(QImageIOHandler::TransformationMirror),
                                           turn.testFlag(QImageIOHandler::TransformationFlip));
    return turn.testFlag(QImageIOHandler::TransformationRotate90) ? mirrored.transformed(QTransform().rotate(90))
                                                                   : mirrored;
}

} // namespace

std::unique_ptr<ImageFileReader> ImageFileReader::open(const QString& path, QString& error, bool* errorPasses)
{
    bool openPasses = false;
    if (errorPasses) {
        *errorPasses = false;
    }
    // The extension says whether the file is meant as a photo; the content how to decode it.
    const QByteArray named = PhotoTypes::typeOfName(path);
    if (named.isEmpty()) {
        error = PhotoTypes::notReadReason(path);
        return nullptr;
    }
    OpenFile opened;
    if (!openFile(path, opened, error, openPasses)) {
        if (errorPasses) {
            *errorPasses = openPasses;
        }
        return nullptr;
    }
    const QByteArray found = PhotoTypes::typeOfContent(opened.file->peek(PhotoTypes::signatureBytes));
    // TGA has no signature and PCX a loose one; every other type must show its own.
    if (found.isEmpty() && named != "TGA" && named != "PCX") {
        error = QStringLiteral("not a readable image (its content is none of the photo types)");
        return nullptr;
    }
    std::unique_ptr<ImageFileReader> reader = readerFor(found.isEmpty() ? named : found);
    reader->m_open = std::move(opened);
    if (!reader->checkHeader()) {
        error = reader->errorString();
        if (errorPasses) {
            *errorPasses = reader->errorPasses();
        }
        return nullptr;
    }
    return reader;
}

bool ImageFileReader::openFile(const QString& path, OpenFile& opened, QString& error, bool& errorPasses)
{
    // Non-blocking, so a named pipe cannot hold the open; what it is comes from the open file
    // itself, so nothing can be swapped in between the check and the reading.
    const int descriptor =
        ::open(NativePath::encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        errorPasses = passes(errno);
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
        errorPasses = true;
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
    m_errorPasses = false;
    file().seek(0);
    const QSize stored = readHeader();
    const QSize size = sidesTurned(stored);
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
    const QSize stored = sidesTurned(target);
    QImage image = decode(stored);
    if (image.isNull()) {
        if (m_error.isEmpty()) {
            fail(QStringLiteral("no pixels"));
        }
        return QImage();
    }
    image.convertTo(QImage::Format_RGB32);
    if (image.size() != stored) {
        image = image.scaled(stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (m_transformation != QImageIOHandler::TransformationNone) {
        image = turned(image, m_transformation);
    }
    // The pixels are in the image now; the file is no longer needed.
    m_open = OpenFile();
    return image;
}

std::int64_t ImageFileReader::memoryNeeded(QSize target) const
{
    // A turn makes a copy at the size asked for.
    const std::int64_t turning = m_transformation != QImageIOHandler::TransformationNone ? pixelCount(target) * 4 : 0;
    return decoderMemory(sidesTurned(target)) + turning;
}

QSize ImageFileReader::fail(const QString& reason)
{
    m_error = QStringLiteral("not a readable image (%1)").arg(reason);
    m_errorPasses = false;
    return QSize();
}

QSize ImageFileReader::failForNow(const QString& reason)
{
    m_error = QStringLiteral("not read for now (%1)").arg(reason);
    m_errorPasses = true;
    return QSize();
}

} // namespace morvelin
