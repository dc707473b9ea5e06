// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceFraming.h"
#include "search/FaceGeometry.h"

#include <QTransform>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

using namespace morvelin;

namespace {

// Where `candidate` is placed in a 640 x 480 picture, as x1 x2 y1 y2, or nothing.
std::optional<std::tuple<int, int, int, int>> placed(QRectF box, QPointF rightEye, QPointF leftEye,
                                                     std::optional<std::pair<float, float>> eyeBox = {})
{
    BlazeFaceDecoder::Candidate candidate;
    candidate.box = box;
    candidate.keyPoints[DetectedFace::RightEye] = rightEye;
    candidate.keyPoints[DetectedFace::LeftEye] = leftEye;
    DetectorConfig config;
    if (eyeBox) {
        config.framing = DetectorConfig::Framing::EyeBox;
        std::tie(config.eyeBoxSize, config.eyeBoxDrop) = *eyeBox;
    }
    const auto face = FaceFraming::place(candidate, config, QSize(640, 480));
    return face ? std::optional(std::make_tuple(face->x1, face->x2, face->y1, face->y2)) : std::nullopt;
}

DetectedFace face(int x1, int y1, int side)
{
    DetectedFace f;
    std::tie(f.x1, f.x2, f.y1, f.y2) = std::make_tuple(x1, x1 + side, y1, y1 + side);
    return f;
}

} // namespace

TEST(FaceDetectorFramingTest, TheFaceIsFramedByTheEyesOrTheModelsBoxClippedToThePicture)
{
    // Eyes 40 apart: a side of 80, the centre 20 below their midpoint (120, 100).
    EXPECT_EQ(FaceFraming::eyeBox(QPointF(100, 100), QPointF(140, 100), 2.0f, 0.5f), QRectF(80, 80, 80, 80));
    // A tilted head: the distance runs along the line through the eyes (30, 40: 50); a negative drop
    // lifts the centre above their midpoint (15, 20).
    EXPECT_EQ(FaceFraming::eyeBox(QPointF(0, 0), QPointF(30, 40), 1.0f, -1.0f), QRectF(-10, -55, 50, 50));

    using Corners = std::tuple<int, int, int, int>;
    const QRectF box(70, 70, 100, 100);
    EXPECT_EQ(placed(box, QPointF(100, 100), QPointF(140, 100), std::pair(2.0f, 0.5f)), Corners(80, 160, 80, 160));
    EXPECT_EQ(placed(box, QPointF(100, 100), QPointF(140, 100)), Corners(70, 170, 70, 170));
    // Eyes on one spot say nothing of the face's size: the model's box stands in.
    EXPECT_EQ(placed(box, QPointF(30, 30), QPointF(30, 30), std::pair(2.0f, 0.0f)), Corners(70, 170, 70, 170));
    EXPECT_EQ(placed(QRectF(-20.4, 430, 100, 100), {}, {}), Corners(0, 80, 430, 480));
    EXPECT_FALSE(placed(QRectF(700, 10, 50, 50), {}, {}));
    EXPECT_FALSE(placed(QRectF(10, 10, 0.2, 50), {}, {}));
}

TEST(FaceDetectorFramingTest, FacesReadInRowsTopToBottomEachLeftToRight)
{
    // Two rows of slightly uneven heads, a lone face below them, and two faces at one corner.
    const std::vector<DetectedFace> expected{face(10, 105, 60),  face(100, 100, 60), face(200, 120, 60),
                                             face(20, 300, 80),  face(150, 290, 80), face(260, 310, 80),
                                             face(100, 500, 40), face(300, 500, 40), face(300, 500, 50)};
    const auto corners = [](const std::vector<DetectedFace>& faces) {
        std::vector<std::tuple<int, int, int>> result;
        for (const DetectedFace& f : faces) {
            result.emplace_back(f.x1, f.y1, f.x2);
        }
        return result;
    };
    std::vector<DetectedFace> faces = expected;
    std::mt19937 shuffler(7);
    for (int round = 0; round < 10; ++round) {
        std::shuffle(faces.begin(), faces.end(), shuffler);
        FaceFraming::sortInReadingOrder(faces);
        EXPECT_EQ(corners(faces), corners(expected)); // equal corners: the smaller face first
    }
    // A face below the first face's middle starts the next row.
    faces = {face(500, 100, 100), face(0, 149, 100), face(200, 150, 100)};
    FaceFraming::sortInReadingOrder(faces);
    EXPECT_EQ(corners(faces), corners({face(0, 149, 100), face(500, 100, 100), face(200, 150, 100)}));
}

// A find whose key points lie where no face has them (a window pane, a pattern) is no face; a real
// layout is one however the face is turned.
TEST(FaceDetectorFramingTest, OnlyKeyPointsLaidOutAsAFaceMakeAFace)
{
    BlazeFaceDecoder::Candidate frontal;
    frontal.box = QRectF(100, 100, 100, 100);
    frontal.keyPoints[DetectedFace::RightEye] = QPointF(130, 135);
    frontal.keyPoints[DetectedFace::LeftEye] = QPointF(170, 135);
    frontal.keyPoints[DetectedFace::NoseTip] = QPointF(150, 160);
    frontal.keyPoints[DetectedFace::Mouth] = QPointF(150, 180);
    frontal.keyPoints[DetectedFace::RightEar] = QPointF(105, 145);
    frontal.keyPoints[DetectedFace::LeftEar] = QPointF(195, 145);
    EXPECT_TRUE(FaceGeometry::makesAFace(frontal));
    for (const double degrees : {35.0, 90.0, 180.0, -120.0}) {
        BlazeFaceDecoder::Candidate turned = frontal;
        const QTransform turn = QTransform().translate(150, 150).rotate(degrees).translate(-150, -150);
        for (QPointF& point : turned.keyPoints) {
            point = turn.map(point);
        }
        EXPECT_TRUE(FaceGeometry::makesAFace(turned)) << degrees;
    }

    const auto changed = [&](DetectedFace::KeyPoint which, QPointF where) {
        BlazeFaceDecoder::Candidate candidate = frontal;
        candidate.keyPoints[which] = where;
        return candidate;
    };
    EXPECT_FALSE(FaceGeometry::makesAFace(BlazeFaceDecoder::Candidate{0.9f, frontal.box, {}})) << "no key points";
    EXPECT_FALSE(FaceGeometry::makesAFace(changed(DetectedFace::LeftEye, QPointF(132, 135)))) << "eyes together";
    BlazeFaceDecoder::Candidate wide = changed(DetectedFace::LeftEye, QPointF(199, 135));
    wide.keyPoints[DetectedFace::RightEye] = QPointF(101, 135);
    EXPECT_FALSE(FaceGeometry::makesAFace(wide)) << "eyes too far apart for the box";
    EXPECT_FALSE(FaceGeometry::makesAFace(changed(DetectedFace::Mouth, QPointF(150, 150)))) << "mouth above the nose";
    EXPECT_FALSE(FaceGeometry::makesAFace(changed(DetectedFace::NoseTip, QPointF(150, 120)))) << "nose above the eyes";
    EXPECT_FALSE(FaceGeometry::makesAFace(changed(DetectedFace::Mouth, QPointF(150, 245)))) << "mouth far below";
    EXPECT_FALSE(FaceGeometry::makesAFace(changed(DetectedFace::RightEar, QPointF(20, 145)))) << "a point off the box";
}
