// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndexCoding.h"

#include "search/HalfFloat.h"
#include "search/NativePath.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QIODevice>
#include <QtEndian>

#include <bit>
#include <cstdlib>
#include <cstring>

#include <xxhash.h>

namespace morvelin {

namespace {

// "FAC4": the photo's sizes, then per face its box, key points, whether it was blank and the length
// of its vector. Every blob ends with a checksum: SQLite checks its pages, not what a page holds.
constexpr quint32 facesMagic = 0x46414334;
constexpr qsizetype checksumBytes = 8;
constexpr quint8 blankFlag = 1;

// The faces' checksum also covers the photo's error: a changed error would make a photo "not read".
QByteArray checksumOf(const QByteArray& bytes, const QString& error = QString())
{
    const QByteArray errorBytes = error.toUtf8();
    const XXH64_hash_t seed = XXH3_64bits(errorBytes.constData(), std::size_t(errorBytes.size()));
    const XXH64_hash_t sum = qToLittleEndian(XXH3_64bits_withSeed(bytes.constData(), std::size_t(bytes.size()), seed));
    return QByteArray(reinterpret_cast<const char*>(&sum), checksumBytes);
}

QByteArray sealed(const QByteArray& bytes, const QString& error = QString())
{
    return bytes + checksumOf(bytes, error);
}

// The bytes before the checksum, or nothing when the checksum does not hold.
std::optional<QByteArray> unsealed(const QByteArray& stored, const QString& error = QString())
{
    if (stored.size() < checksumBytes) {
        return std::nullopt;
    }
    QByteArray bytes = stored.left(stored.size() - checksumBytes);
    if (checksumOf(bytes, error) != stored.right(checksumBytes)) {
        return std::nullopt;
    }
    return bytes;
}

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
QByteArray thumbnailJpeg(const QImage& thumbnail)
{
    constexpr int thumbnailQuality = 90;
    QByteArray jpeg;
    if (!thumbnail.isNull()) {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        thumbnail.save(&buffer, "JPG", thumbnailQuality);
    }
    return jpeg;
}

// A face's picture; 0 x 0 for a blank face.
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

// Reads what QDataStream wrote (big-endian), without its device and buffer between: a search of a
// million faces decodes every face's record.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& bytes) : m_at(bytes.constData()), m_end(bytes.constData() + bytes.size()) {}

    template <typename T> T read()
    {
        T value{};
        if (m_end - m_at < qsizetype(sizeof(T))) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_at, sizeof(T));
        m_at += sizeof(T);
        return qFromBigEndian(value);
    }
    double readDouble() { return std::bit_cast<double>(read<quint64>()); }
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at == m_end; }

private:
    const char* m_at;
    const char* m_end;
    bool m_ok = true;
};

// The halves as the file keeps them, little-endian, into the face's floats.
void readVector(const char* bytes, std::vector<float>& features)
{
    thread_local std::vector<std::uint16_t> halves;
    halves.resize(features.size());
    std::memcpy(halves.data(), bytes, halves.size() * sizeof(std::uint16_t));
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
        for (std::uint16_t& half : halves) {
            half = qFromLittleEndian(half);
        }
    }
    HalfFloat::toFloats(halves.data(), features.data(), halves.size());
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

FaceIndexCoding::Stored FaceIndexCoding::encode(const FaceIndex::Entry& entry, bool withPictures)
{
    QByteArray faces, vectors, thumbnails, pictures;
    QDataStream facesOut(&faces, QIODevice::WriteOnly);
    QDataStream thumbnailsOut(&thumbnails, QIODevice::WriteOnly);
    QDataStream picturesOut(&pictures, QIODevice::WriteOnly);
    for (QDataStream* out : {&facesOut, &thumbnailsOut, &picturesOut}) {
        out->setVersion(QDataStream::Qt_6_0);
    }
    facesOut << facesMagic << entry.photoSize << entry.scanSize << quint32(entry.faces.size());
    for (const FaceIndex::Face& face : entry.faces) {
        facesOut << qint32(face.box.left()) << qint32(face.box.top()) << qint32(face.box.width())
                 << qint32(face.box.height());
        for (const QPointF& point : face.keyPoints) {
            facesOut << point.x() << point.y();
        }
        facesOut << quint8(face.blank ? blankFlag : 0) << quint16(face.features.size());
        for (const float value : face.features) {
            const std::uint16_t half = qToLittleEndian(HalfFloat::fromFloat(value));
            vectors.append(reinterpret_cast<const char*>(&half), sizeof(half));
        }
        thumbnailsOut << thumbnailJpeg(face.thumbnail);
        writePicture(picturesOut, face.picture);
    }
    return {sealed(faces, entry.error), sealed(vectors), sealed(thumbnails), withPictures ? sealed(pictures) : QByteArray()};
}

