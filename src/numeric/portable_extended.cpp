// The x87's arithmetic at 64-bit precision in integer arithmetic: rounding, the 80-bit
// exponent range with its denormals, and the x87's rules for NaNs.
#include "numeric/portable_extended.h"

#include <cmath>
#include <cstring>

namespace fexpr::numeric {
namespace {

using portable_detail::exponent_bias;
using portable_detail::exponent_mask;
using portable_detail::integer_bit;
using portable_detail::sign_mask;

constexpr std::uint64_t quiet_bit = 0x4000000000000000;
constexpr std::uint64_t half = 0x8000000000000000;

/* value >> count, with every bit shifted out ORed into the lowest bit (the sticky bit), so
 * that rounding still sees an inexact value as inexact. Any count from 0 up. */
wide shift_right_sticky(wide value, int count) noexcept {
    if (count == 0) return value;
    if (count >= 128) return {0, (value.high | value.low) != 0 ? 1U : 0U};
    if (count >= 64) {
        const std::uint64_t lost =
            count == 64 ? value.low : value.low | (value.high << (128 - count));
        const std::uint64_t kept = count == 64 ? value.high : value.high >> (count - 64);
        return {0, kept | (lost != 0 ? 1U : 0U)};
    }
    const std::uint64_t lost = value.low << (64 - count);
    return {value.high >> count,
            (value.low >> count) | (value.high << (64 - count)) | (lost != 0 ? 1U : 0U)};
}

wide shift_left(wide value, int count) noexcept {
    if (count == 0) return value;
    if (count >= 64) return {value.low << (count - 64), 0};
    return {(value.high << count) | (value.low >> (64 - count)), value.low << count};
}

bool is_nan(portable_extended a) noexcept {
    return (a.sign_exponent & exponent_mask) == exponent_mask && a.significand != integer_bit;
}

bool is_infinite(portable_extended a) noexcept {
    return (a.sign_exponent & exponent_mask) == exponent_mask && a.significand == integer_bit;
}

bool is_zero(portable_extended a) noexcept {
    return (a.sign_exponent & exponent_mask) == 0 && a.significand == 0;
}

bool sign_of(portable_extended a) noexcept {
    return (a.sign_exponent & sign_mask) != 0;
}

portable_extended make(bool negative, int biased, std::uint64_t significand) noexcept {
    portable_extended result;
    result.significand = significand;
    result.sign_exponent = static_cast<std::uint16_t>((negative ? sign_mask : 0) | biased);
    return result;
}

portable_extended infinity(bool negative) noexcept {
    return make(negative, exponent_mask, integer_bit);
}

portable_extended zero(bool negative) noexcept {
    return make(negative, 0, 0);
}

// The result of an invalid operation: the x87's default NaN, negative and quiet.
portable_extended default_nan() noexcept {
    return make(true, exponent_mask, integer_bit | quiet_bit);
}

portable_extended quieted(portable_extended a) noexcept {
    a.significand |= quiet_bit;
    return a;
}

/* The NaN that an operation with a NaN operand gives: the NaN operand, quieted; of two NaNs
 * the one with the larger significand (a quiet one beats a signalling one), and where the
 * significands are equal the positive one, as the x87 chooses. */
portable_extended nan_result(portable_extended a, portable_extended b) noexcept {
    if (!is_nan(b)) return quieted(a);
    if (!is_nan(a)) return quieted(b);
    if (a.significand != b.significand) return quieted(a.significand > b.significand ? a : b);
    return quieted(sign_of(a) ? b : a);
}

// A finite nonzero value as significand * 2^(exponent - 63) with the integer bit set.
struct unpacked {
    bool negative;
    int exponent;
    std::uint64_t significand;
};

unpacked unpack(portable_extended a) noexcept {
    int biased = a.sign_exponent & exponent_mask;
    std::uint64_t significand = a.significand;
    if (biased == 0) {
        const int shift = leading_zeros(significand);
        significand <<= shift;
        biased = 1 - shift;
    }
    return {sign_of(a), biased - exponent_bias, significand};
}

/* Rounds significand.rest * 2^(exponent - 63) to nearest even once, where the integer bit of
 * the significand is set and rest holds the bits below it (its lowest bit sticky). Below the
 * normal range the value is denormalized first and rounded at the denormal's last bit; a
 * carry out of the top makes the next binade, or the smallest normal from a denormal. */
portable_extended round_pack(bool negative, int exponent, wide value) noexcept {
    int biased = exponent + exponent_bias;
    if (biased >= exponent_mask) return infinity(negative);
    if (biased <= 0) {
        value = shift_right_sticky(value, 1 - biased);
        biased = 0;
    }
    const bool up = value.low > half || (value.low == half && (value.high & 1U) != 0);
    if (up) {
        ++value.high;
        if (value.high == 0) {
            value.high = integer_bit;
            ++biased;
            if (biased == exponent_mask) return infinity(negative);
        } else if (biased == 0 && (value.high & integer_bit) != 0) {
            biased = 1;
        }
    }
    return make(negative, biased, value.high);
}

// Orders the magnitudes of two finite or infinite values of the 80-bit format.
bool magnitude_below(portable_extended a, portable_extended b) noexcept {
    const int a_biased = a.sign_exponent & exponent_mask;
    const int b_biased = b.sign_exponent & exponent_mask;
    if (a_biased != b_biased) return a_biased < b_biased;
    return a.significand < b.significand;
}

/* The sum of two finite nonzero values, |a| >= |b|. The smaller is aligned into 64 extra
 * bits with a sticky bit, which is enough for a difference too: a difference that needs more
 * than one bit of normalization comes from exponents at most one apart, aligned exactly.
 * Exact cancellation gives +0. */
portable_extended add_finite(unpacked a, unpacked b) noexcept {
    const wide aligned = shift_right_sticky({b.significand, 0}, a.exponent - b.exponent);
    if (a.negative == b.negative) {
        const std::uint64_t high = a.significand + aligned.high;
        wide sum{high, aligned.low};
        int exponent = a.exponent;
        if (high < a.significand) {
            sum = shift_right_sticky(sum, 1);
            sum.high |= integer_bit;
            ++exponent;
        }
        return round_pack(a.negative, exponent, sum);
    }
    const std::uint64_t borrow = aligned.low != 0 ? 1U : 0U;
    wide difference{a.significand - aligned.high - borrow, 0 - aligned.low};
    if (difference.high == 0 && difference.low == 0) return zero(false);
    const int shift =
        difference.high != 0 ? leading_zeros(difference.high) : 64 + leading_zeros(difference.low);
    difference = shift_left(difference, shift);
    return round_pack(a.negative, a.exponent - shift, difference);
}

// a + b, the sign of b flipped for a subtraction (after the NaN test: a NaN keeps its sign).
portable_extended add(portable_extended a, portable_extended b, bool subtract) noexcept {
    if (is_nan(a) || is_nan(b)) return nan_result(a, b);
    if (subtract) b.sign_exponent ^= sign_mask;
    if (is_infinite(a) || is_infinite(b)) {
        if (is_infinite(a) && is_infinite(b) && sign_of(a) != sign_of(b)) return default_nan();
        return is_infinite(a) ? a : b;
    }
    if (is_zero(a) || is_zero(b)) {
        if (!is_zero(b)) return b;
        if (!is_zero(a)) return a;
        return zero(sign_of(a) && sign_of(b));
    }
    if (magnitude_below(a, b)) return add_finite(unpack(b), unpack(a));
    return add_finite(unpack(a), unpack(b));
}

/* (high * 2^64 + low) / divisor for high < divisor and a divisor with its top bit set, in two
 * steps of 32 quotient bits, each estimated from the divisor's top half and corrected at most
 * twice (Knuth's algorithm D with 32-bit digits). */
std::uint64_t divide_wide(std::uint64_t high, std::uint64_t low, std::uint64_t divisor,
                          std::uint64_t* remainder) noexcept {
    constexpr std::uint64_t digit = 0x100000000;
    const std::uint64_t divisor_high = divisor >> 32;
    const std::uint64_t divisor_low = divisor & 0xFFFFFFFF;
    const std::uint64_t numerator[2] = {low >> 32, low & 0xFFFFFFFF};
    std::uint64_t partial = high;
    std::uint64_t quotient = 0;
    for (const std::uint64_t next : numerator) {
        std::uint64_t estimate = partial / divisor_high;
        std::uint64_t rest = partial - estimate * divisor_high;
        while (estimate >= digit || estimate * divisor_low > ((rest << 32) | next)) {
            --estimate;
            rest += divisor_high;
            if (rest >= digit) break;
        }
        partial = ((partial << 32) | next) - estimate * divisor;
        quotient = (quotient << 32) | estimate;
    }
    *remainder = partial;
    return quotient;
}

/* The quotient of two significands with the integer bit set, 64 bits from its first 1, and
 * the round and sticky bits from the remainder. a * 2^64 / b when a < b, a * 2^63 / b
 * otherwise, so that the quotient's top bit is set. */
portable_extended divide_finite(unpacked a, unpacked b, bool negative) noexcept {
    int exponent = a.exponent - b.exponent;
    std::uint64_t remainder = 0;
    std::uint64_t quotient = 0;
    if (a.significand < b.significand) {
        quotient = divide_wide(a.significand, 0, b.significand, &remainder);
        --exponent;
    } else {
        quotient = divide_wide(a.significand >> 1, a.significand << 63, b.significand, &remainder);
    }
    // The remainder against half the divisor: above, at or below the halfway point.
    const std::uint64_t other = b.significand - remainder;
    std::uint64_t low = 0;
    if (remainder > other) low = half | 1U;
    if (remainder == other) low = half;
    if (remainder < other && remainder != 0) low = 1;
    return round_pack(negative, exponent, {quotient, low});
}

// a < b for 128-bit values.
bool wide_below(wide a, wide b) noexcept {
    return a.high < b.high || (a.high == b.high && a.low < b.low);
}

/* The integer square root of n, n in [2^126, 2^128): the double's root of the top word gives
 * 26 or more correct bits, one Newton step (n / r by divide_wide) more than 64, and the last
 * unit is settled against r^2 <= n < (r + 1)^2. Every step is exact integer or IEEE
 * arithmetic, the same on every CPU. */
std::uint64_t integer_root(wide n) noexcept {
    const double estimate = std::sqrt(static_cast<double>(n.high)) * 4294967296.0;
    std::uint64_t root =
        estimate >= 18446744073709551615.0 ? ~0ULL : static_cast<std::uint64_t>(estimate);
    std::uint64_t unused = 0;
    const std::uint64_t quotient =
        n.high < root ? divide_wide(n.high, n.low, root, &unused) : ~0ULL;
    root = (root >> 1) + (quotient >> 1) + (root & quotient & 1U);
    while (wide_below(n, multiply_words(root, root))) --root;
    while (root != ~0ULL && !wide_below(n, multiply_words(root + 1, root + 1))) ++root;
    return root;
}

/* The root of n = significand * 2^shift, shift 63 or 64 so that n lies in [2^126, 2^128) and
 * the scale 2^(exponent - 63 - shift) is an even power. With r = floor(sqrt(n)) and
 * n - r^2 = d, the root lies above r + 1/2 exactly when d > r, and is never halfway; d != 0
 * is the sticky bit. */
portable_extended root_finite(unpacked a) noexcept {
    const int shift = ((a.exponent - 63) % 2 == 0) ? 64 : 63;
    const wide n =
        shift == 64 ? wide{a.significand, 0} : wide{a.significand >> 1, a.significand << 63};
    const std::uint64_t root = integer_root(n);
    const wide square = multiply_words(root, root);
    const std::uint64_t borrow = n.low < square.low ? 1U : 0U;
    const wide difference{n.high - square.high - borrow, n.low - square.low};
    std::uint64_t low = 0;
    if (difference.high != 0 || difference.low > root) {
        low = half | 1U;
    } else if (difference.low != 0) {
        low = 1;
    }
    return round_pack(false, 63 + (a.exponent - 63 - shift) / 2, {root, low});
}

// The double's bits: sign, 11-bit exponent biased by 1023, 52-bit fraction.
constexpr int double_bias = 1023;
constexpr std::uint64_t double_fraction_mask = 0x000FFFFFFFFFFFFF;
constexpr std::uint64_t double_quiet_bit = 0x0008000000000000;

/* A finite nonzero value rounded to a double: 11 bits dropped in the normal range, more
 * below it (the subnormals' fixed last bit), all of them beyond half the smallest subnormal.
 * The biased exponent and the fraction are added as one integer, so a carry of the rounding
 * moves into the next binade, the smallest normal or infinity by itself. */
std::uint64_t double_bits_of_finite(unpacked a) noexcept {
    const std::uint64_t sign = a.negative ? 0x8000000000000000 : 0;
    if (a.exponent > double_bias) return sign | 0x7FF0000000000000;
    int drop = 11;
    std::uint64_t exponent_field = 0;
    if (a.exponent >= 1 - double_bias) {
        exponent_field = static_cast<std::uint64_t>(a.exponent + double_bias - 1) << 52;
    } else {
        drop += (1 - double_bias) - a.exponent;
    }
    if (drop > 64) return sign;
    const std::uint64_t kept = drop == 64 ? 0 : a.significand >> drop;
    const std::uint64_t lost = drop == 64 ? a.significand : a.significand << (64 - drop);
    const bool up = lost > half || (lost == half && (kept & 1U) != 0);
    return sign | (exponent_field + kept + (up ? 1U : 0U));
}

}  // namespace

portable_extended::portable_extended(double value) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & double_fraction_mask;
    if (biased == 0x7FF) {
        // An infinity, or a NaN with its payload on top, quieted as the x87 loads it.
        const std::uint64_t payload = fraction == 0 ? 0 : (fraction << 11) | quiet_bit;
        *this = make(negative, exponent_mask, integer_bit | payload);
    } else if (biased == 0) {
        *this = portable_detail::exact_value(negative, -1074, fraction);
    } else {
        *this =
            make(negative, biased - double_bias + exponent_bias, integer_bit | (fraction << 11));
    }
}

