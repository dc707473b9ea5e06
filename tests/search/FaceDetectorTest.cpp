#include "FaceDetectorTestFolder.h"

#include "search/BlazeFaceDecoder.h"
#include "search/FaceDetector.h"
#include "search/FaceFraming.h"
#include "search/PhotoScan.h"
#include "search/SourcePicture.h"

#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

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

// The boxes a scan of `photo` compares, in pixels of the scaled photo.
std::vector<QRect> scannedBoxes(const QString& photo, const QString& dataPath)
{
    QTemporaryDir temp;
    PhotoScan scan(std::make_shared<const PixelCanvas>(48, 48), temp.path() + QLatin1Char('/'));
    std::vector<QRect> boxes;
    QEventLoop loop;
    QObject::connect(&scan, &PhotoScan::faceScored, [&](int, const QRect& box) { boxes.push_back(box); });
    QObject::connect(&scan, &PhotoScan::Completed, &loop, &QEventLoop::quit);
    scan.Start(photo, dataPath);
    loop.exec();
    return boxes;
}

} // namespace

TEST(FaceDetectorTest, AFaceIsFramedByItsEyesWhateverItsSize)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QStringLiteral("astronaut.png")); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const QImage astronaut(FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png")));
    // Her head, and the middle of her pupils marked by hand.
    const QRect head(140, 20, 180, 220);
    const QPointF rightEye(203.5, 101.5);
    const QPointF leftEye(246.5, 103.0);
    const DetectorConfig config = *FaceDetector::config(folder.dataPath()).config;

    for (const double share : {0.1, 0.2, 0.4}) {
        QImage photo(1600, 1200, QImage::Format_RGB32);
        photo.fill(qRgb(150, 160, 150));
        const QImage pasted =
            astronaut.copy(head).scaledToWidth(static_cast<int>(share * photo.width()), Qt::SmoothTransformation);
        const double scale = double(pasted.width()) / head.width();
        const QPointF at(700, 250);
        QPainter(&photo).drawImage(at, pasted);

        const FaceDetector::Result result = FaceDetector::detect(photo, config);
        ASSERT_EQ(result.faces.size(), 1u) << share;
        const DetectedFace& face = result.faces.front();
        const QPointF right = at + (rightEye - head.topLeft()) * scale;
        const QPointF left = at + (leftEye - head.topLeft()) * scale;
        const QRectF expected = FaceFraming::eyeBox(right, left, config.eyeBoxSize, config.eyeBoxDrop);
        const double eyeDistance = std::hypot(left.x() - right.x(), left.y() - right.y());
        EXPECT_NEAR(face.width() / eyeDistance, config.eyeBoxSize, 0.05 * config.eyeBoxSize) << share;
        EXPECT_NEAR((face.x1 + face.x2) / 2.0, expected.center().x(), 0.03 * expected.width()) << share;
        EXPECT_NEAR((face.y1 + face.y2) / 2.0, expected.center().y(), 0.03 * expected.width()) << share;
    }
}

TEST(FaceDetectorTest, AFaceChosenFromAPhotoGetsTheBoxItsScanGives)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QStringLiteral("faces/bald_guys.jpg")); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const QString photo = FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg"));
    QTemporaryDir temp;
    const SourcePicture::Result chosen = SourcePicture::findFaces(photo, temp.path() + QLatin1Char('/'), folder.dataPath());
    ASSERT_TRUE(chosen.ok()) << chosen.error.toStdString();
    const std::vector<QRect> scanned = scannedBoxes(photo, folder.dataPath());
    ASSERT_EQ(scanned.size(), chosen.faces.size());
    for (const DetectedFace& face : chosen.faces) {
        const QRectF box(face.x1, face.y1, face.width(), face.height());
        double best = 0;
        for (const QRect& other : scanned) {
            best = std::max(best, BlazeFaceDecoder::intersectionOverUnion(box, QRectF(other.adjusted(0, 0, 1, 1))));
        }
        EXPECT_GE(best, 0.9) << face.x1 << " " << face.y1;
    }
}

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

TEST(FaceDetectorTest, FindsNothingInPlainSmoothOrOddlyShapedPictures)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QString()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    QImage plain(640, 480, QImage::Format_RGB32);
    plain.fill(QColor(128, 128, 128));
    QImage gradient(800, 600, QImage::Format_RGB32);
    QLinearGradient shade(0, 0, 800, 600);
    shade.setColorAt(0, Qt::darkBlue);
    shade.setColorAt(1, Qt::yellow);
    QPainter(&gradient).fillRect(gradient.rect(), shade);

    // Odd shapes must not trip the shrinking: a single pixel, a thin strip, a tall one.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    QImage strip(3000, 2, QImage::Format_Grayscale8);
    strip.fill(40);
    QImage tall(7, 2500, QImage::Format_RGB32);
    tall.fill(Qt::black);

    for (const QImage& picture : {plain, gradient, dot, strip, tall}) {
        const FaceDetector::Result result = FaceDetector::detect(picture, folder.dataPath());
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_TRUE(result.faces.empty());
    }
}

TEST(FaceDetectorTest, SaysWhyWhenTheDataFileOrTheImageCannotBeUsed)
{
    const FaceDetectorTestFolder folder;
    const QString image = folder.write(QStringLiteral("face.png"), QByteArray());
    QImage(64, 64, QImage::Format_RGB32).save(image);
    const QString garbage = folder.write(QStringLiteral("garbage.jpg"), "this is no picture");
    const QString notXml = folder.write(QStringLiteral("not.xml"), "<detector><model");
    const QString noModel = folder.write(QStringLiteral("nomodel.xml"),
                                         "<detector><model file='absent.onnx' input-size='256'/></detector>");
    folder.write(QStringLiteral("broken.onnx"), "not a network");
    const QString badModel = folder.write(QStringLiteral("badmodel.xml"),
                                          "<detector><model file='broken.onnx' input-size='256'/></detector>");

    const auto errorOf = [](const QString& imagePath, const QString& dataPath) {
        const FaceDetector::Result result = FaceDetector::detectFile(imagePath, dataPath);
        EXPECT_TRUE(result.faces.empty());
        return result.error;
    };
    EXPECT_TRUE(errorOf(image, folder.path(QStringLiteral("absent.xml"))).contains(QStringLiteral("not found")));
    EXPECT_TRUE(errorOf(image, notXml).contains(QStringLiteral("not.xml")));
    EXPECT_TRUE(errorOf(image, noModel).contains(QStringLiteral("absent.onnx")));
    EXPECT_TRUE(errorOf(image, badModel).contains(QStringLiteral("broken.onnx")));
    if (folder.hasModel()) {
        EXPECT_TRUE(errorOf(garbage, folder.dataPath()).contains(QStringLiteral("cannot be read")));
        EXPECT_TRUE(errorOf(folder.path(QStringLiteral("absent.jpg")), folder.dataPath())
                        .contains(QStringLiteral("not found")));
        EXPECT_FALSE(FaceDetector::detect(QImage(), folder.dataPath()).ok());
    }
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
