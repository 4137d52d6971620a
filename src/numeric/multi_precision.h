// Floating-point numbers of N limbs of 64 bits in integer arithmetic, the same on every
// platform: the working precision of the correctly rounded elementary functions.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "numeric/function_constants.h"

namespace fexpr::numeric::multi {

// The exponent that zero carries, far below any other value's.
constexpr int zero_exponent = -1000000;

/* The 128-bit product of two limbs as high and low limb. Without a 128-bit integer type
 * (MSVC) the four 32-bit partial products are summed; no carry is lost, since
 * (2^32 - 1)^2 + 2 (2^32 - 1) < 2^64. */
struct wide {
    std::uint64_t high;
    std::uint64_t low;
};

inline wide multiply_limbs(std::uint64_t a, std::uint64_t b) noexcept {
#if defined(__SIZEOF_INT128__)
    __extension__ typedef unsigned __int128 u128;
    const u128 product = static_cast<u128>(a) * b;
    return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
    const std::uint64_t a_low = a & 0xffffffffU, a_high = a >> 32;
    const std::uint64_t b_low = b & 0xffffffffU, b_high = b >> 32;
    const std::uint64_t low_low = a_low * b_low;
    const std::uint64_t high_low = a_high * b_low;
    const std::uint64_t low_high = a_low * b_high;
    const std::uint64_t middle = (low_low >> 32) + (high_low & 0xffffffffU) + low_high;
    return {a_high * b_high + (high_low >> 32) + (middle >> 32),
            (middle << 32) | (low_low & 0xffffffffU)};
#endif
}

// Leading zero bits of a nonzero limb.
inline int leading_zeros(std::uint64_t limb) noexcept {
    int count = 0;
    while ((limb & 0xffffffff00000000U) == 0) {
        limb <<= 32;
        count += 32;
    }
    while ((limb & 0x8000000000000000U) == 0) {
        limb <<= 1;
        ++count;
    }
    return count;
}

/* (-1)^negative * 0.limb[0]limb[1]... * 2^exponent, normalized: the top bit of limb[0] is
 * set, or every limb is 0 (zero, with zero_exponent). Every operation truncates its exact
 * result to N limbs, so each is within 2 units of the last limb of its result. */
template <int N>
struct number {
    bool negative;
    int exponent;
    std::uint64_t limb[N];
};

template <int N>
constexpr number<N> zero() noexcept {
    return {false, zero_exponent, {}};
}

template <int N>
bool is_zero(const number<N>& a) noexcept {
    return a.limb[0] == 0;
}

// Shifts limbs of count words left by bits (0..63) and words, filling with zero.
template <int M>
void shift_left(std::uint64_t (&limbs)[M], int bits) noexcept {
    const int words = bits / 64;
    const int rest = bits % 64;
    for (int i = 0; i < M; ++i) {
        const int from = i + words;
        const std::uint64_t high = from < M ? limbs[from] : 0;
        const std::uint64_t low = from + 1 < M ? limbs[from + 1] : 0;
        limbs[i] = rest == 0 ? high : (high << rest) | (low >> (64 - rest));
    }
}

// Shifts limbs right by bits, filling with zero; bits beyond the last limb are dropped.
template <int M>
void shift_right(std::uint64_t (&limbs)[M], int bits) noexcept {
    const int words = bits / 64;
    const int rest = bits % 64;
    for (int i = M - 1; i >= 0; --i) {
        const int from = i - words;
        const std::uint64_t low = from >= 0 ? limbs[from] : 0;
        const std::uint64_t high = from - 1 >= 0 ? limbs[from - 1] : 0;
        limbs[i] = rest == 0 ? low : (low >> rest) | (high << (64 - rest));
    }
}

/* Normalizes M >= N working limbs into a number: shifts the leading one to the top and
 * keeps N limbs. */
template <int N, int M>
number<N> normalize(bool negative, int exponent, std::uint64_t (&limbs)[M]) noexcept {
    int first = 0;
    while (first < M && limbs[first] == 0) ++first;
    if (first == M) return zero<N>();
    const int shift = first * 64 + leading_zeros(limbs[first]);
    shift_left(limbs, shift);
    number<N> result{negative, exponent - shift, {}};
    for (int i = 0; i < N; ++i) result.limb[i] = limbs[i];
    return result;
}

// A double, exactly (subnormals included); the caller passes only finite values.
template <int N>
number<N> from_double(double x) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t significand = bits & 0xfffffffffffffU;
    if (biased != 0) significand |= 0x10000000000000U;
    std::uint64_t limbs[N] = {};
    limbs[0] = significand;
    // significand * 2^(biased - 1075), and 0.limbs = significand * 2^-64.
    return normalize<N>(negative, (biased == 0 ? 1 : biased) - 1075 + 64, limbs);
}

