// The platform's arithmetic, chosen in this one place: the wide type used for intermediate
// results, and the correctly rounding conversion of a decimal text.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#ifdef _WIN32
#include <charconv>
#endif

#include "numeric/portable_extended.h"

namespace fexpr::numeric {

/*
 * Intermediate results carry a 64-bit significand with the x87's 15-bit exponent, rounded to
 * nearest even, as the x87 computes them at 64-bit precision. Where long double is that
 * format (x86-64 Linux, MinGW) the hardware computes them; elsewhere long double is double
 * (MSVC, macOS, -mlong-double-64) or binary128 (aarch64), and portable_extended computes the
 * same bits in integer arithmetic. Nothing else chooses: the rest of the system writes
 * extended, store(), extended_from_parts() and extended_sqrt().
 */
#if LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384
#define FEXPR_HARDWARE_EXTENDED 1
using extended = long double;
#else
#define FEXPR_HARDWARE_EXTENDED 0
using extended = portable_extended;
#endif

/*
 * The double nearest to a decimal text of digits and an exponent ("2641472655678326e254"),
 * ties to even; 0 or an infinity beyond the range. MinGW-w64's strtod misrounds some texts
 * just below a power of two (that one gives 2^895 instead of the double below it), so there
 * std::from_chars converts, and strtod only what lies out of range; elsewhere strtod alone,
 * since from_chars links the C++ exception runtime.
 */
inline double nearest_double(const char* text, std::size_t length) noexcept {
#ifdef _WIN32
    double value = 0;
    if (std::from_chars(text, text + length, value).ec == std::errc()) return value;
#else
    static_cast<void>(length);
#endif
    return std::strtod(text, nullptr);
}

#if FEXPR_HARDWARE_EXTENDED
// Rounds an intermediate result to the double it is stored as.
constexpr double store(extended value) noexcept {
    return static_cast<double>(value);
}

/* (-1)^negative * significand * 2^exponent, exact for a value in the normal range. The power
 * of two is built by squaring, in two halves so that each stays inside the range where the
 * value's last bit lies below it; usable in constant expressions. */
constexpr extended extended_power_of_two(int exponent) noexcept {
    extended power = 1;
    extended factor = exponent < 0 ? 0.5L : 2.0L;
    for (unsigned bits = exponent < 0 ? 0U - static_cast<unsigned>(exponent)
                                      : static_cast<unsigned>(exponent);
         bits != 0; bits >>= 1U) {
        if ((bits & 1U) != 0) power *= factor;
        factor *= factor;
    }
    return power;
}

constexpr extended extended_from_parts(bool negative, int exponent,
                                       std::uint64_t significand) noexcept {
    const extended magnitude = static_cast<extended>(significand) *
                               extended_power_of_two(exponent / 2) *
                               extended_power_of_two(exponent - exponent / 2);
    return negative ? -magnitude : magnitude;
}

// The x87's square root (fsqrt): correctly rounded to 64 bits.
inline extended extended_sqrt(extended value) noexcept {
    return std::sqrt(value);
}

inline bool extended_is_infinite(extended value) noexcept {
    return std::isinf(value);
}
#else
inline double store(extended value) noexcept {
    return static_cast<double>(value);
}

constexpr extended extended_from_parts(bool negative, int exponent,
                                       std::uint64_t significand) noexcept {
    return portable_from_parts(negative, exponent, significand);
}

inline extended extended_sqrt(extended value) noexcept {
    return portable_sqrt(value);
}

inline bool extended_is_infinite(extended value) noexcept {
    return portable_is_infinite(value);
}
#endif

}  // namespace fexpr::numeric
