#include "engine/classImageProcessing.h"

#include "classImageProcessingTestPeer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

using namespace morvelin;
using Peer = classImageProcessingTestPeer;

namespace {

// What a view asked of its surface, in order.
struct Call {
    std::string op; // clear, fill, box, line, lineTo
    Single x1 = 0;
    Single y1 = 0;
    Single x2 = 0;
    Single y2 = 0;
    RgbColour colour;
};

class RecordingSurface : public DrawingSurface {
public:
    RecordingSurface(Single width, Single height) : m_width(width), m_height(height) {}

    std::vector<Call> calls;
    FillStyle fillStyle = FillStyle::Transparent;
    int lineWidth = 0;

    void clear() override { calls.push_back({"clear", 0, 0, 0, 0, {}}); }
    Single ScaleWidth() const override { return m_width; }
    Single ScaleHeight() const override { return m_height; }
    void setFillStyle(FillStyle style) override { fillStyle = style; }
    void setFillColour(RgbColour colour) override { calls.push_back({"fill", 0, 0, 0, 0, colour}); }
    void setLineWidth(int width) override { lineWidth = width; }
    void line(Single x1, Single y1, Single x2, Single y2, RgbColour colour) override
    {
        calls.push_back({"line", x1, y1, x2, y2, colour});
    }
    void lineTo(Single x, Single y, RgbColour colour) override { calls.push_back({"lineTo", 0, 0, x, y, colour}); }
    void box(Single x1, Single y1, Single x2, Single y2, RgbColour outline) override
    {
        calls.push_back({"box", x1, y1, x2, y2, outline});
    }

    std::vector<Call> only(const std::string& op) const
    {
        std::vector<Call> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found), [&](const Call& c) { return c.op == op; });
        return found;
    }

private:
    Single m_width;
    Single m_height;
};

class RecordingChart : public Chart {
public:
    std::int16_t type = 0;
    std::int16_t rows = 0;
    std::int16_t columns = 0;
    std::int16_t reportedRows = -1; // -1: report what was set
    std::vector<std::pair<std::int16_t, std::int16_t>> written; // (row, value)
    int refreshes = 0;

    void chartType(std::int16_t value) override { type = value; }
    void RowCount(std::int16_t value) override { rows = value; }
    std::int16_t RowCount() const override { return reportedRows >= 0 ? reportedRows : rows; }
    void ColumnCount(std::int16_t value) override { columns = value; }
    void Row(std::int16_t row) override { m_row = row; }
    void data(std::int16_t value) override { written.emplace_back(m_row, value); }
    void Refresh() override { ++refreshes; }

private:
    std::int16_t m_row = 0;
};

classImageProcessing sized(std::int16_t width, std::int16_t height)
{
    classImageProcessing grid;
    grid.init(width, height);
    return grid;
}

void expectBox(const Call& call, Single x1, Single y1, Single x2, Single y2)
{
    EXPECT_FLOAT_EQ(call.x1, x1);
    EXPECT_FLOAT_EQ(call.y1, y1);
    EXPECT_FLOAT_EQ(call.x2, x2);
    EXPECT_FLOAT_EQ(call.y2, y2);
}

} // namespace

TEST(DiagnosticViewsTest, ShowDrawsEveryCellInItsShareOfTheSurface)
{
    classImageProcessing grid = sized(48, 48);
    grid.setPoint(0, 0, 9);
    grid.setPoint(47, 47, 200);
    RecordingSurface surface(480, 480);
    grid.show(surface);

    EXPECT_EQ(surface.fillStyle, DrawingSurface::FillStyle::Solid);
    EXPECT_TRUE(surface.only("clear").empty()) << "the levels are drawn over what is there";
    const std::vector<Call> boxes = surface.only("box");
    ASSERT_EQ(boxes.size(), 48u * 48u);
    expectBox(boxes.front(), 0, 0, 10, 10);
    EXPECT_EQ(boxes.front().colour, (RgbColour{9, 9, 9}));
    expectBox(boxes[1], 0, 10, 10, 20); // rows inside columns
    expectBox(boxes.back(), 470, 470, 480, 480);
    EXPECT_EQ(boxes.back().colour, (RgbColour{200, 200, 200}));
    EXPECT_EQ(surface.calls[0].colour, (RgbColour{9, 9, 9})) << "filled in the cell's own colour";

    // Uneven shares: a 3-wide grid on 100 units.
    classImageProcessing three = sized(3, 3);
    RecordingSurface narrow(100, 50);
    three.show(narrow);
    expectBox(narrow.only("box")[3], 100.0f / 3, 0, 200.0f / 3, 50.0f / 3);
}

