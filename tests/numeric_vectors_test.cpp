// text_to_double over the public float-parsing vectors kept in tests/data/parse-number-fxx.
#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "numeric/text_scan.h"

namespace fexpr::numeric {
namespace {

// The text with every digit after the 19th significant digit replaced by '0': the value
// that takes part in the conversion.
std::string cut_to_19_digits(std::string text) {
    int significant = 0;
    for (char& c : text) {
        if (c == 'e' || c == 'E') break;
        if (c < '0' || c > '9') continue;
        if (significant > 0 || c != '0') ++significant;
        if (significant > 19) c = '0';
    }
    return text;
}

// The expected value by the system's rules: the cut text rounded to nearest by the C
// library; in the top binade truncated toward zero (reading the cut text as an x87 long
// double toward zero and narrowing toward zero truncates once), infinite from 2^1024 on.
double expected_value(const std::string& text) {
    const std::string cut = cut_to_19_digits(text);
    const double nearest = std::strtod(cut.c_str(), nullptr);
    if (std::fabs(nearest) < std::ldexp(1.0, 1023)) return nearest;
    std::fesetround(FE_TOWARDZERO);
    const long double truncated = std::strtold(cut.c_str(), nullptr);
    const long double limit = std::ldexp(1.0L, 1024);
    double result = static_cast<double>(truncated);
    if (std::fabs(truncated) >= limit) result = std::copysign(HUGE_VAL, nearest);
    if (std::fabs(truncated) < std::ldexp(1.0L, 1023)) result = nearest;
    std::fesetround(FE_TONEAREST);
    return result;
}

std::uint64_t bits_of(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(ParseNumberVectors, EveryLineReadsToTheRuleValue) {
    if (LDBL_MANT_DIG != 64) GTEST_SKIP() << "the top-binade oracle needs x87 long double";
    const std::filesystem::path folder = FEXPR_TESTDATA_DIR "/parse-number-fxx";
    std::error_code error;
    ASSERT_TRUE(std::filesystem::is_directory(folder, error)) << folder << " is not there";
    long lines = 0;
    long agreeing_with_f64 = 0;
    int failures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".txt") continue;
        std::ifstream file(entry.path());
        std::string f16, f32, f64, text;
        while (file >> f16 >> f32 >> f64 >> text) {
            ++lines;
            const char* end = nullptr;
            const double value = text_to_double(text.c_str(), &end);
            const double expected = expected_value(text);
            const std::uint64_t f64_bits = std::strtoull(f64.c_str(), nullptr, 16);
            if (bits_of(expected) == f64_bits) ++agreeing_with_f64;
            const bool good =
                bits_of(value) == bits_of(expected) && end == text.c_str() + text.size();
            if (!good && ++failures <= 20) ADD_FAILURE() << entry.path() << ": " << text;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(lines, 50000);
    // Most lines are correctly rounded by the rules too; the others need the 20th digit.
    EXPECT_GT(agreeing_with_f64, lines * 9 / 10);
}

}  // namespace
}  // namespace fexpr::numeric
