#include "engine/classImageProcessing.h"

#include "classImageProcessingTestPeer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using namespace morvelin;

namespace {

classImageProcessing sized(std::int16_t width, std::int16_t height)
{
    classImageProcessing grid;
    grid.init(width, height);
    return grid;
}

// Every cell, the unsampled last row and column included.
void fillAll(classImageProcessing& grid, std::uint8_t level)
{
    for (std::int16_t x = 0; x <= grid.width; ++x) {
        for (std::int16_t y = 0; y <= grid.height; ++y) {
            grid.setPoint(x, y, level);
        }
    }
}

// A 3 x 3 grid whose single block holds `cells` (row by row from the top).
classImageProcessing block(std::initializer_list<int> cells)
{
    classImageProcessing grid = sized(3, 3);
    int n = 0;
    for (const int level : cells) {
        grid.setPoint(static_cast<std::int16_t>(n % 3), static_cast<std::int16_t>(n / 3), static_cast<std::uint8_t>(level));
        ++n;
    }
    return grid;
}

} // namespace

TEST(EdgeDetectionTest, AUniformSourceHasNoGradientAndTheLowestMeanStrength)
{
    classImageProcessing source = sized(8, 8);
    fillAll(source, 90);
    classImageProcessing edges = sized(8, 8);
    fillAll(edges, 7);
    edges.getImageEdges(source);

    EXPECT_EQ(edges.getPoint(1, 1), 0);
    EXPECT_EQ(edges.getPoint(7, 7), 0);
    // Column 0, row 0 and the last row and column are not visited.
    EXPECT_EQ(edges.getPoint(0, 4), 7);
    EXPECT_EQ(edges.getPoint(4, 0), 7);
    EXPECT_EQ(edges.getPoint(8, 4), 7);
    EXPECT_EQ(edges.getPoint(4, 8), 7);
    EXPECT_DOUBLE_EQ(edges.getMeanEdgeStrength(), 0.01);
    EXPECT_EQ(edges.TraceEdgesThresh, 0) << "0.01 x 255 x 0.1 = 0.255";
    EXPECT_EQ(edges.getTraceCount(), 0);
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

TEST(EdgeDetectionTest, GradientsBelowTheThresholdWriteZero)
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
}

TEST(EdgeDetectionTest, EdgeLevelsRoundInSinglePrecision)
{
    // Gradient sums 1, 5 and 45 give levels 0.5, 2.5 and 22.5 in single precision, which round to
    // the even neighbour; the same products in double lie just above and would round up.
    classImageProcessing source = sized(4, 2);
    const int levels[] = {0, 1, 6, 51};
    for (std::int16_t x = 0; x < 4; ++x) {
        source.setPoint(x, 0, static_cast<std::uint8_t>(levels[x]));
        source.setPoint(x, 1, static_cast<std::uint8_t>(levels[x]));
    }
    classImageProcessing edges = sized(4, 2);
    edges.getImageEdges(source);
    EXPECT_EQ(edges.getPoint(1, 1), 0);
    EXPECT_EQ(edges.getPoint(2, 1), 2);
    EXPECT_EQ(edges.getPoint(3, 1), 22);
}

TEST(EdgeDetectionTest, OnlyInnerCellsWithASourcePointAreComputedAndCleared)
{
    // A 2 x 2 source under an 8 x 8 target: columns and rows 1 and 2 map to source 0 and keep
    // their levels; from 3 on they are computed.
    classImageProcessing source = sized(2, 2);
    fillAll(source, 50);
    classImageProcessing contours = sized(8, 8);
    fillAll(contours, 77);
    for (std::int16_t i = 0; i <= 8; ++i) {
        for (std::int16_t j = 0; j <= 8; ++j) {
            classImageProcessingTestPeer::setTraced(contours, i, j, true);
        }
    }
    contours.getImageContours(source);

    EXPECT_EQ(contours.getPoint(3, 3), 255) << "no gradient is the brightest contour";
    EXPECT_EQ(contours.getPoint(7, 7), 255);
    EXPECT_EQ(contours.getPoint(2, 5), 77);
    EXPECT_EQ(contours.getPoint(5, 2), 77);
    EXPECT_EQ(contours.getPoint(0, 0), 77);
    EXPECT_FALSE(contours.isTraced(1, 1)) << "visited, though not computed";
    EXPECT_FALSE(contours.isTraced(7, 7));
    EXPECT_TRUE(contours.isTraced(0, 3));
    EXPECT_TRUE(contours.isTraced(3, 0));
    EXPECT_TRUE(contours.isTraced(8, 3));
    EXPECT_TRUE(contours.isTraced(3, 8));
}

TEST(EdgeDetectionTest, ContoursRunFromBrightAtTheThresholdToDarkAtTheStrongestGradient)
{
    // Cell (1, 1) has gradient 1, cell (2, 1) gradient 0.
    classImageProcessing source = sized(3, 2);
    source.setPoint(1, 1, 255);
    source.setPoint(2, 1, 255);
    source.setPoint(2, 0, 255);
    classImageProcessing contours = sized(3, 2);
    contours.getImageContours(source);
    EXPECT_EQ(contours.getPoint(1, 1), 0);
    EXPECT_EQ(contours.getPoint(2, 1), 255);

    contours.EdgeThreshold = 0.5f;
    contours.getImageContours(source);
    EXPECT_EQ(contours.getPoint(1, 1), 0);
    EXPECT_EQ(contours.getPoint(2, 1), 0) << "below the threshold";
}

