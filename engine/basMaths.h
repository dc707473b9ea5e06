// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Numeric.h"

namespace morvelin::basMaths {

// Arc cosine in radians. An argument at or beyond +-1 is first pulled in to +-0.9999 and that value
// is left in the caller's variable, so a vertical or horizontal segment never sits exactly on a bin
// boundary of the angle histogram.
Single arcCos(Single& v);

} // namespace morvelin::basMaths
