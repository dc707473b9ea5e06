// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WindowStyle.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

namespace morvelin {

namespace {

constexpr double smallestPoints = 6;

} // namespace

QFont WindowStyle::font(const QString& family, double pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void WindowStyle::fitFont(QLabel* label, double pointSize)
{
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    while (font.pointSizeF() > smallestPoints
           && QFontMetrics(font).horizontalAdvance(label->text()) > label->contentsRect().width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

void WindowStyle::setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QPixmap WindowStyle::viewfinder(int size, qreal pixelRatio)
{
    QPixmap picture(QSize(size, size) * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 2));
    const int s = size - 2;
    const int arm = 7;
    painter.drawPolyline(QPolygon({QPoint(1, 1 + arm), QPoint(1, 1), QPoint(1 + arm, 1)}));
    painter.drawPolyline(QPolygon({QPoint(s - arm, 1), QPoint(s, 1), QPoint(s, 1 + arm)}));
    painter.drawPolyline(QPolygon({QPoint(1, s - arm), QPoint(1, s), QPoint(1 + arm, s)}));
    painter.drawPolyline(QPolygon({QPoint(s - arm, s), QPoint(s, s), QPoint(s, s - arm)}));
    painter.drawEllipse(QRectF(7, 5, s - 12, s - 9));
    return picture;
}

} // namespace morvelin
