// Exact decimal digits of a double, rounded half-to-even at a chosen significant digit.
#pragma once

#include <cstdint>

namespace fexpr::numeric {

// Only this many significant digits are ever computed, and only this many of a number read
// take part in its value; later positions read as '0'.
constexpr int significant_digit_limit = 19;
// The longest digit run any directive prints.
constexpr int max_printed_digits = 40;

// A rounded magnitude d0.d1d2… × 10^exponent. Zero has count 0 and exponent 0.
struct decimal_digits {
    char digit[significant_digit_limit];  // '0' … '9', digit[0] not '0'
    int count;                            // digits stored; later positions read as '0'
    int exponent;                         // decimal exponent of digit[0]
};

// The digit at a significant position (0 is the leading digit); '0' outside the stored ones.
// Inline: the layouts ask for every printed digit.
inline char digit_at(const decimal_digits& digits, int position) noexcept {
    if (position < 0 || position >= digits.count) return '0';
    return digits.digit[position];
}

// A magnitude rounded to some significant digits as one integer: the leading digit stands for
// 10^exponent, and the `count` digits (1 … 19) end with the last nonzero one.
struct decimal_integer {
    std::uint64_t significand;
    int count;
    int exponent;
};

// A finite, positive magnitude rounded to `wanted` (1 … 19) significant digits, for
// magnitudes from about 10^(wanted - 28) to 10^wanted, where it needs no wide arithmetic;
// false for the others, zero and subnormals among them (significant_digits takes them all).
bool rounded_integer(double magnitude, int wanted, decimal_integer& result) noexcept;

// The digits of write_integer_digits end at this place of its buffer; the buffer has room
// after them for a copy of significant_digit_limit + 1 bytes from any digit on.
constexpr int integer_digits_end = 24;
constexpr int integer_digits_capacity = integer_digits_end + significant_digit_limit + 1;

// Writes the number.count digits of number.significand, leading digit first, with no NUL, so
// that they end at out + integer_digits_end (out has integer_digits_capacity bytes); returns
// where they begin.
const char* write_integer_digits(char* out, const decimal_integer& number) noexcept;

// rounded_integer and write_integer_digits in one call: the digits' start, or nullptr where
// rounded_integer declines.
const char* rounded_digits(double magnitude, int wanted, char* out,
                           decimal_integer& number) noexcept;

// A finite, non-negative magnitude rounded to `wanted` significant digits (1 … 40).
decimal_digits significant_digits(double magnitude, int wanted) noexcept;

// A finite, non-negative magnitude rounded at the position of 10^lowest_power, keeping at
// most max_digits significant digits. A value that rounds away entirely gives zero.
decimal_digits digits_to_power(double magnitude, int lowest_power, int max_digits) noexcept;

}  // namespace fexpr::numeric
