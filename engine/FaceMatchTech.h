// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Canvas.h"

#include <cstdint>

namespace morvelin {

// The face matcher: how far apart two face pictures are, judged on their 48 x 48 grids.
class FaceMatchTech {
public:
    static constexpr std::int16_t gridSize = 48;
    static constexpr int floorLevel = 100;
    static constexpr std::int32_t maxDistance = 48 * 48 * (255 - floorLevel);

    // Samples both pictures into 48 x 48 grids, lowers every level by the floor (levels at or below it
    // become 0) and returns the sum of the cell-by-cell differences: 0 for pictures that give the same
    // grids, up to maxDistance. Symmetric in its two pictures. Errors of the pictures or grids pass
    // through unchanged.
    std::int32_t CompareFaces(const Canvas& PicFaceA, const Canvas& PicFaceB) const;
};

} // namespace morvelin
