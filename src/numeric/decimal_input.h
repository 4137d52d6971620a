// The decimal number syntax of the language and its conversion to a double.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

#include "numeric/character_classes.h"

namespace fexpr::numeric {

/* Short numbers need no rounding step of their own: at most 15 significant digits form an
 * integer below 2^53, and 10^0 … 10^22 are doubles exactly, so one multiplication or
 * division, correctly rounded by IEEE double arithmetic, gives the nearest double. This holds
 * only where double expressions are evaluated in double (not in a wider x87 register, which
 * would round twice), so elsewhere every number takes the general path. */
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
inline constexpr bool exact_arithmetic = true;
#else
inline constexpr bool exact_arithmetic = false;
#endif

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
        // Unsigned, so one comparison tests the digit and no sign extension is needed: with
        // is_decimal_digit and a char difference the loop took 2 instructions more per digit
        // (about 20 per line of bench/instruction_gate.sh, 1%).
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (digit > 9) return p;
        significant = significant * 10 + digit;
    }
}

/* The plain number of most expressions, digits with at most one '.' and nothing around them,
 * read in one pass: at most 15 digits in all (leading zeros included), no sign, no white
 * space and no exponent part. Returns false for anything else, which read_decimal then reads
 * (also "1e" and "1e+", whose incomplete exponent part stays unread). */
inline bool read_plain_decimal(const char* text, const char** end, double& value) noexcept {
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
    if (!exact_arithmetic || digits == 0 || digits > 15 || *p == 'e' || *p == 'E') return false;
    value = scale_exactly(static_cast<std::int64_t>(significant), -static_cast<int>(decimals));
    *end = p;
    return true;
}

// Every number text_to_double reads that read_plain_decimal does not: signs, white space,
// exponent parts, long digit runs, infinities and NaNs.
double read_general_decimal(const char* text, const char** end) noexcept;

// Converts the longest number at the start of `text` (leading white space, an optional sign,
// "INF"/"NAN" only in upper case and only after an explicit sign, a digit sequence with at
// most one '.', an optional exponent; no hexadecimal form). At most 19 significant digits take
// part; the value is rounded to the nearest double, ties to even (below the smallest subnormal
// too: above half of it gives it, half or less a zero of the same sign), truncated toward zero
// in the top binade [2^1023, 2^1024), infinite from 2^1024 on. When no number is there,
// returns 0 and sets *end to text. The plain numbers of most expressions are read inline: as
// a call, the reading cost about 25 instructions more per line of bench/instruction_gate.sh
// (1.3%).
inline double text_to_double(const char* text, const char** end) noexcept {
    double plain = 0;
    if (read_plain_decimal(text, end, plain)) return plain;
    // The general reading gets an end of its own, so the caller's need not live in memory.
    const char* general_end = text;
    const double value = read_general_decimal(text, &general_end);
    *end = general_end;
    return value;
}

// decimal_text_end for every text that the inline part below does not settle.
const char* general_decimal_text_end(const char* text) noexcept;

// The end of the number text_to_double would read at the start of `text`, or `text` itself
// when none stands there; the number is not converted. A number of digits (with a sign, a
// point and more digits or without them) and no exponent part, and a text where no number
// can begin, are read inline: the pre-pass
// asks this at every number of a text with unit letters, and the call cost about 25
// instructions a number (bench/shape_costs.sh, shape unit).
inline const char* decimal_text_end(const char* text) noexcept {
    const char* p = *text == '+' || *text == '-' ? text + 1 : text;
    if (!is_decimal_digit(*p)) {
        // Only a point, white space before a number, or an infinity or NaN after a sign can
        // still begin one: at the other characters ('(', a letter after a sign) the call
        // cost about 20 instructions (bench/shape_costs.sh, shape mixed).
        const bool may_begin = *p == '.' || is_white_space(*p) || *p == 'I' || *p == 'N';
        return may_begin ? general_decimal_text_end(text) : text;
    }
    while (is_decimal_digit(*p)) ++p;
    if (*p == '.') {
        ++p;
        while (is_decimal_digit(*p)) ++p;
    }
    return *p == 'e' || *p == 'E' ? general_decimal_text_end(text) : p;
}

}  // namespace fexpr::numeric
