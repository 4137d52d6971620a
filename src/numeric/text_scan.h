// The system's own formatted scans and integer conversions in a radix.
//
// The scans follow the conventions of the formatted input operation: each returns the number
// of targets assigned, or -1 when nothing but white space is left where the conversion
// begins. "%n"-style counts are measured from the start of the scanned text.
#pragma once

#include <cstdint>

namespace fexpr::numeric {

// "%lx%n": leading white space, an optional sign, an optional "0x"/"0X" prefix (taken only
// when a hexadecimal digit follows it, so "0xg" reads 0 from the '0'), hexadecimal digits.
// Overflow saturates to 2^63 - 1 (or -2^63 after '-') right after the digit that
// overflowed. Returns 1 with *value and *consumed set, 0 when no digit follows (nothing
// assigned, *consumed untouched), -1 when only white space is left.
int scan_hex(const char* text, std::int64_t* value, int* consumed) noexcept;

// "%d" (width 0) and "%2d" (width 2): leading white space, an optional sign, decimal digits;
// the width counts the sign and the digits. The value saturates at the int range.
// Returns 1 with *value and *consumed set, 0 on no digits, -1 when only white space is left.
int scan_int(const char* text, int width, int* value, int* consumed) noexcept;

// "%W[set]": reads at most `width` characters (no limit when width <= 0) that belong to
// `set` into target (then a NUL); white space is not skipped.
// `set` is written as between the brackets: "01", "0-7", "GKMPTgkmpt", "lar". Returns 1 and
// sets *consumed when at least one character was taken; otherwise 0 (or -1 at the end of the
// text) and leaves target and *consumed untouched.
int scan_charset(const char* text, const char* set, int width, char* target,
                 int* consumed) noexcept;

// Digits of `radix` (2 … 36, letters in either case) after optional white space and sign,
// accumulated modulo 2^64; a '-' negates the pattern. The pattern is returned as a signed
// integer view. A radix outside 2 … 36 acts as the nearer of 2 and 36.
std::int64_t parse_integer_radix(const char* text, int radix) noexcept;

// Writes the digits of the pattern of `value` taken as unsigned, in `radix` (2 … 36, lower
// case), without leading zeros, into out (at least 65 bytes) and returns out. A radix
// outside 2 … 36 acts as the nearer of 2 and 36.
char* format_integer_radix(std::int64_t value, char* out, int radix) noexcept;

}  // namespace fexpr::numeric
