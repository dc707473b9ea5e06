// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// Writes decompression bombs and other hostile photo files into a folder, for the search's memory
// benchmark and its tests: small files that decode to far more than they weigh, a sparse file, a
// JPEG of thousands of scans.
//   make_photo_bombs FOLDER
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <cstdio>
#include <zlib.h>

namespace {

void putBig(QByteArray& bytes, quint32 value)
{
    char word[4];
    qToBigEndian(value, word);
    bytes.append(word, 4);
}

void appendChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    putBig(png, quint32(data.size()));
    const QByteArray typed = QByteArray(type) + data;
    png += typed;
    putBig(png, quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()))));
}

// PNG's colour types, for pictures of 16 bits per channel.
constexpr char grey = 0;
constexpr char rgba = 6;

// A PNG of 16 bits per channel, all black: a few hundred kilobytes for 8 bytes per pixel (RGBA) or 2
// (grey).
QByteArray deepPng(quint32 side, char colourType = rgba)
{
    QByteArray header;
    putBig(header, side);
    putBig(header, side);
    header += QByteArray("\x10", 1) + colourType + QByteArray("\x00\x00\x00", 3);
    const qsizetype pixelBytes = colourType == grey ? 2 : 8;
    const QByteArray row(1 + qsizetype(side) * pixelBytes, '\0');
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    QByteArray compressed;
    char out[1 << 16];
    for (quint32 y = 0; y < side; ++y) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.constData()));
        stream.avail_in = uInt(row.size());
        const int flush = y + 1 == side ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out);
            stream.avail_out = sizeof out;
            deflate(&stream, flush);
            compressed.append(out, qsizetype(sizeof out - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    QByteArray png("\x89PNG\r\n\x1a\n");
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

// A run-length TGA, 24 bits: four bytes for every 128 pixels.
QByteArray runLengthTga(quint16 side)
{
    QByteArray tga(18, '\0');
    tga[2] = 10;
    tga[12] = char(side & 0xFF);
    tga[13] = char(side >> 8);
    tga[14] = char(side & 0xFF);
    tga[15] = char(side >> 8);
    tga[16] = 24;
    const qint64 packets = (qint64(side) * side + 127) / 128;
    const QByteArray packet("\xFF\x40\x40\x40", 4);
    tga.reserve(18 + packets * 4);
    for (qint64 i = 0; i < packets; ++i) {
        tga += packet;
    }
    return tga;
}

QByteArray smallJpeg(bool progressive)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(120, 90, 60));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

// The frame's size replaced: the data that follows is far too short, which decoders fill in.
QByteArray claimingJpeg(bool progressive, quint16 side)
{
    QByteArray jpeg = smallJpeg(progressive);
    const qsizetype frame = jpeg.indexOf(progressive ? QByteArray("\xFF\xC2", 2) : QByteArray("\xFF\xC0", 2));
    for (const int at : {5, 7}) {
        jpeg[frame + at] = char(side >> 8);
        jpeg[frame + at + 1] = char(side & 0xFF);
    }
    return jpeg;
}

// A progressive JPEG whose last scan comes again and again before the end.
QByteArray manyScanJpeg(int extraScans)
{
    const QByteArray jpeg = smallJpeg(true);
    const qsizetype lastScan = jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray scan = jpeg.mid(lastScan, jpeg.size() - 2 - lastScan);
    return jpeg.left(jpeg.size() - 2) + scan.repeated(extraScans) + QByteArray("\xFF\xD9", 2);
}

bool write(const QDir& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(folder.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: make_photo_bombs FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    QFile sparse(folder.filePath(QStringLiteral("sparse-1gib.jpg")));
    const bool written = write(folder, QStringLiteral("deep-10000.png"), deepPng(10000))
        && write(folder, QStringLiteral("deep-8000.png"), deepPng(8000))
        && write(folder, QStringLiteral("deep-9000.png"), deepPng(9000))
        && write(folder, QStringLiteral("deep-grey-10000.png"), deepPng(10000, grey))
        && write(folder, QStringLiteral("runs-10000.tga"), runLengthTga(10000))
        && write(folder, QStringLiteral("runs-7000.tga"), runLengthTga(7000))
        && write(folder, QStringLiteral("scans-2000.jpg"), manyScanJpeg(2000))
        && write(folder, QStringLiteral("baseline-65000.jpg"), claimingJpeg(false, 65000))
        && write(folder, QStringLiteral("progressive-65000.jpg"), claimingJpeg(true, 65000))
        && sparse.open(QIODevice::WriteOnly) && sparse.resize((qint64(1) << 30) - 1);
    if (!written) {
        std::fprintf(stderr, "make_photo_bombs: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
