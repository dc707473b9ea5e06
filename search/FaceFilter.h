#pragma once

#include <QImage>

namespace morvelin {

// The image filter every photo and the chosen face go through before faces are compared. It works
// pixel by pixel, so filtering a photo and then cutting a face out gives the same face as cutting
// first and filtering after.
class FaceFilter {
public:
    static void apply(QImage& image);
    // For display only: never part of a comparison.
    static void applySecond(QImage& image);
};

} // namespace morvelin
