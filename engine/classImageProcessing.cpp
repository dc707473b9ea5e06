// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/classImageProcessing.h"

#include "engine/basMaths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace morvelin {

namespace {

// Levels of a colour 0x00BBGGRR per processType; -1 (outside the picture) passes through the same
// formulas, which is why outside points read black under 0 and full brightness under 1..3.
constexpr double whiteColour = 16777215.0;
constexpr double redScale = 255.0;
constexpr double greenScale = 65280.0;
constexpr double blueScale = 16711680.0;

// The eight neighbours in the order tracing tests them, with the heading of each step in degrees
// (0 up, 90 right; y grows downward).
struct TraceStep {
    int dx;
    int dy;
    std::int16_t direction;
};
constexpr std::array<TraceStep, 8> traceSteps{{
    {0, -1, 0},
    {1, -1, 45},
    {1, 0, 90},
    {1, 1, 135},
    {0, 1, 180},
    {-1, 1, 225},
    {-1, 0, 270},
    {-1, -1, 315},
}};

// A step is admitted within 90 degrees of the heading, boundaries excluded. A fresh trace has heading
// 0, which is why it may go left (270) but not right (90).
bool stepAdmitted(std::int16_t step, Single heading)
{
    switch (step) {
    case 0:
        return heading < 90 || heading > 270;
    case 45:
        return heading < 135 || heading > 315;
    case 90:
        return heading > 0 && heading < 180;
    case 135:
        return heading > 45 && heading < 225;
    case 180:
        return heading > 90 && heading < 270;
    case 225:
        return heading > 135 && heading < 315;
    case 270:
        return heading > 180 || heading == 0;
    case 315:
        return heading < 45 || heading > 225;
    default:
        return false;
    }
}

constexpr int darkBlockMean = 30;
constexpr std::int32_t noMatchScore = 9999999;
constexpr std::int32_t matchScoreLimit = 100;
constexpr std::int32_t noNearestTrace = 99999;
constexpr std::int16_t spiralTurn = 90;
// Degrees to radians with 3.14, not pi: the histogram bins and the spiral's path are made with it.
constexpr double roughPi = 3.14;
constexpr std::int16_t histogramChartType = 7;
constexpr RgbColour tracedCellColour{230, 230, 230};
constexpr RgbColour black{0, 0, 0};

std::mt19937& noiseGenerator()
{
    thread_local std::mt19937 generator{std::random_device{}()};
    return generator;
}

} // namespace

void classImageProcessing::init(std::int16_t w, std::int16_t h)
{
    width = w;
    height = h;
    grid = BoundedArray2D<std::uint8_t>(width, height);
    traced = BoundedArray2D<bool>(width, height);
    onTrace = BoundedArray2D<bool>(width, height);
    minEdgeLength = 10;
    edgesWidth = num::toInt16(width / 2.0);
    edgesHeight = num::toInt16(height / 2.0);
    edges = BoundedArray2D<std::uint8_t>(edgesWidth, edgesHeight);
    EdgeThreshold = 0.0f;
    processType = 0;
    buildEdgePatterns();
    meanEdgeStrength = 1.0;
}

void classImageProcessing::buildEdgePatterns()
{
    edgePatterns = {{
        {1, 1, 1, 0, 0, 0, 0, 0, 0, 1},
        {0, 0, 0, 1, 1, 1, 0, 0, 0, 1},
        {0, 0, 0, 0, 0, 0, 1, 1, 1, 1},
        {1, 0, 0, 1, 0, 0, 1, 0, 0, 2},
        {0, 1, 0, 0, 1, 0, 0, 1, 0, 2},
        {0, 0, 1, 0, 0, 1, 0, 0, 1, 2},
        {0, 0, 1, 0, 1, 0, 1, 0, 0, 3},
        {0, 1, 0, 1, 0, 0, 0, 0, 0, 3},
        {0, 0, 0, 0, 0, 1, 0, 1, 0, 3},
        {1, 0, 0, 0, 1, 0, 0, 0, 1, 4},
        {0, 1, 0, 0, 0, 1, 0, 0, 0, 4},
        {0, 0, 0, 1, 0, 0, 0, 1, 0, 4},
        {1, 0, 1, 0, 1, 0, 1, 0, 1, 5},
        {0, 1, 0, 1, 1, 1, 0, 1, 0, 5},
    }};
}

