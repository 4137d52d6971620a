// The general reading of a decimal number: its syntax and its correctly rounded value.
#include "numeric/decimal_input.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "numeric/character_classes.h"
#include "numeric/decimal_digits.h"
#include "numeric/extended.h"

namespace fexpr::numeric {
namespace {

// A decimal number as read: significant × 10^exponent, significant holding at most 19
// digits with the first not '0' (count 0 for zero).
struct decimal_number {
    char significant[significant_digit_limit];
    int count;
    std::int64_t exponent;
};

// Exponents beyond this (in either direction) already give infinity or zero; clamping
// the read exponent here keeps any run of exponent digits from overflowing.
constexpr std::int64_t exponent_clamp = 100000000;

bool starts_with(const char* text, const char* word) noexcept {
    for (; *word != '\0'; ++text, ++word) {
        if (*text != *word) return false;
    }
    return true;
}

/* The digit sequence with at most one '.'. Leading zeros do not count as significant
 * digits; digits after the 19th only shift the exponent (an integer digit raises it, a
 * fraction digit leaves it). Returns the position after the sequence, or `text` when it
 * holds no digit. */
const char* read_digits(const char* text, decimal_number& number) noexcept {
    const char* p = text;
    bool seen_point = false;
    bool seen_digit = false;
    for (;; ++p) {
        if (*p == '.' && !seen_point) {
            seen_point = true;
            continue;
        }
        if (!is_decimal_digit(*p)) break;
        seen_digit = true;
        const bool leading_zero = number.count == 0 && *p == '0';
        const bool kept = !leading_zero && number.count < significant_digit_limit;
        if (kept) number.significant[number.count++] = *p;
        if (seen_point && (kept || leading_zero)) --number.exponent;
        if (!seen_point && !kept && !leading_zero) ++number.exponent;
    }
    return seen_digit ? p : text;
}

// An exponent part 'e'/'E', optional sign, at least one digit; returns its end, or `text`
// when no complete exponent part stands there.
const char* read_exponent(const char* text, std::int64_t& exponent) noexcept {
    if (*text != 'e' && *text != 'E') return text;
    const char* p = text + 1;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (!is_decimal_digit(*p)) return text;
    std::int64_t value = 0;
    for (; is_decimal_digit(*p); ++p) {
        if (value < exponent_clamp) value = value * 10 + (*p - '0');
    }
    exponent = negative ? -value : value;
    return p;
}

/* Whether the decimal number is below the double `rounded`, an integer of the top binade:
 * both are compared as decimal digit strings (the number is an integer there too). */
bool below(const decimal_number& number, double rounded) noexcept {
    char exact[320];
    const auto written =
        std::to_chars(exact, exact + sizeof exact, rounded, std::chars_format::fixed);
    const std::int64_t length = written.ptr - exact;
    const std::int64_t number_length = number.count + number.exponent;
    if (number_length != length) return number_length < length;
    for (std::int64_t i = 0; i < length; ++i) {
        const char digit = i < number.count ? number.significant[i] : '0';
        if (digit != exact[i]) return digit < exact[i];
    }
    return false;
}

// Whether a number with decimal exponent `leading` of its first digit reaches 2^1024
// = 1.797693134862315907729…e308.
bool reaches_overflow(const decimal_number& number, std::int64_t leading) noexcept {
    if (leading != 308) return leading > 308;
    const char limit[] = "1797693134862315907";
    static_assert(sizeof limit - 1 == significant_digit_limit, "the digits of 2^1024 kept");
    for (int i = 0; i < significant_digit_limit; ++i) {
        const char digit = i < number.count ? number.significant[i] : '0';
        if (digit != limit[i]) return digit > limit[i];
    }
    return false;
}

// The short number read by read_decimal; false when it needs the general path.
bool exact_quotient(const decimal_number& number, double& magnitude) noexcept {
    if (!exact_arithmetic || number.count == 0 || number.count > exact_digit_limit) return false;
    if (number.exponent < -22 || number.exponent > 22) return false;
    std::int64_t significant = 0;
    for (int i = 0; i < number.count; ++i) {
        significant = significant * 10 + (number.significant[i] - '0');
    }
    magnitude = scale_exactly(significant, static_cast<int>(number.exponent));
    return true;
}

/* The magnitude: rounded to nearest (ties to even) by nearest_double on the rebuilt text
 * "digits e exponent", which also rounds values below the smallest subnormal to it or to
 * zero. Tricky cases: the top binade [2^1023, 2^1024) truncates toward zero (a rounded
 * result above the number steps down, 2^1023 itself is reached only by rounding from below
 * and stays), from 2^1024 on the result is infinite, and exponents far out of range never
 * reach the conversion. */
double magnitude_of(const decimal_number& number) noexcept {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    constexpr double largest = std::numeric_limits<double>::max();
    constexpr double top_binade = 8.98846567431157953865e307;  // 2^1023
    if (number.count == 0) return 0;
    const std::int64_t leading = number.exponent + number.count - 1;
    if (leading > 308) return infinity;
    if (leading < -330) return 0;
    char text[40];
    int length = 0;
    for (int i = 0; i < number.count; ++i) text[length++] = number.significant[i];
    text[length++] = 'e';
    const auto exponent_end =
        std::to_chars(text + length, text + sizeof text, static_cast<int>(number.exponent));
    *exponent_end.ptr = '\0';
    const double rounded = nearest_double(text, static_cast<std::size_t>(exponent_end.ptr - text));
    if (std::isinf(rounded)) return reaches_overflow(number, leading) ? infinity : largest;
    if (rounded > top_binade && below(number, rounded)) {
        return std::nextafter(rounded, 0.0);
    }
    return rounded;
}

// The syntax of a number as scan_number reads it; `end` is the text itself when no number
// stands there.
struct decimal_reading {
    decimal_number number;
    bool negative;
    char special;  // 'I' for an infinity, 'N' for a NaN, 0 for digits
    const char* end;
};

decimal_reading read_decimal(const char* text) noexcept {
    decimal_reading reading{{{}, 0, 0}, false, 0, text};
    const char* p = skip_white_space(text);
    reading.negative = *p == '-';
    const bool signed_text = *p == '-' || *p == '+';
    if (signed_text) ++p;
    if (signed_text && (starts_with(p, "INF") || starts_with(p, "NAN"))) {
        reading.special = *p;
        reading.end = p + 3;
        return reading;
    }
    const char* digits_end = read_digits(p, reading.number);
    if (digits_end == p) return reading;
    std::int64_t exponent = 0;
    reading.end = read_exponent(digits_end, exponent);
    reading.number.exponent += exponent;
    return reading;
}

}  // namespace

// Kept out of line, so the plain path of scan_number does not carry its large frame
// (bench/bench_numeric.cpp, text_to_double_typical). After white space or a sign, a number
// that begins with a digit or a point is that number under the sign, read by scan_number:
// the pre-pass meets one at every signed number of a text with unit letters
// (bench/shape_costs.sh, shape unit), and the plain ones then take the plain path.
double read_general_decimal(const char* text, const char** end) noexcept {
    const char* p = skip_white_space(text);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (p != text && (is_decimal_digit(*p) || *p == '.')) {
        const scanned_number number = scan_number(p);
        if (number.kind == number_kind::none) {
            *end = text;
            return 0;
        }
        *end = number.end;
        return negative ? -number.value : number.value;
    }
    const decimal_reading reading = read_decimal(text);
    *end = reading.end;
    if (reading.end == text) return 0;
    double magnitude = 0;
    if (reading.special != 0) {
        magnitude = reading.special == 'I' ? std::numeric_limits<double>::infinity()
                                           : std::numeric_limits<double>::quiet_NaN();
    } else if (!exact_quotient(reading.number, magnitude)) {
        magnitude = magnitude_of(reading.number);
    }
    return reading.negative ? -magnitude : magnitude;
}

}  // namespace fexpr::numeric
