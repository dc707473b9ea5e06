#pragma once

// The engine's arithmetic rules: every float-to-whole conversion rounds half to even, whole numbers
// keep their declared width and raise OverflowError instead of wrapping, and "Single" marks the
// values that are single precision on purpose.

#include "engine/BoundedArray2D.h"
#include "engine/EngineError.h"

#include <cstdint>

namespace morvelin {

using Single = float;

namespace num {

// Nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// Conversions that round half to even and raise OverflowError outside the target's range (or on NaN).
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);
std::uint8_t toByte(double value);

// 16-bit and 32-bit signed arithmetic that raises OverflowError rather than wrapping.
std::int16_t add16(std::int16_t a, std::int16_t b);
std::int16_t sub16(std::int16_t a, std::int16_t b);
std::int16_t mul16(std::int16_t a, std::int16_t b);
std::int32_t add32(std::int32_t a, std::int32_t b);
std::int32_t mul32(std::int32_t a, std::int32_t b);

// Floating division that raises DivisionByZeroError for a zero divisor instead of giving inf or NaN.
double divide(double dividend, double divisor);
Single divide(Single dividend, Single divisor);

} // namespace num
} // namespace morvelin
