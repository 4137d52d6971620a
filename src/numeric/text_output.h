// The system's own formatted output: one writer per directive, into a bounded buffer.
//
// Every writer takes the destination and its size in bytes, never writes past it, always
// NUL-terminates when size > 0, and returns the number of characters written (the NUL not
// counted; a text cut by the size counts only what was stored). Special values print as
// "+INF", "-INF", "+NAN" and "-NAN"; decimal digits are exact, rounded half-to-even at the
// last digit produced, with at most 19 significant digits and zeros after them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fexpr::numeric {

// Every number text of the floating directives fits in this many bytes, its NUL included: at
// most 41 digits, a sign, a point and an exponent part.
constexpr std::size_t number_text_capacity = 64;

// "%.*lf": fixed notation with `precision` decimals (0 … 40; more acts as 40, a negative
// precision as 0). At most 40 digits in all for values of 1 or more (a zero counts one
// integer digit); from 10^40 on, exponent form with 40 significant digits. "%.3lf" is
// precision 3.
std::size_t format_fixed(char* out, std::size_t size, int precision, double value) noexcept;

// "%.*lg": general notation with `precision` significant digits (0 or less acts as 1, more
// than 40 as 40).
std::size_t format_general(char* out, std::size_t size, int precision, double value) noexcept;

// format_general without its shortcut for the positional form of typical magnitudes: every
// value through its decimal digits. A function of its own, so that the shortcut saves no
// registers for it.
std::size_t format_general_by_digits(char* out, std::size_t size, int precision,
                                     double value) noexcept;

// "%.*le": exponent notation d.ddd…e±XX with `precision` decimals (0 … 39; more acts as
// 39, a negative precision as 0).
std::size_t format_exponent(char* out, std::size_t size, int precision, double value) noexcept;

// "%lx" (min_width 0) and "%016lx" (min_width 16): lower-case hexadecimal digits of the
// pattern, padded with '0' on the left to min_width.
std::size_t format_hex(char* out, std::size_t size, std::uint64_t pattern, int min_width) noexcept;

// "%024lo" (min_width 24): octal digits of the pattern, padded with '0' to min_width.
std::size_t format_octal(char* out, std::size_t size, std::uint64_t pattern,
                         int min_width) noexcept;

// "%lu": unsigned decimal digits of the pattern.
std::size_t format_unsigned_decimal(char* out, std::size_t size, std::uint64_t pattern) noexcept;

// "%ld", "%02ld", "%d", "%03d": signed decimal; '0' digits are inserted after the sign until
// the field has min_width characters, the sign included.
std::size_t format_signed(char* out, std::size_t size, std::int64_t value, int min_width) noexcept;

}  // namespace fexpr::numeric
