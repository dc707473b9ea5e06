// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/GridMatcher.h"

#include "engine/FaceMatchTech.h"
#include "search/FacePictureLoader.h"

namespace morvelin {

void GridMatcher::prepare(const std::vector<FoundFace>& person)
{
    m_person.clear();
    for (const FoundFace& face : person) {
        m_person.push_back(FacePictureLoader::fromImage(face.picture));
    }
}

FaceMatcher::Score GridMatcher::score(const FoundFace& face) const
{
    const PixelCanvas found = FacePictureLoader::fromImage(face.picture);
    Score best;
    bool first = true;
    for (const PixelCanvas& chosen : m_person) {
        const FaceScore score = FaceScore::fromDistance(FaceMatchTech().CompareFaces(chosen, found));
        if (first || score.tenThousandths() > best.score.tenThousandths()) {
            best.score = score;
            first = false;
        }
    }
    return best;
}

} // namespace morvelin
