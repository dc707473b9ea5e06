// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/BlazeFaceDecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace morvelin;

namespace {

// Raw answers with every anchor far below any threshold.
struct RawAnswers {
    std::vector<float> fineScores = std::vector<float>(BlazeFaceDecoder::fineAnchors, -20.0f);
    std::vector<float> fineBoxes = std::vector<float>(BlazeFaceDecoder::fineAnchors * 16, 0.0f);
    std::vector<float> coarseScores = std::vector<float>(BlazeFaceDecoder::coarseAnchors, -20.0f);
    std::vector<float> coarseBoxes = std::vector<float>(BlazeFaceDecoder::coarseAnchors * 16, 0.0f);

    std::vector<BlazeFaceDecoder::Candidate> decode(float threshold, const BlazeFaceDecoder::Placement& placement)
    {
        return BlazeFaceDecoder::decode(fineScores, fineBoxes, coarseScores, coarseBoxes, 128, threshold, placement);
    }
};

BlazeFaceDecoder::Candidate candidate(float score, double left, double top, double side)
{
    BlazeFaceDecoder::Candidate c;
    c.score = score;
    c.box = QRectF(left, top, side, side);
    for (QPointF& point : c.keyPoints) {
        point = c.box.center();
    }
    return c;
}

} // namespace

TEST(FaceDetectorDecoderTest, AnAnchorsAnswerBecomesABoxAroundItsCell)
{
    RawAnswers raw;
    // The fine grid's row 3, column 5, second anchor: its centre is at ((5 + 0.5) * 8, (3 + 0.5) * 8).
    const int anchor = (3 * 16 + 5) * 2 + 1;
    raw.fineScores[anchor] = 2.0f; // sigmoid 0.881
    float* values = raw.fineBoxes.data() + anchor * 16;
    values[0] = 4.0f;  // centre offset x
    values[1] = -2.0f; // centre offset y
    values[2] = 20.0f; // width
    values[3] = 30.0f; // height
    values[4] = -5.0f; // first key point (the right eye)
    values[5] = 1.0f;

    const auto none = raw.decode(0.9f, {});
    EXPECT_TRUE(none.empty());
    const auto found = raw.decode(0.5f, {2.0, 2.0, QPointF(100, 10)});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NEAR(found[0].score, 1 / (1 + std::exp(-2.0)), 1e-6);
    // Input (48, 26) centre, 20 x 30, placed at twice the size from (100, 10).
    EXPECT_DOUBLE_EQ(found[0].box.center().x(), 100 + 2 * 48.0);
    EXPECT_DOUBLE_EQ(found[0].box.center().y(), 10 + 2 * 26.0);
    EXPECT_DOUBLE_EQ(found[0].box.width(), 40.0);
    EXPECT_DOUBLE_EQ(found[0].box.height(), 60.0);
    EXPECT_EQ(found[0].keyPoints[0], QPointF(100 + 2 * 39.0, 10 + 2 * 29.0));
}

TEST(FaceDetectorDecoderTest, OverlappingFindsBlendIntoOneWeightedByScore)
{
    const auto merged = BlazeFaceDecoder::mergeOverlaps(
        {candidate(0.5f, 10, 10, 100), candidate(0.9f, 0, 0, 100), candidate(0.6f, 500, 500, 50)}, 0.3f);
    ASSERT_EQ(merged.size(), 2u);
    // Best first; the pair's left edge is (0 * 0.9 + 10 * 0.5) / 1.4, and it keeps the best score.
    EXPECT_FLOAT_EQ(merged[0].score, 0.9f);
    EXPECT_NEAR(merged[0].box.left(), 5.0 / 1.4, 1e-6);
    EXPECT_NEAR(merged[0].box.width(), 100.0, 1e-6);
    EXPECT_NEAR(merged[0].keyPoints[0].x(), (50 * 0.9 + 60 * 0.5) / 1.4, 1e-6);
    EXPECT_EQ(merged[1].box, QRectF(500, 500, 50, 50));

    // Boxes overlapping less than the threshold stay apart; an empty box is kept, not divided by.
    EXPECT_EQ(BlazeFaceDecoder::mergeOverlaps({candidate(0.9f, 0, 0, 100), candidate(0.8f, 60, 0, 100)}, 0.3f).size(), 2u);
    EXPECT_EQ(BlazeFaceDecoder::mergeOverlaps({candidate(0.9f, 5, 5, 0)}, 0.3f).size(), 1u);
    EXPECT_TRUE(BlazeFaceDecoder::mergeOverlaps({}, 0.3f).empty());
}
