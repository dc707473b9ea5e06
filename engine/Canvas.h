// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Numeric.h"

#include <cstdint>

namespace morvelin {

// A picture as the grid samples it: a drawing area measured in its own units, and the colour at a
// point of it.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual Single ScaleWidth() const = 0;
    virtual Single ScaleHeight() const = 0;

    // Colour at (x, y) laid out 0x00BBGGRR (red in the low byte), or -1 where the point lies outside.
    virtual std::int32_t Point(Single x, Single y) const = 0;
};

} // namespace morvelin
