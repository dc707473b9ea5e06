#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace morvelin {

// The image filter every photo and the chosen face go through before faces are compared. It works
// pixel by pixel, so filtering a photo and then cutting a face out gives the same face as cutting
// first and filtering after.
//
// Each pixel becomes a grey level from its brightest channel, curved to favour the dark tones and
// lifted above the comparison's floor of 100: a face in shadow keeps its features instead of dropping
// to a blank below the floor, and skin of any colour is read by its brightness rather than by how
// much blue it has.
class FaceFilter {
public:
    static void apply(QImage& image);
    // For display only, never part of a comparison: the filtered face with its contrast stretched
    // to the full range and a cool tint, so it reads as a picture rather than a pale grey patch.
    static void applySecond(QImage& image);

    // The level a pixel of brightest channel `value` (0..255) becomes.
    static std::uint8_t level(int value) { return levels()[static_cast<std::uint8_t>(value)]; }

private:
    static const std::array<std::uint8_t, 256>& levels();
};

} // namespace morvelin
