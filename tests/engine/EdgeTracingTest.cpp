#include "engine/classImageProcessing.h"

#include "classImageProcessingTestPeer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace morvelin;
using Peer = classImageProcessingTestPeer;

namespace {

using Cells = std::vector<std::pair<int, int>>;

classImageProcessing gridWith(const Cells& cells, std::uint8_t level = 200, std::int16_t size = 16)
{
    classImageProcessing grid;
    grid.init(size, size);
    for (const auto& [x, y] : cells) {
        grid.setPoint(static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), level);
    }
    return grid;
}

Cells row(int y, int fromX, int toX)
{
    Cells cells;
    for (int x = fromX; x <= toX; ++x) {
        cells.emplace_back(x, y);
    }
    return cells;
}

struct Traced {
    bool result;
    std::int16_t x;
    std::int16_t y;
    std::int16_t length;
};

Traced traceFrom(classImageProcessing& grid, std::int16_t x, std::int16_t y, std::int16_t length = 0)
{
    const bool result = grid.traceEdgesFromPoint(x, y, length);
    return {result, x, y, length};
}

void expectTrace(const classImageProcessing& grid, int index, classImageProcessing::EdgeTrace expected)
{
    const auto& trace = grid.getEdgeTrace(index);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(trace[i], expected[i]) << "trace " << index << ", field " << i;
    }
    EXPECT_FLOAT_EQ(trace[4], expected[4]) << "trace " << index << " strength";
}

} // namespace

TEST(EdgeTracingTest, DarkAndLoneStartCellsGiveNoTrace)
{
    classImageProcessing grid = gridWith({{5, 5}});
    const Traced dark = traceFrom(grid, 3, 3);
    EXPECT_FALSE(dark.result);
    EXPECT_EQ(dark.length, 0);
    EXPECT_FALSE(grid.isTraced(3, 3));

    const Traced lone = traceFrom(grid, 5, 5);
    EXPECT_FALSE(lone.result);
    EXPECT_EQ(lone.length, 1);
    EXPECT_TRUE(grid.isTraced(5, 5));
    EXPECT_EQ(grid.getTraceCount(), 0);
}

TEST(EdgeTracingTest, AFreshTraceStepsOnlyUpwardOrLeft)
{
    struct Case {
        int dx;
        int dy;
        bool admitted;
    };
    // up, up-right, right, down-right, down, down-left, left, up-left
    const Case cases[] = {{0, -1, true}, {1, -1, true},  {1, 0, false}, {1, 1, false},
                          {0, 1, false}, {-1, 1, false}, {-1, 0, true}, {-1, -1, true}};
    for (const Case& c : cases) {
        classImageProcessing grid = gridWith({{5, 5}, {5 + c.dx, 5 + c.dy}});
        const Traced traced = traceFrom(grid, 5, 5);
        EXPECT_EQ(traced.length, c.admitted ? 2 : 1) << "step " << c.dx << ", " << c.dy;
        EXPECT_EQ(traced.x, c.admitted ? 5 + c.dx : 5);
        EXPECT_EQ(traced.y, c.admitted ? 5 + c.dy : 5);
    }
}

TEST(EdgeTracingTest, TheBrightestNeighbourWinsAndTiesGoToTheFirstTested)
{
    classImageProcessing grid = gridWith({{5, 5}, {5, 4}, {4, 5}});
    const Traced toFirst = traceFrom(grid, 5, 5);
    EXPECT_EQ(toFirst.x, 5) << "up is tested before left";
    EXPECT_EQ(toFirst.y, 4);

    grid = gridWith({{5, 5}, {5, 4}});
    grid.setPoint(4, 4, 250); // up-left, tested last
    const Traced toBrighter = traceFrom(grid, 5, 5);
    EXPECT_EQ(toBrighter.x, 4);
    EXPECT_EQ(toBrighter.y, 4);
}

TEST(EdgeTracingTest, ATraceCountsOnlyWhenLongerThanTheMinimum)
{
    // Traced from the right end: a fresh trace may step left.
    classImageProcessing eleven = gridWith(row(5, 1, 11));
    const Traced long11 = traceFrom(eleven, 11, 5);
    EXPECT_TRUE(long11.result);
    EXPECT_EQ(long11.length, 11);
    ASSERT_EQ(eleven.getTraceCount(), 1);
    // Each level weighs a half; the last pass finds no neighbour and halves the strength.
    expectTrace(eleven, 0, {11, 5, 1, 5, 100});
    EXPECT_EQ(eleven.getMaxTraceStrength(), 100);

    classImageProcessing ten = gridWith(row(5, 2, 11));
    const Traced long10 = traceFrom(ten, 11, 5);
    EXPECT_FALSE(long10.result);
    EXPECT_EQ(ten.getTraceCount(), 0);
    EXPECT_TRUE(ten.isTraced(2, 5)) << "its cells are traced all the same";
}