// A whole number of magnitude below 2^63.
template <int N>
number<N> from_integer(std::int64_t value) noexcept {
    std::uint64_t limbs[N] = {};
    limbs[0] =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return normalize<N>(value < 0, 64, limbs);
}

// The first N limbs of a generated constant (truncated: within one unit of the last).
template <int N>
number<N> from_constant(const constants::constant& c) noexcept {
    static_assert(N <= constants::limb_count, "constants carry too few limbs");
    if (c.limbs[0] == 0) return zero<N>();
    number<N> result{c.negative, c.exponent, {}};
    for (int i = 0; i < N; ++i) result.limb[i] = c.limbs[i];
    return result;
}

template <int N>
number<N> negate(number<N> a) noexcept {
    if (!is_zero(a)) a.negative = !a.negative;
    return a;
}

// a * 2^count.
template <int N>
number<N> scale(number<N> a, int count) noexcept {
    if (!is_zero(a)) a.exponent += count;
    return a;
}

/* The product: the full 2N limbs, truncated to N, so within one unit of the last limb. Each
 * row's carry fits a limb, since (2^64 - 1)^2 + 2 (2^64 - 1) < 2^128. */
template <int N>
number<N> multiply(const number<N>& a, const number<N>& b) noexcept {
    if (is_zero(a) || is_zero(b)) return zero<N>();
    std::uint64_t limbs[2 * N] = {};
    for (int i = N - 1; i >= 0; --i) {
        std::uint64_t carry = 0;
        for (int j = N - 1; j >= 0; --j) {
            const wide product = multiply_limbs(a.limb[i], b.limb[j]);
            std::uint64_t& slot = limbs[i + j + 1];
            const std::uint64_t low = slot + product.low;
            const std::uint64_t sum = low + carry;
            carry = product.high + (low < slot ? 1 : 0) + (sum < low ? 1 : 0);
            slot = sum;
        }
        limbs[i] = carry;
    }
    return normalize<N>(a.negative != b.negative, a.exponent + b.exponent, limbs);
}

// |a| compared with |b|: -1, 0 or 1.
template <int N>
int compare_magnitudes(const number<N>& a, const number<N>& b) noexcept {
    if (is_zero(a) || is_zero(b)) return is_zero(a) ? (is_zero(b) ? 0 : -1) : 1;
    if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
    for (int i = 0; i < N; ++i) {
        if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
    }
    return 0;
}

/* The sum, with the smaller operand aligned into N + 1 limbs and truncated there. Adding
 * magnitudes is within 2 units of the result's last limb; subtracting them is within one unit
 * of the larger operand's limb N + 1, so the error grows where the difference cancels
 * leading bits (the callers keep that to a few bits, or need only an absolute bound). */
