// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FacePictureLoader.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

TEST(FacePictureLoaderTest, PixelsKeepTheirPlaceAndBecomeBgrAndFailuresSayWhy)
{
    QTemporaryDir dir;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(2, 1, qRgb(0x12, 0x34, 0x56));
    const QString path = dir.filePath(QStringLiteral("face.png"));
    ASSERT_TRUE(image.save(path));

    const FacePictureLoader::Result loaded = FacePictureLoader::loadFile(path);
    ASSERT_TRUE(loaded.picture) << loaded.error.toStdString();
    EXPECT_EQ(loaded.picture->ScaleWidth(), 3.0f);
    EXPECT_EQ(loaded.picture->ScaleHeight(), 2.0f);
    EXPECT_EQ(loaded.picture->Point(2, 1), 0x563412);
    EXPECT_EQ(loaded.picture->Point(2.9f, 1.9f), 0x563412);
    EXPECT_EQ(loaded.picture->Point(0, 0), 0);
    EXPECT_EQ(loaded.picture->Point(3, 0), -1);
    EXPECT_EQ(loaded.picture->Point(0, -0.5f), -1);

    // The reasons are the image reader's; one shows they come through.
    EXPECT_EQ(FacePictureLoader::loadFile(dir.filePath(QStringLiteral("absent.png"))).error, QStringLiteral("no such file"));
}

