// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/ImageX.h"

#include <QImage>
#include <QRect>
#include <QWidget>

namespace morvelin {

// An ImageX placed in a window: while the image's display flag is set, it draws the picture scaled
// into its bounds, proportion kept and centred. Call update() after changing the image or the flag.
class ImageXView : public QWidget {
public:
    explicit ImageXView(QWidget* parent = nullptr);

    ImageX& imageX() { return m_imageX; }
    const ImageX& imageX() const { return m_imageX; }

    // A rectangle framed on the picture, in the picture's pixels: drawn after the scaling, so that its
    // line stays as thin and sharp at any size. Empty for none.
    void setMark(const QRect& mark) { m_mark = mark; }
    QRect mark() const { return m_mark; }

    // Where the picture lands inside `bounds`: as large as fits, centred.
    static QRect fittedRect(QSize picture, const QRect& bounds);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& scaledFor(const QImage& picture, QSize size);

    ImageX m_imageX;
    // Smooth scaling of a whole photo is too slow to repeat on every repaint.
    QImage m_scaled;
    qint64 m_scaledFrom = 0;
    QRect m_mark;
};

} // namespace morvelin
