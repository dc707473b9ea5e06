// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/FaceMatchTech.h"

namespace morvelin {

// The sizes pictures are brought to on their way to a comparison, each written once.
struct PictureSizes {
    // Every face picture: the comparison's grid.
    static constexpr int face = FaceMatchTech::gridSize;
    // Photos are scanned, and a chosen photo is searched for faces, at most this wide; a portrait photo
    // is scanned at most this high.
    static constexpr int widestLandscape = 1600;
    static constexpr int tallestPortrait = 1200;
};

} // namespace morvelin
