// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/JpegLayout.h"

#include <QByteArray>
#include <QIODevice>

#include <cstring>

namespace morvelin {

namespace {

constexpr qint64 chunkBytes = 64 * 1024;
constexpr int startOfScan = 0xDA;
constexpr int endOfImage = 0xD9;

// Bytes one at a time, read in chunks.
class ByteSource {
public:
    explicit ByteSource(QIODevice& device)
        : m_device(device)
    {
    }

    // -1 at the end.
    int next()
    {
        if (m_at == m_chunk.size() && !refill()) {
            return -1;
        }
        return static_cast<unsigned char>(m_chunk[m_at++]);
    }

    // Moves past the next 0xFF byte; false at the end.
    bool skipPastMarkerByte()
    {
        for (;;) {
            if (m_at == m_chunk.size() && !refill()) {
                return false;
            }
            const char* start = m_chunk.constData() + m_at;
            const void* found = std::memchr(start, 0xFF, size_t(m_chunk.size() - m_at));
            if (found) {
                m_at += static_cast<const char*>(found) - start + 1;
                return true;
            }
            m_at = m_chunk.size();
        }
    }

    bool skip(int count)
    {
        for (int i = 0; i < count; ++i) {
            if (next() < 0) {
                return false;
            }
        }
        return true;
    }

    int word()
    {
        const int high = next();
        const int low = next();
        return high < 0 || low < 0 ? -1 : (high << 8) | low;
    }

private:
    bool refill()
    {
        m_chunk = m_device.read(chunkBytes);
        m_at = 0;
        return !m_chunk.isEmpty();
    }

    QIODevice& m_device;
    QByteArray m_chunk;
    qsizetype m_at = 0;
};

bool isFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isProgressiveFrame(int marker)
{
    return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
}

bool standsAlone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

// Skips the compressed data after a scan's header up to the next marker other than a restart, and
// returns that marker's code (-1 at the end).
int skipEntropyData(ByteSource& source)
{
    for (;;) {
        if (!source.skipPastMarkerByte()) {
            return -1;
        }
        int byte = 0;
        do {
            byte = source.next();
        } while (byte == 0xFF);
        if (byte < 0 || (byte != 0x00 && !(byte >= 0xD0 && byte <= 0xD7))) {
            return byte;
        }
    }
}

} // namespace

JpegLayout JpegLayout::read(QIODevice& device, int maxScans)
{
    JpegLayout layout;
    ByteSource source(device);
    if (source.next() != 0xFF || source.next() != 0xD8) {
        return layout;
    }
    int afterScan = -1; // the marker that ended the last scan's data, already read
    for (;;) {
        int marker = afterScan;
        afterScan = -1;
        if (marker < 0) {
            if (source.next() != 0xFF) {
                return layout;
            }
            do {
                marker = source.next();
            } while (marker == 0xFF);
        }
        if (marker < 0 || marker == endOfImage) {
            return layout;
        }
        if (standsAlone(marker)) {
            continue;
        }
        const int length = source.word();
        if (length < 2) {
            return layout;
        }
        if (isFrame(marker) && length >= 8) {
            source.next(); // precision
            const int height = source.word();
            const int width = source.word();
            layout.components = source.next();
            layout.size = QSize(width, height);
            layout.progressive = isProgressiveFrame(marker);
            layout.valid = width > 0 && height > 0 && layout.components > 0;
            source.skip(length - 8);
            continue;
        }
        if (!source.skip(length - 2)) {
            return layout;
        }
        if (marker == startOfScan) {
            ++layout.scans;
            afterScan = layout.scans > maxScans ? -1 : skipEntropyData(source);
            if (afterScan < 0) {
                return layout;
            }
        }
    }
}

} // namespace morvelin
