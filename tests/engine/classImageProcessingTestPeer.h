// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/classImageProcessing.h"

#include <cstdint>

namespace morvelin {

// Reaches the picture object's private steps and fields, so tests can set up a trace list directly
// instead of through a picture that happens to produce it.
class classImageProcessingTestPeer {
public:
    static void addTrace(classImageProcessing& grid, Single x1, Single y1, Single x2, Single y2, Single strength)
    {
        grid.addTrace(x1, y1, x2, y2, strength);
    }
    static void sortTraces(classImageProcessing& grid) { grid.sortTraces(); }
    static std::int16_t searchTurn(const classImageProcessing& grid) { return grid.searchTurn; }
};

} // namespace morvelin
