#include "engine/classImageProcessing.h"

#include "classImageProcessingTestPeer.h"

#include <gtest/gtest.h>

#include <array>

using namespace morvelin;
using Peer = classImageProcessingTestPeer;

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

// The edge class of a 3 x 3 grid whose single block holds `cells` (row by row from the top); the
// histogram must count that class once and nothing else.
int classOfBlock(const std::array<int, 9>& cells)
{
    classImageProcessing grid = sized(3, 3);
    for (int n = 0; n < 9; ++n) {
        grid.setPoint(static_cast<std::int16_t>(n % 3), static_cast<std::int16_t>(n / 3), static_cast<std::uint8_t>(cells[n]));
    }
    grid.getEdges();
    const int edgeClass = grid.getEdge(0, 0);
    std::array<std::int16_t, 6> histogram{};
    if (edgeClass != 0) {
        histogram[edgeClass - 1] = 1;
    }
    EXPECT_EQ(grid.getEdgeHistogram(), histogram);
    return edgeClass;
}

} // namespace

TEST(EdgeDetectionTest, AUniformSourceHasNoGradientAndTheLowestMeanStrength)
{
    classImageProcessing source = sized(8, 8, 90);
    classImageProcessing edges = sized(8, 8, 7);
    edges.getImageEdges(source);
    EXPECT_EQ(edges.getPoint(1, 1), 0);
    EXPECT_EQ(edges.getPoint(7, 7), 0);
    EXPECT_EQ(edges.getPoint(0, 4), 7) << "column 0 is not visited";
    EXPECT_EQ(edges.getPoint(4, 8), 7) << "the last row is not visited";
    EXPECT_DOUBLE_EQ(edges.getMeanEdgeStrength(), 0.01);
    EXPECT_EQ(edges.TraceEdgesThresh, 0) << "0.01 x 255 x 0.1 = 0.255";
}

TEST(EdgeDetectionTest, TheMeanCountsEveryCellAndSetsATenthAsTracingThreshold)
{
    // A checkerboard has the full gradient 1 at every computed cell; cell (3, 3) is made level with
    // its left and upper neighbours. 8 of the 16 cells of a 4 x 4 grid then give 1: mean 0.5.
    classImageProcessing source = sized(4, 4);
    for (std::int16_t x = 0; x < 4; ++x) {
        for (std::int16_t y = 0; y < 4; ++y) {
            source.setPoint(x, y, (x + y) % 2 == 1 ? 255 : 0);
        }
    }
    source.setPoint(3, 3, source.getPoint(2, 3));
    classImageProcessing edges = sized(4, 4);
    edges.getImageEdges(source);
    EXPECT_EQ(edges.getPoint(1, 1), 255);
    EXPECT_EQ(edges.getPoint(3, 3), 0);
    EXPECT_DOUBLE_EQ(edges.getMeanEdgeStrength(), 0.5);
    EXPECT_EQ(edges.TraceEdgesThresh, 13) << "12.75 rounded";
}

TEST(EdgeDetectionTest, GradientsBelowTheThresholdWriteZeroAndLevelsRoundInSinglePrecision)
{
    // Cell (1, 1): |102 - 0| + |102 - 102| = 102, exactly 0.2. Cell (2, 1): |1 - 102| + |1 - 1| = 101.
    classImageProcessing source = sized(3, 3);
    source.setPoint(1, 0, 102);
    source.setPoint(1, 1, 102);
    source.setPoint(2, 0, 1);
    source.setPoint(2, 1, 1);
    classImageProcessing edges = sized(3, 3);
    edges.EdgeThreshold = 0.2f;
    edges.getImageEdges(source);
    EXPECT_EQ(edges.getPoint(1, 1), 51);
    EXPECT_EQ(edges.getPoint(2, 1), 0);

    // Gradient sums 1, 5 and 45 give levels 0.5, 2.5 and 22.5 in single precision, which round to
    // the even neighbour; the same products in double lie just above and would round up.
    classImageProcessing ramp = sized(4, 2);
    const int levels[] = {0, 1, 6, 51};
    for (std::int16_t x = 0; x < 4; ++x) {
        ramp.setPoint(x, 0, static_cast<std::uint8_t>(levels[x]));
        ramp.setPoint(x, 1, static_cast<std::uint8_t>(levels[x]));
    }
    classImageProcessing rounded = sized(4, 2);
    rounded.getImageEdges(ramp);
    EXPECT_EQ(rounded.getPoint(1, 1), 0);
    EXPECT_EQ(rounded.getPoint(2, 1), 2);
    EXPECT_EQ(rounded.getPoint(3, 1), 22);
}

TEST(EdgeDetectionTest, OnlyInnerCellsWithASourcePointAreComputedAndCleared)
{
    // A 2 x 2 source under an 8 x 8 target: columns and rows 1 and 2 map to source 0 and keep
    // their levels; from 3 on they are computed.
    classImageProcessing source = sized(2, 2, 50);
    classImageProcessing contours = sized(8, 8, 77);
    for (std::int16_t i = 0; i <= 8; ++i) {
        for (std::int16_t j = 0; j <= 8; ++j) {
            Peer::setTraced(contours, i, j, true);
        }
    }
    contours.getImageContours(source);
    EXPECT_EQ(contours.getPoint(3, 3), 255) << "no gradient is the brightest contour";
    EXPECT_EQ(contours.getPoint(2, 5), 77);
    EXPECT_EQ(contours.getPoint(5, 2), 77);
    EXPECT_FALSE(contours.isTraced(1, 1)) << "visited, though not computed";
    EXPECT_FALSE(contours.isTraced(7, 7));
    EXPECT_TRUE(contours.isTraced(0, 3));
    EXPECT_TRUE(contours.isTraced(8, 3));
    EXPECT_TRUE(contours.isTraced(3, 8));
}