TEST(DiagnosticViewsTest, ProcessTypeChoosesTheColourAndFourShowsTheTraces)
{
    classImageProcessing grid = sized(2, 2);
    grid.setPoint(0, 0, 100);
    const RgbColour expected[] = {{100, 100, 100}, {100, 0, 0}, {0, 100, 0}, {0, 0, 100}};
    for (std::int16_t type = 0; type <= 3; ++type) {
        grid.processType = type;
        RecordingSurface surface(20, 20);
        grid.show(surface);
        EXPECT_EQ(surface.only("box").front().colour, expected[type]) << "processType " << type;
    }
    grid.processType = 4;
    Peer::setTraced(grid, 1, 0, true);
    RecordingSurface traces(20, 20);
    grid.show(traces);
    ASSERT_FALSE(traces.calls.empty());
    EXPECT_EQ(traces.calls.front().op, "clear");
    const std::vector<Call> boxes = traces.only("box");
    ASSERT_EQ(boxes.size(), 1u) << "only traced cells";
    expectBox(boxes[0], 10, 0, 20, 10);
    EXPECT_EQ(boxes[0].colour, (RgbColour{230, 230, 230}));
}

TEST(DiagnosticViewsTest, TracesAreDrawnAsOnePathReddeningWithTheirIndex)
{
    classImageProcessing grid = sized(10, 10);
    RecordingSurface empty(100, 100);
    grid.showEdgeVector(empty);
    EXPECT_TRUE(empty.calls.empty()) << "no traces, nothing drawn";

    Peer::addTrace(grid, 1, 1, 4, 1, 50);
    Peer::addTrace(grid, 5, 2, 5.5f, 8.5f, 60); // rounded to (6, 8) before mapping
    RecordingSurface surface(100, 100);
    grid.showEdgeVector(surface);
    EXPECT_EQ(surface.lineWidth, 1);
    ASSERT_EQ(surface.calls.size(), 3u);
    EXPECT_EQ(surface.calls[0].op, "line");
    expectBox(surface.calls[0], 10, 10, 40, 10);
    EXPECT_EQ(surface.calls[0].colour, (RgbColour{0, 0, 0}));
    EXPECT_EQ(surface.calls[1].op, "lineTo");
    expectBox(surface.calls[1], 0, 0, 50, 20);
    EXPECT_EQ(surface.calls[1].colour, (RgbColour{1, 0, 0}));
    expectBox(surface.calls[2], 50, 20, 60, 80);
}

TEST(DiagnosticViewsTest, TheEdgeMapIsDrawnAsLineSymbols)
{
    classImageProcessing grid = sized(8, 8); // a 4 x 4 map
    for (std::uint8_t c = 1; c <= 5; ++c) {
        Peer::setEdge(grid, c - 1, 1, c); // class 5 at (4, 1) lies outside the 0..3 cells drawn
    }
    Peer::setEdge(grid, 2, 3, 5);
    RecordingSurface surface(400, 400);
    grid.showEdges(surface);
    EXPECT_EQ(surface.calls.front().op, "clear");
    const std::vector<Call> lines = surface.only("line");
    ASSERT_EQ(lines.size(), 6u);
    expectBox(lines[0], 0, 100, 100, 100);   // class 1: top side
    expectBox(lines[1], 100, 100, 100, 200); // class 2: left side
    expectBox(lines[2], 200, 200, 300, 100); // class 3: bottom-left to top-right
    expectBox(lines[3], 200, 300, 300, 300); // class 5: top side and left side
    expectBox(lines[4], 200, 300, 200, 400);
    expectBox(lines[5], 300, 100, 400, 200); // class 4: top-left to bottom-right
    EXPECT_EQ(lines[0].colour, (RgbColour{0, 0, 0}));
}

TEST(DiagnosticViewsTest, HistogramsFillOneRowPerEntry)
{
    classImageProcessing grid = sized(3, 3);
    grid.setPoint(0, 0, 255);
    grid.setPoint(1, 1, 255);
    grid.setPoint(2, 2, 255);
    grid.getEdges(); // one block of class 4

    RecordingChart edges;
    grid.showEdgeHistogram(edges);
    EXPECT_EQ(edges.type, 7);
    EXPECT_EQ(edges.rows, 5);
    EXPECT_EQ(edges.written, (std::vector<std::pair<std::int16_t, std::int16_t>>{{1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 0}}));
    EXPECT_EQ(edges.refreshes, 1);

    Peer::addTrace(grid, 0, 0, 0, 5, 1);
    Peer::buildAngleHistogram(grid);
    RecordingChart angles;
    grid.showAngleHistogram(angles);
    EXPECT_EQ(angles.rows, 18);
    ASSERT_EQ(angles.written.size(), 18u);
    EXPECT_EQ(angles.written[0], (std::pair<std::int16_t, std::int16_t>{1, 5}));
    EXPECT_EQ(angles.written[17].first, 18);
}

TEST(DiagnosticViewsTest, AChartWithMoreRowsThanTheTableFailsAfterTheRowsThatFit)
{
    classImageProcessing grid = sized(3, 3);
    RecordingChart edges;
    edges.reportedRows = 7;
    EXPECT_THROW(grid.showEdgeHistogram(edges), IndexOutOfRangeError);
    EXPECT_EQ(edges.written.size(), 6u) << "entry 5 exists, though never written";
    EXPECT_EQ(edges.refreshes, 0);

    RecordingChart fewer;
    fewer.reportedRows = 2;
    grid.showAngleHistogram(fewer);
    EXPECT_EQ(fewer.written.size(), 2u) << "the rows the chart reports are the rows filled";
}
