// Seeded differential tests of the numeric texts against the C library where the two agree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "numeric/decimal_input.h"
#include "numeric/text_output.h"
#include "numeric/text_scan.h"

namespace fexpr::numeric {
namespace {

constexpr int draws = 300000;

// A finite double from random bits; `low`/`high` bound the biased binary exponent.
double random_double(std::mt19937_64& random, int low, int high) {
    std::uint64_t bits = random();
    const auto exponent =
        static_cast<std::uint64_t>(std::uniform_int_distribution<int>(low, high)(random));
    bits = (bits & 0x800fffffffffffffULL) | (exponent << 52);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string library_text(const char* format, int precision, double value) {
    char text[512];
    std::snprintf(text, sizeof text, format, precision, value);
    return text;
}

bool in_top_binade(double value) {
    return std::fabs(value) >= std::ldexp(1.0, 1023);
}

// Significant digits in a positional text (leading zeros, sign and point not counted).
int significant_digits_of(const std::string& text) {
    int count = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9' && (count > 0 || c != '0')) ++count;
    }
    return count;
}

TEST(Differential, ExponentAndGeneralTextsEqualTheLibrary) {
    std::mt19937_64 random(20240601);
    char out[128];
    for (int i = 0; i < draws; ++i) {
        const double value = random_double(random, 0, 2046);  // subnormals included
        const int precision = static_cast<int>(random() % 19);
        format_exponent(out, sizeof out, precision, value);
        ASSERT_EQ(out, library_text("%.*e", precision, value)) << precision << ' ' << value;
        format_general(out, sizeof out, 15, value);
        ASSERT_EQ(out, library_text("%.*g", 15, value)) << value;
        const int digits = 1 + static_cast<int>(random() % 19);
        format_general(out, sizeof out, digits, value);
        ASSERT_EQ(out, library_text("%.*g", digits, value)) << digits << ' ' << value;
    }
}

TEST(Differential, FixedTextsEqualTheLibraryUpTo19Digits) {
    std::mt19937_64 random(77);
    char out[128];
    int compared = 0;
    for (int i = 0; i < draws; ++i) {
        // Every other value is a short dyadic fraction, whose digits end in exact ties.
        const double value = i % 2 == 0 ? random_double(random, 1023 - 70, 1023 + 70)
                                        : std::ldexp(static_cast<double>(random() % 100000),
                                                     -static_cast<int>(random() % 24));
        const int precision = static_cast<int>(random() % 19);
        const std::string expected = library_text("%.*f", precision, value);
        if (significant_digits_of(expected) > 19) continue;
        ++compared;
        format_fixed(out, sizeof out, precision, value);
        ASSERT_EQ(out, expected) << precision << ' ' << value;
        format_exponent(out, sizeof out, precision, value);
        ASSERT_EQ(out, library_text("%.*e", precision, value)) << precision << ' ' << value;
    }
    EXPECT_GT(compared, draws / 3);
}

// A value where results of typical expressions lie (about 10^-30 … 10^20): random bits,
// a short decimal as strtod reads it, or a short dyadic fraction whose digits end in an
// exact tie. These are the magnitudes whose digits are computed in integers.
double typical_double(std::mt19937_64& random) {
    const int kind = static_cast<int>(random() % 3);
    if (kind == 0) return random_double(random, 1023 - 100, 1023 + 66);
    if (kind == 1) {
        char text[48];
        std::snprintf(text, sizeof text, "%llue%d",
                      static_cast<unsigned long long>(random() % 100000000000ULL),
                      static_cast<int>(random() % 40) - 28);
        return std::strtod(text, nullptr);
    }
    return std::ldexp(static_cast<double>(random() % 10000000), -static_cast<int>(random() % 40));
}

TEST(Differential, TypicalMagnitudesEqualTheLibraryAtEveryPrecision) {
    std::mt19937_64 random(20261208);
    char out[128];
    for (int i = 0; i < draws; ++i) {
        const double value = (random() % 2 == 0 ? 1 : -1) * typical_double(random);
        const int digits = 1 + static_cast<int>(random() % 19);
        format_general(out, sizeof out, digits, value);
        ASSERT_EQ(out, library_text("%.*g", digits, value)) << digits << ' ' << value;
        format_general(out, sizeof out, 15, value);
        ASSERT_EQ(out, library_text("%.*g", 15, value)) << value;
        format_exponent(out, sizeof out, digits - 1, value);
        ASSERT_EQ(out, library_text("%.*e", digits - 1, value)) << digits << ' ' << value;
        const std::string fixed = library_text("%.*f", digits - 1, value);
        if (significant_digits_of(fixed) > 19) continue;
        format_fixed(out, sizeof out, digits - 1, value);
        ASSERT_EQ(out, fixed) << digits << ' ' << value;
    }
}

// Outside the top binade, where the system truncates, texts of at most 19 significant
// digits read exactly as the C library's correctly rounding strtod reads them.
TEST(Differential, ShortTextsReadAsStrtodReadsThem) {
    std::mt19937_64 random(4711);
    for (int i = 0; i < draws; ++i) {
        char text[64];
        int length = 0;
        if (random() % 2 == 0) text[length++] = '-';
        const int digits = 1 + static_cast<int>(random() % 19);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text[length++] = '.';
            text[length++] = static_cast<char>('0' + random() % 10);
        }
        const int exponent = static_cast<int>(random() % 680) - 345;
        std::snprintf(text + length, sizeof text - static_cast<unsigned>(length), "e%d", exponent);
        const double expected = std::strtod(text, nullptr);
        if (std::isinf(expected) || in_top_binade(expected)) continue;
        const char* end = nullptr;
        const double value = text_to_double(text, &end);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
        ASSERT_EQ(*end, '\0') << text;
    }
}

// "%.*le" with 16 decimals reads back to the same double; "%.*lf" texts read back to what
// strtod makes of them. The top binade is left out: truncation there reads a text that was
// rounded down as the double below.
TEST(Differential, PrintedTextsReadBack) {
    std::mt19937_64 random(99);
    char out[128];
    for (int i = 0; i < draws; ++i) {
        const double value = random_double(random, 0, 2045);
        const std::size_t length = format_exponent(out, sizeof out, 16, value);
        scanned_number read = scan_number(out);
        ASSERT_EQ(std::memcmp(&read.value, &value, sizeof value), 0) << out;
        ASSERT_EQ(read.end, out + length);

        const double moderate = random_double(random, 1023 - 160, 1023 + 160);
        format_fixed(out, sizeof out, static_cast<int>(random() % 16), moderate);
        const double expected = std::strtod(out, nullptr);
        read = scan_number(out);
        ASSERT_NE(read.kind, number_kind::none);
        ASSERT_EQ(std::memcmp(&read.value, &expected, sizeof expected), 0) << out;
    }
}

}  // namespace
}  // namespace fexpr::numeric
