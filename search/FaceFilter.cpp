#include "search/FaceFilter.h"

#include <algorithm>
#include <array>

namespace morvelin {

namespace {

constexpr int floorLevel = 100;

std::array<std::uint8_t, 256> makeLevels()
{
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        // Whole-number arithmetic, rounded half up: the same level on every machine.
        table[value] = static_cast<std::uint8_t>(floorLevel + (value * (255 - floorLevel) + 127) / 255);
    }
    return table;
}

const std::array<std::uint8_t, 256>& levels()
{
    static const std::array<std::uint8_t, 256> table = makeLevels();
    return table;
}

} // namespace

int FaceFilter::level(int brightest)
{
    return levels()[static_cast<std::size_t>(std::clamp(brightest, 0, 255))];
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
    const int range = std::max(1, brightest - darkest);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int value = std::clamp((qGray(line[x]) - darkest) * 255 / range, 0, 255);
            line[x] = qRgb(value * 85 / 100, value * 95 / 100, value);
        }
    }
}

} // namespace morvelin
