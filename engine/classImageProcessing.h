// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/BoundedArray2D.h"
#include "engine/Canvas.h"
#include "engine/Chart.h"
#include "engine/DrawingSurface.h"
#include "engine/Numeric.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace morvelin {

// The engine's picture object: a small grid of 8-bit levels (0 dark, 255 bright) sampled from a
// picture, plus the edge map and traces the edge operations derive from it. Arrays run from 0 up to
// and including their bounds, so init(48, 48) gives 49 x 49 cells of which update fills 48 x 48.
class classImageProcessing {
public:
    // Nine 0/1 cells of a 3 x 3 block, row by row from the top, then the direction class 1..5.
    using EdgePattern = std::array<std::int16_t, 10>;
    using EdgePatternTable = std::array<EdgePattern, 14>;

    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t TraceEdgesThresh = 0;
    std::int16_t minEdgeLength = 0;
    std::int16_t edgesWidth = 0;
    std::int16_t edgesHeight = 0;
    std::int16_t processType = 0;
    Single EdgeThreshold = 0.0f;

    // Traces the whole grid row by row, then orders the traces into a chain and builds the angle
    // histogram. Traces are appended to the list; only getImageEdges and getImageContours empty it.
    void traceEdges();
    // Traces from the cells a widening spiral walk finds, then builds the angle histogram (unsorted).
    void traceEdges_old();
    // Follows one chain of bright cells from (x, y). On return x, y hold its last cell and edgeLength
    // has grown by the cells visited; true when it grew past minEdgeLength at a cell not yet traced.
    bool traceEdgesFromPoint(std::int16_t& x, std::int16_t& y, std::int16_t& edgeLength);
    // Classifies every 3 x 3 block of the grid by the pattern it is nearest to, into the edge map and
    // the edge histogram, then cleans the map up with getEdges_secondary.
    void getEdges();
    void getEdges_secondary();

    // Sets the size and makes every array fresh; must come before anything else.
    void init(std::int16_t w, std::int16_t h);
    // Fills the sampled part of the grid with uniformly random levels.
    void whiteNoise();
    std::uint8_t getPoint(std::int16_t x, std::int16_t y) const { return grid.get(x, y); }
    void setPoint(std::int16_t x, std::int16_t y, std::uint8_t value) { grid.set(x, y, value); }
    // Samples the whole picture, or the region (left, top, wdth, hght) in the picture's units when
    // both left and top are given; then wdth and hght must be given too.
    void update(const Canvas& canvas, std::optional<Single> left = std::nullopt,
                std::optional<Single> top = std::nullopt, std::optional<Single> wdth = std::nullopt,
                std::optional<Single> hght = std::nullopt);
    // Makes this grid the gradient picture of rawImage's grid (its inner cells), sets the tracing
    // threshold from the mean gradient and traces it.
    void getImageEdges(const classImageProcessing& rawImage);
    // Makes this grid the contour picture of rawImage's grid: bright just above EdgeThreshold, dark
    // for the strongest gradients and below the threshold.
    void getImageContours(const classImageProcessing& rawImage);

    // Diagnostic drawings; they read the object and change nothing.
    void show(DrawingSurface& target) const;
    void showEdgeTraces(DrawingSurface& target) const;
    void showEdgeVector(DrawingSurface& target) const;
    void showEdges(DrawingSurface& target) const;
    void showEdgeHistogram(Chart& chart) const;
    void showAngleHistogram(Chart& chart) const;

    // Read access to what the operations above leave behind.
    using EdgeTrace = std::array<Single, 5>; // start x, start y, end x, end y, strength
    static constexpr int maxTraces = 200;
    double getMeanEdgeStrength() const { return meanEdgeStrength; }
    std::int16_t getTraceCount() const { return traceCount; }
    std::int16_t getMaxTraceStrength() const { return maxTraceStrength; }
    const EdgeTrace& getEdgeTrace(int index) const;
    const std::array<std::int16_t, 6>& getEdgeHistogram() const { return edgeHistogram; }
    const std::array<std::int16_t, 19>& getAngleHistogram() const { return angleHistogram; }
    std::uint8_t getEdge(std::int16_t ex, std::int16_t ey) const { return edges.get(ex, ey); }
    bool isTraced(std::int16_t x, std::int16_t y) const { return traced.get(x, y); }

private:
    // Tests reach the private steps (addTrace, stepSpiral, the edge map) through this peer.
    friend class classImageProcessingTestPeer;

    struct Region {
        Single left;
        Single top;
        Single width;
        Single height;
    };

    static Region regionOf(const Canvas& canvas, std::optional<Single> left, std::optional<Single> top,
                           std::optional<Single> wdth, std::optional<Single> hght);
    static std::int16_t blockStep(Single regionExtent, std::int16_t gridExtent);
    double levelOf(std::int32_t colour) const;
    void buildEdgePatterns();

    // Edge detection
    template <typename LevelOf>
    void computeGradient(const classImageProcessing& rawImage, LevelOf levelOf);
    std::int16_t classifyBlock(std::int16_t gx, std::int16_t gy, std::int16_t ex, std::int16_t ey);

    // Edge tracing
    void clearOnTrace();
    void markOnTraceAsTraced();
    bool admissible(std::int16_t x, std::int16_t y, std::int16_t step) const;
    void addTrace(Single x1, Single y1, Single x2, Single y2, Single strength);
    void sortTraces();
    void buildAngleHistogram();
    void stepSpiral(bool reset, bool& found);

    // Views
    struct Box {
        Single x1;
        Single y1;
        Single x2;
        Single y2;
    };
    static Box cellBox(const DrawingSurface& target, int x, int y, int w, int h);
    static void fillChart(Chart& chart, std::int16_t rows, std::span<const std::int16_t> table);

    BoundedArray2D<std::uint8_t> grid;
    BoundedArray2D<bool> traced;
    BoundedArray2D<bool> onTrace;
    BoundedArray2D<std::uint8_t> edges;
    double meanEdgeStrength = 0.0;
    EdgePatternTable edgePatterns{};

    // Edge statistics and traces; init leaves them alone.
    std::array<std::int16_t, 6> edgeHistogram{};
    std::array<EdgeTrace, maxTraces> edgeTraces{};
    std::int16_t traceCount = 0;
    std::int16_t maxTraceStrength = 0;
    Single traceDirection = 0.0f;
    std::array<std::int16_t, 19> angleHistogram{};
    Single searchX = 0.0f;
    Single searchY = 0.0f;
    Single searchAngle = 0.0f;
    std::int16_t searchTurn = 0;
};

} // namespace morvelin
