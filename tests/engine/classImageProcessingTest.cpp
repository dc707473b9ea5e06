#include "engine/classImageProcessing.h"

#include "TestCanvases.h"

#include <gtest/gtest.h>

#include <set>

using namespace morvelin;
using morvelin::testing::filled;
using morvelin::testing::grey;
using morvelin::testing::UniformCanvas;

namespace {

classImageProcessing grid48()
{
    classImageProcessing grid;
    grid.init(48, 48);
    return grid;
}

// Every sampled cell (x < width, y < height) holds `level`.
void expectSampledCells(const classImageProcessing& grid, int level)
{
    for (std::int16_t x = 0; x < grid.width; ++x) {
        for (std::int16_t y = 0; y < grid.height; ++y) {
            ASSERT_EQ(grid.getPoint(x, y), level) << "cell " << x << ", " << y;
        }
    }
}

void expectLastRowAndColumnZero(const classImageProcessing& grid)
{
    for (std::int16_t i = 0; i <= 48; ++i) {
        ASSERT_EQ(grid.getPoint(48, i), 0) << "column 48, row " << i;
        ASSERT_EQ(grid.getPoint(i, 48), 0) << "row 48, column " << i;
    }
}

} // namespace

TEST(classImageProcessingTest, InitSetsTheFieldsAndAnInclusiveGrid)
{
    classImageProcessing grid;
    grid.TraceEdgesThresh = 9;
    grid.processType = 2;
    grid.EdgeThreshold = 0.5f;
    grid.init(48, 48);

    EXPECT_EQ(grid.width, 48);
    EXPECT_EQ(grid.height, 48);
    EXPECT_EQ(grid.edgesWidth, 24);
    EXPECT_EQ(grid.edgesHeight, 24);
    EXPECT_EQ(grid.minEdgeLength, 10);
    EXPECT_EQ(grid.processType, 0);
    EXPECT_EQ(grid.EdgeThreshold, 0.0f);
    EXPECT_EQ(grid.TraceEdgesThresh, 9) << "init leaves the tracing threshold alone";

    EXPECT_EQ(grid.getPoint(48, 48), 0);
    EXPECT_THROW(grid.getPoint(49, 0), IndexOutOfRangeError);
    EXPECT_THROW(grid.getPoint(0, 49), IndexOutOfRangeError);
    EXPECT_THROW(grid.setPoint(-1, 0, 1), IndexOutOfRangeError);
    grid.setPoint(48, 0, 200);
    EXPECT_EQ(grid.getPoint(48, 0), 200);

    grid.init(5, 7);
    EXPECT_EQ(grid.edgesWidth, 2) << "2.5 rounds to the even 2";
    EXPECT_EQ(grid.edgesHeight, 4) << "3.5 rounds to the even 4";
}

TEST(classImageProcessingTest, InitAgainLeavesNoTraceOfTheEarlierSize)
{
    classImageProcessing grid;
    grid.init(10, 10);
    grid.setPoint(10, 10, 5);
    grid.setPoint(2, 2, 5);
    grid.init(4, 4);
    EXPECT_EQ(grid.getPoint(2, 2), 0);
    EXPECT_EQ(grid.getPoint(4, 4), 0);
    EXPECT_THROW(grid.getPoint(10, 10), IndexOutOfRangeError);
    EXPECT_EQ(grid.edgesWidth, 2);
}

TEST(classImageProcessingTest, UsingTheGridBeforeInitFails)
{
    const PixelCanvas white = filled(50, 50, 0xFFFFFF);
    classImageProcessing fresh;
    EXPECT_THROW(fresh.getPoint(0, 0), IndexOutOfRangeError);
    EXPECT_THROW(fresh.setPoint(0, 0, 1), IndexOutOfRangeError);
    EXPECT_THROW(fresh.update(white), DivisionByZeroError);

    classImageProcessing empty;
    empty.init(0, 0);
    EXPECT_THROW(empty.update(white), DivisionByZeroError);
    EXPECT_EQ(empty.getPoint(0, 0), 0) << "init(0, 0) still has the one cell (0, 0)";
}

