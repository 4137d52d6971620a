// The platform's choice of elementary functions, and the system's own x87 versions.
#include "numeric/elementary_functions.h"

#include <cmath>
#include <cstdint>

namespace fexpr::numeric {

#if FEXPR_X87_EXTENDED
namespace {

__extension__ typedef unsigned __int128 u128;

// 2/pi as a 192-bit fraction, most significant word first.
constexpr std::uint64_t two_over_pi[3] = {0xa2f9836e4e441529, 0xfc2757d1f534ddc0,
                                          0xdb6295993c439041};
// pi/2 as the sum of two extended values.
constexpr long double half_pi_high = 0xc90fdaa22168c234p-63L;
constexpr long double half_pi_low = 0xc4c6628b80dc1cd1p-127L;
// log2(e) as the sum of two extended values.
constexpr long double log2_e_high = 0xb8aa3b295c17f0bbp-63L;
constexpr long double log2_e_low = 0xbe87fed0691d3e88p-127L;
// The largest double below pi/4: arguments up to it need no reduction.
constexpr double quarter_pi_below = 0.7853981633974483;

long double x87_fsin(long double x) noexcept {
    asm("fsin" : "+t"(x));
    return x;
}

long double x87_fcos(long double x) noexcept {
    asm("fcos" : "+t"(x));
    return x;
}

long double x87_fptan(long double x) noexcept {
    asm("fptan\n\tfstp %%st(0)" : "+t"(x));
    return x;
}

// The angle of the point (x, y): atan(y / x) in the right quadrant.
long double x87_fpatan(long double y, long double x) noexcept {
    long double angle;
    asm("fpatan" : "=t"(angle) : "0"(x), "u"(y) : "st(1)");
    return angle;
}

// 2^x - 1 for |x| <= 1.
long double x87_f2xm1(long double x) noexcept {
    asm("f2xm1" : "+t"(x));
    return x;
}

// A value held as the sum of two extended values, the low one below the high one's last bit.
struct pair {
    long double high;
    long double low;
};

// a as high + low with 32 significant bits each (Veltkamp's split).
pair split(long double a) noexcept {
    const long double scaled = a * 4294967297.0L;
    const long double high = scaled - (scaled - a);
    return {high, a - high};
}

// a * b exactly as high + low (Dekker's product).
pair exact_product(long double a, long double b) noexcept {
    const long double product = a * b;
    const pair x = split(a);
    const pair y = split(b);
    const long double error =
        ((x.high * y.high - product) + x.high * y.low + x.low * y.high) + x.low * y.low;
    return {product, error};
}

// a + b exactly as high + low (Knuth's sum).
pair exact_sum(long double a, long double b) noexcept {
    const long double sum = a + b;
    const long double b_part = sum - a;
    return {sum, (a - (sum - b_part)) + (b - b_part)};
}

// 2^(t.high + t.low) for |t| within the extended range's exponents.
long double power_of_two(pair t) noexcept {
    const long double whole = std::nearbyint(t.high);
    const long double fraction = (t.high - whole) + t.low;
    return std::ldexp(1 + x87_f2xm1(fraction), static_cast<int>(whole));
}

// Bits [offset, offset + 64) of a 256-bit number held as four words, most significant first.
std::uint64_t bits_at(const std::uint64_t words[4], int offset) noexcept {
    const int word = 3 - offset / 64;
    const int shift = offset % 64;
    if (shift == 0 || word == 0) return words[word] >> shift;
    return (words[word] >> shift) | (words[word - 1] << (64 - shift));
}

// |x| as a whole number k of quarter turns (pi/2) and a fraction f of one, |f| <= 1/2.
struct quarter_turns {
    unsigned quadrant;  // k mod 4
    bool negative;      // f < 0
    u128 magnitude;     // |f| * 2^128
};

/* |x| = m * 2^e with a 53-bit integer m, and m times the 192 bits of 2/pi is exact in 256
 * bits; the binary point of that product lies 192 - e bits up. Its two bits above the point
 * are k mod 4, the 128 below it the fraction, rounded to the nearest k. */
quarter_turns count_quarter_turns(double x) noexcept {
    int exponent = 0;
    const double mantissa = std::frexp(std::fabs(x), &exponent);
    const auto m = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const u128 low = static_cast<u128>(m) * two_over_pi[2];
    const u128 middle = static_cast<u128>(m) * two_over_pi[1] + (low >> 64);
    const u128 high = static_cast<u128>(m) * two_over_pi[0] + (middle >> 64);
    const std::uint64_t words[4] = {
        static_cast<std::uint64_t>(high >> 64), static_cast<std::uint64_t>(high),
        static_cast<std::uint64_t>(middle), static_cast<std::uint64_t>(low)};
    const int point = 192 - (exponent - 53);
    const unsigned quadrant = static_cast<unsigned>(bits_at(words, point)) & 3U;
    const u128 fraction =
        (static_cast<u128>(bits_at(words, point - 64)) << 64) | bits_at(words, point - 128);
    if ((fraction >> 127) == 0) return {quadrant, false, fraction};
    return {(quadrant + 1) & 3U, true, -fraction};
}

// The reduction of |x| >= pi/4 against pi/2: |x| = k * pi/2 + r with |r| <= pi/4, r held
// as the sum of two extended values.
struct reduction {
    pair r;
    unsigned quadrant;  // k mod 4
};

/* Doubles below 2^53 come no closer than about 2^-61 to a multiple of pi/2, so the 128 bits
 * of the fraction keep more than 64 significant ones; both halves of them times both halves
 * of pi/2 give r to more than 100 bits. */
reduction reduce(double x) noexcept {
    const quarter_turns turns = count_quarter_turns(x);
    int leading = 0;
    while (leading < 127 && ((turns.magnitude >> (127 - leading)) & 1) == 0) ++leading;
    const u128 aligned = turns.magnitude << leading;
    const long double turn_high = std::ldexp(
        static_cast<long double>(static_cast<std::uint64_t>(aligned >> 64)), -64 - leading);
    const long double turn_low =
        std::ldexp(static_cast<long double>(static_cast<std::uint64_t>(aligned)), -128 - leading);
    const pair product = exact_product(turn_high, half_pi_high);
    pair r =
        exact_sum(product.high, product.low + turn_high * half_pi_low + turn_low * half_pi_high);
    if (turns.negative) r = {-r.high, -r.low};
    return {r, turns.quadrant};
}

// sin(r) and cos(r) for r = high + low, |r| <= pi/4: the instructions at high, corrected to
// first order by low.
long double sine_of(pair r) noexcept {
    return x87_fsin(r.high) + r.low * x87_fcos(r.high);
}

long double cosine_of(pair r) noexcept {
    return x87_fcos(r.high) - r.low * x87_fsin(r.high);
}

long double tangent_of(pair r) noexcept {
    const long double tangent = x87_fptan(r.high);
    return tangent + r.low * (1 + tangent * tangent);
}

}  // namespace

extended x87_sin(double x) noexcept {
    if (std::fabs(x) <= quarter_pi_below) return x87_fsin(x);
    const reduction reduced = reduce(x);
    const long double value =
        (reduced.quadrant & 1U) == 0 ? sine_of(reduced.r) : cosine_of(reduced.r);
    const bool negative = (reduced.quadrant >= 2) != (x < 0);
    return negative ? -value : value;
}

extended x87_cos(double x) noexcept {
    if (std::fabs(x) <= quarter_pi_below) return x87_fcos(x);
    const reduction reduced = reduce(x);
    const long double value =
        (reduced.quadrant & 1U) == 0 ? cosine_of(reduced.r) : sine_of(reduced.r);
    const bool negative = reduced.quadrant == 1 || reduced.quadrant == 2;
    return negative ? -value : value;
}

extended x87_tan(double x) noexcept {
    if (std::fabs(x) <= quarter_pi_below) return x87_fptan(x);
    const reduction reduced = reduce(x);
    const long double value =
        (reduced.quadrant & 1U) == 0 ? tangent_of(reduced.r) : -1 / tangent_of(reduced.r);
    return x < 0 ? -value : value;
}

extended x87_asin(extended x) noexcept {
    return x87_fpatan(x, std::sqrt((1 - x) * (1 + x)));
}

extended x87_acos(extended x) noexcept {
    return x87_fpatan(std::sqrt((1 - x) * (1 + x)), x);
}

extended x87_exp(extended x) noexcept {
    const pair t = exact_product(x, log2_e_high);
    return power_of_two({t.high, t.low + x * log2_e_low});
}

namespace {

/* log2(m) for m in [sqrt(1/2), sqrt(2)) as two parts: ln m = 2 atanh(s) with
 * s = (m - 1)/(m + 1), |s| <= 0.172, whose series s + s^3/3 + ... runs in extended precision
 * behind the leading s held as two parts; then times log2(e) as two parts. */
pair log2_near_one(long double m) noexcept {
    const long double numerator = m - 1;    // exact
    const long double denominator = m + 1;  // exact: 54 bits at most
    const long double s_high = numerator / denominator;
    const pair back = exact_product(s_high, denominator);
    const long double s_low = ((numerator - back.high) - back.low) / denominator;
    const long double s2 = s_high * s_high;
    long double series = 1.0L / 29;
    for (int k = 27; k >= 3; k -= 2) series = series * s2 + 1.0L / k;
    series *= s2;
    const long double ln_high = 2 * s_high;
    const long double ln_low = 2 * s_low + ln_high * series;
    const pair product = exact_product(ln_high, log2_e_high);
    return exact_sum(product.high, product.low + (ln_high * log2_e_low + ln_low * log2_e_high));
}

}  // namespace

/* x = m * 2^e with m in [sqrt(1/2), sqrt(2)), so t = y * log2 x = y * e + y * log2 m, held
 * as two parts, and 2^t keeps its 64 bits even where |t| is in the hundreds. */
extended x87_pow(extended x, extended y) noexcept {
    int exponent = 0;
    long double m = std::frexp(x, &exponent);
    if (m < 0.70710678118654752440L) {
        m *= 2;
        --exponent;
    }
    const pair log2_m = log2_near_one(m);
    const long double whole = y * static_cast<long double>(exponent);  // exact: 53 + 11 bits
    const pair product = exact_product(y, log2_m.high);
    const pair t = exact_sum(whole, product.high);
    return power_of_two({t.high, t.low + product.low + y * log2_m.low});
}
#endif

#if defined(__MINGW32__) && FEXPR_X87_EXTENDED
extended elementary_sin(extended x) noexcept {
    return x87_sin(store(x));
}
extended elementary_cos(extended x) noexcept {
    return x87_cos(store(x));
}
extended elementary_tan(extended x) noexcept {
    return x87_tan(store(x));
}
extended elementary_asin(extended x) noexcept {
    return x87_asin(x);
}
extended elementary_acos(extended x) noexcept {
    return x87_acos(x);
}
extended elementary_exp(extended x) noexcept {
    return x87_exp(x);
}
extended elementary_pow(extended x, extended y) noexcept {
    return x87_pow(x, y);
}
#elif FEXPR_HARDWARE_EXTENDED
extended elementary_sin(extended x) noexcept {
    return std::sin(x);
}
extended elementary_cos(extended x) noexcept {
    return std::cos(x);
}
extended elementary_tan(extended x) noexcept {
    return std::tan(x);
}
extended elementary_asin(extended x) noexcept {
    return std::asin(x);
}
extended elementary_acos(extended x) noexcept {
    return std::acos(x);
}
extended elementary_exp(extended x) noexcept {
    return std::exp(x);
}
extended elementary_pow(extended x, extended y) noexcept {
    return std::pow(x, y);
}
#endif

#if FEXPR_HARDWARE_EXTENDED
extended elementary_atan(extended x) noexcept {
    return std::atan(x);
}
extended elementary_log(extended x) noexcept {
    return std::log(x);
}
extended elementary_log10(extended x) noexcept {
    return std::log10(x);
}
#else
// Where extended is computed in integer arithmetic, the C library's double functions.
extended elementary_sin(extended x) noexcept {
    return std::sin(store(x));
}
extended elementary_cos(extended x) noexcept {
    return std::cos(store(x));
}
extended elementary_tan(extended x) noexcept {
    return std::tan(store(x));
}
extended elementary_asin(extended x) noexcept {
    return std::asin(store(x));
}
extended elementary_acos(extended x) noexcept {
    return std::acos(store(x));
}
extended elementary_exp(extended x) noexcept {
    return std::exp(store(x));
}
extended elementary_pow(extended x, extended y) noexcept {
    return std::pow(store(x), store(y));
}
extended elementary_atan(extended x) noexcept {
    return std::atan(store(x));
}
extended elementary_log(extended x) noexcept {
    return std::log(store(x));
}
extended elementary_log10(extended x) noexcept {
    return std::log10(store(x));
}
#endif
extended elementary_sqrt(extended x) noexcept {
    return extended_sqrt(x);
}

}  // namespace fexpr::numeric
