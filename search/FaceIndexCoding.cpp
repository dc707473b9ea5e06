// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndexCoding.h"

#include "search/NativePath.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QIODevice>

#include <cstdlib>

namespace morvelin {

namespace {

// "FAC3": the photo's sizes, then per face its box, key points, picture, thumbnail and features,
// followed by a checksum of all of it: SQLite checks its pages, not what a page holds.
constexpr quint32 facesMagic = 0x46414333;
constexpr qsizetype checksumBytes = 8;

// A filtered face is grey: one byte a pixel holds it exactly, a third of what colour takes.
void writePicture(QDataStream& out, const QImage& face)
{
    const bool grey = face.allGray();
    const QImage picture = face.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int bytesPerPixel = grey ? 1 : 3;
    out << qint32(picture.width()) << qint32(picture.height()) << quint8(bytesPerPixel);
    for (int y = 0; y < picture.height(); ++y) {
        out.writeRawData(reinterpret_cast<const char*>(picture.constScanLine(y)), picture.width() * bytesPerPixel);
    }
}

// The unfiltered thumbnail only shows which face matched: a small JPEG is plenty.
void writeThumbnail(QDataStream& out, const QImage& thumbnail)
{
    constexpr int thumbnailQuality = 90;
    QByteArray jpeg;
    if (!thumbnail.isNull()) {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        thumbnail.save(&buffer, "JPG", thumbnailQuality);
    }
    out << jpeg;
}

// Over the faces and the photo's error: a changed error would make a photo "not read".
QByteArray checksumOf(const QByteArray& faces, const QString& error)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.addData(faces);
    digest.addData(error.toUtf8());
    return digest.result().left(checksumBytes);
}

// A face's picture; 0 x 0 for a rectangle that held nothing, kept so that faces keep their numbers.
bool readPicture(QDataStream& in, QImage& picture)
{
    constexpr qint32 largestSide = 4096;
    qint32 width = 0, height = 0;
    quint8 bytesPerPixel = 0;
    in >> width >> height >> bytesPerPixel;
    if (in.status() != QDataStream::Ok || width < 0 || height < 0 || width > largestSide || height > largestSide
        || (bytesPerPixel != 1 && bytesPerPixel != 3)) {
        return false;
    }
    if (width == 0 || height == 0) {
        picture = QImage();
        return true;
    }
    QImage stored(width, height, bytesPerPixel == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int lineBytes = width * bytesPerPixel;
    for (int y = 0; y < height; ++y) {
        if (in.readRawData(reinterpret_cast<char*>(stored.scanLine(y)), lineBytes) != lineBytes) {
            return false;
        }
    }
    picture = stored.convertToFormat(QImage::Format_RGB32);
    return true;
}

bool readThumbnail(QDataStream& in, QImage& thumbnail)
{
    constexpr qsizetype largestJpeg = 1 << 16;
    QByteArray jpeg;
    in >> jpeg;
    if (in.status() != QDataStream::Ok || jpeg.size() > largestJpeg) {
        return false;
    }
    thumbnail = jpeg.isEmpty() ? QImage() : QImage::fromData(jpeg, "JPG");
    return jpeg.isEmpty() || !thumbnail.isNull();
}

bool readFace(QDataStream& in, FaceIndex::Face& face)
{
    constexpr quint32 largestVector = 65536;
    qint32 left = 0, top = 0, width = 0, height = 0;
    in >> left >> top >> width >> height;
    face.box = QRect(left, top, width, height);
    for (QPointF& point : face.keyPoints) {
        double x = 0, y = 0;
        in >> x >> y;
        point = QPointF(x, y);
    }
    if (!readPicture(in, face.picture) || !readThumbnail(in, face.thumbnail)) {
        return false;
    }
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length > largestVector) {
        return false;
    }
    face.features.resize(length);
    const int byteCount = int(length * sizeof(float));
    return in.readRawData(reinterpret_cast<char*>(face.features.data()), byteCount) == byteCount;
}

} // namespace

QByteArray FaceIndexCoding::keyOf(const QString& photo)
{
    // Made by hand: QFileInfo passes the name through the locale's encoding and back, which is not exact.
    const QString path = QDir::isAbsolutePath(photo) ? photo : QDir::currentPath() + QLatin1Char('/') + photo;
    const QByteArray absolute = NativePath::encode(QDir::cleanPath(path));
    char* resolved = ::realpath(absolute.constData(), nullptr);
    if (resolved == nullptr) {
        return absolute;
    }
    const QByteArray key(resolved);
    std::free(resolved);
    return key;
}

QByteArray FaceIndexCoding::encodeFaces(const FaceIndex::Entry& entry)
{
    const std::vector<FaceIndex::Face>& faces = entry.faces;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << facesMagic << entry.photoSize << entry.scanSize << quint32(faces.size());
    for (const FaceIndex::Face& face : faces) {
        out << qint32(face.box.left()) << qint32(face.box.top()) << qint32(face.box.width())
            << qint32(face.box.height());
        for (const QPointF& point : face.keyPoints) {
            out << point.x() << point.y();
        }
        writePicture(out, face.picture);
        writeThumbnail(out, face.thumbnail);
        out << quint32(face.features.size());
        out.writeRawData(reinterpret_cast<const char*>(face.features.data()),
                         int(face.features.size() * sizeof(float)));
    }
    return bytes + checksumOf(bytes, entry.error);
}

bool FaceIndexCoding::decodeFaces(const QByteArray& stored, qint64 expectedCount, FaceIndex::Entry& entry)
{
    if (stored.size() < checksumBytes) {
        return false;
    }
    const QByteArray bytes = stored.left(stored.size() - checksumBytes);
    if (checksumOf(bytes, entry.error) != stored.right(checksumBytes)) {
        return false;
    }
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, count = 0;
    in >> magic >> entry.photoSize >> entry.scanSize >> count;
    if (in.status() != QDataStream::Ok || magic != facesMagic || count != quint64(expectedCount)) {
        return false;
    }
    entry.faces.resize(count);
    for (FaceIndex::Face& face : entry.faces) {
        if (!readFace(in, face)) {
            return false;
        }
    }
    return in.atEnd();
}

} // namespace morvelin