void classImageProcessing::whiteNoise()
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            grid.set(x, y, num::toByte(unit(noiseGenerator()) * 255.0));
        }
    }
}

classImageProcessing::Region classImageProcessing::regionOf(const Canvas& canvas, std::optional<Single> left,
                                                            std::optional<Single> top, std::optional<Single> wdth,
                                                            std::optional<Single> hght)
{
    if (!left || !top) {
        return {0.0f, 0.0f, canvas.ScaleWidth(), canvas.ScaleHeight()};
    }
    if (!wdth || !hght) {
        throw TypeMismatchError("update: a region needs a width and a height");
    }
    return {*left, *top, *wdth, *hght};
}

std::int16_t classImageProcessing::blockStep(Single regionExtent, std::int16_t gridExtent)
{
    const std::int16_t step = num::toInt16(num::divide(regionExtent, static_cast<Single>(gridExtent)));
    return step < 1 ? std::int16_t{1} : step;
}

double classImageProcessing::levelOf(std::int32_t colour) const
{
    switch (processType) {
    case 0:
        return colour / whiteColour;
    case 1:
        return (colour & 0xFF) / redScale;
    case 2:
        return (colour & 0xFF00) / greenScale;
    case 3:
        return (colour & 0xFF0000) / blueScale;
    default:
        return 0.0;
    }
}

void classImageProcessing::update(const Canvas& canvas, std::optional<Single> left, std::optional<Single> top,
                                  std::optional<Single> wdth, std::optional<Single> hght)
{
    const Region region = regionOf(canvas, left, top, wdth, hght);
    const std::int16_t stepX = blockStep(region.width, width);
    const std::int16_t stepY = blockStep(region.height, height);
    const std::int16_t area = num::mul16(stepX, stepY);

    for (std::int16_t x = 0; x < width; ++x) {
        for (std::int16_t y = 0; y < height; ++y) {
            traced.set(x, y, false);
            const std::int16_t px = num::toInt16(static_cast<double>(x) / width * region.width + region.left);
            const std::int16_t py = num::toInt16(static_cast<double>(y) / height * region.height + region.top);
            const std::int16_t lastI = num::sub16(num::add16(px, stepX), 1);
            const std::int16_t lastJ = num::sub16(num::add16(py, stepY), 1);
            double sum = 0.0;
            for (int i = px; i <= lastI; ++i) {
                for (int j = py; j <= lastJ; ++j) {
                    sum += levelOf(canvas.Point(static_cast<Single>(i), static_cast<Single>(j)));
                }
            }
            grid.set(x, y, num::toByte(sum / area * 255.0));
        }
    }
}

// ---- Edge detection ----

template <typename LevelOf>
void classImageProcessing::computeGradient(const classImageProcessing& rawImage, LevelOf levelOf)
{
    const Single scaleX = num::divide(static_cast<Single>(rawImage.width), static_cast<Single>(width));
    const Single scaleY = num::divide(static_cast<Single>(rawImage.height), static_cast<Single>(height));
    traceCount = 0;
    maxTraceStrength = 0;
    for (std::int16_t x = 1; x < width; ++x) {
        for (std::int16_t y = 1; y < height; ++y) {
            traced.set(x, y, false);
            const std::int16_t sx = num::toInt16(static_cast<Single>(x) * scaleX);
            const std::int16_t sy = num::toInt16(static_cast<Single>(y) * scaleY);
            if (sx < 1 || sy < 1) {
                continue;
            }
            const int p = rawImage.getPoint(sx, sy);
            const int l = rawImage.getPoint(static_cast<std::int16_t>(sx - 1), sy);
            const int u = rawImage.getPoint(sx, static_cast<std::int16_t>(sy - 1));
            const Single g = static_cast<Single>(std::abs(p - l) + std::abs(p - u)) / 510.0f;
            grid.set(x, y, num::toByte(levelOf(g)));
        }
    }
}

void classImageProcessing::getImageEdges(const classImageProcessing& rawImage)
{
    double sum = 0.0;
    const Single threshold = EdgeThreshold;
    // The level stays single precision up to its rounding: in double, many gradients round the
    // other way and every trace downstream changes.
    computeGradient(rawImage, [&sum, threshold](Single g) {
        sum += g;
        return g >= threshold ? g * 255.0f : 0.0f;
    });
    const double mean = num::divide(sum, static_cast<double>(num::mul16(width, height)));
    meanEdgeStrength = mean < 0.01 ? 0.01 : mean;
    TraceEdgesThresh = num::toInt16(meanEdgeStrength * 255.0 * 0.1);
    traceEdges();
}

