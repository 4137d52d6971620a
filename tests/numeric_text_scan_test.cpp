// Edge cases of text_to_double, the formatted scans and the radix digit texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "numeric/decimal_input.h"
#include "numeric/text_scan.h"
#include "test_doubles.h"

namespace fexpr::numeric {
namespace {

struct double_case {
    const char* text;
    double value;
    int length;  // characters converted
};

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double largest = std::numeric_limits<double>::max();
constexpr double smallest = std::numeric_limits<double>::denorm_min();

::testing::AssertionResult same_double(double a, double b) {
    return testing::same_value(b, a);
}

TEST(TextToDouble, SyntaxEndPositionAndValue) {
    const double_case cases[] = {
        {"1e3x", 1000, 3},
        {"2e", 2, 1},
        {"2e+", 2, 1},
        {"2E-1", 0.2, 4},
        {"1.5k", 1.5, 3},
        {".5", 0.5, 2},
        {"5.", 5, 2},
        {".", 0, 0},
        {"+.", 0, 0},
        {"-", 0, 0},
        {"", 0, 0},
        {"1.2.3", 1.2, 3},
        {"INF", 0, 0},
        {"+inf", 0, 0},
        {"+INF", inf, 4},
        {"-INFINITY", -inf, 4},
        {"+IN", 0, 0},
        {" \t\n\v\f\r-3", -3, 8},
        {"0x1A", 0, 1},
        {"-0", -0.0, 2},
        {"-0.000e5", -0.0, 8},
        {"1e400", inf, 5},
        {"-1e400", -inf, 6},
        {"1e-400", 0, 6},
        {"-1e-400", -0.0, 7},
        {"000000000000000000000000000001.5", 1.5, 32},
        {"0.00000000000000000000000000000000000000000000000015", 1.5e-49, 52},
        // Only 19 significant digits take part; later digits only shift the exponent.
        {"12345678901234567891", 12345678901234567890.0, 20},
        {"1234567890123456789.9", 1234567890123456789.0, 21},
        {"9007199254740993.0000000001", 9007199254740992.0, 27},  // the tie stays a tie
        // Below the smallest subnormal: nearest, ties to even (2^-1075
        // = 2.4703282292062327209e-324).
        {"4.9406564584124654e-324", smallest, 23},
        {"2.4703282292062328e-324", smallest, 23},
        {"2.4703282292062327e-324", 0, 23},
        {"-2.4703282292062327e-324", -0.0, 24},
        {"2.2250738585072011e-308", 2.2250738585072009e-308, 23},
        // Top binade: truncation toward zero; from 2^1024 on, infinity.
        {"1.7976931348623157e308", std::nextafter(largest, 0.0), 22},  // just below it
        {"1.797693134862315709e308", largest, 24},
        {"1.7976931348623158e308", largest, 22},
        {"1.7976931348623159e308", largest, 22},
        {"1.797693134862315907e308", largest, 24},
        {"1.797693134862315908e308", inf, 24},
        {"-1.797693134862315908e308", -inf, 25},
        {"1.7976931348623156e308", std::nextafter(largest, 0.0), 22},
        {"8.98846567431157953865e307", 8.98846567431157953865e307, 26},  // 2^1023 rounded
        {"8.988465674311579e307", 8.988465674311579e307, 21},            // below 2^1023: nearest
    };
    for (const double_case& c : cases) {
        const char* end = nullptr;
        const double value = text_to_double(c.text, &end);
        EXPECT_TRUE(same_double(value, c.value)) << c.text << " gave " << value;
        EXPECT_EQ(end - c.text, c.length) << c.text;
    }
}

TEST(TextToDouble, NanKeepsItsSign) {
    const char* end = nullptr;
    const double positive = text_to_double("+NAN)", &end);
    EXPECT_TRUE(std::isnan(positive) && !std::signbit(positive));
    EXPECT_STREQ(end, ")");
    const double negative = text_to_double("-NAN", &end);
    EXPECT_TRUE(std::isnan(negative) && std::signbit(negative));
    EXPECT_EQ(text_to_double("NAN", &end), 0);
}

TEST(TextToDouble, LongRunsAndHugeExponentsStayInRange) {
    const struct {
        const char* head;
        char fill;
        const char* tail;
        double value;
    } cases[] = {
        {"1", '0', "", inf},        {"0.", '0', "1", 0}, {"1", '0', "e-200000", 1},
        {"0.", '0', "1e200001", 1}, {"1.", '9', "", 2},  // 19 nines then truncated: 1.999…9 rounds
                                                         // to 2
    };
    for (const auto& c : cases) {
        const std::string text = c.head + std::string(200000, c.fill) + c.tail;
        const char* end = nullptr;
        EXPECT_EQ(text_to_double(text.c_str(), &end), c.value) << c.head << c.tail;
        EXPECT_EQ(end, text.c_str() + text.size());
    }
    const char* end = nullptr;
    EXPECT_EQ(text_to_double("1e999999999999999999999999", &end), inf);
    EXPECT_EQ(text_to_double("1e-99999999999999999999", &end), 0);
    EXPECT_EQ(text_to_double("0e99999999999999999999", &end), 0);
}

struct hex_case {
    const char* text;
    int result;
    std::int64_t value;
    int consumed;
};

TEST(ScanHex, AccumulationSaturationAndPrefix) {
    const hex_case cases[] = {
        {"ff)", 1, 255, 2},
        {"ffffffffffffffff", 1, -1, 16},
        {"fffffffffffffffff", 1, INT64_MAX, 17},
        {"-fffffffffffffffffff", 1, INT64_MIN, 18},
        {"00000000000000000000ff", 1, 255, 22},
        {"8000000000000000", 1, INT64_MIN, 16},
        {" -1", 1, -1, 3},
        {"+0XaB", 1, 0xab, 5},
        {"0x", 1, 0, 1},
        {"0xg", 1, 0, 1},
        {")", 0, 7, 9},
        {"-", 0, 7, 9},
        {" \n", -1, 7, 9},
    };
    for (const hex_case& c : cases) {
        std::int64_t value = 7;
        int consumed = 9;
        EXPECT_EQ(scan_hex(c.text, &value, &consumed), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(consumed, c.consumed) << c.text;
    }
}

struct int_case {
    const char* text;
    int width;
    int result;
    int value;
    int consumed;
};

TEST(ScanInt, WidthCountsTheSignAndValueSaturates) {
    const int_case cases[] = {
        {"15", 0, 1, 15, 2},
        {" -15x", 0, 1, -15, 4},
        {"123", 2, 1, 12, 2},
        {"-12", 2, 1, -1, 2},
        {"  +7", 2, 1, 7, 4},
        {"-5", 1, 0, 3, 4},
        {"99999999999999", 0, 1, 2147483647, 14},
        {"-2147483648", 0, 1, -2147483647 - 1, 11},
        {"-99999999999", 0, 1, -2147483647 - 1, 12},
        {"abc", 0, 0, 3, 4},
        {"   ", 0, -1, 3, 4},
    };
    for (const int_case& c : cases) {
        int value = 3;
        int consumed = 4;
        EXPECT_EQ(scan_int(c.text, c.width, &value, &consumed), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(consumed, c.consumed) << c.text;
    }
}

struct charset_case {
    const char* text;
    const char* set;
    int width;
    int result;
    const char* target;
};

TEST(ScanCharset, RangesWidthsAndNoMatch) {
    const charset_case cases[] = {
        {"0110201", "01", 64, 1, "0110"}, {"01234567", "0-7", 24, 1, "01234567"},
        {"0128", "0-7", 2, 1, "01"},      {"kx", "GKMPTgkmpt", 1, 1, "k"},
        {"-a", "a-", 5, 1, "-a"},         {"x", "lar", 1, 0, "keep"},
        {" 1", "01", 64, 0, "keep"},      {"", "01", 64, -1, "keep"},
        {"\xe9", "a-z", 1, 0, "keep"},
    };
    for (const charset_case& c : cases) {
        char target[80] = "keep";
        int consumed = 42;
        EXPECT_EQ(scan_charset(c.text, c.set, c.width, target, &consumed), c.result) << c.text;
        EXPECT_STREQ(target, c.target) << c.text;
        EXPECT_EQ(consumed, c.result == 1 ? static_cast<int>(std::strlen(c.target)) : 42);
    }
}

struct radix_case {
    const char* text;
    int radix;
    std::int64_t value;
};

TEST(IntegerRadix, ParseModuloTwoToThe64) {
    const std::string ones(64, '1');
    const radix_case cases[] = {
        {"101", 2, 5},
        {"17", 8, 15},
        {ones.c_str(), 2, -1},
        {"", 2, 0},
        {" -101", 2, -5},
        {"1012", 2, 5},
        {"1777777777777777777777", 8, -1},
        {"3777777777777777777777", 8, -1},  // bits above 63 dropped
        {"-1000000000000000000000", 8, INT64_MIN},
        {"zZ", 36, 35 * 36 + 35},
    };
    for (const radix_case& c : cases) {
        EXPECT_EQ(parse_integer_radix(c.text, c.radix), c.value) << c.text;
    }
}

TEST(IntegerRadix, FormatDigitsOfThePattern) {
    char out[72];
    EXPECT_STREQ(format_integer_radix(0, out, 2), "0");
    EXPECT_STREQ(format_integer_radix(5, out, 2), "101");
    EXPECT_STREQ(format_integer_radix(-1, out, 2), std::string(64, '1').c_str());
    EXPECT_STREQ(format_integer_radix(INT64_MIN, out, 16), "8000000000000000");
    EXPECT_STREQ(format_integer_radix(35, out, 36), "z");
    const std::int64_t samples[] = {0, 1, -1, 12345, INT64_MIN, INT64_MAX, -987654321};
    for (int radix = 2; radix <= 36; ++radix) {
        for (const std::int64_t value : samples) {
            EXPECT_EQ(parse_integer_radix(format_integer_radix(value, out, radix), radix), value);
        }
    }
}

}  // namespace
}  // namespace fexpr::numeric
