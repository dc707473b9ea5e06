#include "search/ImageSurface.h"

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

constexpr RgbColour red{255, 0, 0};
constexpr RgbColour blue{0, 0, 255};

QRgb rgb(RgbColour colour)
{
    return qRgb(colour.red, colour.green, colour.blue);
}

} // namespace

TEST(ImageSurfaceTest, UnitsArePixelsClearingShowsTheBackgroundAndOnlySolidBoxesAreFilled)
{
    ImageSurface surface(QSize(40, 30), Qt::white);
    EXPECT_EQ(surface.ScaleWidth(), 40.0f);
    EXPECT_EQ(surface.ScaleHeight(), 30.0f);
    EXPECT_EQ(surface.image().pixel(5, 5), qRgb(255, 255, 255));

    surface.line(0, 5, 39, 5, red);
    EXPECT_EQ(surface.image().pixel(20, 5), rgb(red));
    surface.clear();
    EXPECT_EQ(surface.image().pixel(20, 5), qRgb(255, 255, 255));

    // Boxes are outlined, and filled only when the style is solid.
    surface.setFillColour(blue);
    surface.box(10, 10, 20, 20, red);
    EXPECT_EQ(surface.image().pixel(10, 15), rgb(red));
    EXPECT_EQ(surface.image().pixel(15, 15), qRgb(255, 255, 255)) << "transparent until told otherwise";

    surface.setFillStyle(DrawingSurface::FillStyle::Solid);
    surface.box(10, 10, 20, 20, red);
    EXPECT_EQ(surface.image().pixel(15, 15), rgb(blue));
    EXPECT_EQ(surface.image().pixel(20, 20), rgb(red)) << "the far corner belongs to the box";
    EXPECT_EQ(surface.image().pixel(25, 25), qRgb(255, 255, 255));
}

TEST(ImageSurfaceTest, ALineToStartsWhereTheLastLineEnded)
{
    ImageSurface surface(QSize(40, 40), Qt::white);
    surface.line(0, 0, 10, 0, red);
    surface.lineTo(10, 30, blue);
    EXPECT_EQ(surface.image().pixel(10, 20), rgb(blue));
    EXPECT_EQ(surface.image().pixel(5, 20), qRgb(255, 255, 255));

    surface.setLineWidth(5);
    surface.line(30, 0, 30, 39, red);
    EXPECT_EQ(surface.image().pixel(32, 20), rgb(red)) << "five pixels wide";
}
