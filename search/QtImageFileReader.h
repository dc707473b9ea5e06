// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/ImageFileReader.h"

#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>

namespace morvelin {

// BMP, GIF, JPEG, PNG, TIFF and WebP through Qt's readers (WebP through its image-formats plugin).
// JPEGs decode at a reduced size straight from the compressed data when the caller asks for less
// than the full picture; the others decode whole and are scaled after.
class QtImageFileReader : public ImageFileReader {
public:
    // More scans than any encoder makes for a photo; each one is a pass over the whole picture.
    static constexpr int maxJpegScans = 100;

    // `format` is Qt's name for it ("bmp", "gif", "jpeg", "png", "tiff", "webp"); no other format is
    // tried.
    explicit QtImageFileReader(QByteArray format);

protected:
    QSize readHeader() override;
    bool decodesReduced() const override { return m_format == "jpeg"; }
    QImage decode(QSize target) override;
    std::int64_t decoderMemory(QSize target) const override;

private:
    bool checkJpegScans();
    // Whether the decoder is asked for the scan's size: only a picture of 32 bits a pixel, which Qt
    // reduces without a copy in another format.
    bool scalesWhileDecoding(const QImageReader& reader) const;

    QByteArray m_format;
    QImage::Format m_decodedFormat = QImage::Format_Invalid;
    bool m_interlaced = false; // PNG: Qt decodes an interlaced one whole
    // JPEG: the coefficients a progressive picture keeps while it is decoded, in bytes.
    std::int64_t m_coefficientBytes = 0;
};

} // namespace morvelin
