// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/WebpLayout.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace morvelin {

namespace {

constexpr qint64 headerBytes = 12; // "RIFF", the size, "WEBP"
constexpr qint64 chunkHeaderBytes = 8;
// An animation has a chunk per frame before the metadata; beyond this many the search stops.
constexpr int maxChunks = 10'000;
// EXIF written by cameras fits in a JPEG segment of 64 KB; anything far larger is no orientation.
constexpr quint32 maxExifBytes = 1 << 20;

} // namespace

QByteArray WebpLayout::exifOf(QIODevice& device)
{
    if (!device.seek(0)) {
        return QByteArray();
    }
    const QByteArray header = device.read(headerBytes);
    if (header.size() < headerBytes || !header.startsWith("RIFF") || header.mid(8, 4) != "WEBP") {
        return QByteArray();
    }
    const qint64 end = std::min(device.size(), chunkHeaderBytes + qFromLittleEndian<quint32>(header.constData() + 4));
    qint64 at = headerBytes;
    for (int i = 0; i < maxChunks && at + chunkHeaderBytes <= end; ++i) {
        if (!device.seek(at)) {
            return QByteArray();
        }
        const QByteArray chunk = device.read(chunkHeaderBytes);
        if (chunk.size() < chunkHeaderBytes) {
            return QByteArray();
        }
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        if (chunk.startsWith("EXIF")) {
            return size <= maxExifBytes ? device.read(size) : QByteArray();
        }
        // Chunks are padded to an even length.
        at += chunkHeaderBytes + qint64(size) + (size & 1);
    }
    return QByteArray();
}

} // namespace morvelin
