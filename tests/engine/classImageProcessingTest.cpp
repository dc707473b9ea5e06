#include "engine/classImageProcessing.h"

#include "TestCanvases.h"

#include <gtest/gtest.h>

#include <set>

using namespace morvelin;
using morvelin::testing::grey;
using morvelin::testing::UniformCanvas;

namespace {

classImageProcessing grid48()
{
    classImageProcessing grid;
    grid.init(48, 48);
    return grid;
}

// Every sampled cell (x < width, y < height) holds `level`; the last row and column stay 0.
void expectSampledCells(const classImageProcessing& grid, int level)
{
    for (std::int16_t x = 0; x <= grid.width; ++x) {
        for (std::int16_t y = 0; y <= grid.height; ++y) {
            const bool sampled = x < grid.width && y < grid.height;
            ASSERT_EQ(grid.getPoint(x, y), sampled ? level : 0) << "cell " << x << ", " << y;
        }
    }
}

} // namespace

TEST(classImageProcessingTest, InitResetsTheGridToInclusiveCheckedBounds)
{
    classImageProcessing grid;
    grid.TraceEdgesThresh = 9;
    grid.processType = 2;
    grid.init(10, 10);
    grid.setPoint(2, 2, 5);
    grid.init(48, 48);
    EXPECT_EQ(grid.processType, 0);
    EXPECT_EQ(grid.TraceEdgesThresh, 9) << "init leaves the tracing threshold alone";
    EXPECT_EQ(grid.getPoint(2, 2), 0) << "no trace of the earlier grid";

    EXPECT_EQ(grid.getPoint(48, 48), 0);
    EXPECT_THROW(grid.getPoint(49, 0), IndexOutOfRangeError);
    EXPECT_THROW(grid.getPoint(0, 49), IndexOutOfRangeError);
    EXPECT_THROW(grid.setPoint(-1, 0, 1), IndexOutOfRangeError);

    grid.init(5, 7);
    EXPECT_EQ(grid.edgesWidth, 2) << "2.5 rounds to the even 2";
    EXPECT_EQ(grid.edgesHeight, 4) << "3.5 rounds to the even 4";
}

TEST(classImageProcessingTest, UsingTheGridBeforeInitFails)
{
    const PixelCanvas white(50, 50, 0xFFFFFF);
    classImageProcessing fresh;
    EXPECT_THROW(fresh.getPoint(0, 0), IndexOutOfRangeError);
    EXPECT_THROW(fresh.update(white), DivisionByZeroError);
    classImageProcessing empty;
    empty.init(0, 0);
    EXPECT_THROW(empty.update(white), DivisionByZeroError);
}

TEST(classImageProcessingTest, ProcessTypeChoosesTheChannelAndOnlySampledCellsAreFilled)
{
    const PixelCanvas red(48, 48, PixelCanvas::bgr(255, 0, 0));
    const PixelCanvas green(48, 48, PixelCanvas::bgr(0, 255, 0));
    const PixelCanvas blue(48, 48, PixelCanvas::bgr(0, 0, 255));
    classImageProcessing grid = grid48();
    grid.update(PixelCanvas(50, 50, 0xFFFFFF));
    expectSampledCells(grid, 255);
    grid.update(red);
    expectSampledCells(grid, 0); // 255 / 16777215 x 255 rounds to 0
    grid.update(blue);
    expectSampledCells(grid, 254); // the whole colour value: 0xFF0000 is just below white

    grid.processType = 1;
    grid.update(red);
    expectSampledCells(grid, 255);
    grid.processType = 2;
    grid.update(green);
    expectSampledCells(grid, 255);
    grid.update(blue);
    expectSampledCells(grid, 0);
    grid.processType = 3;
    grid.update(blue);
    expectSampledCells(grid, 255);
    grid.processType = 7;
    grid.update(PixelCanvas(48, 48, 0xFFFFFF));
    expectSampledCells(grid, 0);
}

TEST(classImageProcessingTest, ACellAveragesABlockStartingAtItsSamplePoint)
{
    // 96 units over 48 cells: 2 x 2 blocks. One white sample in four: 63.75 rounds to 64.
    PixelCanvas dotted(96, 96, 0x000000);
    for (int y = 0; y < 96; y += 2) {
        for (int x = 0; x < 96; x += 2) {
            dotted.setPixel(x, y, 0xFFFFFF);
        }
    }
    classImageProcessing grid = grid48();
    grid.update(dotted);
    expectSampledCells(grid, 64);
}

TEST(classImageProcessingTest, ANarrowPictureGivesOverlappingSamples)
{
    // 24 columns over 48 cells: one sample per cell at x / 2 rounded half to even.
    PixelCanvas picture(24, 24);
    for (int x = 0; x < 24; ++x) {
        for (int y = 0; y < 24; ++y) {
            picture.setPixel(x, y, grey(10 * x));
        }
    }
    classImageProcessing grid = grid48();
    grid.update(picture);
    EXPECT_EQ(grid.getPoint(1, 0), 0);
    EXPECT_EQ(grid.getPoint(3, 0), 20);
    EXPECT_EQ(grid.getPoint(5, 0), 20);
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

    // Without a top the region is the whole picture, whatever else is given.
    grid.update(picture, 48.0f, std::nullopt, 48.0f, 48.0f);
    EXPECT_EQ(grid.getPoint(0, 0), 0);
    EXPECT_EQ(grid.getPoint(47, 0), 255);

    EXPECT_THROW(grid.update(picture, 0.0f, 0.0f), TypeMismatchError);
    EXPECT_THROW(grid.update(picture, 0.0f, 0.0f, 48.0f), TypeMismatchError);

    // Outside the picture counts as black under processType 0, full brightness under 1.
    grid.update(PixelCanvas(48, 48, 0xFFFFFF), 0.0f, 0.0f, 96.0f, 96.0f);
    EXPECT_EQ(grid.getPoint(30, 30), 0);
    grid.processType = 1;
    grid.update(PixelCanvas(48, 48, 0x000000), 0.0f, 0.0f, 96.0f, 96.0f);
    EXPECT_EQ(grid.getPoint(30, 30), 255);
}

TEST(classImageProcessingTest, BlocksBeyondSixteenBitsOverflow)
{
    classImageProcessing grid = grid48();
    // 181 x 181 = 32761 samples per cell still fits; 182 x 181 does not.
    EXPECT_NO_THROW(grid.update(UniformCanvas(48 * 181, 48, 0xFFFFFF)));
    EXPECT_THROW(grid.update(UniformCanvas(48 * 182, 48 * 181, 0xFFFFFF)), OverflowError);
}

TEST(classImageProcessingTest, WhiteNoiseFillsOnlyTheSampledCells)
{
    classImageProcessing grid = grid48();
    grid.whiteNoise();
    std::set<int> levels;
    for (std::int16_t i = 0; i <= 48; ++i) {
        ASSERT_EQ(grid.getPoint(48, i), 0);
        ASSERT_EQ(grid.getPoint(i, 48), 0);
        for (std::int16_t y = 0; y < 48 && i < 48; ++y) {
            levels.insert(grid.getPoint(i, y));
        }
    }
    EXPECT_GT(levels.size(), 100u) << "2304 uniform draws over 256 levels";
}
