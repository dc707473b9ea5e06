// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/DrawingSurface.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSize>

namespace morvelin {

// A drawing surface that paints into an image; its units are the image's pixels.
class ImageSurface : public DrawingSurface {
public:
    // A fresh surface shows the background, as a cleared one does.
    explicit ImageSurface(QSize size, QColor background = Qt::white);

    const QImage& image() const { return m_image; }

    void clear() override;
    Single ScaleWidth() const override;
    Single ScaleHeight() const override;

    void setFillStyle(FillStyle style) override { m_fillStyle = style; }
    void setFillColour(RgbColour colour) override { m_fillColour = toQColor(colour); }
    void setLineWidth(int width) override { m_lineWidth = width < 1 ? 1 : width; }

    void line(Single x1, Single y1, Single x2, Single y2, RgbColour colour) override;
    void lineTo(Single x, Single y, RgbColour colour) override;
    void box(Single x1, Single y1, Single x2, Single y2, RgbColour outline) override;

    static QColor toQColor(RgbColour colour);

private:
    QImage m_image;
    QColor m_background;
    FillStyle m_fillStyle = FillStyle::Transparent;
    QColor m_fillColour = Qt::black;
    int m_lineWidth = 1;
    QPointF m_pen;
};

} // namespace morvelin
