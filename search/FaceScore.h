// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>

namespace morvelin {

// A face's score in per cent, kept as a fixed-point decimal with four fractional digits (the value
// times 10000), derived from a comparison distance.
class FaceScore {
public:
    // 2304 cells x 155 levels: the distance that scores 0.
    static constexpr std::int32_t scoreScale = 2304 * 155;
    static constexpr std::int64_t matchThreshold = 70000;
    // 70 %, as a score's own value.
    static constexpr std::int64_t defaultThresholdTenThousandths = matchThreshold * 10;

    // 100 - distance x 100 / scoreScale, with distance x 100 in 32-bit arithmetic (OverflowError
    // beyond it), the rest in double precision, rounded to four decimals, ties to even.
    static FaceScore fromDistance(std::int32_t distance);
    // A cosine similarity (-1..1) in two straight pieces: 0 % at -1, 70 % at `threshold`, 100 % at 1.
    static FaceScore fromSimilarity(double similarity, double threshold);
    static FaceScore fromTenThousandths(std::int64_t value) { return FaceScore(value); }

    std::int64_t tenThousandths() const { return m_tenThousandths; }
    // score x 1000 as a 32-bit whole number, ties to even: what the result list orders by.
    std::int32_t xscore() const;
    // Exactly four decimals: "85.9991", "100.0000".
    std::string text() const;

    friend bool operator==(const FaceScore&, const FaceScore&) = default;

private:
    explicit FaceScore(std::int64_t tenThousandths) : m_tenThousandths(tenThousandths) {}

    std::int64_t m_tenThousandths = 0;
};

} // namespace morvelin
