#include "engine/PixelCanvas.h"

#include <cmath>
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
    if (!std::isfinite(x) || !std::isfinite(y) || x < 0.0f || y < 0.0f) {
        return -1;
    }
    const double px = std::floor(x);
    const double py = std::floor(y);
    if (px >= m_width || py >= m_height) {
        return -1;
    }
    return static_cast<std::int32_t>(pixel(static_cast<int>(px), static_cast<int>(py)));
}

std::uint32_t PixelCanvas::bgr(int red, int green, int blue)
{
    return (static_cast<std::uint32_t>(blue & 0xFF) << 16) | (static_cast<std::uint32_t>(green & 0xFF) << 8)
        | static_cast<std::uint32_t>(red & 0xFF);
}

} // namespace morvelin
