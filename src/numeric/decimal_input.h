// The decimal number syntax of the language and its conversion to a double.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

#include "numeric/character_classes.h"

namespace fexpr::numeric {

/* Short numbers need no rounding step of their own: at most exact_digit_limit significant
 * digits form an integer below 2^53, and 10^0 … 10^22 are doubles exactly, so one
 * multiplication or division, correctly rounded by IEEE double arithmetic, gives the nearest
 * double. This holds only where double expressions are evaluated in double (not in a wider
 * x87 register, which would round twice), so elsewhere every number takes the general path. */
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
inline constexpr bool exact_arithmetic = true;
#else
inline constexpr bool exact_arithmetic = false;
#endif

// The most digits (leading zeros included) whose integer stays below 2^53: such a number
// takes one exactly rounded step.
inline constexpr int exact_digit_limit = 15;

// significant × 10^exponent for significant < 2^53 and |exponent| <= 22, rounded once.
inline double scale_exactly(std::int64_t significant, int exponent) noexcept {
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double value = static_cast<double>(significant);
    return exponent < 0 ? value / powers[-exponent] : value * powers[exponent];
}

// Adds the run of decimal digits at p to significant (modulo 2^64: callers discard runs
// too long for it) and returns the end of the run.
inline const char* accumulate_digits(const char* p, std::uint64_t& significant) noexcept {
    for (;; ++p) {
        // Unsigned, so one comparison tests the digit and no sign extension is needed.
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (digit > 9) return p;
        significant = significant * 10 + digit;
    }
}

// What scan_number found at the start of a text.
enum class number_kind : unsigned char {
    none,     // no number: end is the text itself, value 0
    plain,    // digits with at most one '.', at most exact_digit_limit of them, nothing else
    general,  // any other number the syntax takes
};

struct scanned_number {
    const char* end;
    double value;
    number_kind kind;
};

// Every number scan_number reads beyond the plain ones: signs, white space, exponent parts,
// long digit runs, infinities and NaNs. Sets *end after the number, or to text when none
// stands there (and returns 0).
double read_general_decimal(const char* text, const char** end) noexcept;

/* The one reading of a decimal number: the longest number at the start of `text` (leading
 * white space, an optional sign, "INF"/"NAN" only in upper case and only after an explicit
 * sign, a digit sequence with at most one '.', an optional exponent; no hexadecimal form),
 * its end and its value. At most 19 significant digits take part; the value is rounded to
 * the nearest double, ties to even (below the smallest subnormal too: above half of it gives
 * it, half or less a zero of the same sign), truncated toward zero in the top binade
 * [2^1023, 2^1024), infinite from 2^1024 on. "1e" and "1e+" end before the 'e'.
 * The plain numbers of most expressions are read here in one pass over their digits, inline:
 * the evaluator's main loop reads one at nearly every operand (bench/instruction_gate.sh). */
inline scanned_number scan_number(const char* text) noexcept {
    std::uint64_t significant = 0;
    const char* p = accumulate_digits(text, significant);
    std::ptrdiff_t digits = p - text;
    std::ptrdiff_t decimals = 0;
    if (*p == '.') {
        const char* fraction = p + 1;
        p = accumulate_digits(fraction, significant);
        decimals = p - fraction;
        digits += decimals;
    }
    if (exact_arithmetic && digits != 0 && digits <= exact_digit_limit && *p != 'e' && *p != 'E') {
        const int exponent = -static_cast<int>(decimals);
        return {p, scale_exactly(static_cast<std::int64_t>(significant), exponent),
                number_kind::plain};
    }
    const char* end = text;
    const double value = read_general_decimal(text, &end);
    return {end, value, end == text ? number_kind::none : number_kind::general};
}

// The value of scan_number, with *end set after the number (to text when none stands there).
inline double text_to_double(const char* text, const char** end) noexcept {
    const scanned_number number = scan_number(text);
    *end = number.end;
    return number.value;
}

}  // namespace fexpr::numeric
