// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace morvelin {

class ImageFileReader;

// Holds one current image: read from any of the photo types (see PhotoTypes), scaled and filtered.
// load() reads only the header; the pixels are decoded on first use, at the size
// asked for by then, so a big JPEG scaled down for a scan is never decoded in full.
// One instance must not be used by two threads at once; separate instances on separate threads may.
class ImageX {
public:
    // The benches' JPEG round trips, which stand for a photo that went through a JPEG on its way.
    static constexpr int jpegQuality = 95;

    ImageX();
    ~ImageX();
    ImageX(ImageX&&) noexcept;
    ImageX& operator=(ImageX&&) noexcept;

    // On failure the previous image stays and errorString() says why. The content decides how the
    // file is decoded, among the photo types.
    bool load(const QString& path);
    int width() const;
    int height() const;
    // 0 for one side keeps the proportion; the new size applies to width(), height() and picture().
    void resize(int newWidth, int newHeight);
    // At most how many bytes decoding the loaded file at the current size takes; 0 once decoded.
    std::int64_t decodingMemory() const;
    // RGB32. Decodes a freshly loaded file; if that fails, the image held before the load comes
    // back and errorString() says why.
    QImage picture() const;
    void setPicture(const QImage& picture);
    void filter();
    void secondFilter();
    QString errorString() const { return m_error; }
    // The last failure was the machine's (a limit, an I/O error), not the file's: see ImageFileReader.
    bool errorPasses() const { return m_errorPasses; }

    // Set by the hosts that show the image (see ImageXView); the image itself does not depend on it.
    bool displayFlag = false;

private:
    struct State {
        std::unique_ptr<ImageFileReader> pending; // header read, pixels not decoded yet
        QImage image;
        QSize size{0, 0};
    };

    void decodePending() const;
    QImage& decodedImage();

    mutable State m_current;
    // What load() replaced, kept until the new file's pixels are decoded.
    mutable State m_previous;
    mutable QString m_error;
    mutable bool m_errorPasses = false;
};

} // namespace morvelin
