// The correctly rounded elementary functions: argument reductions, series and the test that
// decides the rounding, in the multi-limb arithmetic of multi_precision.h.
#include "numeric/elementary_functions.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "numeric/function_constants.h"
#include "numeric/multi_precision.h"

namespace fexpr::numeric {
namespace {

using multi::number;
namespace table = constants;

/* Every value below is within 2^error_bits units of its last limb of the exact one: at two
 * limbs the series' tails leave 2^32 units, each division or square root 2^26 (one Newton
 * step, see multi_precision.h), the arc sine and cosine, with one of each, 2^27.6 in all; the
 * largest error of the other operations, the power's, is 2^18 (the logarithm's 2^7 times
 * |t| < 2^10, and the exponential's own); 2^33 covers their sum. */
constexpr int error_bits = 33;

// Values that needed more than the first precision.
std::uint64_t fallback_count = 0;

constexpr int floor_log2(int value) {
    int result = 0;
    while (value > 1) {
        value >>= 1;
        ++result;
    }
    return result;
}

/* The terms a series needs for precision bits when its variable z has |z| <= 2^-z_bits and
 * the k-th coefficient shrinks at least like 1/(factorial_step k)! (0: not at all). */
constexpr int series_terms(int precision, int z_bits, int factorial_step) {
    int bits = 0;
    int count = 1;
    int k = 0;
    while (bits < precision) {
        bits += z_bits;
        for (int step = 0; step < factorial_step; ++step) bits += floor_log2(++k);
        ++count;
    }
    return count;
}

// The bits a series carries: its tail stays below 2^-(64 N - 32), 2^32 units of the last limb.
template <int N>
constexpr int precision_bits = 64 * N - 32;

/* sum of coefficients[first + step k] z^k for k < count, by Horner's rule. A negative z
 * makes the series alternate. */
template <int N>
number<N> series(const table::constant* coefficients, int first, int step, int count,
                 const number<N>& z) noexcept {
    number<N> sum = multi::from_constant<N>(coefficients[first + step * (count - 1)]);
    for (int k = count - 2; k >= 0; --k) {
        sum = multi::add(multi::multiply(sum, z),
                         multi::from_constant<N>(coefficients[first + step * k]));
    }
    return sum;
}

template <int N>
number<N> one() noexcept {
    return multi::from_integer<N>(1);
}

template <int N>
number<N> half_pi() noexcept {
    return multi::from_constant<N>(table::half_pi);
}

/* e^t for |t| < 746: t = k ln2/4096 + d with |d| <= ln2/8192, e^t = 2^(k/4096) e^d, with
 * 2^(k/4096) = 2^floor(k/4096) 2^(i/64) 2^(j/4096) from two tables. The result's relative
 * error is d's absolute one, which stays within 2^11 units whatever the cancellation in d. */
template <int N>
number<N> exponential(const number<N>& t) noexcept {
    number<N> unused;
    const std::int64_t k = multi::nearest_integer(
        multi::scale(multi::multiply(t, multi::from_constant<N>(table::sixty_four_over_ln2)), 6),
        &unused);
    const number<N> step = multi::scale(multi::from_constant<N>(table::ln2_over_64), -6);
    const number<N> d = multi::subtract(t, multi::multiply(multi::from_integer<N>(k), step));
    constexpr int terms = series_terms(precision_bits<N>, 13, 1);
    const number<N> e_d = series(table::inverse_factorials, 0, 1, terms, d);
    const auto fine = static_cast<int>(k & 63);
    const auto coarse = static_cast<int>(((k - fine) / 64) & 63);
    const number<N> power = multi::multiply(
        multi::multiply(e_d, multi::from_constant<N>(table::fine_powers_of_two[fine])),
        multi::from_constant<N>(table::powers_of_two[coarse]));
    return multi::scale(power, static_cast<int>((k - (k & 4095)) / 4096));
}

/* ln x for a positive finite x = m 2^(e - 52), m a 53-bit whole number: the row i of m's
 * next 7 bits holds R with m R 2^-62 = 1 + u, |u| < 2^-7, exactly; then s = round(u 2^14) and
 * 1 + v = (1 + u)(1 - s 2^-14), exactly in 128 bits, |v| <= 1.5 2^-14. So ln x = e' ln2 +
 * (-ln(R/1024) - [i >= 53] ln2) - ln(1 - s 2^-14) + ln(1 + v), e' = e + [i >= 53], the
 * series of ln(1 + v) running in v. No two terms cancel more than two bits; near x = 1 the
 * first two are 0 (rows 0 and 127 hold R = 1024 and 512), and the third is 0 or at least
 * twice the sum. */
template <int N>
number<N> logarithm(double x) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    int exponent = static_cast<int>(bits >> 52) - 1023;
    std::uint64_t m = bits & 0xfffffffffffffU;
    if (exponent == -1023) {
        exponent = -1022;
        while ((m & 0x10000000000000U) == 0) {
            m <<= 1;
            --exponent;
        }
    } else {
        m |= 0x10000000000000U;
    }
    const auto row = static_cast<int>((m >> 45) & 127U);
    if (row >= 53) ++exponent;
    const std::uint64_t one_plus_u = m * table::log_reciprocals[row];  // (1 + u) 2^62
    const int step = static_cast<int>((one_plus_u + (1ULL << 47)) >> 48) - (1 << 14);
    const wide product = multiply_words(one_plus_u, static_cast<std::uint64_t>((1 << 14) - step));
    // (1 + v) 2^76, less 2^76: |v| 2^76 < 2^63, so the low limb holds it in two's complement.
    const bool negative = product.high < (1ULL << 12);
    const std::uint64_t magnitude = negative ? 0 - product.low : product.low;
    number<N> v = multi::scale(multi::from_integer<N>(static_cast<std::int64_t>(magnitude)), -76);
    if (negative) v = multi::negate(v);
    constexpr int terms = series_terms(precision_bits<N>, 13, 0);
    const number<N> log_1_v =
        multi::multiply(v, series(table::reciprocals, 0, 1, terms, multi::negate(v)));
    const number<N> near =
        multi::add(multi::add(log_1_v, multi::from_constant<N>(table::log_steps[step + 128])),
                   multi::from_constant<N>(table::log_offsets[row]));
    return multi::add(near, multi::multiply(multi::from_integer<N>(exponent),
                                            multi::from_constant<N>(table::ln2)));
}

// sin and cos of |r| <= pi/4 + 2^-60.
template <int N>
struct sine_cosine {
    number<N> sin;
    number<N> cos;
};

/* |r| = j/64 + d with |d| <= 1/128: sin and cos of d by their series, combined with the
 * table's sin(j/64) and cos(j/64). Where j > 0 the sine is at least 1/128 and cancels no
 * more than a bit; where j = 0, d is r itself. */
template <int N>
sine_cosine<N> sine_and_cosine(const number<N>& r) noexcept {
    number<N> fraction;
    number<N> magnitude = r;
    magnitude.negative = false;
    const auto j = static_cast<int>(multi::nearest_integer(multi::scale(magnitude, 6), &fraction));
    const number<N> d = multi::scale(fraction, -6);
    const number<N> z = multi::negate(multi::multiply(d, d));
    constexpr int terms = series_terms(precision_bits<N>, 14, 2);
    const number<N> sin_d = multi::multiply(d, series(table::inverse_factorials, 1, 2, terms, z));
    const number<N> cos_d = series(table::inverse_factorials, 0, 2, terms, z);
    const number<N> sin_j = multi::from_constant<N>(table::sines[j]);
    const number<N> cos_j = multi::from_constant<N>(table::cosines[j]);
    number<N> sin = multi::add(multi::multiply(sin_j, cos_d), multi::multiply(cos_j, sin_d));
    const number<N> cos =
        multi::subtract(multi::multiply(cos_j, cos_d), multi::multiply(sin_j, sin_d));
    if (r.negative) sin = multi::negate(sin);
    return {sin, cos};
}

// |x| as k quarter turns (pi/2) and a remainder r, |r| <= pi/4.
template <int N>
struct quarter_turns {
    unsigned quadrant;  // k mod 4
    number<N> r;
};

// Bit b (0 the least significant) of a whole number of 12 limbs, most significant first.
bool bit_at(const std::uint64_t (&limbs)[12], int b) noexcept {
    return ((limbs[11 - b / 64] >> (b % 64)) & 1U) != 0;
}

// Clears the bits from b on.
void clear_from(std::uint64_t (&limbs)[12], int b) noexcept {
    for (int i = 0; i < 12; ++i) {
        const int low = 64 * (11 - i);
        if (low >= b) {
            limbs[i] = 0;
        } else if (b - low < 64) {
            limbs[i] &= (1ULL << (b - low)) - 1;
        }
    }
}

/* |x| = m 2^e with a 53-bit m and e <= 0 (|x| < 2^53), and m times the 704 bits of 2/pi is a
 * whole number P of 12 limbs whose binary point lies at bit 704 - e. The two bits above the
 * point are k mod 4, the bits below it the fraction f, rounded to the nearest k. Doubles
 * below 2^53 come no closer than about 2^-62 to a multiple of pi/2, so at least 570 bits of
 * f stay significant after its leading zeros: enough for 512. */
template <int N>
quarter_turns<N> count_quarter_turns(double x) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    const std::uint64_t m = (bits & 0xfffffffffffffU) | 0x10000000000000U;
    const int point = 704 - (static_cast<int>((bits >> 52) & 0x7ff) - 1075);
    std::uint64_t product[12] = {};
    std::uint64_t carry = 0;
    for (int i = 10; i >= 0; --i) {
        const wide part = multiply_words(m, table::two_over_pi[i]);
        const std::uint64_t low = part.low + carry;
        carry = part.high + (low < carry ? 1 : 0);
        product[i + 1] = low;
    }
    product[0] = carry;
    unsigned quadrant = (bit_at(product, point) ? 1U : 0U) | (bit_at(product, point + 1) ? 2U : 0U);
    const bool round_up = bit_at(product, point - 1);
    clear_from(product, point);
    if (round_up) {
        quadrant = (quadrant + 1) & 3U;
        std::uint64_t add_one = 1;
        for (int i = 11; i >= 0; --i) {
            product[i] = ~product[i] + add_one;
            add_one = (add_one != 0 && product[i] == 0) ? 1 : 0;
        }
        clear_from(product, point);
    }
    const number<N> fraction = multi::normalize<N>(round_up, 768 - point, product);
    return {quadrant, multi::multiply(fraction, half_pi<N>())};
}