TEST(EdgeDetectionTest, ContoursWithThresholdOneFailWhateverTheGradient)
{
    classImageProcessing source = sized(4, 4);
    fillAll(source, 10);
    classImageProcessing contours = sized(4, 4);
    fillAll(contours, 33);
    contours.EdgeThreshold = 1.0f;
    EXPECT_THROW(contours.getImageContours(source), DivisionByZeroError);
    EXPECT_EQ(contours.getPoint(1, 1), 33) << "nothing written before the failure";
}

TEST(EdgeDetectionTest, GridsTooLargeForSixteenBitsOrSourcesWithoutAGridFail)
{
    classImageProcessing bigSource = sized(182, 181);
    classImageProcessing big = sized(182, 181);
    EXPECT_THROW(big.getImageEdges(bigSource), OverflowError) << "182 x 181 = 32942 cells";

    classImageProcessing fine = sized(181, 181);
    classImageProcessing fineSource = sized(181, 181);
    EXPECT_NO_THROW(fine.getImageEdges(fineSource));

    classImageProcessing noGrid;
    noGrid.width = 8;
    noGrid.height = 8;
    classImageProcessing edges = sized(8, 8);
    EXPECT_THROW(edges.getImageEdges(noGrid), IndexOutOfRangeError);

    classImageProcessing notInitialised;
    EXPECT_THROW(notInitialised.getImageEdges(fineSource), DivisionByZeroError);
}

TEST(EdgeDetectionTest, EveryPatternLaidOutAloneGetsItsOwnClass)
{
    const auto& table = sized(3, 3).edgePatternTable();
    for (std::size_t k = 0; k < table.size(); ++k) {
        const auto& pattern = table[k];
        classImageProcessing grid = block({255 * pattern[0], 255 * pattern[1], 255 * pattern[2], 255 * pattern[3],
                                           255 * pattern[4], 255 * pattern[5], 255 * pattern[6], 255 * pattern[7],
                                           255 * pattern[8]});
        grid.getEdges();
        EXPECT_EQ(grid.getEdge(0, 0), pattern[9]) << "pattern " << k;
        for (int c = 1; c <= 5; ++c) {
            EXPECT_EQ(grid.getEdgeHistogram()[c - 1], c == pattern[9] ? 1 : 0) << "pattern " << k << ", class " << c;
        }
    }
}

TEST(EdgeDetectionTest, DarkBlocksAndBlocksThatMatchNothingStayEmpty)
{
    classImageProcessing white = block({255, 255, 255, 255, 255, 255, 255, 255, 255});
    white.getEdges();
    EXPECT_EQ(white.getEdge(0, 0), 0) << "the best score is 113, not below 100";
    EXPECT_EQ(white.getEdgeHistogram(), (std::array<std::int16_t, 6>{}));

    // Mean 270 / 9 = 30 is dark; one level more and the top-row pattern matches with score 55.
    classImageProcessing dark = block({255, 15, 0, 0, 0, 0, 0, 0, 0});
    dark.getEdges();
    EXPECT_EQ(dark.getEdge(0, 0), 0);
    EXPECT_EQ(dark.getEdgeHistogram()[0], 0);

    classImageProcessing justBright = block({255, 16, 0, 0, 0, 0, 0, 0, 0});
    justBright.getEdges();
    EXPECT_EQ(justBright.getEdge(0, 0), 1);
    EXPECT_EQ(justBright.getEdgeHistogram()[0], 1);
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
    for (std::int16_t e = 0; e <= 24; ++e) {
        EXPECT_EQ(grid.getEdge(24, e), 0);
        EXPECT_EQ(grid.getEdge(e, 24), 0);
    }
}

TEST(EdgeDetectionTest, CleanUpKeepsTheLastCellOfARunExceptAlongItsOwnLine)
{
    classImageProcessing grid = sized(16, 16); // an 8 x 8 edge map
    using Peer = classImageProcessingTestPeer;
    for (std::int16_t x = 2; x <= 4; ++x) {
        Peer::setEdge(grid, x, 1, 3); // a diagonal class in a row
        Peer::setEdge(grid, x, 3, 1); // horizontal lines in a row
    }
    for (std::int16_t y = 5; y <= 7; ++y) {
        Peer::setEdge(grid, 6, y, 2); // vertical lines in a column
    }
    grid.getEdges_secondary();

    EXPECT_EQ(grid.getEdge(2, 1), 0);
    EXPECT_EQ(grid.getEdge(3, 1), 0);
    EXPECT_EQ(grid.getEdge(4, 1), 3);
    for (std::int16_t x = 2; x <= 4; ++x) {
        EXPECT_EQ(grid.getEdge(x, 3), 1) << x;
    }
    for (std::int16_t y = 5; y <= 7; ++y) {
        EXPECT_EQ(grid.getEdge(6, y), 2) << y;
    }
}

TEST(EdgeDetectionTest, CleanUpBridgesGapsAndEmptiesSurroundedCells)
{
    using Peer = classImageProcessingTestPeer;
    // A gap between two edges becomes a horizontal line...
    classImageProcessing bridged = sized(16, 16);
    Peer::setEdge(bridged, 2, 2, 3);
    Peer::setEdge(bridged, 4, 2, 4);
    bridged.getEdges_secondary();
    EXPECT_EQ(bridged.getEdge(2, 2), 3);
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
