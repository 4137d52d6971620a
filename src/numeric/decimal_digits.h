// Exact decimal digits of a double, rounded half-to-even at a chosen significant digit.
#pragma once

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

// A finite, non-negative magnitude rounded to `wanted` significant digits (1 … 40).
decimal_digits significant_digits(double magnitude, int wanted) noexcept;

// A finite, non-negative magnitude rounded at the position of 10^lowest_power, keeping at
// most max_digits significant digits. A value that rounds away entirely gives zero.
decimal_digits digits_to_power(double magnitude, int lowest_power, int max_digits) noexcept;

}  // namespace fexpr::numeric
