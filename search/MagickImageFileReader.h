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

    // Safe to call from any thread, any number of times; everything using ImageMagick calls it first.
    static void initializeMagick();

protected:
    QSize readHeader() override;
    QImage decode(QSize target) override;

private:
    std::string m_coder;
};

} // namespace morvelin
