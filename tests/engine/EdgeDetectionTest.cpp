// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/classImageProcessing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace morvelin;

namespace {

// `fill` goes into every cell, the unsampled last row and column included.
classImageProcessing sized(std::int16_t width, std::int16_t height, std::uint8_t fill = 0)
{
    classImageProcessing grid;
    grid.init(width, height);
    for (std::int16_t x = 0; x <= width && fill != 0; ++x) {
        for (std::int16_t y = 0; y <= height; ++y) {
            grid.setPoint(x, y, fill);
        }
    }
    return grid;
}

// A grid whose sampled cells hold `cells`, row by row from the top.
classImageProcessing gridOf(std::int16_t width, std::int16_t height, const std::vector<int>& cells)
{
    classImageProcessing grid = sized(width, height);
    for (int n = 0; n < static_cast<int>(cells.size()); ++n) {
        grid.setPoint(static_cast<std::int16_t>(n % width), static_cast<std::int16_t>(n / width), static_cast<std::uint8_t>(cells[n]));
    }
    return grid;
}

// The edge class of a 3 x 3 grid whose single block holds `cells`.
int classOfBlock(const std::vector<int>& cells)
{
    classImageProcessing grid = gridOf(3, 3, cells);
    grid.getEdges();
    return grid.getEdge(0, 0);
}

} // namespace

TEST(EdgeDetectionTest, TheMeanStrengthSetsATenthAsTracingThreshold)
{
    // A uniform source has no gradient: the lowest mean; column 0 and the last row are not visited.
    classImageProcessing uniform = sized(8, 8, 7);
    uniform.getImageEdges(sized(8, 8, 90));
    EXPECT_EQ(uniform.getPoint(1, 1), 0);
    EXPECT_EQ(uniform.getPoint(0, 4), 7);
    EXPECT_EQ(uniform.getPoint(4, 8), 7);
    EXPECT_DOUBLE_EQ(uniform.getMeanEdgeStrength(), 0.01);
    EXPECT_EQ(uniform.TraceEdgesThresh, 0) << "0.01 x 255 x 0.1 = 0.255";

    // A checkerboard has the full gradient 1 at every computed cell; cell (3, 3) is made level with
    // its left and upper neighbours. 8 of the 16 cells of a 4 x 4 grid then give 1: mean 0.5.
    const classImageProcessing board = gridOf(4, 4, {0, 255, 0, 255, 255, 0, 255, 0, 0, 255, 0, 255, 255, 0, 255, 255});
    classImageProcessing edges = sized(4, 4);
    edges.getImageEdges(board);
    EXPECT_EQ(edges.getPoint(1, 1), 255);
    EXPECT_DOUBLE_EQ(edges.getMeanEdgeStrength(), 0.5);
    EXPECT_EQ(edges.TraceEdgesThresh, 13) << "12.75 rounded";
}

TEST(EdgeDetectionTest, GradientsBelowTheThresholdWriteZeroAndLevelsRoundInSinglePrecision)
{
    // Cell (1, 1): |102 - 0| + |102 - 102| = 102, exactly 0.2. Cell (2, 1): |1 - 102| + |1 - 1| = 101.
    const classImageProcessing source = gridOf(3, 3, {0, 102, 1, 0, 102, 1});
    classImageProcessing edges = sized(3, 3);
    edges.EdgeThreshold = 0.2f;
    edges.getImageEdges(source);
    EXPECT_EQ(edges.getPoint(1, 1), 51);
    EXPECT_EQ(edges.getPoint(2, 1), 0);

    // Gradient sums 1, 5 and 45 give levels 0.5, 2.5 and 22.5 in single precision, which round to
    // the even neighbour; the same products in double lie just above and would round up.
    classImageProcessing rounded = sized(4, 2);
    rounded.getImageEdges(gridOf(4, 2, {0, 1, 6, 51, 0, 1, 6, 51}));
    EXPECT_EQ(rounded.getPoint(1, 1), 0);
    EXPECT_EQ(rounded.getPoint(2, 1), 2);
    EXPECT_EQ(rounded.getPoint(3, 1), 22);
}

TEST(EdgeDetectionTest, ContoursRunFromBrightAtTheThresholdToDarkAndThresholdOneFails)
{
    // Cell (1, 1) has gradient 1, cell (2, 1) gradient 0.
    const classImageProcessing source = gridOf(3, 2, {0, 0, 255, 0, 255, 255});
    classImageProcessing contours = sized(3, 2, 33);
    contours.EdgeThreshold = 1.0f;
    EXPECT_THROW(contours.getImageContours(source), DivisionByZeroError);
    EXPECT_EQ(contours.getPoint(1, 1), 33) << "nothing written before the failure";

    contours.EdgeThreshold = 0.0f;
    contours.getImageContours(source);
    EXPECT_EQ(contours.getPoint(1, 1), 0);
    EXPECT_EQ(contours.getPoint(2, 1), 255);
}

TEST(EdgeDetectionTest, GridsTooLargeForSixteenBitsOrSourcesWithoutAGridFail)
{
    classImageProcessing big = sized(182, 181);
    EXPECT_THROW(big.getImageEdges(sized(182, 181)), OverflowError) << "182 x 181 = 32942 cells";
    classImageProcessing fine = sized(181, 181);
    EXPECT_NO_THROW(fine.getImageEdges(sized(181, 181)));

    classImageProcessing noGrid;
    noGrid.width = 8;
    noGrid.height = 8;
    classImageProcessing edges = sized(8, 8);
    EXPECT_THROW(edges.getImageEdges(noGrid), IndexOutOfRangeError);
}

TEST(EdgeDetectionTest, BlocksGetTheClassOfTheirLineUnlessDarkOrUnmatched)
{
    EXPECT_EQ(classOfBlock({255, 255, 255, 0, 0, 0, 0, 0, 0}), 1);
    EXPECT_EQ(classOfBlock({255, 255, 255, 255, 255, 255, 255, 255, 255}), 0) << "best score 113, not below 100";
    // Mean 270 / 9 = 30 is dark; one level more and the top-row pattern matches with score 55.
    EXPECT_EQ(classOfBlock({255, 15, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(classOfBlock({255, 16, 0, 0, 0, 0, 0, 0, 0}), 1);
}