TEST(EdgeDetectionTest, ContoursRunFromBrightAtTheThresholdToDarkAndThresholdOneFails)
{
    // Cell (1, 1) has gradient 1, cell (2, 1) gradient 0.
    classImageProcessing source = sized(3, 2);
    source.setPoint(1, 1, 255);
    source.setPoint(2, 1, 255);
    source.setPoint(2, 0, 255);
    classImageProcessing contours = sized(3, 2, 33);
    contours.EdgeThreshold = 1.0f;
    EXPECT_THROW(contours.getImageContours(source), DivisionByZeroError);
    EXPECT_EQ(contours.getPoint(1, 1), 33) << "nothing written before the failure";

    contours.EdgeThreshold = 0.0f;
    contours.getImageContours(source);
    EXPECT_EQ(contours.getPoint(1, 1), 0);
    EXPECT_EQ(contours.getPoint(2, 1), 255);
    contours.EdgeThreshold = 0.5f;
    contours.getImageContours(source);
    EXPECT_EQ(contours.getPoint(2, 1), 0) << "below the threshold";
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
    for (const auto& pattern : sized(3, 3).edgePatternTable()) {
        std::array<int, 9> cells{};
        for (int n = 0; n < 9; ++n) {
            cells[n] = 255 * pattern[n];
        }
        EXPECT_EQ(classOfBlock(cells), pattern[9]);
    }
    EXPECT_EQ(classOfBlock({255, 255, 255, 255, 255, 255, 255, 255, 255}), 0) << "best score 113, not below 100";
    // Mean 270 / 9 = 30 is dark; one level more and the top-row pattern matches with score 55.
    EXPECT_EQ(classOfBlock({255, 15, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(classOfBlock({255, 16, 0, 0, 0, 0, 0, 0, 0}), 1);
}

TEST(EdgeDetectionTest, BlocksStepByTwoAndShareTheirBorderCells)
{
    // Bright even rows: every block is bright, dark, bright by rows, nearest to a horizontal line
    // (score 85). A 48-wide grid has blocks 0..22 each way.
    classImageProcessing grid = sized(48, 48);
    for (std::int16_t x = 0; x < 48; ++x) {
        for (std::int16_t y = 0; y < 48; y += 2) {
            grid.setPoint(x, y, 255);
        }
    }
    grid.getEdges();
    EXPECT_EQ(grid.getEdgeHistogram()[0], 23 * 23);
    EXPECT_EQ(grid.getEdge(24, 3), 0);
    EXPECT_EQ(grid.getEdge(3, 24), 0);
}

TEST(EdgeDetectionTest, CleanUpKeepsTheLastCellOfARunExceptAlongItsOwnLine)
{
    classImageProcessing grid = sized(16, 16); // an 8 x 8 edge map
    for (std::int16_t i = 2; i <= 4; ++i) {
        Peer::setEdge(grid, i, 1, 3);     // a diagonal class in a row
        Peer::setEdge(grid, i, 3, 1);     // horizontal lines in a row
        Peer::setEdge(grid, 6, i + 3, 2); // vertical lines in a column
    }
    grid.getEdges_secondary();
    EXPECT_EQ(grid.getEdge(2, 1), 0);
    EXPECT_EQ(grid.getEdge(3, 1), 0);
    EXPECT_EQ(grid.getEdge(4, 1), 3);
    for (std::int16_t i = 2; i <= 4; ++i) {
        EXPECT_EQ(grid.getEdge(i, 3), 1) << i;
        EXPECT_EQ(grid.getEdge(6, i + 3), 2) << i;
    }
}

TEST(EdgeDetectionTest, CleanUpBridgesGapsAndEmptiesSurroundedCells)
{
    // A gap between two edges becomes a horizontal line...
    classImageProcessing bridged = sized(16, 16);
    Peer::setEdge(bridged, 2, 2, 3);
    Peer::setEdge(bridged, 4, 2, 4);
    bridged.getEdges_secondary();
    EXPECT_EQ(bridged.getEdge(3, 2), 1);
    EXPECT_EQ(bridged.getEdge(4, 2), 4);

    // ...unless the cell below is a horizontal line too, which makes the bridge the start of a run.
    Peer::setEdge(bridged, 3, 2, 0);
    Peer::setEdge(bridged, 3, 3, 1);
    bridged.getEdges_secondary();
    EXPECT_EQ(bridged.getEdge(3, 2), 0);

    // A checkerboard of the two diagonals: the centre has eight non-empty neighbours and is emptied,
    // after step 1 made it a horizontal and its left neighbour a vertical line.
    classImageProcessing filled = sized(16, 16);
    for (std::int16_t x = 2; x <= 4; ++x) {
        for (std::int16_t y = 2; y <= 4; ++y) {
            Peer::setEdge(filled, x, y, (x + y) % 2 == 0 ? 3 : 4);
        }
    }
    filled.getEdges_secondary();
    EXPECT_EQ(filled.getEdge(2, 3), 2);
    EXPECT_EQ(filled.getEdge(3, 2), 1);
    EXPECT_EQ(filled.getEdge(3, 3), 0);
}
