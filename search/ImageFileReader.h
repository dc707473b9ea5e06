#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace morvelin {

// Reads one image file in two steps: the size from the header first, the pixels later and only at
// the size the caller finally wants. The file is read into memory once, so the pixels decoded are
// those of the header that was checked, even if the file changes in between.
class ImageFileReader {
public:
    static constexpr std::int64_t maxPixels = 100'000'000;
    static constexpr std::int64_t maxFileBytes = std::int64_t(1) << 30;

    virtual ~ImageFileReader() = default;

    // The reader for the extension (.bmp .tif .tiff .gif .jpg .jpeg .png .pcx .tga .jp2 .j2k, any
    // case); the format always comes from the extension, never from the content.
    static std::unique_ptr<ImageFileReader> forPath(const QString& path);

    // Reads the file and its header; refuses pictures above maxPixels before any pixel is decoded.
    bool open(const QString& path);
    // The picture's size as shown, i.e. after any orientation the file asks for.
    QSize size() const { return m_size; }
    // The pixels scaled to `target`, RGB32; a null image when decoding fails.
    QImage read(QSize target);
    QString errorString() const { return m_error; }

    static std::int64_t pixelCount(QSize size) { return std::int64_t(size.width()) * size.height(); }

protected:
    const QByteArray& bytes() const { return m_bytes; }
    // Sets m_size through the return value, or reports the reason with fail().
    virtual QSize readHeader() = 0;
    // Any format, any size near `target`; read() converts and finishes the scaling.
    virtual QImage decode(QSize target) = 0;
    // Records why the file is not a readable image; returns an invalid size for convenience.
    QSize fail(const QString& reason);

private:
    bool readBytes(const QString& path);

    QByteArray m_bytes;
    QSize m_size;
    QString m_error;
};

} // namespace morvelin
