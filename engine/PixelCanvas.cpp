// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/PixelCanvas.h"

#include <cstddef>

namespace morvelin {

PixelCanvas::PixelCanvas(int width, int height, std::uint32_t fill)
    : m_width(width > 0 ? width : 0)
    , m_height(height > 0 ? height : 0)
    , m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill & 0xFFFFFFu)
{
}

bool PixelCanvas::contains(int x, int y) const
{
    return x >= 0 && y >= 0 && x < m_width && y < m_height;
}

void PixelCanvas::setPixel(int x, int y, std::uint32_t bgr)
{
    if (!contains(x, y)) {
        return;
    }
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] =
        bgr & 0xFFFFFFu;
}

std::uint32_t PixelCanvas::pixel(int x, int y) const
{
    if (!contains(x, y)) {
        return 0;
    }
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

Single PixelCanvas::ScaleWidth() const { return static_cast<Single>(m_width); }
Single PixelCanvas::ScaleHeight() const { return static_cast<Single>(m_height); }

std::int32_t PixelCanvas::Point(Single x, Single y) const
{
    // Negative points and NaN fail here; what is left is non-negative, where truncation is the floor.
    if (!(x >= 0.0f && y >= 0.0f && x < static_cast<Single>(m_width) && y < static_cast<Single>(m_height))) {
        return -1;
    }
    const int px = static_cast<int>(x);
    const int py = static_cast<int>(y);
    return static_cast<std::int32_t>(
        m_pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(px)]);
}

std::uint32_t PixelCanvas::bgr(int red, int green, int blue)
{
    return (static_cast<std::uint32_t>(blue & 0xFF) << 16) | (static_cast<std::uint32_t>(green & 0xFF) << 8)
        | static_cast<std::uint32_t>(red & 0xFF);
}

} // namespace morvelin