TEST(classImageProcessingTest, EdgePatternsAreTheLinesOfTheirClass)
{
    classImageProcessing grid = grid48();
    const auto& table = grid.edgePatternTable();
    std::multiset<int> classes;
    for (const auto& pattern : table) {
        classes.insert(pattern[9]);
    }
    EXPECT_EQ(classes.count(1), 3u);
    EXPECT_EQ(classes.count(2), 3u);
    EXPECT_EQ(classes.count(3), 3u);
    EXPECT_EQ(classes.count(4), 3u);
    EXPECT_EQ(classes.count(5), 2u);

    // Patterns 0..2 are the rows of the block and 3..5 its columns (cell 3 x row + column + 1).
    for (int line = 0; line < 3; ++line) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const int cell = 3 * row + column;
                EXPECT_EQ(table[line][cell], row == line ? 1 : 0) << "row pattern " << line;
                EXPECT_EQ(table[3 + line][cell], column == line ? 1 : 0) << "column pattern " << line;
            }
        }
    }
    // The long diagonals: bottom-left to top-right is class 3, the other class 4.
    EXPECT_EQ((classImageProcessing::EdgePattern{0, 0, 1, 0, 1, 0, 1, 0, 0, 3}), table[6]);
    EXPECT_EQ((classImageProcessing::EdgePattern{1, 0, 0, 0, 1, 0, 0, 0, 1, 4}), table[9]);
}

TEST(classImageProcessingTest, WhiteAndBlackPicturesFillTheSampledCellsOnly)
{
    classImageProcessing grid = grid48();
    grid.update(filled(50, 50, 0xFFFFFF));
    expectSampledCells(grid, 255);
    expectLastRowAndColumnZero(grid);

    grid.update(filled(50, 50, 0x000000));
    expectSampledCells(grid, 0);
}

TEST(classImageProcessingTest, ProcessTypeChoosesTheChannel)
{
    const PixelCanvas red = filled(48, 48, PixelCanvas::bgr(255, 0, 0));
    const PixelCanvas green = filled(48, 48, PixelCanvas::bgr(0, 255, 0));
    const PixelCanvas blue = filled(48, 48, PixelCanvas::bgr(0, 0, 255));
    classImageProcessing grid = grid48();

    grid.update(red);
    expectSampledCells(grid, 0); // 255 / 16777215 x 255 rounds to 0
    grid.update(blue);
    expectSampledCells(grid, 254); // the whole colour value: blue dominates, 0xFF0000 is just below white

    grid.processType = 1;
    grid.update(red);
    expectSampledCells(grid, 255);
    grid.update(green);
    expectSampledCells(grid, 0);

    grid.processType = 2;
    grid.update(green);
    expectSampledCells(grid, 255);
    grid.update(blue);
    expectSampledCells(grid, 0);

    grid.processType = 3;
    grid.update(blue);
    expectSampledCells(grid, 255);
    grid.update(red);
    expectSampledCells(grid, 0);

    grid.processType = 7;
    grid.update(filled(48, 48, 0xFFFFFF));
    expectSampledCells(grid, 0);
}

TEST(classImageProcessingTest, ACellAveragesABlockStartingAtItsSamplePoint)
{
    // 96 units over 48 cells: 2 x 2 blocks. Only pixel column 0 is white, so cell column 0 averages
    // two white and two black samples (127.5, rounded to the even 128) and the rest read black.
    PixelCanvas picture(96, 96, 0x000000);
    for (int y = 0; y < 96; ++y) {
        picture.setPixel(0, y, 0xFFFFFF);
    }
    classImageProcessing grid = grid48();
    grid.update(picture);
    EXPECT_EQ(grid.getPoint(0, 0), 128);
    EXPECT_EQ(grid.getPoint(0, 47), 128);
    EXPECT_EQ(grid.getPoint(1, 0), 0);

    // One white sample in four: 63.75 rounds to 64.
    PixelCanvas dotted(96, 96, 0x000000);
    for (int y = 0; y < 96; y += 2) {
        for (int x = 0; x < 96; x += 2) {
            dotted.setPixel(x, y, 0xFFFFFF);
        }
    }
    grid.update(dotted);
    expectSampledCells(grid, 64);
}

