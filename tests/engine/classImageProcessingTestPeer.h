#pragma once

#include "engine/classImageProcessing.h"

#include <cstdint>

namespace morvelin {

// Reaches the picture object's private steps and fields, so tests can set up an edge map or a trace
// list directly instead of through a picture that happens to produce it.
class classImageProcessingTestPeer {
public:
    static void setEdge(classImageProcessing& grid, int ex, int ey, std::uint8_t edgeClass)
    {
        grid.edges.set(ex, ey, edgeClass);
    }
    static void setTraced(classImageProcessing& grid, int x, int y, bool value) { grid.traced.set(x, y, value); }
    static bool onTrace(const classImageProcessing& grid, int x, int y) { return grid.onTrace.get(x, y); }
    static void addTrace(classImageProcessing& grid, Single x1, Single y1, Single x2, Single y2, Single strength)
    {
        grid.addTrace(x1, y1, x2, y2, strength);
    }
    static void sortTraces(classImageProcessing& grid) { grid.sortTraces(); }
    static void buildAngleHistogram(classImageProcessing& grid) { grid.buildAngleHistogram(); }
    static bool stepSpiral(classImageProcessing& grid, bool reset)
    {
        bool found = false;
        grid.stepSpiral(reset, found);
        return found;
    }
    static void placeWalker(classImageProcessing& grid, Single x, Single y)
    {
        grid.searchX = x;
        grid.searchY = y;
    }
    static Single searchX(const classImageProcessing& grid) { return grid.searchX; }
    static Single searchY(const classImageProcessing& grid) { return grid.searchY; }
    static Single searchAngle(const classImageProcessing& grid) { return grid.searchAngle; }
    static std::int16_t searchTurn(const classImageProcessing& grid) { return grid.searchTurn; }
};

} // namespace morvelin