void classImageProcessing::getImageContours(const classImageProcessing& rawImage)
{
    const Single range = 1.0f - EdgeThreshold;
    // Checked before any cell changes: with nothing above the threshold there is no contour scale.
    if (range == 0.0f) {
        throw DivisionByZeroError("getImageContours: an EdgeThreshold of 1 leaves no range");
    }
    const Single threshold = EdgeThreshold;
    computeGradient(rawImage, [threshold, range](Single g) {
        const Single d = g - threshold;
        return d >= 0.0f ? 255.0f - d / range * 255.0f : 0.0f;
    });
}

std::int16_t classImageProcessing::classifyBlock(std::int16_t gx, std::int16_t gy, std::int16_t ex, std::int16_t ey)
{
    edges.set(ex, ey, 0);
    std::int32_t best = noMatchScore;
    std::int16_t bestClass = -1;
    for (const EdgePattern& pattern : edgePatterns) {
        std::int16_t sumLevels = 0;
        std::int32_t sumDiff = 0;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const int level = grid.get(gx + column, gy + row);
                sumLevels = num::add16(sumLevels, static_cast<std::int16_t>(level));
                sumDiff = num::add32(sumDiff, std::abs(level - 255 * pattern[3 * row + column]));
            }
        }
        if (sumLevels / 9.0 <= darkBlockMean) {
            bestClass = 0;
            edges.set(ex, ey, 0);
            continue;
        }
        const std::int32_t score = num::toInt32(sumDiff / 9.0);
        if (score < matchScoreLimit && score < best) {
            best = score;
            bestClass = pattern[9];
            edges.set(ex, ey, static_cast<std::uint8_t>(bestClass));
        }
    }
    return bestClass;
}

void classImageProcessing::getEdges()
{
    std::fill(edgeHistogram.begin(), edgeHistogram.begin() + 5, std::int16_t{0});
    for (int gx = 0; gx < width - 2; gx += 2) {
        for (int gy = 0; gy < height - 2; gy += 2) {
            const std::int16_t bestClass = classifyBlock(static_cast<std::int16_t>(gx), static_cast<std::int16_t>(gy),
                                                         static_cast<std::int16_t>(gx / 2),
                                                         static_cast<std::int16_t>(gy / 2));
            if (bestClass > 0) {
                edgeHistogram[bestClass - 1] = num::add16(edgeHistogram[bestClass - 1], 1);
            }
        }
    }
    getEdges_secondary();
}

void classImageProcessing::getEdges_secondary()
{
    const auto at = [this](int ex, int ey) { return edges.get(ex, ey); };
    for (int ex = 1; ex < edgesWidth; ++ex) {
        for (int ey = 1; ey < edgesHeight; ++ey) {
            if (at(ex - 1, ey) > 0 && at(ex + 1, ey) > 0) {
                edges.set(ex, ey, 1);
            } else if (at(ex, ey - 1) > 0 && at(ex, ey + 1) > 0) {
                edges.set(ex, ey, 2);
            }
            // Of a run of equal classes only the last cell stays, except along the run's own line.
            if (at(ex + 1, ey) == at(ex, ey) && at(ex + 1, ey) != 1) {
                edges.set(ex, ey, 0);
            }
            if (at(ex, ey + 1) == at(ex, ey) && at(ex, ey + 1) != 2) {
                edges.set(ex, ey, 0);
            }
            bool surrounded = true;
            for (int dx = -1; dx <= 1 && surrounded; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    if ((dx != 0 || dy != 0) && at(ex + dx, ey + dy) == 0) {
                        surrounded = false;
                        break;
                    }
                }
            }
            if (surrounded) {
                edges.set(ex, ey, 0);
            }
        }
    }
}

// ---- Edge tracing ----

void classImageProcessing::clearOnTrace()
{
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            onTrace.set(x, y, false);
        }
    }
}

void classImageProcessing::markOnTraceAsTraced()
{
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (onTrace.get(x, y)) {
                traced.set(x, y, true);
            }
        }
    }
}

