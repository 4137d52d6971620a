// The platform's arithmetic, chosen in this one place: the wide type used for intermediate
// results, and the correctly rounding conversion of a decimal text.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdlib>
#ifdef _WIN32
#include <charconv>
#endif

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

// Rounds an intermediate result to the double it is stored as.
constexpr double store(extended value) noexcept {
    return static_cast<double>(value);
}

}  // namespace fexpr::numeric