bool FaceIndexCoding::decodeFaces(const QByteArray& faces, const QByteArray& vectors, qint64 expectedCount,
                                  FaceIndex::Entry& entry)
{
    const std::optional<QByteArray> bytes = unsealed(faces, entry.error);
    const std::optional<QByteArray> halves = unsealed(vectors);
    if (!bytes || !halves) {
        return false;
    }
    RecordReader in(*bytes);
    const quint32 magic = in.read<quint32>();
    const qint32 photoWidth = in.read<qint32>(), photoHeight = in.read<qint32>();
    const qint32 scanWidth = in.read<qint32>(), scanHeight = in.read<qint32>();
    const quint32 count = in.read<quint32>();
    if (!in.ok() || magic != facesMagic || count != quint64(expectedCount)) {
        return false;
    }
    entry.photoSize = QSize(photoWidth, photoHeight);
    entry.scanSize = QSize(scanWidth, scanHeight);
    entry.faces.resize(count);
    qsizetype vectorBytes = 0;
    for (FaceIndex::Face& face : entry.faces) {
        const qint32 left = in.read<qint32>(), top = in.read<qint32>();
        const qint32 width = in.read<qint32>(), height = in.read<qint32>();
        face.box = QRect(left, top, width, height);
        for (QPointF& point : face.keyPoints) {
            const double x = in.readDouble();
            point = QPointF(x, in.readDouble());
        }
        const quint8 flags = in.read<quint8>();
        const quint16 length = in.read<quint16>();
        const qsizetype byteCount = qsizetype(length) * qsizetype(sizeof(std::uint16_t));
        if (!in.ok() || vectorBytes + byteCount > halves->size()) {
            return false;
        }
        face.blank = (flags & blankFlag) != 0;
        face.features.resize(length);
        readVector(halves->constData() + vectorBytes, face.features);
        vectorBytes += byteCount;
    }
    return in.atEnd() && vectorBytes == halves->size();
}

bool FaceIndexCoding::decodeThumbnails(const QByteArray& thumbnails, FaceIndex::Entry& entry)
{
    constexpr qsizetype largestJpeg = 1 << 16;
    const std::optional<QByteArray> bytes = unsealed(thumbnails);
    if (!bytes) {
        return false;
    }
    QDataStream in(*bytes);
    in.setVersion(QDataStream::Qt_6_0);
    entry.storedThumbnails.assign(entry.faces.size(), QByteArray());
    for (QByteArray& jpeg : entry.storedThumbnails) {
        in >> jpeg;
        if (in.status() != QDataStream::Ok || jpeg.size() > largestJpeg) {
            return false;
        }
    }
    return in.atEnd();
}

bool FaceIndexCoding::decodePictures(const QByteArray& pictures, FaceIndex::Entry& entry)
{
    if (pictures.isEmpty()) {
        return true; // none kept: a search that compares pictures scans the photo again
    }
    const std::optional<QByteArray> bytes = unsealed(pictures);
    if (!bytes) {
        return false;
    }
    QDataStream in(*bytes);
    in.setVersion(QDataStream::Qt_6_0);
    for (FaceIndex::Face& face : entry.faces) {
        if (!readPicture(in, face.picture) || face.picture.isNull() != face.blank) {
            return false;
        }
    }
    return in.atEnd();
}

QImage FaceIndexCoding::thumbnailFrom(const QByteArray& jpeg)
{
    return jpeg.isEmpty() ? QImage() : QImage::fromData(jpeg, "JPG");
}

} // namespace morvelin
