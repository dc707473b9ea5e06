// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/basMaths.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace morvelin;

TEST(basMathsTest, ArcCosClampsArgumentsAtOrBeyondOneAndWritesThemBack)
{
    // The clamped value is single precision, and the arc cosine is steep there.
    const struct {
        Single argument;
        Single writtenBack;
    } cases[] = {{0.3f, 0.3f}, {1.5f, 0.9999f}, {1.0f, 0.9999f}, {-2.0f, -0.9999f}};
    for (const auto& c : cases) {
        Single argument = c.argument;
        EXPECT_NEAR(basMaths::arcCos(argument), std::acos(double(c.writtenBack)), 1e-6) << c.argument;
        EXPECT_EQ(argument, c.writtenBack) << c.argument;
    }
}
