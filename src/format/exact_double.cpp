// The shortest decimal, the hexadecimal floating form and the fields of a double.
#include "format/exact_double.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "format/all_layouts.h"
#include "numeric/decimal_digits.h"
#include "numeric/decimal_input.h"
#include "numeric/text_output.h"
#include "platform/text_builder.h"

namespace fexpr::format {
namespace {

constexpr int fraction_bits = 52;
constexpr int exponent_bias = 1023;
constexpr std::uint32_t exponent_all_ones = 0x7ff;
constexpr std::uint64_t fraction_mask = (std::uint64_t{1} << fraction_bits) - 1;
// The lowest double of the top binade, where the number reader truncates.
constexpr double top_binade = 0x1p1023;

// The three fields of the IEEE binary64 encoding.
struct double_fields {
    bool negative;
    std::uint32_t biased_exponent;
    std::uint64_t fraction;
};

double_fields fields_of(double value) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return {(bits >> 63) != 0,
            static_cast<std::uint32_t>((bits >> fraction_bits) & exponent_all_ones),
            bits & fraction_mask};
}

bool is_special(const double_fields& fields) noexcept {
    return fields.biased_exponent == exponent_all_ones;
}

// The power of two of the leading digit of the hexadecimal form: subnormals share the
// exponent of the smallest normal numbers, and a zero has 0.
int unbiased_exponent(const double_fields& fields) noexcept {
    if (fields.biased_exponent != 0)
        return static_cast<int>(fields.biased_exponent) - exponent_bias;
    return fields.fraction == 0 ? 0 : 1 - exponent_bias;
}

void append_signed(platform::text_builder& builder, int number) noexcept {
    platform::builder_advance(builder,
                              numeric::format_signed(platform::builder_end(builder),
                                                     platform::builder_room(builder), number, 0));
}

// The exponent line: the unbiased exponent and, for the encodings that are no normal
// number, their class.
void append_exponent(platform::text_builder& builder, const double_fields& fields) noexcept {
    const char* kind = nullptr;
    if (is_special(fields)) {
        kind = fields.fraction == 0 ? " (infinite)" : " (NaN)";
    } else if (fields.biased_exponent == 0) {
        kind = fields.fraction == 0 ? " (zero)" : " (subnormal)";
    }
    append_signed(builder, unbiased_exponent(fields));
    if (kind != nullptr) platform::append_text(builder, kind);
}

// The 13 hexadecimal digits of the fraction without their trailing zeros.
void append_fraction_digits(platform::text_builder& builder, std::uint64_t fraction) noexcept {
    char digits[24];
    numeric::format_hex(digits, sizeof digits, fraction, fraction_bits / 4);
    std::size_t length = fraction_bits / 4;
    while (length > 0 && digits[length - 1] == '0') --length;
    if (length == 0) return;
    platform::append_char(builder, '.');
    platform::append_text(builder, digits, length);
}

// A decimal d0.d1d2… × 10^exponent of `count` significant digits, as the shortest text of a
// positive magnitude is sought.
struct decimal_candidate {
    char digit[numeric::significant_digit_limit];  // '0' … '9', digit[0] not '0'
    int count;
    int exponent;
};

// The candidates have at most this many digits, so that half of one, which has a digit
// more, is still read in full (numeric::significant_digit_limit). In the top binade a text
// must lie in the half unit above the value, 2^970 (more than 9.9 × 10^291) wide, where 18
// digits are at most 10^291 apart; elsewhere 17 digits always read back.
constexpr int longest_shortest = numeric::significant_digit_limit - 1;

// Appends the exponent part of a text: 'e', its sign and at least two digits.
void append_exponent_part(platform::text_builder& builder, int exponent) noexcept {
    platform::append_text(builder, exponent < 0 ? "e-" : "e+");
    platform::builder_advance(
        builder,
        numeric::format_signed(platform::builder_end(builder), platform::builder_room(builder),
                               exponent < 0 ? -exponent : exponent, 2));
}

// Appends `count` digits, with the point in front when there are any.
void append_fraction(platform::text_builder& builder, const char* digits, int count) noexcept {
    if (count <= 0) return;
    platform::append_char(builder, '.');
    platform::append_text(builder, digits, static_cast<std::size_t>(count));
}

// The candidate in the form of "%.*lg" with its count as the precision: positional from
// 10^-4 to below 10^count, else with an exponent; trailing zeros of the fraction dropped.
void append_candidate(platform::text_builder& builder,
                      const decimal_candidate& candidate) noexcept {
    const char* digits = candidate.digit;
    int used = candidate.count;
    while (used > 1 && digits[used - 1] == '0') --used;
    const int exponent = candidate.exponent;
    if (exponent < -4 || exponent >= candidate.count) {
        platform::append_char(builder, digits[0]);
        append_fraction(builder, digits + 1, used - 1);
        append_exponent_part(builder, exponent);
    } else if (exponent >= 0) {
        platform::append_text(builder, digits, static_cast<std::size_t>(exponent + 1));
        append_fraction(builder, digits + exponent + 1, used - exponent - 1);
    } else {
        platform::append_char(builder, '0');
        platform::append_char(builder, '.');
        for (int zero = -1; zero > exponent; --zero) platform::append_char(builder, '0');
        platform::append_text(builder, digits, static_cast<std::size_t>(used));
    }
}

// What the number reader makes of the candidate.
double read_candidate(const decimal_candidate& candidate) noexcept {
    char text[48];
    platform::text_builder builder = platform::make_builder(text, sizeof text);
    append_candidate(builder, candidate);
    const char* end = nullptr;
    return numeric::text_to_double(text, &end);
}

// The magnitude rounded to `count` digits, the nearest candidate of that length.
decimal_candidate nearest_candidate(double magnitude, int count) noexcept {
    const numeric::decimal_digits rounded = numeric::significant_digits(magnitude, count);
    decimal_candidate candidate{{}, count, rounded.exponent};
    for (int position = 0; position < count; ++position) {
        candidate.digit[position] = numeric::digit_at(rounded, position);
    }
    return candidate;
}

// The next candidate of the same count above (up) or below: 9.99 goes up to 1.00 × 10 and
// 1.00 down to 9.99 / 10, the next of that count.
decimal_candidate next_candidate(decimal_candidate candidate, bool up) noexcept {
    const char wrapping = up ? '9' : '0';
    int position = candidate.count - 1;
    while (position >= 0 && candidate.digit[position] == wrapping) {
        candidate.digit[position--] = up ? '0' : '9';
    }
    if (position < 0) {  // only up: every digit was 9
        candidate.digit[0] = '1';
        ++candidate.exponent;
        return candidate;
    }
    candidate.digit[position] = static_cast<char>(candidate.digit[position] + (up ? 1 : -1));
    if (candidate.digit[0] == '0') {
        for (int digit = 0; digit < candidate.count; ++digit) candidate.digit[digit] = '9';
        --candidate.exponent;
    }
    return candidate;
}

// Half the candidate, exactly: five times its digits, one place lower.
decimal_candidate half_of(const decimal_candidate& candidate) noexcept {
    decimal_candidate half{{}, candidate.count + 1, candidate.exponent};
    int carry = 0;
    for (int position = candidate.count - 1; position >= 0; --position) {
        const int product = (candidate.digit[position] - '0') * 5 + carry;
        half.digit[position + 1] = static_cast<char>('0' + product % 10);
        carry = product / 10;
    }
    half.digit[0] = static_cast<char>('0' + carry);
    if (carry == 0) {
        std::memmove(half.digit, half.digit + 1, static_cast<std::size_t>(candidate.count));
        half.count = candidate.count;
        --half.exponent;
    }
    return half;
}

/*
 * The value a correctly rounding reader gives the candidate. The number reader rounds
 * correctly below 2^1023 and truncates from there on, so in the top binade the candidate is
 * halved: halving scales the doubles and their rounding boundaries alike, and half of it
 * lies below 2^1023, where the reader rounds (up to 2^1023 itself for a text that a
 * correctly rounding reader takes to infinity).
 */
double rounded_reading(const decimal_candidate& candidate, double magnitude) noexcept {
    if (magnitude < top_binade) return read_candidate(candidate);
    return 2 * read_candidate(half_of(candidate));
}

// Whether both the number reader and a correctly rounding reader read the candidate as
// `magnitude`.
bool reads_back(const decimal_candidate& candidate, double magnitude) noexcept {
    return read_candidate(candidate) == magnitude &&
           (magnitude < top_binade || rounded_reading(candidate, magnitude) == magnitude);
}

// A candidate of `count` digits that reads back, in `found`; false when there is none.
bool shortest_of(double magnitude, int count, decimal_candidate& found) noexcept {
    const decimal_candidate nearest = nearest_candidate(magnitude, count);
    found = nearest;
    if (reads_back(nearest, magnitude)) return true;
    found = next_candidate(nearest, rounded_reading(nearest, magnitude) <= magnitude);
    return reads_back(found, magnitude);
}

}  // namespace

