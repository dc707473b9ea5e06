// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/PhotoPixels.h"

#include <QJsonArray>

#include <cmath>

namespace morvelin {

namespace {

// Hundredths of a pixel are more than any detector can tell.
double rounded(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

PhotoPixels::PhotoPixels(const QSize& photoSize, const QSize& scanSize)
{
    if (!photoSize.isEmpty() && !scanSize.isEmpty()) {
        m_sx = double(photoSize.width()) / scanSize.width();
        m_sy = double(photoSize.height()) / scanSize.height();
    }
}

QRect PhotoPixels::box(const QRect& scanned) const
{
    // The edges scale, not the pixels' centres: a box that fills the scaled photo fills the photo.
    const QPoint topLeft(int(std::lround(scanned.left() * m_sx)), int(std::lround(scanned.top() * m_sy)));
    const QPoint pastBottomRight(int(std::lround((scanned.right() + 1) * m_sx)),
                                 int(std::lround((scanned.bottom() + 1) * m_sy)));
    return QRect(topLeft, pastBottomRight - QPoint(1, 1));
}

QPointF PhotoPixels::point(const QPointF& scanned) const
{
    return QPointF(scanned.x() * m_sx, scanned.y() * m_sy);
}

QJsonObject PhotoPixels::describe(const FoundFace& face) const
{
    const QRect placed = box(face.box);
    QJsonArray keyPoints;
    for (const QPointF& scanned : face.keyPoints) {
        const QPointF placedPoint = point(scanned);
        keyPoints.append(QJsonArray{rounded(placedPoint.x()), rounded(placedPoint.y())});
    }
    return QJsonObject{
        {QStringLiteral("x1"), placed.left()},
        {QStringLiteral("x2"), placed.right() + 1},
        {QStringLiteral("y1"), placed.top()},
        {QStringLiteral("y2"), placed.bottom() + 1},
        {QStringLiteral("keyPoints"), keyPoints},
    };
}

} // namespace morvelin
