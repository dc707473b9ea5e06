// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/DetectedFace.h"

#include <QImage>
#include <QRect>

#include <array>
#include <vector>

namespace morvelin {

// One face as a scan sees it — a face found in a photo, or a face of the person searched for, cut
// the same way — holding what every matcher compares and what a window shows of it.
struct FoundFace {
    QRect box; // in pixels of the photo scaled for the scan
    std::array<QPointF, DetectedFace::KeyPointCount> keyPoints{};
    bool blank = false;          // the box held no pixels: nothing to compare or show
    QImage picture;              // the face as the grid compares it (48 x 48, filtered); null when blank, or
                                 // when the face index kept none for a search that does not read it
    QImage thumbnail;            // the same 48 x 48 face unfiltered, as the gallery and the result list show it
    std::vector<float> features; // the unit feature vector; empty when no matcher read one

    // The face the detector reported in `photo`, cut out and filtered. Matchers read their own parts.
    static FoundFace cutFrom(const QImage& photo, const DetectedFace& detected);
    // The detector's view of this face again: its box and key points.
    DetectedFace detected() const;
};

} // namespace morvelin
