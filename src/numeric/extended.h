// The wide type used for intermediate results, chosen in this one place.
#pragma once

#include <cfloat>

namespace fexpr::numeric {

// Intermediate results carry a 64-bit significand where the platform's long double is the
// x87 80-bit format; elsewhere long double is either no wider than double or a different
// format, and double arithmetic is used throughout.
#if LDBL_MANT_DIG == 64
using extended = long double;
#else
using extended = double;
#endif

// 1 where extended is the x87 80-bit format and GCC-style x87 assembly is available.
#if LDBL_MANT_DIG == 64 && (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define FEXPR_X87_EXTENDED 1
#else
#define FEXPR_X87_EXTENDED 0
#endif

// Rounds an intermediate result to the double it is stored as.
constexpr double store(extended value) noexcept {
    return static_cast<double>(value);
}

}  // namespace fexpr::numeric