constexpr double quarter_pi_below = 0.7853981633974483;

template <int N>
quarter_turns<N> reduce(double x) noexcept {
    const double magnitude = std::fabs(x);
    if (magnitude <= quarter_pi_below) return {0, multi::from_double<N>(magnitude)};
    return count_quarter_turns<N>(magnitude);
}

/* The angle of the point (q, p) for p, q >= 0, not both 0: atan(p/q), and where p > q
 * pi/2 - atan(q/p), at least pi/4. With t the ratio at most 1, c = j/64 the nearest to it
 * (from the leading bits in double arithmetic; an off-by-one j only moves |d| past 2^-7 by a
 * hair), atan t = atan c + atan d with d = (t - c)/(1 + t c) = (p - c q)/(q + c p), one
 * division, and |d| <= 2^-7, whose series runs in d^2. Where j > 0 the table's atan c is at
 * least 1/64, so the sum cancels no more than a bit, and d needs only an absolute bound. */
template <int N>
number<N> angle_of(number<N> p, number<N> q) noexcept {
    const bool swapped = multi::compare_magnitudes(p, q) > 0;
    if (swapped) {
        const number<N> first = p;
        p = q;
        q = first;
    }
    int j = 0;
    if (!multi::is_zero(p)) {
        const int shift = p.exponent - q.exponent;
        const double ratio = shift < -8 ? 0.0
                                        : multi::leading_double(p) / multi::leading_double(q) *
                                              static_cast<double>(1 << (shift + 8)) / 4.0;
        j = static_cast<int>(ratio + 0.5);
    }
    const number<N> c_q = multi::scale(multi::multiply(multi::from_integer<N>(j), q), -6);
    const number<N> c_p = multi::scale(multi::multiply(multi::from_integer<N>(j), p), -6);
    const number<N> d = multi::divide(multi::subtract(p, c_q), multi::add(q, c_p));
    constexpr int terms = series_terms(precision_bits<N>, 14, 0);
    const number<N> z = multi::negate(multi::multiply(d, d));
    const number<N> atan_d = multi::multiply(d, series(table::reciprocals, 0, 2, terms, z));
    const number<N> angle = multi::add(multi::from_constant<N>(table::arc_tangents[j]), atan_d);
    return swapped ? multi::subtract(half_pi<N>(), angle) : angle;
}

