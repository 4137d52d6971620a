// The elementary functions the mathematical services rest on, chosen for the platform here
// and nowhere else.
//
// Where the C library computes them well in extended precision (glibc) its functions are
// used. MinGW-w64's long-double sine, cosine and tangent are the bare x87 instructions, whose
// argument reduction by a 66-bit pi goes wrong near multiples of pi/2, its arc sine loses
// digits near ±1 (1 - x^2), and its power, exponential and arc cosine differ from glibc's in
// the last digits; there the system's own
// versions below (x87_*) are used, which reduce the argument exactly and carry the power's
// logarithm in more than extended precision. The own versions exist on every x87 build, so
// that the tests compare them with the C library everywhere.
#pragma once

#include "numeric/extended.h"

namespace fexpr::numeric {

// Sine, cosine and tangent of a finite x with |x| < 2^53.
extended elementary_sin(extended x) noexcept;
extended elementary_cos(extended x) noexcept;
extended elementary_tan(extended x) noexcept;
// Arc sine and arc cosine for |x| <= 1; arc tangent; square root of x >= 0.
extended elementary_asin(extended x) noexcept;
extended elementary_acos(extended x) noexcept;
extended elementary_atan(extended x) noexcept;
extended elementary_sqrt(extended x) noexcept;
// Natural and base-10 logarithm of a positive finite x; exponential of a finite x.
extended elementary_log(extended x) noexcept;
extended elementary_log10(extended x) noexcept;
extended elementary_exp(extended x) noexcept;
// x^y for a positive finite x and a finite y.
extended elementary_pow(extended x, extended y) noexcept;

#if FEXPR_X87_EXTENDED
// The system's own versions on the x87 instructions (where extended is the x87 format).
// Sine, cosine, tangent: |x| < 2^53, reduced against pi/2 in 192-bit integer arithmetic,
// so the instructions see only |r| <= pi/4.
extended x87_sin(double x) noexcept;
extended x87_cos(double x) noexcept;
extended x87_tan(double x) noexcept;
// Arc sine and arc cosine as the angles of (sqrt((1 - x)(1 + x)), x) and of
// (x, sqrt((1 - x)(1 + x))); 1 - x and 1 + x are exact, so they stay accurate near ±1.
extended x87_asin(extended x) noexcept;
extended x87_acos(extended x) noexcept;
// e^x for a finite x, and x^y for a positive finite x and a finite y, through 2^t with t
// carried as a sum of two extended values.
extended x87_exp(extended x) noexcept;
extended x87_pow(extended x, extended y) noexcept;
#endif

}  // namespace fexpr::numeric
