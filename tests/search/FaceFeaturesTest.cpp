// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceFeatures.h"
#include "search/FeaturesMatcher.h"

#include "FaceDetectorTestFolder.h"
#include "search/FaceScore.h"
#include "search/SourcePicture.h"

#include <QPainter>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>

using namespace morvelin;

namespace {

// Where the model expects the image-left eye, the image-right eye, the nose tip and the mouth.
const QPointF reference[] = {{38.2946, 51.6963}, {73.5318, 51.5014}, {56.0252, 71.7366}, {56.1396, 92.2848}};
const QColor marks[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

// The centre of the pixels near `colour`.
QPointF centroid(const QImage& image, const QColor& colour)
{
    double x = 0;
    double y = 0;
    int count = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            const QColor pixel = image.pixelColor(column, row);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green())
                    + std::abs(pixel.blue() - colour.blue()) < 120) {
                x += column + 0.5;
                y += row + 0.5;
                ++count;
            }
        }
    }
    return count > 0 ? QPointF(x / count, y / count) : QPointF(-100, -100);
}

double scoreOf(const FoundFace& a, const FoundFace& b)
{
    return FaceScore::fromSimilarity(FaceFeatures::similarity(a.features, b.features), FaceFeatures::matchSimilarity)
               .tenThousandths() / 10000.0;
}

} // namespace

TEST(FaceFeaturesTest, AlignmentPutsTheKeyPointsOnTheModelsPlacesAndFallsBackToTheBox)
{
    struct Pose {
        double degrees;
        double scale;
    };
    for (const Pose pose : {Pose{0, 1.0}, Pose{25, 2.3}, Pose{-40, 0.8}}) {
        // A face the model's own square would give, turned, scaled and moved into a larger photo.
        const QTransform placed = QTransform().translate(200, 180).rotate(pose.degrees).scale(pose.scale, pose.scale).translate(-56, -56);
        QImage photo(420, 400, QImage::Format_RGB888);
        photo.fill(Qt::black);
        QPainter painter(&photo);
        DetectedFace face{150, 250, 130, 230, 1.0f, {}};
        const DetectedFace::KeyPoint order[] = {DetectedFace::RightEye, DetectedFace::LeftEye, DetectedFace::NoseTip,
                                                DetectedFace::Mouth};
        for (int i = 0; i < 4; ++i) {
            face.keyPoints[order[i]] = placed.map(reference[i]);
            painter.fillRect(QRectF(face.keyPoints[order[i]] - QPointF(3, 3) * pose.scale, QSizeF(6, 6) * pose.scale), marks[i]);
        }
        painter.end();

        const QImage aligned = FaceFeatures::align(photo, face);
        ASSERT_EQ(aligned.size(), QSize(FaceFeatures::side, FaceFeatures::side));
        for (int i = 0; i < 4; ++i) {
            const QPointF found = centroid(aligned, marks[i]);
            EXPECT_LE(QLineF(found, reference[i]).length(), 1.0) << pose.degrees << " degrees, mark " << i;
        }
    }

    // Key points missing, on top of each other or off the photo: the box's corners go to the square's.
    DetectedFace missing{40, 140, 60, 160, 1.0f, {}};
    DetectedFace stacked = missing;
    stacked.keyPoints[DetectedFace::RightEye] = stacked.keyPoints[DetectedFace::LeftEye] = QPointF(90, 100);
    DetectedFace outside = missing;
    outside.keyPoints.fill(QPointF(-500, 1e9));
    for (const DetectedFace& face : {missing, stacked, outside}) {
        const cv::Matx23d m = FaceFeatures::alignment(face, QSize(300, 300));
        EXPECT_NEAR(m(0, 0) * 40 + m(0, 1) * 60 + m(0, 2), 0, 1e-6);
        EXPECT_NEAR(m(1, 0) * 140 + m(1, 1) * 160 + m(1, 2), FaceFeatures::side, 1e-6);
    }
}

TEST(FaceFeaturesTest, OnePersonScoresHighTwoPeopleLowAndEveryPathReadsTheSameFace)
{
    FaceDetectorTestFolder folder;
    SKIP_WITHOUT_MODEL_OR_PHOTO(folder, "faces/bald_guys.jpg");
    QString error;
    const FeaturesMatcher matcher(folder.dataPath());
    const auto sourceOf = [&](const QString& photo) {
        const SourcePicture::Result found = SourcePicture::findFaces(photo, folder.dataPath());
        EXPECT_FALSE(found.faces.empty()) << photo.toStdString();
        return SourcePicture::personFace(found, 0, matcher, error);
    };
    const QString astronaut = FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png"));
    const FoundFace original = sourceOf(astronaut);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(original.features.size(), std::size_t(FaceFeatures::length));

    // Her photo at two thirds of its size, as a lower-quality JPEG.
    const QImage smaller = QImage(astronaut).scaledToWidth(QImage(astronaut).width() * 2 / 3, Qt::SmoothTransformation);
    const QString copy = folder.path(QStringLiteral("copy.jpg"));
    ASSERT_TRUE(smaller.save(copy, "JPEG", 70));
    EXPECT_GE(scoreOf(original, sourceOf(copy)), 90.0);
    EXPECT_LT(scoreOf(original, sourceOf(FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg")))), 70.0);

    // The window keeps its prepared picture and finds the faces in it again: the same face, the same
    // features.
    const SourcePicture::Prepared prepared = SourcePicture::preparePhoto(astronaut);
    QFile::remove(prepared.jpeg);
    const FoundFace fromWindow =
        SourcePicture::personFace(SourcePicture::findFacesIn(prepared, folder.dataPath()), 0, matcher, error);
    EXPECT_EQ(fromWindow.features, original.features);
}

TEST(FaceFeaturesTest, AMissingTruncatedOrAlteredModelIsRefusedNamingTheFile)
{
    FaceDetectorTestFolder folder;
    const QString shipped = FaceFeatures::pathBeside(folder.dataPath());
    QFile file(shipped);
    if (!file.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "no facial-features model (scripts/setup.sh fetches it)";
    }
    QByteArray altered = file.readAll();
    altered[altered.size() / 2] = char(altered[altered.size() / 2] ^ 1);
    const QString paths[] = {folder.path(QStringLiteral("none.onnx")),
                             folder.write(QStringLiteral("truncated.onnx"), altered.left(altered.size() / 3)),
                             folder.write(QStringLiteral("altered.onnx"), altered)};
    for (const QString& path : paths) {
        const FaceFeatures::Loaded loaded = FaceFeatures::forFile(path);
        EXPECT_EQ(loaded.model, nullptr) << path.toStdString();
        EXPECT_TRUE(loaded.error.contains(path)) << loaded.error.toStdString();
        EXPECT_FALSE(loaded.error.contains(QLatin1Char('\n'))) << loaded.error.toStdString();
    }
    EXPECT_NE(FaceFeatures::forFile(shipped).model, nullptr);
}