// sqrt((1 - |x|)(1 + |x|)) for |x| <= 1; 1 - |x| is exact from |x| >= 1/2 on.
template <int N>
number<N> cosine_of_arc(const number<N>& magnitude) noexcept {
    return multi::square_root(
        multi::multiply(multi::subtract(one<N>(), magnitude), multi::add(one<N>(), magnitude)));
}

// The functions of one argument as values at precision N.
struct function_at {
    elementary_function function;
    double x;
    double y;

    template <int N>
    number<N> value() const noexcept;
};

template <int N>
number<N> sine(double x) noexcept {
    const quarter_turns<N> turns = reduce<N>(x);
    const sine_cosine<N> both = sine_and_cosine(turns.r);
    const number<N> value = (turns.quadrant & 1U) == 0 ? both.sin : both.cos;
    return (turns.quadrant >= 2) != (x < 0) ? multi::negate(value) : value;
}

template <int N>
number<N> cosine(double x) noexcept {
    const quarter_turns<N> turns = reduce<N>(x);
    const sine_cosine<N> both = sine_and_cosine(turns.r);
    const number<N> value = (turns.quadrant & 1U) == 0 ? both.cos : both.sin;
    return turns.quadrant == 1 || turns.quadrant == 2 ? multi::negate(value) : value;
}

