// The shortest decimal, the hexadecimal floating form and the fields of a double.
#include "format/exact_double.h"

#include <cstdint>
#include <cstring>

#include "format/all_layouts.h"
#include "numeric/decimal_input.h"
#include "numeric/text_output.h"
#include "numeric/text_scan.h"
#include "platform/text_builder.h"

namespace fexpr::format {
namespace {

constexpr int fraction_bits = 52;
constexpr int exponent_bias = 1023;
constexpr std::uint32_t exponent_all_ones = 0x7ff;
constexpr std::uint64_t fraction_mask = (std::uint64_t{1} << fraction_bits) - 1;
constexpr int longest_round_trip = 17;

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

}  // namespace

std::size_t format_shortest(char* out, std::size_t size, double value) noexcept {
    std::size_t length = 0;
    for (int digits = 1; digits <= longest_round_trip; ++digits) {
        length = numeric::format_general(out, size, digits, value);
        const char* end = nullptr;
        if (is_special(fields_of(value)) || numeric::text_to_double(out, &end) == value) break;
    }
    return length;
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
