// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Numeric.h"

#include <cstdint>

namespace morvelin {

// A 24-bit colour as the views name it: (red, green, blue).
struct RgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

// Where the diagnostic views draw: an area measured in its own units, with a pen that remembers
// where the last line ended.
class DrawingSurface {
public:
    enum class FillStyle { Solid, Transparent };

    virtual ~DrawingSurface() = default;

    virtual void clear() = 0;
    virtual Single ScaleWidth() const = 0;
    virtual Single ScaleHeight() const = 0;

    virtual void setFillStyle(FillStyle style) = 0;
    virtual void setFillColour(RgbColour colour) = 0;
    virtual void setLineWidth(int width) = 0;

    // Both lines leave the pen at their end point.
    virtual void line(Single x1, Single y1, Single x2, Single y2, RgbColour colour) = 0;
    virtual void lineTo(Single x, Single y, RgbColour colour) = 0;
    // A box between two corners, outlined in `outline` and filled by the current fill style and colour.
    virtual void box(Single x1, Single y1, Single x2, Single y2, RgbColour outline) = 0;
};

} // namespace morvelin
