// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

// The engine's arithmetic rules: every float-to-whole conversion rounds half to even, whole numbers
// keep their declared width and raise OverflowError instead of wrapping, and "Single" marks the
// values that are single precision on purpose. Inline because the grid calls these per sample.

#include "engine/BoundedArray2D.h"
#include "engine/EngineError.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace morvelin {

using Single = float;

namespace num {

// Nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). nearbyint
// rounds by the floating-point environment's mode, and nothing in the program leaves the default
// round-to-nearest-even.
inline double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

namespace detail {

template <typename Int>
Int toChecked(double value)
{
    const double rounded = roundHalfEven(value);
    // Written so that NaN fails both comparisons and lands on the error too.
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max())) {
        throw OverflowError();
    }
    return static_cast<Int>(rounded);
}

template <typename Int>
Int narrowChecked(std::int64_t value)
{
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) {
        throw OverflowError();
    }
    return static_cast<Int>(value);
}

} // namespace detail

// Conversions that round half to even and raise OverflowError outside the target's range (or on NaN).
inline std::int16_t toInt16(double value) { return detail::toChecked<std::int16_t>(value); }
inline std::int32_t toInt32(double value) { return detail::toChecked<std::int32_t>(value); }
inline std::uint8_t toByte(double value) { return detail::toChecked<std::uint8_t>(value); }

// 16-bit and 32-bit signed arithmetic that raises OverflowError rather than wrapping.
inline std::int16_t add16(std::int16_t a, std::int16_t b) { return detail::narrowChecked<std::int16_t>(std::int64_t{a} + b); }
inline std::int16_t sub16(std::int16_t a, std::int16_t b) { return detail::narrowChecked<std::int16_t>(std::int64_t{a} - b); }
inline std::int16_t mul16(std::int16_t a, std::int16_t b) { return detail::narrowChecked<std::int16_t>(std::int64_t{a} * b); }
inline std::int32_t add32(std::int32_t a, std::int32_t b) { return detail::narrowChecked<std::int32_t>(std::int64_t{a} + b); }
inline std::int32_t mul32(std::int32_t a, std::int32_t b) { return detail::narrowChecked<std::int32_t>(std::int64_t{a} * b); }

// Floating division that raises DivisionByZeroError for a zero divisor instead of giving inf or NaN.
inline double divide(double dividend, double divisor)
{
    if (divisor == 0.0) {
        throw DivisionByZeroError();
    }
    return dividend / divisor;
}

inline Single divide(Single dividend, Single divisor)
{
    if (divisor == 0.0f) {
        throw DivisionByZeroError();
    }
    return dividend / divisor;
}

} // namespace num
} // namespace morvelin