TEST(classImageProcessingTest, ANarrowPictureGivesOverlappingSamples)
{
    // 24 columns over 48 cells: one sample per cell at x / 2 rounded half to even, so cells 0 and 1
    // both read column 0, cells 3, 4 and 5 read column 2.
    PixelCanvas picture(24, 24);
    for (int x = 0; x < 24; ++x) {
        for (int y = 0; y < 24; ++y) {
            picture.setPixel(x, y, grey(10 * x));
        }
    }
    classImageProcessing grid = grid48();
    grid.update(picture);
    EXPECT_EQ(grid.getPoint(0, 0), 0);
    EXPECT_EQ(grid.getPoint(1, 0), 0);
    EXPECT_EQ(grid.getPoint(2, 0), 10);
    EXPECT_EQ(grid.getPoint(3, 0), 20);
    EXPECT_EQ(grid.getPoint(5, 0), 20);
    EXPECT_EQ(grid.getPoint(46, 5), 230);
    EXPECT_EQ(grid.getPoint(47, 5), 0) << "23.5 rounds to 24, one column past the picture";
}

TEST(classImageProcessingTest, RegionsSampleOnlyTheirPartOfThePicture)
{
    // Left half black, right half white.
    PixelCanvas picture(96, 48, 0x000000);
    for (int x = 48; x < 96; ++x) {
        for (int y = 0; y < 48; ++y) {
            picture.setPixel(x, y, 0xFFFFFF);
        }
    }
    classImageProcessing grid = grid48();
    grid.update(picture, 48.0f, 0.0f, 48.0f, 48.0f);
    expectSampledCells(grid, 255);
    grid.update(picture, 0.0f, 0.0f, 48.0f, 48.0f);
    expectSampledCells(grid, 0);

    // Without a top the region is the whole picture, whatever else is given.
    grid.update(picture, 48.0f, std::nullopt, 48.0f, 48.0f);
    EXPECT_EQ(grid.getPoint(0, 0), 0);
    EXPECT_EQ(grid.getPoint(47, 0), 255);

    EXPECT_THROW(grid.update(picture, 0.0f, 0.0f), TypeMismatchError);
    EXPECT_THROW(grid.update(picture, 0.0f, 0.0f, 48.0f), TypeMismatchError);
}

TEST(classImageProcessingTest, PointsOutsideThePictureReadBlackOrFullBrightness)
{
    // A region twice the picture's size: the right and lower halves lie outside.
    const PixelCanvas black = filled(48, 48, 0x000000);
    const PixelCanvas white = filled(48, 48, 0xFFFFFF);
    classImageProcessing grid = grid48();

    grid.update(white, 0.0f, 0.0f, 96.0f, 96.0f);
    EXPECT_EQ(grid.getPoint(0, 0), 255);
    EXPECT_EQ(grid.getPoint(30, 30), 0) << "outside counts as black under processType 0";

    grid.processType = 1;
    grid.update(black, 0.0f, 0.0f, 96.0f, 96.0f);
    EXPECT_EQ(grid.getPoint(0, 0), 0);
    EXPECT_EQ(grid.getPoint(30, 30), 255) << "outside counts as full brightness under processType 1";
}

TEST(classImageProcessingTest, BlocksBeyondSixteenBitsOverflow)
{
    classImageProcessing grid = grid48();
    // 181 x 181 = 32761 samples per cell still fits; 182 x 181 does not.
    EXPECT_NO_THROW(grid.update(UniformCanvas(48 * 181, 48, 0xFFFFFF)));
    EXPECT_THROW(grid.update(UniformCanvas(48 * 182, 48 * 181, 0xFFFFFF)), OverflowError);
    EXPECT_THROW(grid.update(UniformCanvas(48 * 40000.0f, 48, 0xFFFFFF)), OverflowError);
}

TEST(classImageProcessingTest, WhiteNoiseFillsOnlyTheSampledCells)
{
    classImageProcessing grid = grid48();
    grid.whiteNoise();
    std::set<int> levels;
    for (std::int16_t x = 0; x < 48; ++x) {
        for (std::int16_t y = 0; y < 48; ++y) {
            levels.insert(grid.getPoint(x, y));
        }
    }
    EXPECT_GT(levels.size(), 100u) << "2304 uniform draws over 256 levels";
    expectLastRowAndColumnZero(grid);
}
