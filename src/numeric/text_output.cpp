// The system's own formatted output: floating, integer and text directives into bounded buffers.
#include "numeric/text_output.h"

#include <cmath>
#include <cstring>

#include "numeric/decimal_digits.h"
#include "numeric/integer_view.h"
#include "platform/text_builder.h"

namespace fexpr::numeric {
namespace {

using platform::make_builder;
using platform::text_builder;

// Every number text is assembled here first and then copied into the caller's bounded buffer.
constexpr int number_capacity = static_cast<int>(number_text_capacity);

struct number_text_buffer {
    char text[number_capacity];
    int length;
};

void put(number_text_buffer& buffer, char character) noexcept {
    if (buffer.length < number_capacity) buffer.text[buffer.length++] = character;
}

// Appends `count` characters of text (as many as fit).
void put_run(number_text_buffer& buffer, const char* text, int count) noexcept {
    const int room = number_capacity - buffer.length;
    if (count > room) count = room;
    if (count <= 0) return;
    std::memcpy(buffer.text + buffer.length, text, static_cast<std::size_t>(count));
    buffer.length += count;
}

// Appends `count` '0' characters (as many as fit).
void put_zeros(number_text_buffer& buffer, int count) noexcept {
    const int room = number_capacity - buffer.length;
    if (count > room) count = room;
    if (count <= 0) return;
    std::memset(buffer.text + buffer.length, '0', static_cast<std::size_t>(count));
    buffer.length += count;
}

// Copies the assembled text into the caller's buffer, cut to size - 1 and NUL-terminated.
std::size_t emit(char* out, std::size_t size, const number_text_buffer& buffer) noexcept {
    if (size == 0) return 0;
    std::size_t count = static_cast<std::size_t>(buffer.length);
    if (count > size - 1) count = size - 1;
    std::memcpy(out, buffer.text, count);
    out[count] = '\0';
    return count;
}

int clamp_precision(int precision, int low, int high) noexcept {
    if (precision < low) return low;
    return precision > high ? high : precision;
}

// "+INF", "-INF", "+NAN" or "-NAN" for a value that has no digits.
bool put_special(number_text_buffer& buffer, double value) noexcept {
    if (!std::isnan(value) && !std::isinf(value)) return false;
    put(buffer, std::signbit(value) ? '-' : '+');
    const char* word = std::isnan(value) ? "NAN" : "INF";
    for (const char* p = word; *p != '\0'; ++p) put(buffer, *p);
    return true;
}

// 'e', the sign and at least two exponent digits.
void put_exponent_part(number_text_buffer& buffer, int exponent) noexcept {
    put(buffer, 'e');
    put(buffer, exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) put(buffer, static_cast<char>('0' + magnitude / 100));
    put(buffer, static_cast<char>('0' + magnitude / 10 % 10));
    put(buffer, static_cast<char>('0' + magnitude % 10));
}

// The digits at significant positions first … first + count - 1 ('0' outside the stored
// ones: before the leading digit and after the last stored digit).
void put_digit_positions(number_text_buffer& buffer, const decimal_digits& digits, int first,
                         int count) noexcept {
    const int end = first + count;
    int position = first;
    if (position < 0) {
        const int zeros = (end < 0 ? end : 0) - position;
        put_zeros(buffer, zeros);
        position += zeros;
    }
    if (position < digits.count && position < end) {
        const int stored = (end < digits.count ? end : digits.count) - position;
        put_run(buffer, digits.digit + position, stored);
        position += stored;
    }
    put_zeros(buffer, end - position);
}

// The mantissa d.ddd with `decimals` decimals (no point when there are none).
void put_mantissa(number_text_buffer& buffer, const decimal_digits& digits, int decimals) noexcept {
    put(buffer, digit_at(digits, 0));
    if (decimals > 0) put(buffer, '.');
    put_digit_positions(buffer, digits, 1, decimals);
}

// The integer digits (a single 0 below one) and, when decimals > 0, the point and decimals.
void put_positional(number_text_buffer& buffer, const decimal_digits& digits,
                    int decimals) noexcept {
    if (digits.count == 0) {
        put(buffer, '0');
        if (decimals > 0) put(buffer, '.');
        put_zeros(buffer, decimals);
        return;
    }
    const int top = digits.exponent > 0 ? digits.exponent : 0;
    put_digit_positions(buffer, digits, digits.exponent - top, top + 1);
    if (decimals > 0) put(buffer, '.');
    put_digit_positions(buffer, digits, digits.exponent + 1, decimals);
}

void put_sign(number_text_buffer& buffer, double value) noexcept {
    if (std::signbit(value)) put(buffer, '-');
}

// Digits of a 64-bit pattern in radix 8 or 16, padded with '0' to min_width.
std::size_t format_unsigned(char* out, std::size_t size, std::uint64_t pattern, unsigned radix,
                            int min_width) noexcept {
    char reversed[64];
    int count = 0;
    do {
        reversed[count++] = "0123456789abcdef"[pattern % radix];
        pattern /= radix;
    } while (pattern != 0);
    text_builder builder = make_builder(out, size);
    for (int fill = count; fill < min_width && builder_room(builder) > 1; ++fill) {
        append_char(builder, '0');
    }
    while (count > 0) append_char(builder, reversed[--count]);
    return builder.length;
}

/* The positional form of format_general, for a value of exponent -4 … 39, written straight
 * into a buffer of at least number_text_capacity bytes. The digits, in a buffer of
 * integer_digits_capacity bytes, are copied in runs of fixed length, whose bytes beyond the digits
 * land where later characters or the NUL go, or after the NUL: a copy of exactly the digits in use,
 * or a copy digit by digit, costs a loop per run. It is not assembled in a number_text_buffer and
 * copied, as the other forms are, because nearly every result of a line takes this form
 * (bench/instruction_gate.sh, per line). */
std::size_t write_general_positional(char* out, bool negative, const decimal_integer& number,
                                     const char* digits) noexcept {
    constexpr std::size_t run = significant_digit_limit + 1;
    char* p = out;
    *p = '-';
    p += negative ? 1 : 0;
    const int count = number.count;
    const int exponent = number.exponent;
    if (exponent < 0) {
        std::memcpy(p, "0.000", 5);  // "0.", then -exponent - 1 (at most three) zeros
        p += 1 - exponent;
        std::memcpy(p, digits, run);
        p += count;
    } else if (count > exponent + 1) {
        std::memcpy(p, digits, run);
        p += exponent + 1;
        *p++ = '.';
        std::memcpy(p, digits + exponent + 1, run);
        p += count - exponent - 1;
    } else {
        std::memcpy(p, digits, run);
        p += count;
        std::memset(p, '0', max_printed_digits);
        p += exponent + 1 - count;
    }
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

}  // namespace

/* Fixed notation. The digits are rounded at 10^-precision, but never more than 40 of them
 * for a value of one or more; a value of 10^40 or more (after rounding) switches to the
 * exponent form with 40 significant digits. Tricky cases: a carry that adds an integer digit
 * (9.96 to one decimal gives 10.0), values that round away to zero or up to 10^-precision,
 * and negative values that round to zero keeping their '-'. */
std::size_t format_fixed(char* out, std::size_t size, int precision, double value) noexcept {
    number_text_buffer buffer{{}, 0};
    if (put_special(buffer, value)) return emit(out, size, buffer);
    precision = clamp_precision(precision, 0, max_printed_digits);
    put_sign(buffer, value);
    const double magnitude = std::fabs(value);
    const decimal_digits digits = digits_to_power(magnitude, -precision, max_printed_digits);
    const int integer_digits = digits.count == 0 ? 1 : digits.exponent + 1;
    if (integer_digits > max_printed_digits) {
        const decimal_digits wide = significant_digits(magnitude, max_printed_digits);
        put_mantissa(buffer, wide, max_printed_digits - 1);
        put_exponent_part(buffer, wide.exponent);
        return emit(out, size, buffer);
    }
    int decimals = precision;
    if (integer_digits > 0 && integer_digits + decimals > max_printed_digits) {
        decimals = max_printed_digits - integer_digits;
    }
    put_positional(buffer, digits, decimals);
    return emit(out, size, buffer);
}

/* General notation: rounded to P significant digits, the exponent X of the rounded value
 * chooses the exponent form (X < -4 or X >= P) or the positional form. The usual result
 * takes the integer rounding and goes to the positional form at once; the trailing zeros
 * are already left out of its digits. */
std::size_t format_general(char* out, std::size_t size, int precision, double value) noexcept {
    precision = clamp_precision(precision, 1, max_printed_digits);
    decimal_integer number{};
    const int kept = precision < significant_digit_limit ? precision : significant_digit_limit;
    char buffer[integer_digits_capacity];
    const char* digits = size >= number_text_capacity
                             ? rounded_digits(std::fabs(value), kept, buffer, number)
                             : nullptr;
    if (digits != nullptr && number.exponent >= -4 && number.exponent < precision) {
        return write_general_positional(out, std::signbit(value), number, digits);
    }
    return format_general_by_digits(out, size, precision, value);
}

/* Trailing zeros of the fraction and a bare point are left out by dropping the trailing '0'
 * digits first and printing only the decimals the remaining digits need. */
std::size_t format_general_by_digits(char* out, std::size_t size, int precision,
                                     double value) noexcept {
    number_text_buffer buffer{{}, 0};
    if (put_special(buffer, value)) return emit(out, size, buffer);
    precision = clamp_precision(precision, 1, max_printed_digits);
    decimal_digits digits = significant_digits(std::fabs(value), precision);
    while (digits.count > 0 && digits.digit[digits.count - 1] == '0') --digits.count;
    const int exponent = digits.exponent;
    const bool positional = exponent >= -4 && exponent < precision;
    put_sign(buffer, value);
    if (!positional) {
        put_mantissa(buffer, digits, digits.count - 1);
        put_exponent_part(buffer, exponent);
    } else {
        put_positional(buffer, digits, digits.count - 1 - exponent);
    }
    return emit(out, size, buffer);
}

std::size_t format_exponent(char* out, std::size_t size, int precision, double value) noexcept {
    number_text_buffer buffer{{}, 0};
    if (put_special(buffer, value)) return emit(out, size, buffer);
    precision = clamp_precision(precision, 0, max_printed_digits - 1);
    put_sign(buffer, value);
    const decimal_digits digits = significant_digits(std::fabs(value), precision + 1);
    put_mantissa(buffer, digits, precision);
    put_exponent_part(buffer, digits.exponent);
    return emit(out, size, buffer);
}

std::size_t format_hex(char* out, std::size_t size, std::uint64_t pattern, int min_width) noexcept {
    return format_unsigned(out, size, pattern, 16, min_width);
}

std::size_t format_octal(char* out, std::size_t size, std::uint64_t pattern,
                         int min_width) noexcept {
    return format_unsigned(out, size, pattern, 8, min_width);
}

std::size_t format_unsigned_decimal(char* out, std::size_t size, std::uint64_t pattern) noexcept {
    return format_unsigned(out, size, pattern, 10, 0);
}

std::size_t format_signed(char* out, std::size_t size, std::int64_t value, int min_width) noexcept {
    text_builder builder = make_builder(out, size);
    std::uint64_t magnitude = pattern_of(value);
    int field = 0;
    if (value < 0) {
        magnitude = 0 - magnitude;  // two's-complement magnitude, -2^63 included
        append_char(builder, '-');
        field = 1;
    }
    const std::size_t written = format_unsigned(builder_end(builder), builder_room(builder),
                                                magnitude, 10, min_width - field);
    builder_advance(builder, written);
    return builder.length;
}

}  // namespace fexpr::numeric
