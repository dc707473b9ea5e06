// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/BlazeFaceDecoder.h"

namespace morvelin {

// Whether a detector's find has the layout of a face: window panes, patterns and parts of a head the
// model took for a face put their key points where no face has them.
class FaceGeometry {
public:
    // The eyes apart by a share of the box's width a face shows, turned any way; the nose tip and
    // the mouth on the same side of the eyes' line, the mouth farther from it than the nose and not
    // far below; every point within the box grown by half.
    static bool makesAFace(const BlazeFaceDecoder::Candidate& candidate);
};

} // namespace morvelin
