// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/ImageFileReader.h"

#include <QString>

#include <exception>
#include <string>

namespace morvelin {

// PCX, TGA, JPEG 2000 and HEIF (HEIC and AVIF, through libheif) via ImageMagick, which Qt cannot
// read (TGA only with its optional footer). The coder is named explicitly: TGA has no signature to
// guess from, and a guess would open every other ImageMagick decoder to whatever a file claims to be.
class MagickImageFileReader : public ImageFileReader {
public:
    // `coder` is ImageMagick's name: "PCX", "TGA", "JP2", "J2K", "HEIC" or "AVIF".
    explicit MagickImageFileReader(std::string coder);

    // A decode that runs longer than this is cancelled where the coder reports its progress.
    static constexpr int maxDecodeSeconds = 30;

    // Safe to call from any thread, any number of times; everything using ImageMagick calls it first.
    static void initializeMagick();
    // ImageMagick keeps the pixels of pictures beyond its memory limits in files: these go into
    // `folder` (the program's private one), so that they go with it. Called on the main thread
    // before any scan starts and whenever the private folder is made anew while none runs.
    static void keepTemporaryFilesIn(const QString& folder);

    // ImageMagick's version and the libraries it decodes with, as loaded.
    static QString libraryVersion();

protected:
    QSize readHeader() override;
    QImage decode(QSize target) override;
    std::int64_t decoderMemory(QSize target) const override;

private:
    bool isHeif() const { return m_coder == "HEIC" || m_coder == "AVIF"; }
    // The open file by a name ImageMagick cannot take for anything else (a name of the user's own
    // may hold characters ImageMagick reads as instructions, such as "[0]" or "png:").
    std::string source() const;
    // fail() or failForNow(), as the exception says whether the file or the machine is at fault.
    QSize failWith(const std::exception& error);

    std::string m_coder;
    std::int64_t m_libraryPixelBytes = 0;
};

} // namespace morvelin
