// The elementary functions the mathematical services rest on: the exact value rounded to a
// 64-bit significand (to nearest, ties to even), computed in integer arithmetic of our own,
// so every platform gives the same bits.
//
// Each value is first computed with 128 bits and a bound on its error; when that bound leaves
// the rounding undecided (the value lies within it of a midpoint between two 64-bit values)
// it is computed again with 256 bits, and then with 512, where an undecided value is an exact
// midpoint and rounds to even.
#pragma once

#include <cstdint>

#include "numeric/extended.h"

namespace fexpr::numeric {

// The functions, for the tests and the check that run them all.
enum class elementary_function { sin, cos, tan, asin, acos, atan, log, log10, exp, pow };

// A result (-1)^negative * significand * 2^exponent, the significand's top bit set (0 for 0).
struct extended_parts {
    bool negative;
    int exponent;
    std::uint64_t significand;
};

/* The correctly rounded 64-bit value of a function at x (and y, for the power) within the
 * domains below; the other functions ignore y. */
extended_parts elementary_parts(elementary_function function, double x, double y) noexcept;

// How many values so far needed more than the first 128 bits to decide their rounding.
std::uint64_t elementary_fallbacks() noexcept;

// Sine, cosine and tangent of a finite x with |x| < 2^53.
extended elementary_sin(double x) noexcept;
extended elementary_cos(double x) noexcept;
extended elementary_tan(double x) noexcept;
// Arc sine and arc cosine for |x| <= 1; arc tangent of any x but a NaN.
extended elementary_asin(double x) noexcept;
extended elementary_acos(double x) noexcept;
extended elementary_atan(double x) noexcept;
// Square root of x >= 0, correctly rounded to 64 bits by the arithmetic of extended.h.
extended elementary_sqrt(extended x) noexcept;
// Natural and base-10 logarithm of a positive finite x (subnormals included); exponential
// of x in (-745, 709.79).
extended elementary_log(double x) noexcept;
extended elementary_log10(double x) noexcept;
extended elementary_exp(double x) noexcept;
// x^y for a positive finite x and a finite y with |y ln x| < 710.
extended elementary_pow(double x, double y) noexcept;

}  // namespace fexpr::numeric
