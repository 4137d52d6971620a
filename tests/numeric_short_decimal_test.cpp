// The short-number path of text_to_double and the syntax-only decimal_text_end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "numeric/decimal_input.h"
#include "test_doubles.h"

namespace {

using fexpr::numeric::decimal_text_end;
using fexpr::numeric::text_to_double;

bool same_bits(double a, double b) {
    return fexpr::testing::bits_of(a) == fexpr::testing::bits_of(b);
}

// Texts on both sides of the limits of the exact path (15 significant digits, exponents
// -22 … 22), where one rounding step too many would show, and texts where the number ends
// early or is missing; the value must be what the correctly rounding strtod reads.
TEST(ShortDecimals, ReadAsStrtodReadsThemAndEndWhereTheScanEnds) {
    struct row {
        const char* text;
        int end;  // characters read
    };
    const row rows[] = {
        {"123456789012345", 15},
        {"1234567890123456", 16},
        {"9007199254740993", 16},
        {"999999999999999e22", 18},
        {"999999999999999e23", 18},
        {"1e22", 4},
        {"1e23", 4},
        {"1e-22", 5},
        {"1e-23", 5},
        {"0.1", 3},
        {"0.3", 3},
        {"2.675", 5},
        {"8.589973e9", 10},
        {"000000000000000012.5", 20},
        {"12.50000000000000000", 20},
        {"-0", 2},
        {"-0.0e5", 6},
        {"5.", 2},
        {".5", 2},
        {"1e", 1},
        {"1e+", 1},
        {"  7k", 3},
        {"+.e1", 0},
        {"-", 0},
        {"x", 0},
        {"+(", 0},
        {"-Pi", 0},
        {"+ 5", 0},
        {"++1", 0},
        {"-.", 0},
        {"NAN", 0},
        {"-INFk", 4},
        {"\t-.5", 4},
        {"3.14.15", 4},
        {"+INF", 4},
        {"4.35", 4},
        {"0.0000000000000000000001", 24},
        {"0.00000000000000000000001", 25},
        {"0.000", 5},
        {"007", 3},
        {"1.2.3", 3},
        {"5.e3", 4},
        {"72057594037927937", 17},
        {"0.1e", 3},
        {"3.0E+2)", 6},
        {"12)*3", 2},
        {"0.000001e-16", 12},
        {"123456789012345e-22", 19},
    };
    for (const row& r : rows) {
        const char* end = nullptr;
        const double value = text_to_double(r.text, &end);
        EXPECT_EQ(end - r.text, r.end) << r.text;
        EXPECT_EQ(decimal_text_end(r.text), end) << r.text;
        if (r.end > 0) {
            EXPECT_TRUE(same_bits(value, std::strtod(r.text, nullptr))) << r.text;
        }
    }
}

// Every short number of the exact paths, drawn at random with and without an exponent part,
// reads as strtod reads it.
TEST(ShortDecimals, RandomShortNumbersReadAsStrtod) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        char text[48];
        int length = 0;
        const int digits = 1 + static_cast<int>(random() % 15);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text[length++] = '.';
            text[length++] = static_cast<char>('0' + random() % 10);
        }
        const int exponent = static_cast<int>(random() % 45) - 22;
        if (i % 2 == 0) {
            std::snprintf(text + length, sizeof text - static_cast<unsigned>(length), "e%d",
                          exponent);
        } else {
            text[length] = '\0';  // a plain number, without an exponent part
        }
        const char* end = nullptr;
        const double value = text_to_double(text, &end);
        ASSERT_TRUE(same_bits(value, std::strtod(text, nullptr))) << text;
        ASSERT_EQ(*end, '\0') << text;
        ASSERT_EQ(decimal_text_end(text), end) << text;
    }
}

}  // namespace
