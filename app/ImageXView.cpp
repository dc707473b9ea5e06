#include "app/ImageXView.h"

#include <QPainter>

namespace morvelin {

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
