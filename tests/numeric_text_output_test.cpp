// Edge cases of the floating, integer and text output directives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "numeric/text_output.h"
#include "platform/text_builder.h"

namespace fexpr::numeric {
namespace {

enum class directive { fixed, general, exponent };

struct float_case {
    directive kind;
    int precision;
    double value;
    const char* text;
};

std::string print(directive kind, int precision, double value) {
    char out[128];
    std::size_t length = 0;
    switch (kind) {
        case directive::fixed:
            length = format_fixed(out, sizeof out, precision, value);
            break;
        case directive::general:
            length = format_general(out, sizeof out, precision, value);
            break;
        case directive::exponent:
            length = format_exponent(out, sizeof out, precision, value);
            break;
    }
    EXPECT_EQ(length, std::string(out).size());
    return out;
}

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(FloatOutput, TextsOfEveryFloatingDirective) {
    const float_case cases[] = {
        // Special values ignore the precision.
        {directive::fixed, 0, inf, "+INF"},
        {directive::fixed, 15, -inf, "-INF"},
        {directive::general, 15, nan, "+NAN"},
        {directive::general, 3, -nan, "-NAN"},
        {directive::exponent, 0, -inf, "-INF"},
        {directive::exponent, 15, nan, "+NAN"},
        // Rounding half-to-even on the exact value at the last digit produced.
        {directive::fixed, 0, 0.5, "0"},
        {directive::fixed, 0, 1.5, "2"},
        {directive::fixed, 0, 2.5, "2"},
        {directive::fixed, 0, 3.5, "4"},
        {directive::fixed, 0, -0.4, "-0"},
        {directive::fixed, 0, 0.6, "1"},
        {directive::fixed, 2, 0.125, "0.12"},
        {directive::fixed, 2, 0.375, "0.38"},
        {directive::fixed, 2, 0.005, "0.01"},  // the double is above 0.005
        {directive::fixed, 2, 0.0049, "0.00"},
        {directive::fixed, 2, 0.0004, "0.00"},
        {directive::fixed, 3, 0.0005, "0.001"},  // the double is above 0.0005
        {directive::fixed, 1, 0.25, "0.2"},
        {directive::fixed, 1, 9.96, "10.0"},
        {directive::fixed, 0, 9.5, "10"},
        {directive::fixed, 3, -0.0, "-0.000"},
        {directive::fixed, 3, 0.0, "0.000"},
        {directive::fixed, 3, 2.0, "2.000"},
        // 19 significant digits, then zeros.
        {directive::fixed, 15, 1234567.891, "1234567.891000000061000"},
        {directive::fixed, 25, 0.1, "0.1000000000000000056000000"},
        {directive::fixed, 0, 1e30, "1000000000000000020000000000000"},
        {directive::fixed, 15, 1e30, "1000000000000000020000000000000.000000000"},
        {directive::fixed, 0, 9e39, "8999999999999999911000000000000000000000"},
        {directive::fixed, 5, 9e39, "8999999999999999911000000000000000000000"},
        {directive::fixed, 0, 1e40, "1.000000000000000030000000000000000000000e+40"},
        {directive::fixed, 2, 1e50, "1.000000000000000076000000000000000000000e+50"},
        {directive::fixed, 60, 1.0, "1.000000000000000000000000000000000000000"},
        // A zero counts one integer digit, so 39 decimals fill the 40 digits.
        {directive::fixed, 40, 1e-41, "0.000000000000000000000000000000000000000"},
        {directive::fixed, 40, 6e-41, "0.0000000000000000000000000000000000000001"},
        {directive::fixed, 0, 1.7976931348623157e308,
         "1.797693134862315708000000000000000000000e+308"},
        {directive::fixed, 3, 5e-324, "0.000"},
        // General notation.
        {directive::general, 15, 1e20, "1e+20"},
        {directive::general, 15, 0.0001, "0.0001"},
        {directive::general, 15, 0.00001, "1e-05"},
        {directive::general, 15, 4024, "4024"},
        {directive::general, 15, 123456789012345678.0, "1.23456789012346e+17"},
        {directive::general, 15, 0.0, "0"},
        {directive::general, 15, -0.0, "-0"},
        {directive::general, 15, 0.1, "0.1"},
        {directive::general, 15, 1234567.5, "1234567.5"},
        {directive::general, 0, 2.5, "2"},
        {directive::general, 1, 95, "1e+02"},
        {directive::general, 3, 99.96, "100"},
        {directive::general, 3, 999.6, "1e+03"},
        {directive::general, 15, 1e15, "1e+15"},
        {directive::general, 15, 1e14, "100000000000000"},
        {directive::general, 30, 0.1, "0.1000000000000000056"},
        {directive::general, 15, 1e-300, "1e-300"},
        // Edges of the magnitudes rounded in integers (decimal exponents -13 … 14 for 15
        // digits), carries into the next power of ten and exact ties.
        {directive::general, 15, 1.23456789012345e-13, "1.23456789012345e-13"},
        {directive::general, 15, 9.99999999999999e-14, "9.99999999999999e-14"},
        {directive::general, 15, 999999999999999.4, "999999999999999"},
        {directive::general, 15, 999999999999999.6, "1e+15"},
        {directive::general, 15, 0.9999999999999995, "0.999999999999999"},
        {directive::general, 15, 1.0000000000000002, "1"},
        {directive::general, 15, 2.0 / 3.0, "0.666666666666667"},
        {directive::general, 15, 0.3, "0.3"},
        {directive::general, 3, 0.0001245, "0.000124"},
        {directive::general, 19, 9007199254740993.0, "9007199254740992"},
        {directive::general, 19, 123456789012345678.0, "123456789012345680"},
        {directive::general, 19, 1.2345678901234567e18, "1234567890123456768"},
        {directive::general, 19, 9999999999999997952.0, "9999999999999997952"},
        {directive::general, 19, 9.999999999999999e18, "1e+19"},
        {directive::general, 2, 0.125, "0.12"},
        {directive::general, 2, 0.375, "0.38"},
        {directive::general, 15, 1.25e14, "125000000000000"},
        {directive::general, 1, 0.5, "0.5"},
        {directive::general, 1, 9.5, "1e+01"},
        {directive::general, 1, 8.5, "8"},
        {directive::general, 1, 7.450580596923828e-9, "7e-09"},
        {directive::general, 15, 5e-324, "4.94065645841247e-324"},
        // Exponent notation.
        {directive::exponent, 2, 1234.5, "1.23e+03"},
        {directive::exponent, 2, 1e-300, "1.00e-300"},
        {directive::exponent, 0, 5, "5e+00"},
        {directive::exponent, 3, 0.0, "0.000e+00"},
        {directive::exponent, 0, -0.0, "-0e+00"},
        {directive::exponent, 1, 9.96, "1.0e+01"},
        {directive::exponent, 20, 1.0 / 3, "3.33333333333333314800e-01"},
        {directive::exponent, 16, 1.7976931348623157e308, "1.7976931348623157e+308"},
    };
    for (const float_case& c : cases) {
        EXPECT_EQ(print(c.kind, c.precision, c.value), c.text)
            << "kind " << static_cast<int>(c.kind) << " precision " << c.precision;
    }
}

// The shortcut of the general form gives the text the digits give, for magnitudes on both
// sides of its range, at every precision, both signs, and buffers too short for it.
TEST(FloatOutput, GeneralShortcutAgreesWithTheDigits) {
    double magnitude = 3.7e-30;
    for (int step = 0; step < 1500; ++step, magnitude *= 1.1117) {
        for (int precision = 0; precision <= 41; ++precision) {
            for (double value : {magnitude, -magnitude, std::nearbyint(magnitude)}) {
                for (std::size_t size : {64, 12}) {
                    char shortcut[64];
                    char digits[64];
                    const std::size_t length = format_general(shortcut, size, precision, value);
                    EXPECT_EQ(length, format_general_by_digits(digits, size, precision, value));
                    EXPECT_STREQ(shortcut, digits) << value << " at " << precision;
                }
            }
        }
    }
}

TEST(FloatOutput, NeverWritesPastTheBufferAndCountsWhatWasStored) {
    for (std::size_t size = 0; size < 12; ++size) {
        char out[16];
        for (char& c : out) c = '#';
        const std::size_t length = format_fixed(out, size, 3, -1234567.5);
        const std::string full = "-1234567.500";
        EXPECT_EQ(length, size == 0 ? 0 : std::min(size - 1, full.size()));
        for (std::size_t i = size; i < sizeof out; ++i) EXPECT_EQ(out[i], '#') << size;
        if (size > 0) {
            EXPECT_EQ(std::string(out), full.substr(0, length));
        }
    }
}

struct integer_case {
    char kind;  // 'x' hexadecimal, 'o' octal, 'd' signed
    std::int64_t value;
    int width;
    const char* text;
};

TEST(IntegerOutput, DigitsOfThePatternWithZeroFill) {
    const integer_case cases[] = {
        {'x', -1, 0, "ffffffffffffffff"},
        {'x', 4024, 0, "fb8"},
        {'x', 0, 0, "0"},
        {'x', 255, 16, "00000000000000ff"},
        {'x', INT64_MIN, 16, "8000000000000000"},
        {'o', 8, 24, "000000000000000000000010"},
        {'o', -1, 24, "001777777777777777777777"},
        {'d', 0, 0, "0"},
        {'d', 7, 2, "07"},
        {'d', -7, 2, "-7"},
        {'d', -7, 3, "-07"},
        {'d', 123, 2, "123"},
        {'d', INT64_MIN, 0, "-9223372036854775808"},
        {'d', INT64_MAX, 2, "9223372036854775807"},
    };
    for (const integer_case& c : cases) {
        char out[64];
        const auto pattern = static_cast<std::uint64_t>(c.value);
        std::size_t length = 0;
        if (c.kind == 'x') length = format_hex(out, sizeof out, pattern, c.width);
        if (c.kind == 'o') length = format_octal(out, sizeof out, pattern, c.width);
        if (c.kind == 'd') length = format_signed(out, sizeof out, c.value, c.width);
        EXPECT_EQ(std::string(out), c.text) << c.kind << ' ' << c.value;
        EXPECT_EQ(length, std::string(c.text).size());
    }
}

TEST(TextBuilder, AssemblesPiecesWithinItsCapacity) {
    char out[10];
    platform::text_builder builder = platform::make_builder(out, sizeof out);
    append_text(builder, "0x");
    append_text(builder, "abcdef", 2);
    append_char(builder, '_');
    builder_advance(builder, format_hex(builder_end(builder), builder_room(builder), 0xfff, 0));
    EXPECT_STREQ(out, "0xab_fff");
    EXPECT_FALSE(builder.cut);
    append_text(builder, "long tail");
    EXPECT_TRUE(builder.cut);
    EXPECT_STREQ(out, "0xab_fffl");
    EXPECT_EQ(builder.length, 9u);
    append_char(builder, 'z');
    EXPECT_EQ(builder.length, 9u);
}

}  // namespace
}  // namespace fexpr::numeric
