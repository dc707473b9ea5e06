// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ExifOrientation.h"

#include <QtEndian>

#include <array>

namespace morvelin {

namespace {

constexpr quint16 orientationTag = 0x0112;
constexpr quint16 shortType = 3;
constexpr qsizetype entryBytes = 12;

// EXIF's values 1 to 8, in Qt's terms.
constexpr std::array<QImageIOHandler::Transformation, 8> byValue{
    QImageIOHandler::TransformationNone,
    QImageIOHandler::TransformationMirror,
    QImageIOHandler::TransformationRotate180,
    QImageIOHandler::TransformationFlip,
    QImageIOHandler::TransformationFlipAndRotate90,
    QImageIOHandler::TransformationRotate90,
    QImageIOHandler::TransformationMirrorAndRotate90,
    QImageIOHandler::TransformationRotate270,
};

class TiffReader {
public:
    explicit TiffReader(QByteArrayView tiff)
        : m_tiff(tiff)
        , m_little(tiff.startsWith("II"))
    {
    }

    bool has(qint64 at, qint64 bytes) const { return at >= 0 && at + bytes <= m_tiff.size(); }

    quint32 word(qint64 at) const
    {
        return m_little ? qFromLittleEndian<quint16>(m_tiff.data() + at) : qFromBigEndian<quint16>(m_tiff.data() + at);
    }

    quint32 longWord(qint64 at) const
    {
        return m_little ? qFromLittleEndian<quint32>(m_tiff.data() + at) : qFromBigEndian<quint32>(m_tiff.data() + at);
    }

private:
    QByteArrayView m_tiff;
    bool m_little;
};

} // namespace

QImageIOHandler::Transformations ExifOrientation::of(const QByteArray& exif)
{
    QByteArrayView tiff(exif);
    if (tiff.startsWith(QByteArrayView("Exif\0\0", 6))) {
        tiff = tiff.sliced(6);
    }
    if (!tiff.startsWith(QByteArrayView("II*\0", 4)) && !tiff.startsWith(QByteArrayView("MM\0*", 4))) {
        return QImageIOHandler::TransformationNone;
    }
    const TiffReader reader(tiff);
    // The orientation is a tag of the first directory.
    const qint64 directory = reader.has(4, 4) ? qint64(reader.longWord(4)) : -1;
    if (!reader.has(directory, 2)) {
        return QImageIOHandler::TransformationNone;
    }
    const quint32 entries = reader.word(directory);
    for (quint32 i = 0; i < entries; ++i) {
        const qint64 entry = directory + 2 + qint64(i) * entryBytes;
        if (!reader.has(entry, entryBytes)) {
            break;
        }
        if (reader.word(entry) != orientationTag) {
            continue;
        }
        const quint32 value = reader.word(entry + 8);
        if (reader.word(entry + 2) != shortType || reader.longWord(entry + 4) != 1 || value < 1 || value > byValue.size()) {
            return QImageIOHandler::TransformationNone;
        }
        return byValue[value - 1];
    }
    return QImageIOHandler::TransformationNone;
}

} // namespace morvelin
