// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/HalfFloat.h"

#include <bit>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MORVELIN_HAS_F16C_PATH 1
#endif

namespace morvelin {

namespace {

constexpr std::uint32_t floatSign = 0x80000000u;

#ifdef MORVELIN_HAS_F16C_PATH
// A bulk decode of a million faces spends its time here; the portable loop takes several times as long.
__attribute__((target("f16c,avx"))) void toFloatsF16c(const std::uint16_t* halves, float* floats, std::size_t count)
{
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i packed = _mm_loadu_si128(reinterpret_cast<const __m128i*>(halves + i));
        _mm256_storeu_ps(floats + i, _mm256_cvtph_ps(packed));
    }
    for (; i < count; ++i) {
        floats[i] = HalfFloat::toFloat(halves[i]);
    }
}

bool hasF16c()
{
    static const bool has = __builtin_cpu_supports("f16c") && __builtin_cpu_supports("avx");
    return has;
}
#endif

} // namespace

std::uint16_t HalfFloat::fromFloat(float value)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint16_t sign = std::uint16_t((bits & floatSign) >> 16);
    const std::uint32_t magnitude = bits & ~floatSign;
    if (magnitude >= 0x7f800000u) {
        return std::uint16_t(sign | 0x7c00u | (magnitude > 0x7f800000u ? 0x200u : 0u));
    }
    if (magnitude >= 0x477ff000u) { // rounds past 65504
        return std::uint16_t(sign | 0x7c00u);
    }
    if (magnitude < 0x38800000u) { // below the smallest normal half: a multiple of 2^-24
        const float scaled = std::bit_cast<float>(magnitude) * 16777216.0f; // exact: a power of two
        return std::uint16_t(sign | std::uint16_t(std::nearbyint(scaled)));
    }
    // Rebias the exponent, then round the 13 bits that go, ties to even; a carry rolls into the exponent.
    const std::uint32_t rebased = magnitude - 0x38000000u;
    const std::uint32_t kept = rebased >> 13;
    const std::uint32_t dropped = rebased & 0x1fffu;
    const std::uint32_t roundUp = dropped > 0x1000u || (dropped == 0x1000u && (kept & 1u)) ? 1u : 0u;
    return std::uint16_t(sign | (kept + roundUp));
}

float HalfFloat::toFloat(std::uint16_t half)
{
    const std::uint32_t sign = std::uint32_t(half & 0x8000u) << 16;
    const std::uint32_t exponent = (half >> 10) & 0x1fu;
    const std::uint32_t fraction = half & 0x3ffu;
    if (exponent == 0) {
        const float value = float(fraction) / 16777216.0f;
        return std::bit_cast<float>(std::bit_cast<std::uint32_t>(value) | sign);
    }
    if (exponent == 0x1f) {
        return std::bit_cast<float>(sign | 0x7f800000u | (fraction << 13));
    }
    return std::bit_cast<float>(sign | ((exponent + 112u) << 23) | (fraction << 13));
}

void HalfFloat::round(std::vector<float>& values)
{
    for (float& value : values) {
        value = toFloat(fromFloat(value));
    }
}

void HalfFloat::toFloats(const std::uint16_t* halves, float* floats, std::size_t count)
{
#ifdef MORVELIN_HAS_F16C_PATH
    if (hasF16c()) {
        toFloatsF16c(halves, floats, count);
        return;
    }
#endif
    for (std::size_t i = 0; i < count; ++i) {
        floats[i] = toFloat(halves[i]);
    }
}

} // namespace morvelin