bool classImageProcessing::admissible(std::int16_t x, std::int16_t y, std::int16_t step) const
{
    if (x < 0 || x >= width || y < 0 || y >= height) {
        return false;
    }
    return !onTrace.get(x, y) && grid.get(x, y) > 0 && stepAdmitted(step, traceDirection);
}

bool classImageProcessing::traceEdgesFromPoint(std::int16_t& x, std::int16_t& y, std::int16_t& edgeLength)
{
    const bool topLevel = edgeLength == 0;
    if (topLevel) {
        clearOnTrace();
    }
    traceDirection = 0.0f;
    bool result = false;
    Single strength = 0.0f;
    std::int16_t lastStep = 0;
    std::int16_t startX = x;
    std::int16_t startY = y;
    std::int16_t currentX = x;
    std::int16_t currentY = y;

    while (grid.get(currentX, currentY) > 0 && !onTrace.get(currentX, currentY)) {
        onTrace.set(currentX, currentY, true);
        edgeLength = num::add16(edgeLength, 1);
        if (edgeLength > minEdgeLength && !traced.get(currentX, currentY)) {
            result = true;
        }

        int best = 0;
        std::int16_t nextX = currentX;
        std::int16_t nextY = currentY;
        for (const TraceStep& step : traceSteps) {
            const auto candidateX = static_cast<std::int16_t>(currentX + step.dx);
            const auto candidateY = static_cast<std::int16_t>(currentY + step.dy);
            if (!admissible(candidateX, candidateY, step.direction)) {
                continue;
            }
            const int level = grid.get(candidateX, candidateY);
            if (level > best) {
                best = level;
                lastStep = step.direction;
                nextX = candidateX;
                nextY = candidateY;
            }
        }

        if (traceDirection > 0.0f) {
            strength = (static_cast<Single>(best) + strength) / 2.0f;
            std::int16_t turn = num::toInt16(std::fabs(traceDirection - static_cast<Single>(lastStep)));
            if (turn > 180) {
                turn = static_cast<std::int16_t>(360 - turn);
            }
            // Half the turn is always subtracted, whichever side the step went to.
            traceDirection = static_cast<Single>(traceDirection - turn / 2.0);
            if (traceDirection < 0.0f) {
                traceDirection += 360.0f;
            } else if (traceDirection > 360.0f) {
                traceDirection -= 360.0f;
            }
            if (edgeLength > 3 && turn > 20 && result) {
                addTrace(startX, startY, nextX, nextY, strength);
                startX = nextX;
                startY = nextY;
            }
        } else {
            strength = static_cast<Single>(best);
            traceDirection = lastStep;
        }
        currentX = nextX;
        currentY = nextY;
    }

    if (result) {
        addTrace(startX, startY, currentX, currentY, strength);
    }
    if (topLevel) {
        markOnTraceAsTraced();
    }
    x = currentX;
    y = currentY;
    searchAngle = lastStep;
    return result;
}

void classImageProcessing::addTrace(Single x1, Single y1, Single x2, Single y2, Single strength)
{
    if (traceCount >= maxTraces) {
        return;
    }
    edgeTraces[traceCount] = {x1, y1, x2, y2, strength};
    if (strength > maxTraceStrength) {
        maxTraceStrength = num::toInt16(strength);
    }
    traceCount = num::add16(traceCount, 1);
}

void classImageProcessing::traceEdges()
{
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool done = false;
    bool last = false;
    // Passes repeat while the last trace a pass started was a real one; every trace marks its start
    // cell, so the untraced bright cells run out.
    while (!done) {
        x = num::add16(x, 1);
        if (x == width) {
            x = 0;
            y = num::add16(y, 1);
        }
        if (y < height) {
            if (grid.get(x, y) > TraceEdgesThresh && !traced.get(x, y)) {
                std::int16_t length = 0;
                last = traceEdgesFromPoint(x, y, length);
            }
            continue;
        }
        x = 0;
        y = 0;
        if (!last) {
            done = true;
        }
        last = false;
    }
    sortTraces();
    buildAngleHistogram();
}

