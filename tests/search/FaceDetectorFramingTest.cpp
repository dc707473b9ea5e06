#include "search/FaceFraming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

using namespace morvelin;

namespace {

BlazeFaceDecoder::Candidate found(QRectF box, QPointF rightEye, QPointF leftEye)
{
    BlazeFaceDecoder::Candidate candidate;
    candidate.score = 0.9f;
    candidate.box = box;
    candidate.keyPoints[DetectedFace::RightEye] = rightEye;
    candidate.keyPoints[DetectedFace::LeftEye] = leftEye;
    return candidate;
}

DetectorConfig eyeFraming(float size, float drop)
{
    DetectorConfig config;
    config.framing = DetectorConfig::Framing::EyeBox;
    config.eyeBoxSize = size;
    config.eyeBoxDrop = drop;
    return config;
}

DetectedFace face(int x1, int y1, int side)
{
    DetectedFace f;
    std::tie(f.x1, f.x2, f.y1, f.y2) = std::make_tuple(x1, x1 + side, y1, y1 + side);
    return f;
}

std::vector<std::pair<int, int>> corners(const std::vector<DetectedFace>& faces)
{
    std::vector<std::pair<int, int>> result;
    for (const DetectedFace& f : faces) {
        result.emplace_back(f.x1, f.y1);
    }
    return result;
}

} // namespace

TEST(FaceDetectorFramingTest, TheEyeBoxIsPlacedAndSizedByTheEyes)
{
    // Eyes 40 apart: a side of 80, the centre 20 below their midpoint (120, 100).
    EXPECT_EQ(FaceFraming::eyeBox(QPointF(100, 100), QPointF(140, 100), 2.0f, 0.5f), QRectF(80, 80, 80, 80));
    // A tilted head: the distance runs along the line through the eyes (30, 40: 50); a negative drop
    // lifts the centre above their midpoint (15, 20).
    EXPECT_EQ(FaceFraming::eyeBox(QPointF(0, 0), QPointF(30, 40), 1.0f, -1.0f), QRectF(-10, -55, 50, 50));

    const auto candidate = found(QRectF(70, 70, 100, 100), QPointF(100, 100), QPointF(140, 100));
    const auto byEyes = FaceFraming::place(candidate, eyeFraming(2.0f, 0.5f), QSize(640, 480));
    ASSERT_TRUE(byEyes);
    EXPECT_EQ(std::make_tuple(byEyes->x1, byEyes->x2, byEyes->y1, byEyes->y2), std::make_tuple(80, 160, 80, 160));
    const auto byModel = FaceFraming::place(candidate, DetectorConfig(), QSize(640, 480));
    ASSERT_TRUE(byModel);
    EXPECT_EQ(std::make_tuple(byModel->x1, byModel->x2, byModel->y1, byModel->y2), std::make_tuple(70, 170, 70, 170));
    EXPECT_EQ(byModel->keyPoints[DetectedFace::LeftEye], QPointF(140, 100));
}

TEST(FaceDetectorFramingTest, RectanglesAreClippedToTheImageOrDropped)
{
    const auto atTheEdge = FaceFraming::place(found(QRectF(-20.4, 430, 100, 100), {}, {}), DetectorConfig(), QSize(640, 480));
    ASSERT_TRUE(atTheEdge);
    EXPECT_EQ(std::make_tuple(atTheEdge->x1, atTheEdge->x2, atTheEdge->y1, atTheEdge->y2),
              std::make_tuple(0, 80, 430, 480));
    EXPECT_FALSE(FaceFraming::place(found(QRectF(700, 10, 50, 50), {}, {}), DetectorConfig(), QSize(640, 480)));
    EXPECT_FALSE(FaceFraming::place(found(QRectF(10, 10, 0.2, 50), {}, {}), DetectorConfig(), QSize(640, 480)));
    // Eyes on one spot say nothing of the face's size: the model's box stands in.
    const auto noEyes =
        FaceFraming::place(found(QRectF(10, 10, 50, 50), QPointF(30, 30), QPointF(30, 30)), eyeFraming(2, 0), QSize(640, 480));
    ASSERT_TRUE(noEyes);
    EXPECT_EQ(std::make_tuple(noEyes->x1, noEyes->x2), std::make_tuple(10, 60));
}

TEST(FaceDetectorFramingTest, FacesReadInRowsTopToBottomEachLeftToRight)
{
    // Two rows of slightly uneven heads, a lone face below them, and two faces at one height.
    const std::vector<DetectedFace> expected{face(10, 105, 60),  face(100, 100, 60), face(200, 120, 60),
                                             face(20, 300, 80),  face(150, 290, 80), face(260, 310, 80),
                                             face(100, 500, 40), face(300, 500, 40), face(300, 500, 50)};
    std::vector<DetectedFace> faces = expected;
    std::mt19937 shuffler(7);
    for (int round = 0; round < 10; ++round) {
        std::shuffle(faces.begin(), faces.end(), shuffler);
        FaceFraming::sortInReadingOrder(faces);
        EXPECT_EQ(corners(faces), corners(expected));
        EXPECT_EQ(faces[8].x2, 350); // equal corners: the smaller face first
    }

    // A face below the first face's middle starts the next row.
    faces = {face(500, 100, 100), face(0, 149, 100), face(200, 150, 100)};
    FaceFraming::sortInReadingOrder(faces);
    EXPECT_EQ(corners(faces), (std::vector<std::pair<int, int>>{{0, 149}, {500, 100}, {200, 150}}));
}
