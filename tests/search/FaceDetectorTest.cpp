// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/BackgroundWork.h"
#include "GridQuery.h"
#include "search/BlazeFaceDecoder.h"
#include "search/FaceDetector.h"
#include "search/FaceFraming.h"
#include "search/MorvelinFaceDetection.h"
#include "search/PhotoScan.h"
#include "search/SourcePicture.h"

#include "FaceDetectorTestFolder.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace morvelin;

namespace {

QRect rectangle(const DetectedFace& face)
{
    return QRect(QPoint(face.x1, face.y1), QPoint(face.x2 - 1, face.y2 - 1));
}

// Every notification one object raised ("N", "F x1 x2 y1 y2", "C"), and whether each arrived on the
// object's own thread.
struct Recorder {
    explicit Recorder(MorvelinFaceDetection& detection)
    {
        const auto record = [this, &detection](const QString& event) {
            events << event;
            onOwnThread = onOwnThread && QThread::currentThread() == detection.thread();
        };
        QObject::connect(&detection, &MorvelinFaceDetection::Notice, [record] { record("N"); });
        QObject::connect(&detection, &MorvelinFaceDetection::FaceFound,
                         [record](int x1, int x2, int y1, int y2) { record(QString("F %1 %2 %3 %4").arg(x1).arg(x2).arg(y1).arg(y2)); });
        QObject::connect(&detection, &MorvelinFaceDetection::Completed, [record] { record("C"); });
    }
    bool completed() const { return events.contains("C"); }

