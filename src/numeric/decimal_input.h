// The decimal number syntax of the language and its conversion to a double.
#pragma once

namespace fexpr::numeric {

// Converts the longest number at the start of `text` (leading white space, an optional sign,
// "INF"/"NAN" only in upper case and only after an explicit sign, a digit sequence with at
// most one '.', an optional exponent; no hexadecimal form). At most 19 significant digits take
// part; the value is rounded to the nearest double, ties to even (below the smallest subnormal
// too: above half of it gives it, half or less a zero of the same sign), truncated toward zero
// in the top binade [2^1023, 2^1024), infinite from 2^1024 on. When no number is there,
// returns 0 and sets *end to text.
double text_to_double(const char* text, const char** end) noexcept;

// The end of the number text_to_double would read at the start of `text`, or `text` itself
// when none stands there; the number is not converted.
const char* decimal_text_end(const char* text) noexcept;

}  // namespace fexpr::numeric
