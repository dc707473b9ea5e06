#pragma once

#include <QImage>

#include <cstdint>

namespace morvelin {

// The image filter every photo and the chosen face go through before faces are compared. It works
// pixel by pixel, so filtering a photo and then cutting a face out gives the same face as cutting
// first and filtering after.
//
// Each pixel becomes grey, its level taken from its brightest channel and lifted above the
// comparison's floor of 100: a face in shadow keeps its features instead of dropping to a blank
// below the floor, and skin is read by its brightness rather than by how much blue it holds.
class FaceFilter {
public:
    static void apply(QImage& image);
    // For display only, never part of a comparison: the filtered face with its contrast stretched
    // to the full range and a cool tint, so it reads as a picture rather than a pale grey patch.
    static void applySecond(QImage& image);

    // The grey level a pixel whose brightest channel is `brightest` (0..255) becomes: 100..255.
    static int level(int brightest);
};

} // namespace morvelin