    QStringList events;
    bool onOwnThread = true;
};

// Waits for `done`, then a little longer, so a notification that should not come has the chance to.
void runEventsUntil(const std::function<bool()>& done)
{
    waitUntil(done, 60000);
    QThread::msleep(50);
    QCoreApplication::processEvents();
}

// The boxes a scan of `photo` compares, in pixels of the scaled photo.
std::vector<QRect> scannedBoxes(const QString& photo, const QString& dataPath)
{
    PhotoScan scan(gridQuery());
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
    SKIP_WITHOUT_MODEL_OR_PHOTO(folder, "astronaut.png");
    const QImage astronaut(FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png")));
    // Her head, and the middle of her pupils marked by hand.
    const QRect head(140, 20, 180, 220);
    const QPointF rightEye(203.5, 101.5);
    const QPointF leftEye(246.5, 103.0);
    const DetectorConfig config = *FaceDetector::config(folder.dataPath()).config;

    for (const double share : {0.1, 0.2, 0.4}) {
        QImage photo(1600, 1200, QImage::Format_RGB32);
        photo.fill(qRgb(150, 160, 150));
        // Her whole picture, scaled so that her head is `share` of the photo's width: a face in its
        // surroundings, not a cut-out whose sharp edges look like something.
        const double scale = share * photo.width() / head.width();
        const QImage pasted = astronaut.scaledToWidth(static_cast<int>(astronaut.width() * scale), Qt::SmoothTransformation);
        const QPointF at(700, 250);
        QPainter(&photo).drawImage(at - QPointF(head.topLeft()) * scale, pasted);

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

TEST(FaceDetectorTest, FindsTheAstronautsFaceAndHerEyesAndNothingInPlainOrOddlyShapedPictures)
{
    const FaceDetectorTestFolder folder;
    SKIP_WITHOUT_MODEL_OR_PHOTO(folder, "astronaut.png");
    const FaceDetector::Result result =
        FaceDetector::detect(QImage(FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png"))), folder.dataPath());
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

// A face chosen from a photo is the one a scan of that photo compares.
TEST(FaceDetectorTest, GroupPhotosComeOutInTheSameReadingOrderEveryTimeAndAsTheirScanSeesThem)
{
    const FaceDetectorTestFolder folder;
    SKIP_WITHOUT_MODEL_OR_PHOTO(folder, "faces/bald_guys.jpg");
    const QString path = FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg"));
    const QImage photo(path);
    const auto rectangles = [&] {
        const FaceDetector::Result result = FaceDetector::detect(photo, folder.dataPath());
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

    const SourcePicture::Result chosen = SourcePicture::findFaces(path, folder.dataPath());
    ASSERT_TRUE(chosen.ok()) << chosen.error.toStdString();
    const std::vector<QRect> scanned = scannedBoxes(path, folder.dataPath());
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

TEST(MorvelinFaceDetectionTest, CompletedComesOnceAndTheErrorSaysWhyWhenNothingCanBeUsed)
{
    const FaceDetectorTestFolder folder;
    QImage small(32, 32, QImage::Format_RGB32);
    small.fill(Qt::gray);
    folder.write(QStringLiteral("broken.onnx"), "not a network");
    // Without the model the data file cannot be used, whatever the picture.
    const struct {
        QImage image;
        QString data;
        const char* says;
    } cases[] = {
        {small, folder.path(QStringLiteral("absent.xml")), "not found"},
        {small, folder.write(QStringLiteral("not.xml"), "<detector><model"), "not.xml"},
        {small, folder.write(QStringLiteral("nomodel.xml"), "<detector><model file='absent.onnx'/></detector>"), "absent.onnx"},
        {small, folder.write(QStringLiteral("badmodel.xml"), "<detector><model file='broken.onnx'/></detector>"), "broken.onnx"},
        {QImage(), folder.dataPath(), folder.hasModel() ? "empty" : ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.toStdString());
        MorvelinFaceDetection detection;
        const Recorder recorder(detection);
        detection.Detect(c.image, c.data);
        runEventsUntil([&] { return recorder.completed(); });
        EXPECT_EQ(recorder.events, QStringList({"N", "C"}));
        EXPECT_TRUE(recorder.onOwnThread);
        EXPECT_TRUE(detection.lastError().contains(QLatin1String(c.says))) << detection.lastError().toStdString();
        EXPECT_FALSE(detection.lastError().isEmpty());
    }
}

TEST(MorvelinFaceDetectionTest, NoticeThenEachFaceThenCompletedOnTheObjectsThreadForManyAtOnce)
{
    const FaceDetectorTestFolder folder;
    SKIP_WITHOUT_MODEL_OR_PHOTO(folder, "faces/bald_guys.jpg");
    const std::vector<QImage> images{QImage(FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg"))),
                                     QImage(FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png"))),
                                     QImage(FaceDetectorTestFolder::photo(QStringLiteral("faces/2008_002470.jpg")))};
    QList<QStringList> expected;
    for (const QImage& image : images) {
        expected.append({"N"});
        for (const DetectedFace& face : FaceDetector::detect(image, folder.dataPath()).faces) {
            expected.back() << QString("F %1 %2 %3 %4").arg(face.x1).arg(face.x2).arg(face.y1).arg(face.y2);
        }
        expected.back() << "C";
    }
    // More detections than the pool has threads: the rest wait their turn.
    std::vector<std::unique_ptr<MorvelinFaceDetection>> detections;
    std::vector<std::unique_ptr<Recorder>> recorders;
    const int count = 2 * QThread::idealThreadCount() + static_cast<int>(images.size());
    for (int i = 0; i < count; ++i) {
        detections.push_back(std::make_unique<MorvelinFaceDetection>());
        recorders.push_back(std::make_unique<Recorder>(*detections.back()));
        detections.back()->Detect(images[i % images.size()], folder.dataPath());
    }
    EXPECT_TRUE(recorders.front()->events.empty()) << "Detect returns before the work is done";
    EXPECT_LE(BackgroundWork::pool().maxThreadCount(), QThread::idealThreadCount());

    runEventsUntil([&] { return std::all_of(recorders.begin(), recorders.end(), [](const auto& r) { return r->completed(); }); });
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(recorders[i]->events, expected[i % images.size()]);
        EXPECT_TRUE(recorders[i]->onOwnThread);
        EXPECT_TRUE(detections[i]->lastError().isEmpty()) << detections[i]->lastError().toStdString();
    }

    // Objects destroyed while they detect hear nothing more, and nothing breaks.
    for (auto& recorder : recorders) {
        recorder->events.clear();
    }
    for (int i = 0; i < 4; ++i) {
        detections[i]->Detect(images[0], folder.dataPath());
        if (i % 2 == 1) {
            QThread::msleep(30); // let some runs be under way when their object goes
        }
        detections[i].reset();
    }
    BackgroundWork::pool().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorders[0]->events.isEmpty() && recorders[3]->events.isEmpty());
}
