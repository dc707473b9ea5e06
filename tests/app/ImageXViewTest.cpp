// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ImageXView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

constexpr QRgb background = 0xff102030;

QImage render(ImageXView& view)
{
    QImage canvas(view.size(), QImage::Format_RGB32);
    canvas.fill(background);
    view.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    return canvas;
}

} // namespace

TEST(ImageXViewTest, DrawsOnlyWhileTheDisplayFlagIsSetFittedAndCentredWithItsMark)
{
    ImageXView view;
    view.resize(100, 100);
    QImage image(200, 100, QImage::Format_RGB32); // left half red, right half blue
    image.fill(Qt::red);
    QPainter(&image).fillRect(100, 0, 100, 100, QColor(0, 0, 255));
    view.imageX().setPicture(image);
    EXPECT_EQ(render(view).pixel(50, 50), background);

    view.imageX().displayFlag = true;
    const QImage shown = render(view);
    // 200 x 100 fits as 100 x 50, centred: rows 25..74, red on the left, blue on the right.
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    for (const auto& [x, y, colour] : {std::tuple{50, 10, background}, {50, 89, background}, {10, 50, red},
                                       {90, 50, blue}, {10, 26, red}, {90, 73, blue}}) {
        EXPECT_EQ(shown.pixel(x, y), colour) << x << ", " << y;
    }
    // A mark in the picture's pixels lands scaled with it, its line inside: (100, 20, 100 x 60) is
    // (50, 35, 50 x 30) here.
    view.setMark(QRect(100, 20, 100, 60));
    const QImage marked = render(view);
    const QRgb yellow = qRgb(255, 214, 0);
    for (const auto& [x, y, colour] : {std::tuple{49, 50, red}, {50, 50, yellow}, {52, 50, blue}, {99, 50, yellow},
                                       {75, 34, blue}, {75, 35, yellow}, {75, 64, yellow}}) {
        EXPECT_EQ(marked.pixel(x, y), colour) << x << ", " << y;
    }
    EXPECT_EQ(ImageXView::fittedRect({1000, 3000}, {10, 20, 300, 300}), QRect(110, 20, 100, 300));
    EXPECT_EQ(ImageXView::fittedRect({4000, 1}, {0, 0, 100, 100}), QRect(0, 49, 100, 1)) << "never thinner than a pixel";
    EXPECT_TRUE(ImageXView::fittedRect({0, 0}, {0, 0, 100, 100}).isNull());
}
