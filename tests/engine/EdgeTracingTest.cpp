// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/classImageProcessing.h"

#include "classImageProcessingTestPeer.h"

#include <gtest/gtest.h>

#include <array>

using namespace morvelin;
using Peer = classImageProcessingTestPeer;

namespace {

// A 16 x 16 grid, bright (200) along row `y` from `fromX` to `toX`.
classImageProcessing rowGrid(int y, int fromX, int toX)
{
    classImageProcessing grid;
    grid.init(16, 16);
    for (int x = fromX; x <= toX; ++x) {
        grid.setPoint(static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 200);
    }
    return grid;
}

} // namespace

TEST(EdgeTracingTest, ATraceCountsOnlyWhenLongerThanTheMinimum)
{
    // Traced from the right end: a fresh trace may step left.
    classImageProcessing eleven = rowGrid(5, 1, 11);
    std::int16_t x = 11;
    std::int16_t y = 5;
    std::int16_t length = 0;
    EXPECT_TRUE(eleven.traceEdgesFromPoint(x, y, length));
    EXPECT_EQ(length, 11);
    ASSERT_EQ(eleven.getTraceCount(), 1);
    // Each level weighs a half; the last pass finds no neighbour and halves the strength.
    const auto& trace = eleven.getEdgeTrace(0);
    EXPECT_EQ((std::array<Single, 4>{trace[0], trace[1], trace[2], trace[3]}), (std::array<Single, 4>{11, 5, 1, 5}));
    EXPECT_FLOAT_EQ(trace[4], 100);

    classImageProcessing ten = rowGrid(5, 2, 11);
    x = 11;
    length = 0;
    EXPECT_FALSE(ten.traceEdgesFromPoint(x, y, length));
    EXPECT_EQ(ten.getTraceCount(), 0);
    EXPECT_TRUE(ten.isTraced(2, 5)) << "its cells are traced all the same";
}

TEST(EdgeTracingTest, TheListHoldsTwoHundredTracesAndSortingUsesSixteenBitDistances)
{
    classImageProcessing grid = rowGrid(0, 1, 0);
    for (int i = 0; i < 200; ++i) {
        Peer::addTrace(grid, 0, 0, 1, 1, 10);
    }
    Peer::addTrace(grid, 0, 0, 1, 1, 250);
    EXPECT_EQ(grid.getTraceCount(), 200);
    EXPECT_EQ(grid.getMaxTraceStrength(), 10) << "the dropped trace leaves no mark";
    EXPECT_THROW(grid.getEdgeTrace(200), IndexOutOfRangeError);

    // Squared distances are 16-bit: 200 cells apart is beyond them.
    classImageProcessing far = rowGrid(0, 1, 0);
    Peer::addTrace(far, 0, 0, 200, 0, 1);
    Peer::addTrace(far, 0, 0, 1, 1, 1);
    EXPECT_THROW(Peer::sortTraces(far), OverflowError);
}

TEST(EdgeTracingTest, TheSpiralWalkEndsAlsoWithANegativeThreshold)
{
    classImageProcessing walked = rowGrid(6, 2, 13);
    walked.traceEdges_old();
    EXPECT_EQ(Peer::searchTurn(walked), 0);
    int traced = 0;
    for (std::int16_t x = 2; x <= 13; ++x) {
        traced += walked.isTraced(x, 6) ? 1 : 0;
    }
    EXPECT_GT(traced, 0);

    // A negative threshold must not keep the walker on dark cells for ever.
    classImageProcessing negative = rowGrid(6, 2, 13);
    negative.TraceEdgesThresh = -1;
    negative.traceEdges_old();
    EXPECT_EQ(Peer::searchTurn(negative), 0);
}
