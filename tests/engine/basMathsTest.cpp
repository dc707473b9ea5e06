#include "engine/basMaths.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace morvelin;

TEST(basMathsTest, ArcCosClampsArgumentsAtOrBeyondOneAndWritesThemBack)
{
    Single inside = 0.3f;
    EXPECT_NEAR(basMaths::arcCos(inside), std::acos(0.3f), 1e-6);
    EXPECT_EQ(inside, 0.3f) << "left alone";

    // The clamped value is single precision, and the arc cosine is steep there.
    const double clamped = 0.9999f;
    Single above = 1.5f;
    EXPECT_NEAR(basMaths::arcCos(above), std::acos(clamped), 1e-6);
    EXPECT_EQ(above, 0.9999f);
    Single one = 1.0f;
    basMaths::arcCos(one);
    EXPECT_EQ(one, 0.9999f);
    Single below = -2.0f;
    EXPECT_NEAR(basMaths::arcCos(below), std::acos(-clamped), 1e-6);
    EXPECT_EQ(below, -0.9999f);
}
