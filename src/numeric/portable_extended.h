// A floating-point type in integer arithmetic that computes, bit for bit, what the x87 computes
// with a 64-bit significand and rounding to nearest even, for CPUs without that unit.
#pragma once

#include <cstdint>

#include "numeric/word_arithmetic.h"

namespace fexpr::numeric {

/*
 * The x87's 80-bit format: a 64-bit significand with its integer bit written out, a 15-bit
 * exponent biased by 16383 and a sign. Exponent 0 holds zeros and denormals (integer bit
 * clear), 32767 infinities (significand 2^63) and NaNs. Every operation rounds once, to the
 * nearest value with ties to even, denormalizing first where the result is tiny, and
 * overflows to infinity. An invalid operation gives the x87's default NaN (negative, quiet);
 * a NaN operand comes through quieted; of two NaNs the one with the larger significand wins,
 * the positive one where the significands are equal.
 */
struct portable_extended {
    std::uint64_t significand = 0;
    std::uint16_t sign_exponent = 0;

    constexpr portable_extended() noexcept = default;
    // Exact: every double and every int has a 64-bit significand value.
    portable_extended(double value) noexcept;         // NOLINT: converts as the hardware type does
    constexpr portable_extended(int value) noexcept;  // NOLINT
    // Rounds to nearest even in the double's range, subnormals included; a NaN keeps its
    // sign and the top of its payload.
    explicit operator double() const noexcept;
    // Truncates toward zero; NaNs, infinities and values out of range give -2^63.
    explicit operator std::int64_t() const noexcept;
    portable_extended& operator*=(portable_extended other) noexcept;
};

namespace portable_detail {

constexpr int exponent_bias = 16383;
constexpr std::uint16_t exponent_mask = 0x7FFF;
constexpr std::uint16_t sign_mask = 0x8000;
constexpr std::uint64_t integer_bit = 0x8000000000000000;

/* (-1)^negative * significand * 2^exponent, exact where it is representable: normalized so
 * that the integer bit is set, or denormalized where the value lies below the normal range
 * (bits shifted out there are lost, so callers keep such values exact). */
constexpr portable_extended exact_value(bool negative, int exponent,
                                        std::uint64_t significand) noexcept {
    portable_extended result;
    result.sign_exponent = negative ? sign_mask : 0;
    if (significand == 0) return result;
    const int shift = leading_zeros(significand);
    significand <<= shift;
    int biased = exponent - shift + 63 + exponent_bias;
    if (biased <= 0) {
        const int right = 1 - biased;
        significand = right >= 64 ? 0 : significand >> right;
        biased = 0;
    }
    result.significand = significand;
    result.sign_exponent = static_cast<std::uint16_t>(result.sign_exponent | biased);
    return result;
}

}  // namespace portable_detail

constexpr portable_extended::portable_extended(int value) noexcept
    : portable_extended(portable_detail::exact_value(
          value < 0, 0,
          value < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(value))
                    : static_cast<std::uint64_t>(value))) {}

// (-1)^negative * significand * 2^exponent; exact for a value in the normal range.
constexpr portable_extended portable_from_parts(bool negative, int exponent,
                                                std::uint64_t significand) noexcept {
    return portable_detail::exact_value(negative, exponent, significand);
}

portable_extended operator+(portable_extended a, portable_extended b) noexcept;
portable_extended operator-(portable_extended a, portable_extended b) noexcept;
portable_extended operator*(portable_extended a, portable_extended b) noexcept;
portable_extended operator/(portable_extended a, portable_extended b) noexcept;
portable_extended operator-(portable_extended a) noexcept;
// The square root: -0 gives -0, a negative value the default NaN.
portable_extended portable_sqrt(portable_extended a) noexcept;

// Comparisons as IEEE orders them: a NaN is unordered (only != holds), -0 equals +0.
bool operator==(portable_extended a, portable_extended b) noexcept;
bool operator<(portable_extended a, portable_extended b) noexcept;
inline bool operator!=(portable_extended a, portable_extended b) noexcept {
    return !(a == b);
}
inline bool operator>(portable_extended a, portable_extended b) noexcept {
    return b < a;
}
inline bool operator<=(portable_extended a, portable_extended b) noexcept {
    return a < b || a == b;
}
inline bool operator>=(portable_extended a, portable_extended b) noexcept {
    return b < a || a == b;
}

bool portable_is_nan(portable_extended a) noexcept;
bool portable_is_infinite(portable_extended a) noexcept;
inline bool portable_sign_bit(portable_extended a) noexcept {
    return (a.sign_exponent & portable_detail::sign_mask) != 0;
}

}  // namespace fexpr::numeric
