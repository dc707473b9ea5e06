// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ImageSurface.h"

#include "engine/classImageProcessing.h"

#include <gtest/gtest.h>

using namespace morvelin;

TEST(ImageSurfaceTest, BoxesIncludeTheirFarCornerAndAreFilledOnlyWhenSolid)
{
    const RgbColour red{255, 0, 0};
    ImageSurface surface(QSize(40, 30), Qt::white);
    surface.setFillColour(RgbColour{0, 0, 255});
    surface.box(10, 10, 20, 20, red);
    EXPECT_EQ(surface.image().pixel(10, 15), qRgb(255, 0, 0));
    EXPECT_EQ(surface.image().pixel(15, 15), qRgb(255, 255, 255)) << "transparent until told otherwise";
    surface.setFillStyle(DrawingSurface::FillStyle::Solid);
    surface.box(10, 10, 20, 20, red);
    EXPECT_EQ(surface.image().pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(surface.image().pixel(20, 20), qRgb(255, 0, 0)) << "the far corner belongs to the box";
    EXPECT_EQ(surface.image().pixel(21, 21), qRgb(255, 255, 255));
    // A line drawn "to" a point starts where the last one ended.
    surface.line(0, 0, 30, 0, red);
    surface.lineTo(30, 29, red);
    EXPECT_EQ(surface.image().pixel(30, 5), qRgb(255, 0, 0));
}

TEST(ImageSurfaceTest, AGridIsDrawnCellByCellInItsShareOfTheSurface)
{
    classImageProcessing grid;
    grid.init(2, 2);
    grid.setPoint(1, 0, 200); // right column, top row
    ImageSurface surface(QSize(20, 20), Qt::white);
    grid.show(surface);
    EXPECT_EQ(surface.image().pixel(15, 5), qRgb(200, 200, 200));
    EXPECT_EQ(surface.image().pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(surface.image().pixel(5, 15), qRgb(0, 0, 0));
}
