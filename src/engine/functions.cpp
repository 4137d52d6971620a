// The unary functions: what each code computes and the loop that applies waiting codes.
#include "engine/functions.h"

#include "engine/reading_record.h"
#include "numeric/decimal_input.h"
#include "numeric/extended.h"
#include "numeric/math_services.h"
#include "numeric/text_output.h"

namespace fexpr::engine {
namespace {

using numeric::extended;

// The factors of the degree conversions with a 64-bit significand: 1/180 rounded to 64
// bits, and the reciprocal of the double pi (not of the true pi) rounded to 64 bits.
constexpr extended one_over_180 = numeric::extended_from_parts(false, -71, 0xB60B60B60B60B60B);
constexpr extended one_over_pi = numeric::extended_from_parts(false, -65, 0xA2F9836E4E4416F4);
constexpr extended degrees_per_half_turn = 180;

// (x * pi) * (1/180), multiplied in this order and rounded to double once.
double degrees_to_radians(double x) noexcept {
    return numeric::store(static_cast<extended>(x) * numeric::pi * one_over_180);
}

// ((1/pi) * x) * 180, multiplied in this order and rounded to double once.
double radians_to_degrees(double x) noexcept {
    return numeric::store(one_over_pi * static_cast<extended>(x) * degrees_per_half_turn);
}

double round_whole(double x) noexcept {
    return round_to_places(x, 0);
}

}  // namespace

const named_function named_functions[] = {
    {function_names[0], numeric::math_sin},   {function_names[1], numeric::math_cos},
    {function_names[2], numeric::math_tan},   {function_names[3], numeric::math_sqrt},
    {function_names[4], numeric::math_asin},  {function_names[5], numeric::math_acos},
    {function_names[6], numeric::math_atan},  {function_names[7], numeric::math_log10},
    {function_names[8], numeric::math_log},   {function_names[9], numeric::math_exp},
    {function_names[10], numeric::math_ceil}, {function_names[11], numeric::math_floor},
    {function_names[12], round_whole},        {function_names[13], sign_of},
    {function_names[14], numeric::math_fabs}, {function_names[15], degrees_to_radians},
    {function_names[16], radians_to_degrees},
};
static_assert(sizeof named_functions / sizeof named_functions[0] == named_function_count,
              "one entry for each named function");

namespace {

double apply_named_function(int code, double x) noexcept {
    const int position = code - first_function_code;
    if (position < 0 || position >= named_function_count) return x;
    return named_functions[position].apply(x);
}

}  // namespace

double apply_pending_functions(double value, char* operators, shift_descriptor* descriptors,
                               int& count) noexcept {
    while (count > 0) {
        const int top = static_cast<unsigned char>(operators[count - 1]);
        // Every binary operator is a printable character; codes below 32 are functions.
        if (top >= 32) break;
        if (top == shift_function_code) {
            value = shift_bit_field(value, descriptors[count - 1]);
        } else {
            value = apply_named_function(top, value);
        }
        record_function(top, descriptors[count - 1], value);
        --count;
    }
    return value;
}

double sign_of(double x) noexcept {
    if (x > 0) return 1;
    if (x >= 0) return 0;
    if (x < 0) return -1;
    return x;  // a NaN: unordered, so it stands for its own sign
}

/*
 * The fixed-point text is read back, so the rounding is exactly that of the fixed-point
 * conversion: halves go to the even neighbour, "-0" comes back as -0, infinities and NaNs
 * come back as themselves. The text area holds the complete text of every double (at most
 * 40 digits, a sign, a point and an exponent part), so nothing is ever cut.
 */
double round_to_places(double x, short places) noexcept {
    char text[64];
    const int precision = places < 0 ? 0 : places;
    numeric::format_fixed(text, sizeof text, precision, x);
    return numeric::scan_number(text).value;
}

}  // namespace fexpr::engine