void classImageProcessing::sortTraces()
{
    for (int i = 0; i <= traceCount - 2; ++i) {
        std::int32_t best = noNearestTrace;
        int nearest = -1;
        for (int j = i + 1; j < traceCount; ++j) {
            const std::int16_t dx = num::toInt16(edgeTraces[i][2] - edgeTraces[j][0]);
            const std::int16_t dy = num::toInt16(edgeTraces[i][3] - edgeTraces[j][1]);
            const std::int16_t d = num::add16(num::mul16(dx, dx), num::mul16(dy, dy));
            if (d < best) {
                best = d;
                nearest = j;
            }
        }
        if (nearest > i + 1) {
            std::swap(edgeTraces[i + 1], edgeTraces[nearest]);
        }
    }
}

void classImageProcessing::buildAngleHistogram()
{
    std::fill(angleHistogram.begin(), angleHistogram.begin() + 18, std::int16_t{0});
    for (int i = 0; i < traceCount; ++i) {
        const EdgeTrace& trace = edgeTraces[i];
        const std::int16_t dx = num::toInt16(trace[0] - trace[2]);
        const std::int16_t dy = num::toInt16(std::fabs(trace[1] - trace[3]));
        const std::int16_t length =
            num::toInt16(std::sqrt(static_cast<double>(num::add16(num::mul16(dx, dx), num::mul16(dy, dy)))));
        if (length <= 0) {
            continue;
        }
        Single c = static_cast<Single>(dy) / static_cast<Single>(length);
        double angle = basMaths::arcCos(c) / roughPi * 180.0;
        if (dx < 0) {
            angle = 180.0 - angle;
        }
        const auto bin = static_cast<std::size_t>(std::floor(angle / 10.0));
        if (bin >= angleHistogram.size()) {
            throw IndexOutOfRangeError("angle histogram bin " + std::to_string(bin));
        }
        angleHistogram[bin] = num::add16(angleHistogram[bin], length);
    }
}

void classImageProcessing::stepSpiral(bool reset, bool& found)
{
    if (reset) {
        searchAngle = 0.0f;
        searchTurn = spiralTurn;
    }
    const double r = searchAngle / 180.0 * roughPi;
    searchX = static_cast<Single>(searchX + std::cos(r));
    searchY = static_cast<Single>(searchY + std::sin(r));
    searchAngle += static_cast<Single>(searchTurn);
    if (searchAngle > 360.0f) {
        searchAngle = 0.0f;
        searchTurn = std::max<std::int16_t>(0, static_cast<std::int16_t>(searchTurn - 1));
    }
    searchX = searchX < 0.0f ? 0.0f : searchX;
    searchX = searchX >= width ? static_cast<Single>(width - 1) : searchX;
    searchY = searchY < 0.0f ? 0.0f : searchY;
    searchY = searchY >= height ? static_cast<Single>(height - 1) : searchY;
    const auto cellX = static_cast<std::int16_t>(std::trunc(searchX));
    const auto cellY = static_cast<std::int16_t>(std::trunc(searchY));
    const int level = grid.get(cellX, cellY);
    // A level-0 cell is never found, even under a negative threshold: tracing from it marks
    // nothing, so the walker would find it again and again and never finish.
    found = level > TraceEdgesThresh && level > 0 && !traced.get(cellX, cellY);
}

void classImageProcessing::traceEdges_old()
{
    searchX = 0.0f;
    searchY = 0.0f;
    bool found = false;
    stepSpiral(true, found);
    while (searchTurn > 0) {
        stepSpiral(false, found);
        if (!found) {
            continue;
        }
        searchTurn = spiralTurn;
        auto x = static_cast<std::int16_t>(std::trunc(searchX));
        auto y = static_cast<std::int16_t>(std::trunc(searchY));
        std::int16_t length = 0;
        if (traceEdgesFromPoint(x, y, length)) {
            searchX = x;
            searchY = y;
        }
    }
    buildAngleHistogram();
}

const classImageProcessing::EdgeTrace& classImageProcessing::getEdgeTrace(int index) const
{
    if (index < 0 || index >= maxTraces) {
        throw IndexOutOfRangeError("trace " + std::to_string(index) + " out of range");
    }
    return edgeTraces[static_cast<std::size_t>(index)];
}

// ---- Diagnostic views ----

classImageProcessing::Box classImageProcessing::cellBox(const DrawingSurface& target, int x, int y, int w, int h)
{
    const double scaleWidth = target.ScaleWidth();
    const double scaleHeight = target.ScaleHeight();
    return {static_cast<Single>(num::divide(static_cast<double>(x), w) * scaleWidth),
            static_cast<Single>(num::divide(static_cast<double>(y), h) * scaleHeight),
            static_cast<Single>(num::divide(static_cast<double>(x + 1), w) * scaleWidth),
            static_cast<Single>(num::divide(static_cast<double>(y + 1), h) * scaleHeight)};
}

