// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/classImageProcessing.h"

#include "TestCanvases.h"

#include <gtest/gtest.h>

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
    grid.init(10, 10);
    grid.setPoint(2, 2, 5);
    grid.init(48, 48);
    EXPECT_EQ(grid.getPoint(2, 2), 0) << "no trace of the earlier grid";

    grid.setPoint(48, 0, 9);
    EXPECT_EQ(grid.getPoint(0, 1), 0) << "the inclusive last column does not alias the next row";
    EXPECT_EQ(grid.getPoint(48, 48), 0);
    EXPECT_THROW(grid.getPoint(49, 0), IndexOutOfRangeError);
    EXPECT_THROW(grid.getPoint(0, 49), IndexOutOfRangeError);
    EXPECT_THROW(grid.setPoint(-1, 0, 1), IndexOutOfRangeError);

    grid.init(5, 7);
    EXPECT_EQ(grid.edgesWidth, 2) << "2.5 rounds to the even 2";
    EXPECT_EQ(grid.edgesHeight, 4) << "3.5 rounds to the even 4";

    classImageProcessing fresh;
    EXPECT_THROW(fresh.getPoint(0, 0), IndexOutOfRangeError);
    EXPECT_THROW(fresh.update(PixelCanvas(50, 50, 0xFFFFFF)), DivisionByZeroError);
}

TEST(classImageProcessingTest, ProcessTypeChoosesTheChannel)
{
    const struct {
        std::int16_t processType;
        std::uint32_t colour;
        int level;
    } cases[] = {
        {0, 0xFFFFFF, 255},
        {0, PixelCanvas::bgr(255, 0, 0), 0},   // 255 / 16777215 x 255 rounds to 0
        {0, PixelCanvas::bgr(0, 0, 255), 254}, // the whole colour value: 0xFF0000 is just below white
        {1, PixelCanvas::bgr(255, 0, 0), 255},
        {2, PixelCanvas::bgr(0, 255, 0), 255},
        {2, PixelCanvas::bgr(0, 0, 255), 0},
        {3, PixelCanvas::bgr(0, 0, 255), 255},
        {7, 0xFFFFFF, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "processType " << c.processType << ", colour " << c.colour);
        classImageProcessing grid = grid48();
        grid.processType = c.processType;
        grid.update(PixelCanvas(48, 48, c.colour));
        expectSampledCells(grid, c.level);
    }
}

TEST(classImageProcessingTest, CellsAverageTheirBlockAndSampleAtRoundedHalvesToEven)
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

    // 24 columns over 48 cells: one sample per cell at x / 2 rounded half to even.
    PixelCanvas narrow(24, 24);
    for (int x = 0; x < 24; ++x) {
        for (int y = 0; y < 24; ++y) {
            narrow.setPixel(x, y, grey(10 * x));
        }
    }
    grid.update(narrow);
    EXPECT_EQ(grid.getPoint(1, 0), 0);
    EXPECT_EQ(grid.getPoint(3, 0), 20);
    EXPECT_EQ(grid.getPoint(5, 0), 20);
    EXPECT_EQ(grid.getPoint(47, 5), 0) << "23.5 rounds to 24, one column past the picture";
}

TEST(classImageProcessingTest, ARegionSamplesOnlyItsPartAndNeedsAllFourSides)
{
    PixelCanvas picture(96, 48, 0x000000); // left half black, right half white
    for (int x = 48; x < 96; ++x) {
        for (int y = 0; y < 48; ++y) {
            picture.setPixel(x, y, 0xFFFFFF);
        }
    }
    classImageProcessing grid = grid48();
    grid.update(picture, 48.0f, 0.0f, 48.0f, 48.0f);
    expectSampledCells(grid, 255);
    EXPECT_THROW(grid.update(picture, 0.0f, 0.0f), TypeMismatchError);
}

TEST(classImageProcessingTest, BlocksBeyondSixteenBitsOverflow)
{
    classImageProcessing grid = grid48();
    // 181 x 181 = 32761 samples per cell still fits; 182 x 181 does not.
    EXPECT_NO_THROW(grid.update(UniformCanvas(48 * 181, 48, 0xFFFFFF)));
    EXPECT_THROW(grid.update(UniformCanvas(48 * 182, 48 * 181, 0xFFFFFF)), OverflowError);
}
