// Floating-point numbers of N limbs of 64 bits in integer arithmetic, the same on every
// platform: the working precision of the correctly rounded elementary functions.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "numeric/function_constants.h"
#include "numeric/word_arithmetic.h"

namespace fexpr::numeric::multi {

// The exponent that zero carries, far below any other value's.
constexpr int zero_exponent = -1000000;

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

/* Normalizes M >= N working limbs into a number: the leading one moves to the top and N
 * limbs are kept. */
template <int N, int M>
number<N> normalize(bool negative, int exponent, const std::uint64_t (&limbs)[M]) noexcept {
    int first = 0;
    while (first < M && limbs[first] == 0) ++first;
    if (first == M) return zero<N>();
    const int rest = leading_zeros(limbs[first]);
    number<N> result{negative, exponent - 64 * first - rest, {}};
    for (int i = 0; i < N; ++i) {
        const std::uint64_t high = first + i < M ? limbs[first + i] : 0;
        const std::uint64_t low = first + i + 1 < M ? limbs[first + i + 1] : 0;
        result.limb[i] = rest == 0 ? high : (high << rest) | (low >> (64 - rest));
    }
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
            const wide product = multiply_words(a.limb[i], b.limb[j]);
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

/* The product of two limbs each, written out: what multiply gives, in fewer steps (the
 * precision of every first attempt). */
template <>
inline number<2> multiply(const number<2>& a, const number<2>& b) noexcept {
    if (is_zero(a) || is_zero(b)) return zero<2>();
    const wide high = multiply_words(a.limb[0], b.limb[0]);
    const wide cross_a = multiply_words(a.limb[0], b.limb[1]);
    const wide cross_b = multiply_words(a.limb[1], b.limb[0]);
    const wide low = multiply_words(a.limb[1], b.limb[1]);
    std::uint64_t third = low.high + cross_a.low;
    std::uint64_t carry = third < cross_a.low ? 1 : 0;
    third += cross_b.low;
    carry += third < cross_b.low ? 1 : 0;
    std::uint64_t second = high.low + cross_a.high;
    std::uint64_t second_carry = second < cross_a.high ? 1 : 0;
    second += cross_b.high;
    second_carry += second < cross_b.high ? 1 : 0;
    second += carry;
    second_carry += second < carry ? 1 : 0;
    const std::uint64_t first = high.high + second_carry;
    number<2> result{a.negative != b.negative, a.exponent + b.exponent, {first, second}};
    if ((first >> 63) == 0) {
        result.limb[0] = (first << 1) | (second >> 63);
        result.limb[1] = (second << 1) | (third >> 63);
        --result.exponent;
    }
    return result;
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

/* The limbs of small shifted right by distance bits (< 64 (N + 1)) into N + 1 limbs; the
 * bits beyond them are dropped. */
template <int N>
void align(const number<N>& small, int distance, std::uint64_t (&aligned)[N + 1]) noexcept {
    const int words = distance / 64;
    const int bits = distance % 64;
    if (words == 0 && bits != 0) {
        // The common case in the series, written out.
        aligned[0] = small.limb[0] >> bits;
        for (int i = 1; i < N; ++i) {
            aligned[i] = (small.limb[i] >> bits) | (small.limb[i - 1] << (64 - bits));
        }
        aligned[N] = small.limb[N - 1] << (64 - bits);
        return;
    }
    for (int i = 0; i <= N; ++i) {
        const int from = i - words;
        const std::uint64_t at = from >= 0 && from < N ? small.limb[from] : 0;
        const std::uint64_t before = from >= 1 && from <= N ? small.limb[from - 1] : 0;
        aligned[i] = bits == 0 ? at : (at >> bits) | (before << (64 - bits));
    }
}

/* The sum, with the smaller operand aligned into N + 1 limbs and truncated there. Adding
 * magnitudes is within 2 units of the result's last limb; subtracting them within one unit
 * of it and one of the larger operand's limb N + 1, so the error grows where the difference
 * cancels leading bits (the callers keep that to a few bits, or need only an absolute bound). */
template <int N>
number<N> add(const number<N>& a, const number<N>& b) noexcept {
    if (is_zero(b)) return a;
    if (is_zero(a)) return b;
    const bool a_larger = compare_magnitudes(a, b) >= 0;
    const number<N>& large = a_larger ? a : b;
    const number<N>& small = a_larger ? b : a;
    const int distance = large.exponent - small.exponent;
    if (distance >= 64 * (N + 1)) return large;
    std::uint64_t other[N + 1];
    align(small, distance, other);
    std::uint64_t sum[N + 1];
    if (large.negative != small.negative) {
        std::uint64_t borrow = 0;
        for (int i = N; i >= 0; --i) {
            const std::uint64_t mine = i < N ? large.limb[i] : 0;
            const std::uint64_t difference = mine - other[i];
            sum[i] = difference - borrow;
            borrow = (mine < other[i] ? 1 : 0) + (difference < borrow ? 1 : 0);
        }
        return normalize<N>(large.negative, large.exponent, sum);
    }
    std::uint64_t carry = 0;
    for (int i = N; i >= 0; --i) {
        const std::uint64_t mine = i < N ? large.limb[i] : 0;
        const std::uint64_t partial = mine + other[i];
        sum[i] = partial + carry;
        carry = (partial < mine ? 1 : 0) + (sum[i] < partial ? 1 : 0);
    }
    number<N> result{large.negative, large.exponent, {}};
    for (int i = 0; i < N; ++i) result.limb[i] = sum[i];
    if (carry == 0) return result;
    // The carry is the new leading one: everything moves down a bit.
    for (int i = N - 1; i > 0; --i) result.limb[i] = (sum[i] >> 1) | (sum[i - 1] << 63);
    result.limb[0] = (sum[0] >> 1) | 0x8000000000000000U;
    ++result.exponent;
    return result;
}

/* The sum of two limbs each, written out: what add gives, in fewer steps. */
template <>
inline number<2> add(const number<2>& a, const number<2>& b) noexcept {
    if (is_zero(b)) return a;
    if (is_zero(a)) return b;
    const bool a_larger = a.exponent != b.exponent ? a.exponent > b.exponent
                          : a.limb[0] != b.limb[0] ? a.limb[0] > b.limb[0]
                                                   : a.limb[1] >= b.limb[1];
    const number<2>& large = a_larger ? a : b;
    const number<2>& small = a_larger ? b : a;
    const int distance = large.exponent - small.exponent;
    if (distance >= 192) return large;
    std::uint64_t other[3];
    if (distance > 0 && distance < 64) {
        other[0] = small.limb[0] >> distance;
        other[1] = (small.limb[1] >> distance) | (small.limb[0] << (64 - distance));
        other[2] = small.limb[1] << (64 - distance);
    } else {
        align(small, distance, other);
    }
    if (large.negative != small.negative) {
        const std::uint64_t borrow_low = other[2] != 0 ? 1 : 0;
        const std::uint64_t middle = large.limb[1] - other[1];
        const std::uint64_t borrow_middle =
            (large.limb[1] < other[1] ? 1 : 0) + (middle < borrow_low ? 1 : 0);
        const std::uint64_t difference[3] = {large.limb[0] - other[0] - borrow_middle,
                                             middle - borrow_low, 0 - other[2]};
        if (difference[0] == 0) return normalize<2>(large.negative, large.exponent, difference);
        // The usual case, a few leading bits cancelled, written out.
        const int shift = leading_zeros(difference[0]);
        if (shift == 0) return {large.negative, large.exponent, {difference[0], difference[1]}};
        return {large.negative,
                large.exponent - shift,
                {(difference[0] << shift) | (difference[1] >> (64 - shift)),
                 (difference[1] << shift) | (difference[2] >> (64 - shift))}};
    }
    const std::uint64_t low = large.limb[1] + other[1];
    const std::uint64_t carry_low = low < other[1] ? 1 : 0;
    const std::uint64_t partial = large.limb[0] + other[0];
    const std::uint64_t high = partial + carry_low;
    const bool carry = partial < other[0] || high < partial;
    if (!carry) return {large.negative, large.exponent, {high, low}};
    return {large.negative,
            large.exponent + 1,
            {(high >> 1) | 0x8000000000000000U, (low >> 1) | (high << 63)}};
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

/* The correct bits Newton's iterations below reach at least: the seeds are within 2^-51 (the
 * leading 53 bits, then one or two rounded double operations), each step doubles the bits, so
 * two limbs get one step (2^-102: 2^26 units of the last limb, within the functions' error
 * bound) and more limbs as many as bring the error below a few units of the last limb. */
template <int N>
constexpr int newton_bits = N == 2 ? 100 : 64 * N + 8;

/* 1/a for a nonzero a by Newton's iteration y += y (1 - a y), from the double 1/m of a's
 * leading 53 bits m. */
template <int N>
number<N> reciprocal(const number<N>& a) noexcept {
    number<N> y = from_double<N>(1.0 / leading_double(a));
    y.exponent -= a.exponent;
    y.negative = a.negative;
    const number<N> one = from_integer<N>(1);
    for (int bits = 51; bits < newton_bits<N>; bits *= 2) {
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
    for (int bits = 51; bits < newton_bits<N>; bits *= 2) {
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
