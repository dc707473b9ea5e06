#pragma once

#include "search/ImageFileReader.h"

#include <string>

namespace morvelin {

// PCX, TGA and JPEG 2000 through ImageMagick, which Qt cannot read (TGA only with its optional
// footer). The coder is named explicitly: TGA has no signature to guess from, and a guess would
// open every other ImageMagick decoder to whatever a file claims to be.
class MagickImageFileReader : public ImageFileReader {
public:
    // `coder` is ImageMagick's name: "PCX", "TGA", "JP2" or "J2K".
    explicit MagickImageFileReader(std::string coder);

    // A decode that runs longer than this is cancelled.
    static constexpr int maxDecodeSeconds = 30;

    // Safe to call from any thread, any number of times; everything using ImageMagick calls it first.
    static void initializeMagick();

    std::int64_t memoryNeeded(QSize target) const override;

protected:
    QSize readHeader() override;
    QImage decode(QSize target) override;

private:
    // The open file by a name ImageMagick cannot take for anything else (a name of the user's own
    // may hold characters ImageMagick reads as instructions, such as "[0]" or "png:").
    std::string source() const;

    std::string m_coder;
};

} // namespace morvelin
