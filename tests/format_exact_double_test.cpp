// Seeded property of the shortest text of --exact, over random doubles of every binade: the
// number reader and the C library's correctly rounding strtod both read it back, no text with
// fewer digits does, and it has the digits std::to_chars finds outside the top binade.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "format/exact_double.h"
#include "numeric/decimal_input.h"
#include "test_doubles.h"

namespace fexpr::format {
namespace {

using testing::bits_of;

bool both_read_back(const char* text, double value) {
    const char* end = nullptr;
    return bits_of(std::strtod(text, nullptr)) == bits_of(value) &&
           bits_of(numeric::text_to_double(text, &end)) == bits_of(value);
}

// Significant digits of a number text, from the first nonzero digit to the last one, the
// exponent part left out.
int significant_digits_of(const char* text) {
    int count = 0;
    int pending_zeros = 0;
    for (const char* p = text; *p != '\0' && *p != 'e'; ++p) {
        if (*p == '0' && count > 0) ++pending_zeros;
        if (*p < '1' || *p > '9') continue;
        count += pending_zeros + 1;
        pending_zeros = 0;
    }
    return count;
}

int to_chars_digits(double value) {
    char text[64];
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::scientific);
    *result.ptr = '\0';
    return significant_digits_of(text);
}

/*
 * No text of `digits` significant digits reads back by both readers: of those that read back
 * by strtod, the nearest to the value or its neighbour would, so the five around the
 * library's "%.*e" digits are tried.
 */
bool none_of_length_reads_back(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    long long mantissa = 0;
    for (const char* p = text; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') mantissa = mantissa * 10 + (*p - '0');
    }
    const int exponent = std::atoi(std::strchr(text, 'e') + 1) - (digits - 1);
    for (long long step = -2; step <= 2; ++step) {
        std::snprintf(text, sizeof text, "%s%llde%d", value < 0 ? "-" : "", mantissa + step,
                      exponent);
        if (both_read_back(text, value)) return false;
    }
    return true;
}

struct shortest_tally {
    int values = 0;
    int longer_than_to_chars = 0;  // top binade only
    int eighteen_digits = 0;
};

void check_shortest(double value, shortest_tally& tally) {
    char text[64];
    format_shortest(text, sizeof text, value);
    ++tally.values;
    ASSERT_TRUE(both_read_back(text, value)) << text;
    const int digits = significant_digits_of(text);
    const int reference = to_chars_digits(value);
    char library[64];
    std::snprintf(library, sizeof library, "%.*g", digits, value);
    // The nearest text of that length, in the form of "%.*lg", when it reads back.
    if (both_read_back(library, value)) {
        EXPECT_STREQ(text, library);
    }
    if (std::fabs(value) < 0x1p1023) {
        ASSERT_EQ(digits, reference) << text;
        return;
    }
    ASSERT_GE(digits, reference) << text;
    ASSERT_LE(digits, 18) << text;
    tally.longer_than_to_chars += digits > reference;
    tally.eighteen_digits += digits == 18;
    if (digits > 1) {
        EXPECT_TRUE(none_of_length_reads_back(value, digits - 1)) << text;
    }
}

double from_fields(std::uint64_t sign, std::uint64_t biased_exponent, std::uint64_t fraction) {
    const std::uint64_t bits = sign << 63 | biased_exponent << 52 | (fraction & 0xfffffffffffff);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(ExactDoubleProperties, ShortestReadsBackByBothReadersAndNothingShorterDoes) {
    std::mt19937_64 random(2112);
    shortest_tally tally;
    // Every binade, the subnormals' (0) included; then the top binade, where the number
    // reader truncates, many times over; then every power of two.
    for (std::uint64_t biased = 0; biased <= 2046; ++biased) {
        for (int round = 0; round < 20; ++round) {
            const double value = from_fields(random() & 1, biased, random());
            if (value != 0) check_shortest(value, tally);
        }
    }
    for (int round = 0; round < 20000; ++round) {
        check_shortest(from_fields(random() & 1, 2046, random()), tally);
    }
    for (int exponent = -1074; exponent <= 1023; ++exponent) {
        check_shortest(std::ldexp(1.0, exponent), tally);
    }
    std::printf(
        "[ property ] %d doubles; in the top binade %d longer than to_chars, %d of 18 "
        "digits\n",
        tally.values, tally.longer_than_to_chars, tally.eighteen_digits);
    EXPECT_GT(tally.longer_than_to_chars, 0);
}

struct exact_text_case {
    double value;
    const char* shortest;
    const char* hex;
};

// The nearest text of the shortest length that does not read back while its neighbour does
// (2^-24), the top binade, where the number reader asks for more digits than strtod, and the
// forms of "%.*lg" and "%a".
TEST(ExactDoubleProperties, ShortestAndHexTexts) {
    const exact_text_case cases[] = {
        {0x1p-24, "5.960464477539063e-08", "0x1p-24"},
        {0x1.ffffffffffffep+1023, "1.7976931348623156e+308", "0x1.ffffffffffffep+1023"},
        {0x1.fffffffffffffp+1023, "1.7976931348623158e+308", "0x1.fffffffffffffp+1023"},
        {0x1p1023, "8.98846567431158e+307", "0x1p+1023"},
        {0.1, "0.1", "0x1.999999999999ap-4"},
        {1.0, "1", "0x1p+0"},
        {-2.5, "-2.5", "-0x1.4p+1"},
        {-0.0, "-0", "-0x0p+0"},
        {0x1p-1074, "5e-324", "0x0.0000000000001p-1022"},
        {100, "1e+02", "0x1.9p+6"},
        {0.0001, "0.0001", "0x1.a36e2eb1c432dp-14"},
        {123456789012.0, "123456789012", "0x1.cbe991a14p+36"},
    };
    for (const exact_text_case& row : cases) {
        char text[64];
        format_shortest(text, sizeof text, row.value);
        EXPECT_STREQ(text, row.shortest);
        format_hex_float(text, sizeof text, row.value);
        EXPECT_STREQ(text, row.hex);
    }
}

}  // namespace
}  // namespace fexpr::format
