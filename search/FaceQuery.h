// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceMatcher.h"
#include "search/FaceScore.h"

#include <memory>
#include <vector>

namespace morvelin {

// The person searched for as every scan compares it: the matcher prepared with the person's faces,
// and the score a face needs for its photo to be listed.
struct FaceQuery {
    // How many faces of one person a search takes at most.
    static constexpr int largestPerson = 5;

    std::shared_ptr<const FaceMatcher> matcher;
    std::int64_t thresholdTenThousandths = FaceScore::defaultThresholdTenThousandths;

    // The listing rule every matcher shares: score >= threshold.
    bool lists(const FaceScore& score) const { return score.tenThousandths() >= thresholdTenThousandths; }

    // `matcher` prepared with the person's faces, each read by it.
    static std::shared_ptr<const FaceQuery> of(std::unique_ptr<FaceMatcher> matcher,
                                               const std::vector<FoundFace>& person,
                                               std::int64_t thresholdTenThousandths = FaceScore::defaultThresholdTenThousandths);
};

} // namespace morvelin
