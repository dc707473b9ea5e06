// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceScore.h"

#include "engine/EngineError.h"

#include <gtest/gtest.h>

using namespace morvelin;

TEST(FaceScoreTest, DistancesBecomeScoresCaptionsAndListKeys)
{
    const struct {
        std::int32_t distance;
        const char* text;
        std::int64_t wholePercent;
        std::int32_t xscore;
        bool match;
    } cases[] = {
        {0, "100.0000", 100, 100000, true},        {1, "99.9997", 99, 100000, true},
        {50000, "85.9991", 85, 85999, true},       {107136, "70.0000", 70, 70000, true},
        {107137, "69.9997", 69, 70000, false},     {357120, "0.0000", 0, 0, false},
        {-357120, "200.0000", 200, 200000, true},
    };
    for (const auto& c : cases) {
        const FaceScore score = FaceScore::fromDistance(c.distance);
        EXPECT_EQ(score.text(), c.text) << "distance " << c.distance;
        EXPECT_EQ(score.wholePercent(), c.wholePercent) << "distance " << c.distance;
        EXPECT_EQ(score.xscore(), c.xscore) << "distance " << c.distance;
        EXPECT_EQ(score.isMatch(), c.match) << "distance " << c.distance;
    }
    EXPECT_THROW(FaceScore::fromDistance(30000000), OverflowError);

    // xscore is score x 1000: the fourth decimal becomes the first fraction digit of the key,
    // rounded half to even.
    EXPECT_EQ(FaceScore::fromTenThousandths(855000 + 5).xscore(), 85500);
    EXPECT_EQ(FaceScore::fromTenThousandths(855010 + 5).xscore(), 85502);
    EXPECT_EQ(FaceScore::fromTenThousandths(855010 + 6).xscore(), 85502);
    EXPECT_TRUE(FaceScore::fromTenThousandths(700000).isMatch());
    EXPECT_FALSE(FaceScore::fromTenThousandths(699999).isMatch());
}

TEST(FaceScoreTest, SimilaritiesRiseSteadilyThroughSeventyAtTheThreshold)
{
    constexpr double threshold = 0.33;
    EXPECT_EQ(FaceScore::fromSimilarity(threshold, threshold).text(), "70.0000");
    EXPECT_EQ(FaceScore::fromSimilarity(1.0, threshold).text(), "100.0000");
    EXPECT_EQ(FaceScore::fromSimilarity(-1.0, threshold).text(), "0.0000");
    EXPECT_FALSE(FaceScore::fromSimilarity(threshold - 0.0001, threshold).isMatch());
    std::int64_t previous = -1;
    for (double s = -1.2; s <= 1.2; s += 0.01) {
        const std::int64_t score = FaceScore::fromSimilarity(s, threshold).tenThousandths();
        EXPECT_GE(score, previous) << s;
        EXPECT_GE(score, 0);
        EXPECT_LE(score, 1000000);
        previous = score;
    }
}
