// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ImageSurface.h"

#include <QPainter>
#include <QPen>

namespace morvelin {

ImageSurface::ImageSurface(QSize size, QColor background)
    : m_image(size, QImage::Format_RGB32)
    , m_background(background)
{
    clear();
}

void ImageSurface::clear()
{
    m_image.fill(m_background);
    m_pen = QPointF();
}

Single ImageSurface::ScaleWidth() const
{
    return static_cast<Single>(m_image.width());
}

Single ImageSurface::ScaleHeight() const
{
    return static_cast<Single>(m_image.height());
}

QColor ImageSurface::toQColor(RgbColour colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

void ImageSurface::line(Single x1, Single y1, Single x2, Single y2, RgbColour colour)
{
    QPainter painter(&m_image);
    painter.setPen(QPen(toQColor(colour), m_lineWidth));
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    m_pen = QPointF(x2, y2);
}

void ImageSurface::lineTo(Single x, Single y, RgbColour colour)
{
    line(static_cast<Single>(m_pen.x()), static_cast<Single>(m_pen.y()), x, y, colour);
}

void ImageSurface::box(Single x1, Single y1, Single x2, Single y2, RgbColour outline)
{
    QPainter painter(&m_image);
    painter.setPen(QPen(toQColor(outline), m_lineWidth));
    if (m_fillStyle == FillStyle::Solid) {
        painter.setBrush(m_fillColour);
    }
    painter.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
    m_pen = QPointF(x2, y2);
}

} // namespace morvelin
