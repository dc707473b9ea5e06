// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvelin {

// IEEE half precision: how the face index keeps feature vectors, at half the bytes. A feature vector
// is rounded to it when it is read from a face, so a face answered by the index scores exactly as
// the same face scanned afresh.
class HalfFloat {
public:
    // Rounded to nearest, ties to even; beyond the largest half it becomes infinite, NaN stays NaN.
    static std::uint16_t fromFloat(float value);
    static float toFloat(std::uint16_t half);
    // Every value made the nearest one a half holds.
    static void round(std::vector<float>& values);
    // `count` halves into floats; uses the processor's conversion where it has one.
    static void toFloats(const std::uint16_t* halves, float* floats, std::size_t count);
};

} // namespace morvelin
