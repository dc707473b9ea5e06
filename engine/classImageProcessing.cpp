#include "engine/classImageProcessing.h"

#include <random>

namespace morvelin {

namespace {

// Levels of a colour 0x00BBGGRR per processType; -1 (outside the picture) passes through the same
// formulas, which is why outside points read black under 0 and full brightness under 1..3.
constexpr double whiteColour = 16777215.0;
constexpr double redScale = 255.0;
constexpr double greenScale = 65280.0;
constexpr double blueScale = 16711680.0;

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

} // namespace morvelin
