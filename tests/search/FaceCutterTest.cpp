#include "search/FaceCutter.h"

#include <gtest/gtest.h>

using namespace morvelin;

TEST(FaceCutterTest, TheRectangleBecomesAFortyEightPixelFace)
{
    // Left half black, right half white: cutting the right half gives a white face.
    QImage photo(200, 100, QImage::Format_RGB32);
    photo.fill(Qt::black);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x) {
            photo.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    const QImage face = FaceCutter::cut(photo, 100, 200, 0, 100);
    ASSERT_EQ(face.size(), QSize(48, 48));
    EXPECT_EQ(face.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(face.pixel(47, 47), qRgb(255, 255, 255));

    // Reaching past the photo: only the part inside is cut.
    const QImage clipped = FaceCutter::cut(photo, 150, 260, -20, 50);
    ASSERT_EQ(clipped.size(), QSize(48, 48));
    EXPECT_EQ(clipped.pixel(47, 47), qRgb(255, 255, 255));
}

TEST(FaceCutterTest, NothingInsideGivesNoFace)
{
    QImage photo(50, 50, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    EXPECT_TRUE(FaceCutter::cut(photo, 60, 80, 0, 10).isNull());
    EXPECT_TRUE(FaceCutter::cut(photo, 10, 10, 0, 10).isNull());
    EXPECT_TRUE(FaceCutter::cut(QImage(), 0, 10, 0, 10).isNull());
}
