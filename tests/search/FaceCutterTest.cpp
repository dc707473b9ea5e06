// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceCutter.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace morvelin;

TEST(FaceCutterTest, TheRectangleInsideThePhotoBecomesAFortyEightPixelFace)
{
    // Left half black, right half white: cutting the right half gives a white face.
    QImage photo(200, 100, QImage::Format_RGB32);
    photo.fill(Qt::black);
    QPainter(&photo).fillRect(100, 0, 100, 100, Qt::white);
    const QImage face = FaceCutter::cut(photo, 100, 200, 0, 100);
    ASSERT_EQ(face.size(), QSize(48, 48));
    EXPECT_EQ(face.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(face.pixel(47, 47), qRgb(255, 255, 255));

    // Reaching past the photo: only the part inside is cut.
    const QImage clipped = FaceCutter::cut(photo, 150, 260, -20, 50);
    ASSERT_EQ(clipped.size(), QSize(48, 48));
    EXPECT_EQ(clipped.pixel(47, 47), qRgb(255, 255, 255));

    // Nothing inside gives no face.
    EXPECT_TRUE(FaceCutter::cut(photo, 260, 280, 0, 10).isNull());
    EXPECT_TRUE(FaceCutter::cut(photo, 10, 10, 0, 10).isNull());
    EXPECT_TRUE(FaceCutter::cut(QImage(), 0, 10, 0, 10).isNull());
}