template <int N>
number<N> tangent(double x) noexcept {
    const quarter_turns<N> turns = reduce<N>(x);
    const sine_cosine<N> both = sine_and_cosine(turns.r);
    const number<N> value = (turns.quadrant & 1U) == 0
                                ? multi::divide(both.sin, both.cos)
                                : multi::negate(multi::divide(both.cos, both.sin));
    return x < 0 ? multi::negate(value) : value;
}

// asin x as the angle of (sqrt(1 - x^2), |x|), with the sign of x.
template <int N>
number<N> arc_sine(double x) noexcept {
    const number<N> magnitude = multi::from_double<N>(std::fabs(x));
    const number<N> value = angle_of(magnitude, cosine_of_arc(magnitude));
    return x < 0 ? multi::negate(value) : value;
}

// acos x as the angle of (|x|, sqrt(1 - x^2)), and pi less that for a negative x.
template <int N>
number<N> arc_cosine(double x) noexcept {
    const number<N> magnitude = multi::from_double<N>(std::fabs(x));
    const number<N> angle = angle_of(cosine_of_arc(magnitude), magnitude);
    return x < 0 ? multi::subtract(multi::scale(half_pi<N>(), 1), angle) : angle;
}

template <int N>
number<N> arc_tangent_of(double x) noexcept {
    const number<N> value =
        std::isinf(x) ? half_pi<N>() : angle_of(multi::from_double<N>(std::fabs(x)), one<N>());
    return x < 0 ? multi::negate(value) : value;
}

template <int N>
number<N> function_at::value() const noexcept {
    switch (function) {
        case elementary_function::sin:
            return sine<N>(x);
        case elementary_function::cos:
            return cosine<N>(x);
        case elementary_function::tan:
            return tangent<N>(x);
        case elementary_function::asin:
            return arc_sine<N>(x);
        case elementary_function::acos:
            return arc_cosine<N>(x);
        case elementary_function::atan:
            return arc_tangent_of<N>(x);
        case elementary_function::log:
            return logarithm<N>(x);
        case elementary_function::log10:
            return multi::multiply(logarithm<N>(x), multi::from_constant<N>(table::one_over_ln10));
        case elementary_function::exp:
            return exponential(multi::from_double<N>(x));
        case elementary_function::pow:
            return exponential(multi::multiply(multi::from_double<N>(y), logarithm<N>(x)));
    }
    return multi::zero<N>();
}

