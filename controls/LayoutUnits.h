// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

namespace morvelin {

// The windows are designed in twips, 1440 to the inch, so that they keep their proportions at any
// screen resolution; this is the one conversion to pixels. Callers round as their control needs.
class LayoutUnits {
public:
    static constexpr double twipsPerInch = 1440;
    // A screen that reports no resolution is taken as the common 96 dots per inch.
    static constexpr int usualDpi = 96;

    static int dpiOrUsual(int logicalDpi) { return logicalDpi > 0 ? logicalDpi : usualDpi; }
    // 15 at 96 dots per inch.
    static double twipsPerPixel(int logicalDpi) { return twipsPerInch / dpiOrUsual(logicalDpi); }
    static double pixels(double twips, int logicalDpi) { return twips * dpiOrUsual(logicalDpi) / twipsPerInch; }
};

} // namespace morvelin
