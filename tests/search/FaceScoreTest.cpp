// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceQuery.h"
#include "search/FaceScore.h"

#include "engine/EngineError.h"

#include <gtest/gtest.h>

using namespace morvelin;

TEST(FaceScoreTest, DistancesBecomeScoresCaptionsAndListKeys)
{
    const struct {
        std::int32_t distance;
        const char* text;
        std::int32_t xscore;
        bool listed;
    } cases[] = {
        {0, "100.0000", 100000, true},        {1, "99.9997", 100000, true},
        {50000, "85.9991", 85999, true},      {107136, "70.0000", 70000, true},
        {107137, "69.9997", 70000, false},    {357120, "0.0000", 0, false},
        {-357120, "200.0000", 200000, true},
    };
    const FaceQuery byDefault;
    for (const auto& c : cases) {
        const FaceScore score = FaceScore::fromDistance(c.distance);
        EXPECT_EQ(score.text(), c.text) << "distance " << c.distance;
        EXPECT_EQ(score.xscore(), c.xscore) << "distance " << c.distance;
        EXPECT_EQ(byDefault.lists(score), c.listed) << "distance " << c.distance;
    }
    EXPECT_THROW(FaceScore::fromDistance(30000000), OverflowError);

    // xscore is score x 1000: the fourth decimal becomes the first fraction digit of the key,
    // rounded half to even.
    EXPECT_EQ(FaceScore::fromTenThousandths(855000 + 5).xscore(), 85500);
    EXPECT_EQ(FaceScore::fromTenThousandths(855010 + 5).xscore(), 85502);
    EXPECT_EQ(FaceScore::fromTenThousandths(855010 + 6).xscore(), 85502);
    EXPECT_TRUE(byDefault.lists(FaceScore::fromTenThousandths(700000)));
    EXPECT_FALSE(byDefault.lists(FaceScore::fromTenThousandths(699999)));
}

TEST(FaceScoreTest, SimilaritiesRiseSteadilyThroughSeventyAtTheThreshold)
{
    constexpr double threshold = 0.33;
    EXPECT_EQ(FaceScore::fromSimilarity(threshold, threshold).text(), "70.0000");
    EXPECT_EQ(FaceScore::fromSimilarity(1.0, threshold).text(), "100.0000");
    EXPECT_EQ(FaceScore::fromSimilarity(-1.0, threshold).text(), "0.0000");
    EXPECT_FALSE(FaceQuery().lists(FaceScore::fromSimilarity(threshold - 0.0001, threshold)));
    std::int64_t previous = -1;
    for (double s = -1.2; s <= 1.2; s += 0.01) {
        const std::int64_t score = FaceScore::fromSimilarity(s, threshold).tenThousandths();
        EXPECT_GE(score, previous) << s;
        EXPECT_GE(score, 0);
        EXPECT_LE(score, 1000000);
        previous = score;
    }
}
