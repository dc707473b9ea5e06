#pragma once

#include "engine/BoundedArray2D.h"
#include "engine/Canvas.h"
#include "engine/Numeric.h"

#include <array>
#include <cstdint>
#include <optional>

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

    const EdgePatternTable& edgePatternTable() const { return edgePatterns; }

private:
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

    BoundedArray2D<std::uint8_t> grid;
    BoundedArray2D<bool> traced;
    BoundedArray2D<bool> onTrace;
    BoundedArray2D<std::uint8_t> edges;
    double meanEdgeStrength = 0.0;
    EdgePatternTable edgePatterns{};

    // Edge statistics and traces; init leaves them alone.
    std::array<std::int16_t, 6> edgeHistogram{};
    std::array<std::array<Single, 5>, 200> edgeTraces{};
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
