// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Canvas.h"

#include <cstdint>
#include <vector>

namespace morvelin {

// An in-memory picture whose units are pixels: the form every face picture takes before comparison.
class PixelCanvas : public Canvas {
public:
    PixelCanvas() = default;
    // Every pixel starts as `fill` (0x00BBGGRR).
    PixelCanvas(int width, int height, std::uint32_t fill = 0);

    // Writes are ignored outside the picture, as drawing past a picture's edge is.
    void setPixel(int x, int y, std::uint32_t bgr);
    std::uint32_t pixel(int x, int y) const;

    Single ScaleWidth() const override;
    Single ScaleHeight() const override;
    // A point belongs to the pixel that contains it; the bottom and right edges lie outside.
    std::int32_t Point(Single x, Single y) const override;

    static std::uint32_t bgr(int red, int green, int blue);

private:
    bool contains(int x, int y) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

} // namespace morvelin