void classImageProcessing::show(DrawingSurface& target) const
{
    if (processType == 4) {
        target.clear();
        showEdgeTraces(target);
        return;
    }
    target.setFillStyle(DrawingSurface::FillStyle::Solid);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::uint8_t v = grid.get(x, y);
            RgbColour colour{v, v, v};
            if (processType == 1) {
                colour = {v, 0, 0};
            } else if (processType == 2) {
                colour = {0, v, 0};
            } else if (processType == 3) {
                colour = {0, 0, v};
            }
            target.setFillColour(colour);
            const Box cell = cellBox(target, x, y, width, height);
            target.box(cell.x1, cell.y1, cell.x2, cell.y2, colour);
        }
    }
}

void classImageProcessing::showEdgeTraces(DrawingSurface& target) const
{
    target.setFillStyle(DrawingSurface::FillStyle::Solid);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (!traced.get(x, y)) {
                continue;
            }
            target.setFillColour(tracedCellColour);
            const Box cell = cellBox(target, x, y, width, height);
            target.box(cell.x1, cell.y1, cell.x2, cell.y2, tracedCellColour);
        }
    }
    showEdgeVector(target);
}

void classImageProcessing::showEdgeVector(DrawingSurface& target) const
{
    target.setFillStyle(DrawingSurface::FillStyle::Solid);
    target.setLineWidth(1);
    for (int i = 0; i < traceCount; ++i) {
        const EdgeTrace& trace = edgeTraces[static_cast<std::size_t>(i)];
        const Box start = cellBox(target, num::toInt16(trace[0]), num::toInt16(trace[1]), width, height);
        const Box end = cellBox(target, num::toInt16(trace[2]), num::toInt16(trace[3]), width, height);
        const RgbColour colour{static_cast<std::uint8_t>(i), 0, 0};
        // Joined to the previous trace's end: sorted traces then read as one path.
        if (i > 0) {
            target.lineTo(start.x1, start.y1, colour);
        }
        target.line(start.x1, start.y1, end.x1, end.y1, colour);
    }
}

void classImageProcessing::showEdges(DrawingSurface& target) const
{
    target.clear();
    target.setFillStyle(DrawingSurface::FillStyle::Solid);
    target.setFillColour(black);
    for (int ex = 0; ex < edgesWidth; ++ex) {
        for (int ey = 0; ey < edgesHeight; ++ey) {
            const std::uint8_t edgeClass = edges.get(ex, ey);
            const Box cell = cellBox(target, ex, ey, edgesWidth, edgesHeight);
            if (edgeClass == 1 || edgeClass == 5) {
                target.line(cell.x1, cell.y1, cell.x2, cell.y1, black);
            }
            if (edgeClass == 2 || edgeClass == 5) {
                target.line(cell.x1, cell.y1, cell.x1, cell.y2, black);
            }
            if (edgeClass == 3) {
                target.line(cell.x1, cell.y2, cell.x2, cell.y1, black);
            }
            if (edgeClass == 4) {
                target.line(cell.x1, cell.y1, cell.x2, cell.y2, black);
            }
        }
    }
}

void classImageProcessing::fillChart(Chart& chart, std::int16_t rows, std::span<const std::int16_t> table)
{
    chart.chartType(histogramChartType);
    chart.RowCount(rows);
    chart.ColumnCount(1);
    const std::int16_t reported = chart.RowCount();
    for (std::int16_t row = 0; row < reported; ++row) {
        chart.Row(static_cast<std::int16_t>(row + 1));
        if (static_cast<std::size_t>(row) >= table.size()) {
            throw IndexOutOfRangeError("the chart has more rows than the histogram");
        }
        chart.data(table[static_cast<std::size_t>(row)]);
    }
    chart.Refresh();
}

void classImageProcessing::showEdgeHistogram(Chart& chart) const
{
    fillChart(chart, 5, edgeHistogram);
}

void classImageProcessing::showAngleHistogram(Chart& chart) const
{
    fillChart(chart, 18, angleHistogram);
}

} // namespace morvelin