template <int N>
number<N> add(const number<N>& a, const number<N>& b) noexcept {
    if (is_zero(b)) return a;
    if (is_zero(a)) return b;
    const bool a_larger = compare_magnitudes(a, b) >= 0;
    const number<N>& large = a_larger ? a : b;
    const number<N>& small = a_larger ? b : a;
    std::uint64_t big[N + 2] = {};
    std::uint64_t other[N + 2] = {};
    for (int i = 0; i < N; ++i) {
        big[i + 1] = large.limb[i];
        other[i + 1] = small.limb[i];
    }
    const int distance = large.exponent - small.exponent;
    if (distance > 64 * (N + 1)) return large;
    shift_right(other, distance);
    if (large.negative == small.negative) {
        std::uint64_t carry = 0;
        for (int i = N + 1; i >= 0; --i) {
            const std::uint64_t sum = big[i] + other[i];
            const std::uint64_t total = sum + carry;
            carry = (sum < big[i] ? 1 : 0) + (total < sum ? 1 : 0);
            big[i] = total;
        }
    } else {
        std::uint64_t borrow = 0;
        for (int i = N + 1; i >= 0; --i) {
            const std::uint64_t difference = big[i] - other[i];
            const std::uint64_t total = difference - borrow;
            borrow = (big[i] < other[i] ? 1 : 0) + (difference < borrow ? 1 : 0);
            big[i] = total;
        }
    }
    return normalize<N>(large.negative, large.exponent + 64, big);
}

template <int N>
number<N> subtract(const number<N>& a, const number<N>& b) noexcept {
    return add(a, negate(b));
}

// The leading 53 bits of a nonzero number as a double in [1/2, 1).
template <int N>
double leading_double(const number<N>& a) noexcept {
    return static_cast<double>(a.limb[0] >> 11) * (1.0 / 9007199254740992.0);
}

/* 1/a for a nonzero a by Newton's iteration y += y (1 - a y), from the double 1/m of a's
 * leading 53 bits m; each step doubles the correct bits (53, 106, 212, ...), and the last
 * one leaves an error of a few units of the last limb. */
template <int N>
number<N> reciprocal(const number<N>& a) noexcept {
    number<N> y = from_double<N>(1.0 / leading_double(a));
    y.exponent -= a.exponent;
    y.negative = a.negative;
    const number<N> one = from_integer<N>(1);
    for (int bits = 50; bits < 64 * N + 8; bits *= 2) {
        const number<N> error = subtract(one, multiply(a, y));
        y = add(y, multiply(y, error));
    }
    return y;
}

template <int N>
number<N> divide(const number<N>& a, const number<N>& b) noexcept {
    return multiply(a, reciprocal(b));
}

/* The square root of a positive a as a * y, y = 1/sqrt(a) by Newton's iteration
 * y += y (1 - a y^2) / 2 from the double of a's leading bits; zero stays zero. The seed's
 * square root is IEEE's correctly rounded one, the same on every platform. */
inline double seed_square_root(double x) noexcept {
    return std::sqrt(x);
}

template <int N>
number<N> square_root(const number<N>& a) noexcept {
    if (is_zero(a)) return a;
    const bool odd = (a.exponent & 1) != 0;
    const double leading = leading_double(a) * (odd ? 0.5 : 1.0);
    const int half = (a.exponent + (odd ? 1 : 0)) / 2;
    number<N> y = from_double<N>(1.0 / seed_square_root(leading));
    y.exponent -= half;
    const number<N> one = from_integer<N>(1);
    for (int bits = 50; bits < 64 * N + 8; bits *= 2) {
        const number<N> error = subtract(one, multiply(a, multiply(y, y)));
        y = add(y, scale(multiply(y, error), -1));
    }
    return multiply(a, y);
}

/* The nearest whole number to a (ties away from zero) for |a| < 2^62, and a minus it. */
template <int N>
std::int64_t nearest_integer(const number<N>& a, number<N>* fraction) noexcept {
    if (is_zero(a) || a.exponent < 0) {
        *fraction = a;
        return 0;
    }
    // The bits of a at and above 2^-1: the whole part and the half bit.
    const std::uint64_t halves = a.exponent == 0 ? a.limb[0] >> 63 : a.limb[0] >> (63 - a.exponent);
    const auto magnitude = static_cast<std::int64_t>((halves + 1) >> 1);
    const std::int64_t whole = a.negative ? -magnitude : magnitude;
    *fraction = subtract(a, from_integer<N>(whole));
    return whole;
}

}  // namespace fexpr::numeric::multi
