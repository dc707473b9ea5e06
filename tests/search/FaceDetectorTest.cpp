#include "FaceDetectorTestFolder.h"

#include "search/FaceDetector.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>

using namespace morvelin;

namespace {

void expectInside(const DetectedFace& face, const QSize& image)
{
    EXPECT_TRUE(0 <= face.x1 && face.x1 < face.x2 && face.x2 <= image.width() && 0 <= face.y1 && face.y1 < face.y2
                && face.y2 <= image.height())
        << face.x1 << " " << face.x2 << " " << face.y1 << " " << face.y2;
}

std::vector<std::array<int, 4>> rectangles(const FaceDetector::Result& result)
{
    std::vector<std::array<int, 4>> boxes;
    for (const DetectedFace& face : result.faces) {
        boxes.push_back({face.x1, face.x2, face.y1, face.y2});
    }
    return boxes;
}

} // namespace

TEST(FaceDetectorTest, FindsTheAstronautsFaceAndHerEyes)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QStringLiteral("astronaut.png")); !why.empty()) {
        GTEST_SKIP() << why;
    }

    const FaceDetector::Result result =
        FaceDetector::detectFile(FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png")), folder.dataPath());
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    ASSERT_EQ(result.faces.size(), 1u);
    const DetectedFace& face = result.faces.front();
    expectInside(face, QSize(512, 512));
    // Her face lies about x 170..280, y 60..180; her eyes near (203, 102) and (248, 103).
    EXPECT_TRUE(QRect(150, 20, 150, 180).contains(QPoint((face.x1 + face.x2) / 2, (face.y1 + face.y2) / 2)));
    EXPECT_TRUE(QRect(190, 90, 25, 25).contains(face.keyPoints[DetectedFace::RightEye].toPoint()));
    EXPECT_TRUE(QRect(235, 90, 25, 25).contains(face.keyPoints[DetectedFace::LeftEye].toPoint()));
    EXPECT_GT(face.score, 0.5f);
}

TEST(FaceDetectorTest, FindsNothingInPlainOrOddlyShapedPictures)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QString()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    QImage plain(640, 480, QImage::Format_RGB32);
    plain.fill(QColor(128, 128, 128));

    // Odd shapes must not trip the shrinking: a single pixel, a thin strip, a tall one.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    QImage strip(3000, 2, QImage::Format_Grayscale8);
    strip.fill(40);
    QImage tall(7, 2500, QImage::Format_RGB32);
    tall.fill(Qt::black);

    for (const QImage& picture : {plain, dot, strip, tall}) {
        const FaceDetector::Result result = FaceDetector::detect(picture, folder.dataPath());
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_TRUE(result.faces.empty());
    }
    EXPECT_FALSE(FaceDetector::detect(QImage(), folder.dataPath()).ok());
}

TEST(FaceDetectorTest, GroupPhotosComeOutInTheSameReadingOrderEveryTime)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QStringLiteral("faces/bald_guys.jpg")); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const QString photo = FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg"));

    const FaceDetector::Result first = FaceDetector::detectFile(photo, folder.dataPath());
    ASSERT_TRUE(first.ok()) << first.error.toStdString();
    EXPECT_GE(first.faces.size(), 20u); // 24 faces, some small and turned
    for (const DetectedFace& face : first.faces) {
        expectInside(face, QSize(1986, 1545));
    }
    // The first face is in the top row and the last in the bottom one.
    EXPECT_LT(first.faces.front().y1, 1545 / 4);
    EXPECT_GT(first.faces.back().y1, 1545 / 2);
    EXPECT_EQ(rectangles(FaceDetector::detectFile(photo, folder.dataPath())), rectangles(first));
}
