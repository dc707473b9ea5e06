// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceScore.h"

#include "engine/Numeric.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace morvelin {

FaceScore FaceScore::fromDistance(std::int32_t distance)
{
    const std::int32_t scaled = num::mul32(distance, 100);
    const double score = 100.0 - static_cast<double>(scaled) / static_cast<double>(scoreScale);
    return FaceScore(static_cast<std::int64_t>(num::roundHalfEven(score * 10000.0)));
}

FaceScore FaceScore::fromSimilarity(double similarity, double threshold)
{
    const double s = std::clamp(similarity, -1.0, 1.0);
    const double score = s >= threshold ? 70.0 + 30.0 * (s - threshold) / (1.0 - threshold)
                                        : 70.0 * (s + 1.0) / (threshold + 1.0);
    return FaceScore(static_cast<std::int64_t>(num::roundHalfEven(score * 10000.0)));
}

std::int32_t FaceScore::xscore() const
{
    // score x 1000 holds tenThousandths x 1000 / 10000 = tenThousandths / 10, which halves land on
    // exactly in double precision, so rounding it there is exact.
    return num::toInt32(static_cast<double>(m_tenThousandths) / 10.0);
}

std::string FaceScore::text() const
{
    const std::int64_t magnitude = std::llabs(m_tenThousandths);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%04lld", m_tenThousandths < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 10000), static_cast<long long>(magnitude % 10000));
    return buffer;
}

} // namespace morvelin
