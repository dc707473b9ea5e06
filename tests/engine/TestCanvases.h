// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Canvas.h"
#include "engine/PixelCanvas.h"

#include <cstdint>
#include <stdexcept>

namespace morvelin::testing {

// A grey whose level the grid reads back exactly under processType 0 (255 x 65793 = 0xFFFFFF).
inline std::uint32_t grey(int level)
{
    return PixelCanvas::bgr(level, level, level);
}

// A face-sized picture in one grey.
inline PixelCanvas flat(int level)
{
    return PixelCanvas(48, 48, grey(level));
}

// A picture of any claimed size without the memory for it: every point inside has the same colour.
class UniformCanvas : public Canvas {
public:
    UniformCanvas(Single width, Single height, std::int32_t colour)
        : m_width(width), m_height(height), m_colour(colour) {}

    Single ScaleWidth() const override { return m_width; }
    Single ScaleHeight() const override { return m_height; }
    std::int32_t Point(Single x, Single y) const override
    {
        return x < 0 || y < 0 || x >= m_width || y >= m_height ? -1 : m_colour;
    }

private:
    Single m_width;
    Single m_height;
    std::int32_t m_colour;
};

// A picture that fails as soon as it is read, as a damaged picture source would.
class FailingCanvas : public Canvas {
public:
    Single ScaleWidth() const override { return 48.0f; }
    Single ScaleHeight() const override { return 48.0f; }
    std::int32_t Point(Single, Single) const override { throw std::runtime_error("picture went away"); }
};

} // namespace morvelin::testing
