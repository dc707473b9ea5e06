#pragma once

#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace morvelin {

// Reads one image file in two steps: the size from the header first, the pixels later and only at
// the size the caller finally wants. The file stays open in between and decoders read it as they
// go, so a file is never held in memory whole unless its decoder needs it so.
class ImageFileReader {
public:
    // What may be decoded: the pixels a decoder must produce, not what a header says where the
    // decoder reduces while decoding (JPEG).
    static constexpr std::int64_t maxPixels = 100'000'000;
    static constexpr std::int64_t maxFileBytes = std::int64_t(1) << 30;

    virtual ~ImageFileReader() = default;

    // Opens a regular file named as one of the nine photo types (.bmp .tif .tiff .gif .jpg .jpeg
    // .png .pcx .tga .jp2 .j2k, any case) without waiting on it (a named pipe, socket or device is
    // refused), picks the decoder by the content among the nine (by the extension when the content
    // has no signature, as with TGA) and reads the header. Null with `error` set on failure.
    static std::unique_ptr<ImageFileReader> open(const QString& path, QString& error);

    // The picture's size as shown, i.e. after any orientation the file asks for.
    QSize size() const { return m_size; }
    // The pixels scaled to `target`, RGB32; a null image when decoding fails.
    QImage read(QSize target);
    // At most how many bytes decoding at `target` takes, the decoder's own buffers included.
    virtual std::int64_t memoryNeeded(QSize target) const = 0;
    QString errorString() const { return m_error; }

    static std::int64_t pixelCount(QSize size) { return std::int64_t(size.width()) * size.height(); }

protected:
    // The open file, at its start; decoders may read it through, it is rewound before each step.
    QFile& file() { return *m_open.file; }
    int fileDescriptor() const { return m_open.descriptor; }
    std::int64_t fileBytes() const { return m_open.bytes; }
    // Sets m_size through the return value, or reports the reason with fail().
    virtual QSize readHeader() = 0;
    // Whether the decoder can reduce a large picture while decoding instead of producing it whole.
    virtual bool decodesReduced() const { return false; }
    // Any format, any size near `target`; read() converts and finishes the scaling.
    virtual QImage decode(QSize target) = 0;
    // Records why the file is not a readable image; returns an invalid size for convenience.
    QSize fail(const QString& reason);

private:
    struct OpenFile {
        std::unique_ptr<QFile> file;
        int descriptor = -1;
        std::int64_t bytes = 0;
    };

    static bool openFile(const QString& path, OpenFile& opened, QString& error);
    bool checkHeader();

    OpenFile m_open;
    QSize m_size;
    QString m_error;
};

} // namespace morvelin
