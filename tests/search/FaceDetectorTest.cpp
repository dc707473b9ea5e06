#include "FaceDetectorTestFolder.h"

#include "search/FaceDetector.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

QRect rectangle(const DetectedFace& face)
{
    return QRect(QPoint(face.x1, face.y1), QPoint(face.x2 - 1, face.y2 - 1));
}

} // namespace

TEST(FaceDetectorTest, FindsTheAstronautsFaceAndHerEyesAndNothingInPlainOrOddlyShapedPictures)
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
    EXPECT_TRUE(QRect(0, 0, 512, 512).contains(rectangle(face)));
    // Her face lies about x 170..280, y 60..180; her eyes near (203, 102) and (248, 103).
    EXPECT_TRUE(QRect(150, 20, 150, 180).contains(rectangle(face).center()));
    EXPECT_TRUE(QRect(190, 90, 25, 25).contains(face.keyPoints[DetectedFace::RightEye].toPoint()));
    EXPECT_TRUE(QRect(235, 90, 25, 25).contains(face.keyPoints[DetectedFace::LeftEye].toPoint()));
    EXPECT_GT(face.score, 0.5f);

    // Odd shapes must not trip the shrinking: a single pixel, a thin strip, a tall one.
    QImage plain(640, 480, QImage::Format_RGB32);
    plain.fill(QColor(128, 128, 128));
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    QImage strip(3000, 2, QImage::Format_Grayscale8);
    strip.fill(40);
    QImage tall(7, 2500, QImage::Format_RGB32);
    tall.fill(Qt::black);
    for (const QImage& picture : {plain, dot, strip, tall}) {
        const FaceDetector::Result nothing = FaceDetector::detect(picture, folder.dataPath());
        EXPECT_TRUE(nothing.ok()) << nothing.error.toStdString();
        EXPECT_TRUE(nothing.faces.empty());
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
    const auto rectangles = [&] {
        const FaceDetector::Result result = FaceDetector::detectFile(photo, folder.dataPath());
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        std::vector<QRect> boxes;
        for (const DetectedFace& face : result.faces) {
            boxes.push_back(rectangle(face));
        }
        return boxes;
    };
    const std::vector<QRect> first = rectangles();
    EXPECT_GE(first.size(), 20u); // 24 faces, some small and turned
    for (const QRect& box : first) {
        EXPECT_TRUE(QRect(0, 0, 1986, 1545).contains(box));
    }
    // The first face is in the top row and the last in the bottom one.
    ASSERT_FALSE(first.empty());
    EXPECT_LT(first.front().top(), 1545 / 4);
    EXPECT_GT(first.back().top(), 1545 / 2);
    EXPECT_EQ(rectangles(), first);
}
