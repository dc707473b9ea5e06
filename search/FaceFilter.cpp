#include "search/FaceFilter.h"

#include <algorithm>
#include <cmath>

namespace morvelin {

namespace {

// Levels run from just above the floor to white. The exponent below 1 spreads the dark tones, where
// faces in poor light keep their features.
constexpr double lowestLevel = 101.0;
constexpr double curveExponent = 0.4;

std::array<std::uint8_t, 256> makeLevels()
{
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        const double curved = std::pow(value / 255.0, curveExponent);
        table[value] = static_cast<std::uint8_t>(std::lrint(lowestLevel + curved * (255.0 - lowestLevel)));
    }
    return table;
}

} // namespace

const std::array<std::uint8_t, 256>& FaceFilter::levels()
{
    static const std::array<std::uint8_t, 256> table = makeLevels();
    return table;
}

void FaceFilter::apply(QImage& image)
{
    if (image.isNull()) {
        return;
    }
    image.convertTo(QImage::Format_RGB32);
    const auto& table = levels();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = table[std::max({qRed(line[x]), qGreen(line[x]), qBlue(line[x])})];
            line[x] = qRgb(grey, grey, grey);
        }
    }
}

void FaceFilter::applySecond(QImage& image)
{
    if (image.isNull()) {
        return;
    }
    image.convertTo(QImage::Format_RGB32);
    int darkest = 255;
    int brightest = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            darkest = std::min(darkest, qGray(line[x]));
            brightest = std::max(brightest, qGray(line[x]));
        }
    }
    const double stretch = brightest > darkest ? 255.0 / (brightest - darkest) : 1.0;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double value = (qGray(line[x]) - darkest) * stretch;
            line[x] = qRgb(static_cast<int>(value * 0.85), static_cast<int>(value * 0.95), static_cast<int>(value));
        }
    }
}

} // namespace morvelin
