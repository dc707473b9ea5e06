#include "search/FacePictureLoader.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

TEST(FacePictureLoaderTest, PixelsKeepTheirPlaceAndBecomeBgr)
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
}

TEST(FacePictureLoaderTest, UnreadableFilesSayWhy)
{
    QTemporaryDir dir;
    EXPECT_EQ(FacePictureLoader::loadFile(dir.filePath(QStringLiteral("absent.png"))).error,
              QStringLiteral("no such file"));
    EXPECT_EQ(FacePictureLoader::loadFile(dir.path()).error, QStringLiteral("is a folder, not an image"));

    const QString garbage = dir.filePath(QStringLiteral("garbage.jpg"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no picture");
    file.close();
    const FacePictureLoader::Result loaded = FacePictureLoader::loadFile(garbage);
    EXPECT_FALSE(loaded.picture);
    EXPECT_TRUE(loaded.error.startsWith(QStringLiteral("not a readable image"))) << loaded.error.toStdString();
}
