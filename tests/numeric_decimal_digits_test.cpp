// The rounding of doubles to a number of significant digits held as one integer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "numeric/decimal_digits.h"

namespace fexpr::numeric {
namespace {

struct rounding_case {
    double magnitude;
    int wanted;
    std::uint64_t significand;  // 0: the fast rounding declines
    int count;
    int exponent;
};

std::string digits_of(const decimal_integer& number) {
    char buffer[integer_digits_capacity];
    const char* digits = write_integer_digits(buffer, number);
    EXPECT_EQ(digits + number.count, buffer + integer_digits_end);
    return std::string(digits, static_cast<std::size_t>(number.count));
}

// Trailing zeros are divided out at every count of them, a rounding that carries into the
// next power of ten starts over at one digit, ties go to the even neighbour, and the
// magnitudes outside the integer range are declined.
TEST(RoundedInteger, DigitsTrailingZerosAndCarries) {
    const double smallest_normal = std::numeric_limits<double>::min();
    const rounding_case cases[] = {
        {2704.3, 15, 27043, 5, 3},
        {1, 1, 1, 1, 0},
        {1, 19, 1, 1, 0},
        {1e18, 19, 1, 1, 18},
        {1234567890123456768.0, 19, 1234567890123456768ULL, 19, 18},
        {0.1, 19, 1000000000000000056ULL, 19, -1},
        {0.1, 17, 10000000000000001ULL, 17, -1},
        {0.1, 16, 1, 1, -1},
        {999999999999999.9, 15, 1, 1, 15},
        {99999999.5, 8, 1, 1, 8},
        {2.5, 1, 2, 1, 0},
        {3.5, 1, 4, 1, 0},
        {0.125, 2, 12, 2, -1},
        {0.375, 2, 38, 2, -1},
        {1e-12, 15, 1, 1, -12},
        {123456789.0, 15, 123456789, 9, 8},
        {1e16 + 2, 17, 10000000000000002ULL, 17, 16},
        {90817263.54, 10, 9081726354ULL, 10, 7},
        {5e-324, 15, 0, 0, 0},
        {smallest_normal, 15, 0, 0, 0},
        {1e300, 15, 0, 0, 0},
        {1e-20, 15, 0, 0, 0},
        {std::numeric_limits<double>::infinity(), 15, 0, 0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 15, 0, 0, 0},
    };
    for (const rounding_case& c : cases) {
        decimal_integer number{};
        const bool rounded = rounded_integer(c.magnitude, c.wanted, number);
        EXPECT_EQ(rounded, c.significand != 0) << c.magnitude << " to " << c.wanted;
        if (!rounded || c.significand == 0) continue;
        EXPECT_EQ(number.significand, c.significand) << c.magnitude << " to " << c.wanted;
        EXPECT_EQ(number.count, c.count) << c.magnitude << " to " << c.wanted;
        EXPECT_EQ(number.exponent, c.exponent) << c.magnitude << " to " << c.wanted;
        EXPECT_EQ(digits_of(number), std::to_string(c.significand)) << c.magnitude;
    }
}

// Every digit at every place of the eight-digit parts, for every count of digits.
TEST(RoundedInteger, WritesEveryDigitAtEveryPlace) {
    std::uint64_t value = 0;
    for (int count = 1; count <= 19; ++count) {
        value = value * 10 + static_cast<std::uint64_t>((count * 7 + 3) % 9 + 1);
        for (std::uint64_t variant : {value, value - value % 10 + 9, value / 10 * 10 + 1}) {
            const decimal_integer number{variant, count, 0};
            EXPECT_EQ(digits_of(number), std::to_string(variant)) << count;
        }
    }
}

// Over a sweep of typical magnitudes the digits agree with the library's rounding.
TEST(RoundedInteger, AgreesWithTheLibraryOverASweep) {
    double magnitude = 1.2345e-12;
    for (int step = 0; step < 4000; ++step, magnitude *= 1.0173) {
        for (int wanted : {1, 7, 15, 17, 19}) {
            decimal_integer number{};
            if (!rounded_integer(magnitude, wanted, number)) continue;
            char text[64];
            std::snprintf(text, sizeof text, "%.*e", wanted - 1, magnitude);
            std::string expected(1, text[0]);
            expected += std::string(text + 2, static_cast<std::size_t>(wanted - 1));
            while (expected.size() > 1 && expected.back() == '0') expected.pop_back();
            EXPECT_EQ(digits_of(number), expected) << text;
            EXPECT_EQ(number.exponent,
                      std::stoi(std::string(text).substr(text[1] == '.' ? wanted + 2 : 2)))
                << text;
        }
    }
}

}  // namespace
}  // namespace fexpr::numeric
