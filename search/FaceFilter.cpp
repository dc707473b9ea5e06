// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceFilter.h"

#include <algorithm>
#include <array>

namespace morvelin {

std::array<std::uint8_t, 256> FaceFilter::levels(const QImage& image)
{
    std::array<int, 256> count{};
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            ++count[static_cast<std::size_t>(qGray(line[x]))];
        }
    }
    std::array<std::uint8_t, 256> table{};
    const int pixels = image.width() * image.height();
    const int atDarkest = *std::find_if(count.begin(), count.end(), [](int n) { return n > 0; });
    if (pixels == atDarkest) {
        // One level only: nothing to spread; it stays as it is.
        for (int value = 0; value < 256; ++value) {
            table[static_cast<std::size_t>(value)] = static_cast<std::uint8_t>(value);
        }
        return table;
    }
    // Each level becomes the share of pixels at or below it, the darkest 0 and the brightest 255:
    // whole-number arithmetic, rounded half up, so every machine gets the same levels.
    int atOrBelow = 0;
    for (int value = 0; value < 256; ++value) {
        atOrBelow += count[static_cast<std::size_t>(value)];
        const int above = std::max(0, atOrBelow - atDarkest);
        table[static_cast<std::size_t>(value)] =
            static_cast<std::uint8_t>((2 * 255 * above + (pixels - atDarkest)) / (2 * (pixels - atDarkest)));
    }
    return table;
}

void FaceFilter::apply(QImage& image)
{
    if (image.isNull()) {
        return;
    }
    image.convertTo(QImage::Format_RGB32);
    const std::array<std::uint8_t, 256> table = levels(image);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int level = table[static_cast<std::size_t>(qGray(line[x]))];
            line[x] = qRgb(level, level, level);
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
