// The integer view of every kind of double and the two's-complement pattern conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "numeric/integer_view.h"

namespace fexpr::numeric {
namespace {

TEST(IntegerView, TruncatesTowardZeroOrGivesTheIndefinitePattern) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        std::int64_t view;
    } cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {-0.5, 0},
        {-0.0, 0},
        {4024.0, 4024},
        {9223372036854774784.0, 9223372036854774784},  // largest double below 2^63
        {-9223372036854775808.0, INT64_MIN},           // -2^63 itself is in range
        {9223372036854775808.0, INT64_MIN},            // 2^63 has no view
        {-9223372036854777856.0, INT64_MIN},
        {1e300, INT64_MIN},
        {inf, INT64_MIN},
        {-inf, INT64_MIN},
        {nan, INT64_MIN},
        {-nan, INT64_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(integer_view(c.value), c.view) << c.value;
}

TEST(IntegerView, PatternsConvertBothWays) {
    const std::uint64_t patterns[] = {0,
                                      1,
                                      0x7fffffffffffffffULL,
                                      0x8000000000000000ULL,
                                      0xffffffffffffffffULL,
                                      0xfffffffffffff000ULL};
    for (const std::uint64_t pattern : patterns) {
        EXPECT_EQ(pattern_of(signed_from_pattern(pattern)), pattern);
    }
    EXPECT_EQ(signed_from_pattern(0xffffffffffffffffULL), -1);
    EXPECT_EQ(signed_from_pattern(0x8000000000000000ULL), INT64_MIN);
}

}  // namespace
}  // namespace fexpr::numeric