/* Rounds v to 64 bits, nearest with ties to even, when its error bound decides that: when
 * the limbs after the first lie farther than 2^error_bits units of the last from one half of
 * the first's last unit. Otherwise returns false, unless last: the precision is then taken as
 * enough to call v an exact midpoint, which rounds to even. Zero is exact (ln 1, acos 1). */
template <int N>
bool round_to_64(const number<N>& v, bool last, extended_parts* parts) noexcept {
    if (multi::is_zero(v)) {
        *parts = {false, 0, 0};
        return true;
    }
    constexpr std::uint64_t half = 0x8000000000000000U;
    const bool above = v.limb[1] >= half;
    // |rest - half| in limbs 1..N-1: rest - half above it, its two's complement below.
    std::uint64_t distance[N - 1];
    std::uint64_t borrow = 0;
    for (int i = N - 1; i >= 1; --i) {
        const std::uint64_t subtrahend = i == 1 ? half : 0;
        const std::uint64_t a = above ? v.limb[i] : subtrahend;
        const std::uint64_t b = above ? subtrahend : v.limb[i];
        const std::uint64_t difference = a - b;
        distance[i - 1] = difference - borrow;
        borrow = (a < b ? 1 : 0) + (difference < borrow ? 1 : 0);
    }
    bool near = distance[N - 2] <= (1ULL << error_bits);
    for (int i = 0; i < N - 2; ++i) near = near && distance[i] == 0;
    if (near && !last) return false;
    const bool up = near ? (v.limb[0] & 1U) != 0 : above;
    std::uint64_t significand = v.limb[0] + (up ? 1U : 0U);
    int exponent = v.exponent - 64;
    if (significand == 0) {
        significand = half;
        ++exponent;
    }
    *parts = {v.negative, exponent, significand};
    return true;
}

// Ziv's strategy: 128 bits, then 256, then 512.
extended_parts correctly_rounded(const function_at& f) noexcept {
    extended_parts parts{};
    if (round_to_64(f.value<2>(), false, &parts)) return parts;
    ++fallback_count;
    if (round_to_64(f.value<4>(), false, &parts)) return parts;
    round_to_64(f.value<8>(), true, &parts);
    return parts;
}

extended evaluate(elementary_function function, double x, double y = 0) noexcept {
    const extended_parts parts = elementary_parts(function, x, y);
    return extended_from_parts(parts.negative, parts.exponent, parts.significand);
}

}  // namespace

extended_parts elementary_parts(elementary_function function, double x, double y) noexcept {
    const bool odd_at_zero =
        function == elementary_function::sin || function == elementary_function::tan ||
        function == elementary_function::asin || function == elementary_function::atan;
    if (x == 0 && odd_at_zero) return {std::signbit(x), 0, 0};
    return correctly_rounded({function, x, y});
}

std::uint64_t elementary_fallbacks() noexcept {
    return fallback_count;
}

extended elementary_sin(double x) noexcept {
    return evaluate(elementary_function::sin, x);
}
extended elementary_cos(double x) noexcept {
    return evaluate(elementary_function::cos, x);
}
extended elementary_tan(double x) noexcept {
    return evaluate(elementary_function::tan, x);
}
extended elementary_asin(double x) noexcept {
    return evaluate(elementary_function::asin, x);
}
extended elementary_acos(double x) noexcept {
    return evaluate(elementary_function::acos, x);
}
extended elementary_atan(double x) noexcept {
    return evaluate(elementary_function::atan, x);
}
extended elementary_sqrt(extended x) noexcept {
    return extended_sqrt(x);
}
extended elementary_log(double x) noexcept {
    return evaluate(elementary_function::log, x);
}
extended elementary_log10(double x) noexcept {
    return evaluate(elementary_function::log10, x);
}
extended elementary_exp(double x) noexcept {
    return evaluate(elementary_function::exp, x);
}
extended elementary_pow(double x, double y) noexcept {
    return evaluate(elementary_function::pow, x, y);
}

}  // namespace fexpr::numeric
