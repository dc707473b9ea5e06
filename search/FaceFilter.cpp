#include "search/FaceFilter.h"

namespace morvelin {

void FaceFilter::apply(QImage& image)
{
    // Grey pixels make the grid's level (the colour read as one number) the brightness itself,
    // rather than mostly the blue byte.
    if (image.isNull()) {
        return;
    }
    image = image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
}

void FaceFilter::applySecond(QImage& image)
{
    if (image.isNull()) {
        return;
    }
    image.invertPixels();
}

} // namespace morvelin