portable_extended::operator double() const noexcept {
    std::uint64_t bits = sign_of(*this) ? 0x8000000000000000 : 0;
    if (is_nan(*this)) {
        bits |=
            0x7FF0000000000000 | double_quiet_bit | ((significand >> 11) & double_fraction_mask);
    } else if (is_infinite(*this)) {
        bits |= 0x7FF0000000000000;
    } else if (!is_zero(*this)) {
        bits = double_bits_of_finite(unpack(*this));
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

portable_extended::operator std::int64_t() const noexcept {
    constexpr std::int64_t indefinite = -0x7FFFFFFFFFFFFFFF - 1;
    if (is_nan(*this) || is_infinite(*this)) return indefinite;
    if (is_zero(*this)) return 0;
    const unpacked a = unpack(*this);
    if (a.exponent < 0) return 0;
    if (a.exponent >= 63) return indefinite;
    const std::uint64_t magnitude = a.significand >> (63 - a.exponent);
    return a.negative ? -static_cast<std::int64_t>(magnitude)
                      : static_cast<std::int64_t>(magnitude);
}

portable_extended& portable_extended::operator*=(portable_extended other) noexcept {
    *this = *this * other;
    return *this;
}

portable_extended operator+(portable_extended a, portable_extended b) noexcept {
    return add(a, b, false);
}

portable_extended operator-(portable_extended a, portable_extended b) noexcept {
    return add(a, b, true);
}

portable_extended operator-(portable_extended a) noexcept {
    a.sign_exponent ^= sign_mask;
    return a;
}

/* The product: 0 * inf is invalid; otherwise a zero or an infinity with the signs' XOR. The
 * 128-bit product of two significands has its top bit at 127 or 126. */
portable_extended operator*(portable_extended a, portable_extended b) noexcept {
    if (is_nan(a) || is_nan(b)) return nan_result(a, b);
    const bool negative = sign_of(a) != sign_of(b);
    if (is_infinite(a) || is_infinite(b)) {
        if (is_zero(a) || is_zero(b)) return default_nan();
        return infinity(negative);
    }
    if (is_zero(a) || is_zero(b)) return zero(negative);
    const unpacked x = unpack(a);
    const unpacked y = unpack(b);
    wide product = multiply_words(x.significand, y.significand);
    int exponent = x.exponent + y.exponent + 1;
    if ((product.high & integer_bit) == 0) {
        product = shift_left(product, 1);
        --exponent;
    }
    return round_pack(negative, exponent, product);
}

/* The quotient: 0/0 and inf/inf are invalid; x/0 is an infinity, x/inf and 0/x a zero, each
 * with the signs' XOR. */
portable_extended operator/(portable_extended a, portable_extended b) noexcept {
    if (is_nan(a) || is_nan(b)) return nan_result(a, b);
    const bool negative = sign_of(a) != sign_of(b);
    if (is_infinite(a)) return is_infinite(b) ? default_nan() : infinity(negative);
    if (is_infinite(b)) return zero(negative);
    if (is_zero(b)) return is_zero(a) ? default_nan() : infinity(negative);
    if (is_zero(a)) return zero(negative);
    return divide_finite(unpack(a), unpack(b), negative);
}

portable_extended portable_sqrt(portable_extended a) noexcept {
    if (is_nan(a)) return quieted(a);
    if (is_zero(a)) return a;
    if (sign_of(a)) return default_nan();
    if (is_infinite(a)) return a;
    return root_finite(unpack(a));
}

bool operator==(portable_extended a, portable_extended b) noexcept {
    if (is_nan(a) || is_nan(b)) return false;
    if (is_zero(a) && is_zero(b)) return true;
    return a.significand == b.significand && a.sign_exponent == b.sign_exponent;
}

bool operator<(portable_extended a, portable_extended b) noexcept {
    if (is_nan(a) || is_nan(b)) return false;
    if (is_zero(a) && is_zero(b)) return false;
    if (sign_of(a) != sign_of(b)) return sign_of(a);
    return sign_of(a) ? magnitude_below(b, a) : magnitude_below(a, b);
}

bool portable_is_nan(portable_extended a) noexcept {
    return is_nan(a);
}

bool portable_is_infinite(portable_extended a) noexcept {
    return is_infinite(a);
}

}  // namespace fexpr::numeric
