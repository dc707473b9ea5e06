// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFile>
#include <QImage>
#include <QImageIOHandler>
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

    // Opens a regular file with a photo's name (see PhotoTypes) without waiting on it (a named pipe,
    // socket or device is refused), picks the decoder by the content (by the name when the content
    // has no signature, as with TGA) and reads the header. Null with `error` set on failure;
    // `errorPasses`, when given, tells whether the failure may pass (see errorPasses()).
    static std::unique_ptr<ImageFileReader> open(const QString& path, QString& error, bool* errorPasses = nullptr);

    // The picture's size as shown, i.e. after any orientation the file asks for.
    QSize size() const { return m_size; }
    // The pixels scaled to `target`, RGB32; a null image when decoding fails.
    QImage read(QSize target);
    // At most how many bytes decoding at `target` takes, the decoder's own buffers included.
    std::int64_t memoryNeeded(QSize target) const;
    QString errorString() const { return m_error; }
    // The last failure came from the machine, not the file: a time or memory limit, too many open
    // files, an I/O error. Trying again later may succeed, so it must not be remembered as the file's.
    bool errorPasses() const { return m_errorPasses; }

    static std::int64_t pixelCount(QSize size) { return std::int64_t(size.width()) * size.height(); }

protected:
    // The open file, at its start; decoders may read it through, it is rewound before each step.
    QFile& file() { return *m_open.file; }
    int fileDescriptor() const { return m_open.descriptor; }
    std::int64_t fileBytes() const { return m_open.bytes; }
    // The picture's size as stored, before the orientation turns it; or fail() with the reason. A
    // decoder that leaves the turn to read() tells it with setTransformation().
    virtual QSize readHeader() = 0;
    void setTransformation(QImageIOHandler::Transformations transformation) { m_transformation = transformation; }
    QSize storedSize() const { return sidesTurned(m_size); }
    // Whether the decoder can reduce a large picture while decoding instead of producing it whole.
    virtual bool decodesReduced() const { return false; }
    // Any format, any size near `target` (a size as stored); read() converts, finishes the scaling
    // and turns the picture.
    virtual QImage decode(QSize target) = 0;
    // memoryNeeded() without the turn.
    virtual std::int64_t decoderMemory(QSize target) const = 0;
    // Records why the file is not a readable image; returns an invalid size for convenience.
    QSize fail(const QString& reason);
    // Records a failure that may pass: the file itself may be sound.
    QSize failForNow(const QString& reason);

private:
    struct OpenFile {
        std::unique_ptr<QFile> file;
        int descriptor = -1;
        std::int64_t bytes = 0;
    };

    static bool openFile(const QString& path, OpenFile& opened, QString& error, bool& errorPasses);
    bool checkHeader();
    // A size as stored for one as shown, and the other way round.
    QSize sidesTurned(QSize size) const
    {
        return m_transformation.testFlag(QImageIOHandler::TransformationRotate90) ? size.transposed() : size;
    }

    OpenFile m_open;
    QSize m_size;
    QImageIOHandler::Transformations m_transformation = QImageIOHandler::TransformationNone;
    QString m_error;
    bool m_errorPasses = false;
};

} // namespace morvelin