/*
 * Each count of digits from 1 on is tried until one reads back. Of the texts of one count
 * that read back, if any, the nearest to the value is one, or else the next one on the other
 * side of the value (they form an interval around it): so only these two are tried. The
 * nearest is the "%.*lg" text of the value, and wins when both read back.
 */
std::size_t format_shortest(char* out, std::size_t size, double value) noexcept {
    if (is_special(fields_of(value)) || value == 0) {
        return numeric::format_general(out, size, 1, value);
    }
    const double magnitude = std::fabs(value);
    decimal_candidate found{};
    int digits = 1;
    while (!shortest_of(magnitude, digits, found) && digits < longest_shortest) ++digits;
    platform::text_builder builder = platform::make_builder(out, size);
    if (value < 0) platform::append_char(builder, '-');
    append_candidate(builder, found);
    return builder.length;
}

std::size_t format_hex_float(char* out, std::size_t size, double value) noexcept {
    const double_fields fields = fields_of(value);
    if (is_special(fields)) return numeric::format_general(out, size, 1, value);
    platform::text_builder builder = platform::make_builder(out, size);
    if (fields.negative) platform::append_char(builder, '-');
    platform::append_text(builder, fields.biased_exponent == 0 ? "0x0" : "0x1");
    append_fraction_digits(builder, fields.fraction);
    platform::append_char(builder, 'p');
    const int exponent = unbiased_exponent(fields);
    if (exponent >= 0) platform::append_char(builder, '+');
    append_signed(builder, exponent);
    return builder.length;
}

void print_exact_double(double value, platform::output_stream* stream) noexcept {
    char text[64];
    format_shortest(text, sizeof text, value);
    print_labelled_line(stream, "shortest", text);
    format_hex_float(text, sizeof text, value);
    print_labelled_line(stream, "hex", text);
    const double_fields fields = fields_of(value);
    print_labelled_line(stream, "sign", fields.negative ? "1" : "0");
    platform::text_builder builder = platform::make_builder(text, sizeof text);
    append_exponent(builder, fields);
    print_labelled_line(stream, "exponent", text);
    builder = platform::make_builder(text, sizeof text);
    platform::append_text(builder, "0x");
    platform::builder_advance(builder, numeric::format_hex(platform::builder_end(builder),
                                                           platform::builder_room(builder),
                                                           fields.fraction, fraction_bits / 4));
    print_labelled_line(stream, "fraction", text);
}

}  // namespace fexpr::format
