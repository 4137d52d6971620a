// scan_number: the plain path and the general one, where each ends and what each reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "numeric/decimal_input.h"
#include "test_doubles.h"

namespace {

using fexpr::numeric::number_kind;
using fexpr::numeric::scan_number;
using fexpr::numeric::scanned_number;
constexpr number_kind none = number_kind::none;
constexpr number_kind plain = number_kind::plain;
constexpr number_kind general = number_kind::general;

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
        number_kind kind;
    };
    const row rows[] = {
        {"123456789012345", 15, plain},
        {"1234567890123456", 16, general},
        {"9007199254740993", 16, general},
        {"999999999999999e22", 18, general},
        {"999999999999999e23", 18, general},
        {"1e22", 4, general},
        {"1e23", 4, general},
        {"1e-22", 5, general},
        {"1e-23", 5, general},
        {"0.1", 3, plain},
        {"0.3", 3, plain},
        {"2.675", 5, plain},
        {"8.589973e9", 10, general},
        {"000000000000000012.5", 20, general},
        {"12.50000000000000000", 20, general},
        {"-0", 2, general},
        {"-0.0e5", 6, general},
        {"5.", 2, plain},
        {".5", 2, plain},
        {"1e", 1, general},
        {"1e+", 1, general},
        {"  7k", 3, general},
        {"+.e1", 0, none},
        {"-", 0, none},
        {"x", 0, none},
        {"+(", 0, none},
        {"-Pi", 0, none},
        {"+ 5", 0, none},
        {"++1", 0, none},
        {"-.", 0, none},
        {"NAN", 0, none},
        {"-INFk", 4, general},
        {"\t-.5", 4, general},
        {"3.14.15", 4, plain},
        {"+INF", 4, general},
        {"4.35", 4, plain},
        {"0.0000000000000000000001", 24, general},
        {"0.00000000000000000000001", 25, general},
        {"0.000", 5, plain},
        {"007", 3, plain},
        {"1.2.3", 3, plain},
        {"5.e3", 4, general},
        {"72057594037927937", 17, general},
        {"0.1e", 3, general},
        {"3.0E+2)", 6, general},
        {"12)*3", 2, plain},
        {"0.000001e-16", 12, general},
        {"123456789012345e-22", 19, general},
    };
    for (const row& r : rows) {
        const scanned_number number = scan_number(r.text);
        EXPECT_EQ(number.end - r.text, r.end) << r.text;
        EXPECT_EQ(number.kind, r.kind) << r.text;
        if (r.end > 0) {
            EXPECT_TRUE(same_bits(number.value, std::strtod(r.text, nullptr))) << r.text;
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
        const scanned_number number = scan_number(text);
        ASSERT_TRUE(same_bits(number.value, std::strtod(text, nullptr))) << text;
        ASSERT_EQ(*number.end, '\0') << text;
        ASSERT_EQ(number.kind, i % 2 == 0 ? general : plain) << text;
    }
}

// Short numbers after white space or a sign, as the pre-pass reads them at every signed number
// with a unit letter, are general numbers that read as strtod reads them; a letter after one
// ends it.
TEST(ShortDecimals, RandomSignedShortNumbersReadAsStrtod) {
    const char* const leads[] = {"+", "-", " ", "\t-", " +", "\v", "-0", "+0"};
    std::mt19937_64 random(20261210);
    for (int i = 0; i < 100000; ++i) {
        char text[48];
        int length = std::snprintf(text, sizeof text, "%s", leads[random() % 8]);
        const int digits = 1 + static_cast<int>(random() % 15);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 2));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text[length++] = '.';
            text[length++] = static_cast<char>('0' + random() % 10);
        }
        text[length] = 'k';
        text[length + 1] = '\0';
        const scanned_number number = scan_number(text);
        ASSERT_TRUE(same_bits(number.value, std::strtod(text, nullptr))) << text;
        ASSERT_EQ(number.end, text + length) << text;
        ASSERT_EQ(number.kind, general) << text;
    }
}

}  // namespace
