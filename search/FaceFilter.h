// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace morvelin {

// The filter every face goes through before it is compared: the chosen face as picked, and every face
// a scan cuts out of a photo, each on its own 48 x 48 picture.
//
// The face becomes grey and its levels are spread by rank (histogram equalisation): each pixel's level
// becomes the share of the face's pixels that are as dark or darker, from 0 to 255. The same face
// under another brightness, contrast or gamma, as on a screen or from another camera, keeps its
// levels; and since the darkest part of every face now falls below the comparison's floor of 100,
// two different faces differ in which parts those are, rather than both lying above the floor.
class FaceFilter {
public:
    static void apply(QImage& image);
    // For display only, never part of a comparison: the filtered face with its contrast stretched
    // to the full range and a cool tint, so it reads as a picture rather than a pale grey patch.
    static void applySecond(QImage& image);

    // The level each grey level (0..255) of `image` becomes.
    static std::array<std::uint8_t, 256> levels(const QImage& image);
};

} // namespace morvelin
