// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ImageXView.h"

#include <QPainter>

namespace morvelin {

namespace {

constexpr int markWidth = 2;
// Yellow stands out on skin, hair and most backgrounds alike.
const QColor markColour(255, 214, 0);

} // namespace

ImageXView::ImageXView(QWidget* parent)
    : QWidget(parent)
{
}

QRect ImageXView::fittedRect(QSize picture, const QRect& bounds)
{
    if (picture.isEmpty() || bounds.isEmpty()) {
        return QRect();
    }
    const QSize fitted = picture.scaled(bounds.size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return QRect(QPoint(bounds.left() + (bounds.width() - fitted.width()) / 2,
                        bounds.top() + (bounds.height() - fitted.height()) / 2),
                 fitted);
}

void ImageXView::paintEvent(QPaintEvent*)
{
    if (!m_imageX.displayFlag) {
        return;
    }
    const QImage picture = m_imageX.picture();
    const QRect target = fittedRect(picture.size(), rect());
    if (target.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(target.topLeft(), scaledFor(picture, target.size()));
    if (m_mark.isEmpty()) {
        return;
    }
    const double x = double(target.width()) / picture.width();
    const double y = double(target.height()) / picture.height();
    const QRectF mark(target.left() + m_mark.left() * x, target.top() + m_mark.top() * y, m_mark.width() * x,
                      m_mark.height() * y);
    // Inside the face's box, so that a face at the photo's edge keeps its whole frame.
    const double half = markWidth / 2.0;
    painter.setPen(QPen(markColour, markWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mark.adjusted(half, half, -half, -half));
}

const QImage& ImageXView::scaledFor(const QImage& picture, QSize size)
{
    if (m_scaledFrom != picture.cacheKey() || m_scaled.size() != size) {
        m_scaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaledFrom = picture.cacheKey();
    }
    return m_scaled;
}

} // namespace morvelin
