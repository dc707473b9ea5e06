// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/basMaths.h"

#include <cmath>

namespace morvelin::basMaths {

Single arcCos(Single& v)
{
    if (std::fabs(v) >= 1.0f) {
        v = static_cast<Single>(v / std::fabs(v) * 0.9999);
    }
    const double value = v;
    return static_cast<Single>(std::atan(-value / std::sqrt(1.0 - value * value)) + 2.0 * std::atan(1.0));
}

} // namespace morvelin::basMaths
