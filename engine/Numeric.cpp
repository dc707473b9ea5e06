#include "engine/Numeric.h"

#include <cmath>
#include <limits>

namespace morvelin::num {

namespace {

template <typename Int>
Int toChecked(double value)
{
    const double rounded = roundHalfEven(value);
    if (std::isnan(rounded) || rounded < std::numeric_limits<Int>::min()
        || rounded > std::numeric_limits<Int>::max()) {
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

} // namespace

double roundHalfEven(double value)
{
    if (!std::isfinite(value)) {
        return value;
    }
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    if (fraction < 0.5) {
        return lower;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::int16_t toInt16(double value) { return toChecked<std::int16_t>(value); }
std::int32_t toInt32(double value) { return toChecked<std::int32_t>(value); }
std::uint8_t toByte(double value) { return toChecked<std::uint8_t>(value); }

std::int16_t add16(std::int16_t a, std::int16_t b) { return narrowChecked<std::int16_t>(std::int64_t{a} + b); }
std::int16_t sub16(std::int16_t a, std::int16_t b) { return narrowChecked<std::int16_t>(std::int64_t{a} - b); }
std::int16_t mul16(std::int16_t a, std::int16_t b) { return narrowChecked<std::int16_t>(std::int64_t{a} * b); }
std::int32_t add32(std::int32_t a, std::int32_t b) { return narrowChecked<std::int32_t>(std::int64_t{a} + b); }
std::int32_t mul32(std::int32_t a, std::int32_t b) { return narrowChecked<std::int32_t>(std::int64_t{a} * b); }

double divide(double dividend, double divisor)
{
    if (divisor == 0.0) {
        throw DivisionByZeroError();
    }
    return dividend / divisor;
}

Single divide(Single dividend, Single divisor)
{
    if (divisor == 0.0f) {
        throw DivisionByZeroError();
    }
    return dividend / divisor;
}

} // namespace morvelin::num