TEST(EdgeTracingTest, AContinuedTraceNeitherClearsNorMarks)
{
    classImageProcessing grid = gridWith(row(5, 1, 3));
    const Traced continued = traceFrom(grid, 3, 5, 5);
    EXPECT_FALSE(continued.result);
    EXPECT_EQ(continued.length, 8);
    EXPECT_FALSE(grid.isTraced(3, 5));
    EXPECT_TRUE(Peer::onTrace(grid, 1, 5));

    // The cells still on the trace stop a second continued trace at once.
    const Traced again = traceFrom(grid, 3, 5, 8);
    EXPECT_EQ(again.length, 8);
}

TEST(EdgeTracingTest, ATraceStraightUpKeepsHeadingZero)
{
    Cells column;
    for (const auto& [x, y] : row(5, 1, 11)) {
        column.emplace_back(y, x);
    }
    classImageProcessing grid = gridWith(column);
    const Traced up = traceFrom(grid, 5, 11);
    EXPECT_TRUE(up.result);
    ASSERT_EQ(grid.getTraceCount(), 1);
    // Heading 0 takes the branch that sets the strength to the last level, 0 on the final pass.
    expectTrace(grid, 0, {5, 11, 5, 1, 0});
    EXPECT_EQ(grid.getMaxTraceStrength(), 0);
    EXPECT_EQ(grid.getTraceDirection(), 0.0f);
}

TEST(EdgeTracingTest, TheHeadingLosesHalfTheTurnOnWhicheverSideTheStepLies)
{
    // Left, then up-left: from heading 270 a turn of 45 gives 247.5 (not 292.5); the final pass,
    // with no neighbour, turns by 67.5 (rounded to 68) from the last step 315: 213.5.
    classImageProcessing upLeft = gridWith({{5, 5}, {4, 5}, {3, 4}});
    upLeft.minEdgeLength = 100;
    EXPECT_EQ(traceFrom(upLeft, 5, 5).length, 3);
    EXPECT_FLOAT_EQ(upLeft.getTraceDirection(), 213.5f);

    // Left, then down-left: 247.5, then a turn of 22.5 rounded to 22: 236.5.
    classImageProcessing downLeft = gridWith({{5, 5}, {4, 5}, {3, 6}});
    downLeft.minEdgeLength = 100;
    traceFrom(downLeft, 5, 5);
    EXPECT_FLOAT_EQ(downLeft.getTraceDirection(), 236.5f);
}

TEST(EdgeTracingTest, TurnsOfMoreThanTwentyDegreesSplitTheTrace)
{
    // Left along row 5, then up-left twice. The bend stores the straight part; the second bend
    // stores one more segment; the last pass turns 102 degrees with no neighbour and stores a
    // zero-length segment, and the end of the trace stores another.
    Cells cells = row(5, 4, 8);
    cells.emplace_back(3, 4);
    cells.emplace_back(2, 3);
    classImageProcessing grid = gridWith(cells);
    grid.minEdgeLength = 2;
    const Traced traced = traceFrom(grid, 8, 5);
    EXPECT_TRUE(traced.result);
    EXPECT_EQ(traced.length, 7);
    ASSERT_EQ(grid.getTraceCount(), 4);
    expectTrace(grid, 0, {8, 5, 3, 4, 200});
    expectTrace(grid, 1, {3, 4, 2, 3, 200});
    expectTrace(grid, 2, {2, 3, 2, 3, 100});
    expectTrace(grid, 3, {2, 3, 2, 3, 100});
    EXPECT_EQ(grid.getMaxTraceStrength(), 200);
}

TEST(EdgeTracingTest, TheRowScanStartsPastTheCornerAndTracesThroughDimCells)
{
    classImageProcessing corner = gridWith({{0, 0}});
    corner.traceEdges();
    EXPECT_FALSE(corner.isTraced(0, 0)) << "cell (0, 0) is never a start cell";

    // A start cell, a dim cell to its left that cannot start a trace of its own, and a diagonal down
    // to the left. The diagonal's cells are reached by the trace before the scan gets to them.
    Cells diagonal;
    for (int i = 0; i < 10; ++i) {
        diagonal.emplace_back(10 - i, 2 + i);
    }
    classImageProcessing grid = gridWith(diagonal);
    grid.setPoint(12, 1, 200);
    grid.setPoint(11, 1, 1);
    grid.TraceEdgesThresh = 10;
    grid.traceEdges();

    ASSERT_EQ(grid.getTraceCount(), 1);
    expectTrace(grid, 0, {12, 1, 1, 11, 99.90283203125f});
    EXPECT_EQ(grid.getMaxTraceStrength(), 100);
    // dx 11, dy 10: length 15 at 48.2 degrees.
    EXPECT_EQ(grid.getAngleHistogram()[4], 15);
    EXPECT_TRUE(grid.isTraced(11, 1));
}

