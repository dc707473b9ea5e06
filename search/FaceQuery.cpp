// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceQuery.h"

namespace morvelin {

std::shared_ptr<const FaceQuery> FaceQuery::of(std::unique_ptr<FaceMatcher> matcher, const std::vector<FoundFace>& person,
                                               std::int64_t thresholdTenThousandths)
{
    matcher->prepare(person);
    auto query = std::make_shared<FaceQuery>();
    query->matcher = std::move(matcher);
    query->thresholdTenThousandths = thresholdTenThousandths;
    return query;
}

} // namespace morvelin
