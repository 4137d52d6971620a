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

namespace fexpr::numeric {

// Intermediate results carry a 64-bit significand where the platform's long double is the
// x87 80-bit format; elsewhere long double is either no wider than double or a different
// format, and double arithmetic is used throughout.
#if LDBL_MANT_DIG == 64
using extended = long double;
#else
using extended = double;
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

/* (-1)^negative * significand * 2^exponent, the significand's top bit set. Where extended is
 * the x87 format that is exact in its range. Where it is double, the significand is rounded
 * once, to nearest with ties to even, to the bits the double keeps at that magnitude (fewer
 * among the subnormals), so that store() sees the value rounded as from 64 bits. */
inline extended extended_from_parts(bool negative, int exponent,
                                    std::uint64_t significand) noexcept {
#if LDBL_MANT_DIG == 64
    const extended magnitude = std::ldexp(static_cast<extended>(significand), exponent);
#else
    // The double's unit in the last place is 2^-1074 among the subnormals, 2^(b - 52) above,
    // so at least 11 of the 64 bits go.
    const int binade = exponent + 63;
    const int unit = binade < -1022 ? -1074 : binade - 52;
    const int dropped = unit - exponent;
    double magnitude = 0;
    if (dropped <= 64) {
        const std::uint64_t kept = dropped == 64 ? 0 : significand >> dropped;
        const std::uint64_t rest = dropped == 64 ? significand : significand << (64 - dropped);
        const std::uint64_t half = 0x8000000000000000U;
        const bool up = rest > half || (rest == half && (kept & 1U) != 0);
        magnitude = std::ldexp(static_cast<double>(kept + (up ? 1U : 0U)), unit);
    }
#endif
    return negative ? -magnitude : magnitude;
}

}  // namespace fexpr::numeric