TEST(EdgeTracingTest, TheListHoldsTwoHundredTraces)
{
    classImageProcessing grid = gridWith({});
    for (int i = 0; i < 200; ++i) {
        Peer::addTrace(grid, 0, 0, 1, 1, 10);
    }
    Peer::addTrace(grid, 0, 0, 1, 1, 250);
    EXPECT_EQ(grid.getTraceCount(), 200);
    EXPECT_EQ(grid.getMaxTraceStrength(), 10) << "the dropped trace leaves no mark";
    EXPECT_THROW(grid.getEdgeTrace(200), IndexOutOfRangeError);
}

TEST(EdgeTracingTest, SortingChainsEachTraceToTheNearestStart)
{
    classImageProcessing grid = gridWith({});
    Peer::addTrace(grid, 0, 0, 5, 0, 1);
    Peer::addTrace(grid, 20, 20, 25, 25, 2);
    Peer::addTrace(grid, 5, 1, 9, 9, 3);
    Peer::addTrace(grid, 9, 10, 19, 19, 4);
    Peer::sortTraces(grid);
    EXPECT_EQ(grid.getEdgeTrace(0)[4], 1);
    EXPECT_EQ(grid.getEdgeTrace(1)[4], 3);
    EXPECT_EQ(grid.getEdgeTrace(2)[4], 4);
    EXPECT_EQ(grid.getEdgeTrace(3)[4], 2);

    // Squared distances are 16-bit: 200 cells apart is beyond them.
    classImageProcessing far = gridWith({});
    Peer::addTrace(far, 0, 0, 200, 0, 1);
    Peer::addTrace(far, 0, 0, 1, 1, 1);
    EXPECT_THROW(Peer::sortTraces(far), OverflowError);
}

TEST(EdgeTracingTest, SegmentDirectionsFallIntoTenDegreeBins)
{
    classImageProcessing grid = gridWith({});
    Peer::addTrace(grid, 0, 0, 0, 5, 1); // vertical: 0.81 degrees
    Peer::addTrace(grid, 0, 0, 5, 0, 1); // left to right: 89.95
    Peer::addTrace(grid, 5, 0, 0, 0, 1); // right to left: 90.05
    Peer::addTrace(grid, 3, 3, 3, 3, 1); // no length, not counted
    Peer::buildAngleHistogram(grid);
    std::array<std::int16_t, 19> expected{};
    expected[0] = 5;
    expected[8] = 5;
    expected[9] = 5;
    EXPECT_EQ(grid.getAngleHistogram(), expected);
}

TEST(EdgeTracingTest, TheSpiralStartsToTheRightAndWidensEveryFullTurn)
{
    classImageProcessing grid = gridWith({});
    Peer::placeWalker(grid, 0, 0);
    Peer::stepSpiral(grid, true);
    EXPECT_FLOAT_EQ(Peer::searchX(grid), 1.0f);
    EXPECT_FLOAT_EQ(Peer::searchY(grid), 0.0f);
    EXPECT_FLOAT_EQ(Peer::searchAngle(grid), 90.0f);

    for (int step = 0; step < 3; ++step) {
        Peer::stepSpiral(grid, false);
    }
    EXPECT_EQ(Peer::searchTurn(grid), 90) << "360 is not above 360";
    Peer::stepSpiral(grid, false);
    EXPECT_FLOAT_EQ(Peer::searchAngle(grid), 0.0f);
    EXPECT_EQ(Peer::searchTurn(grid), 89);
    EXPECT_GE(Peer::searchX(grid), 0.0f) << "the walker stays on the grid";
}

TEST(EdgeTracingTest, TheSpiralFindsBrightUntracedCellsAndEnds)
{
    classImageProcessing grid = gridWith({{1, 0}});
    Peer::placeWalker(grid, 0, 0);
    EXPECT_TRUE(Peer::stepSpiral(grid, true));
    Peer::setTraced(grid, 1, 0, true);
    Peer::placeWalker(grid, 0, 0);
    EXPECT_FALSE(Peer::stepSpiral(grid, true));

    Cells cells = row(6, 2, 13);
    classImageProcessing walked = gridWith(cells);
    walked.traceEdges_old();
    EXPECT_EQ(Peer::searchTurn(walked), 0);
    int tracedCells = 0;
    for (const auto& [x, y] : cells) {
        tracedCells += walked.isTraced(static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)) ? 1 : 0;
    }
    EXPECT_GT(tracedCells, 0);

    // A negative threshold must not keep the walker on dark cells for ever.
    classImageProcessing negative = gridWith(cells);
    negative.TraceEdgesThresh = -1;
    negative.traceEdges_old();
    EXPECT_EQ(Peer::searchTurn(negative), 0);
}
