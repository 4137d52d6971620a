// Exact comparisons of doubles, shared by every test: bit patterns, signs of zeros and NaNs
// included.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace fexpr::testing {

// The bit pattern of a double.
inline std::uint64_t bits_of(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Equal bit patterns, except that any NaN matches a NaN of the same sign (the payload is not
// behaviour). Reports both values and patterns when they differ.
inline ::testing::AssertionResult same_value(double expected, double actual) {
    const bool match = std::isnan(expected)
                           ? std::isnan(actual) && std::signbit(actual) == std::signbit(expected)
                           : bits_of(actual) == bits_of(expected);
    if (match) return ::testing::AssertionSuccess();
    char text[128];
    std::snprintf(text, sizeof text, "expected %.17g (%016llx), got %.17g (%016llx)", expected,
                  static_cast<unsigned long long>(bits_of(expected)), actual,
                  static_cast<unsigned long long>(bits_of(actual)));
    return ::testing::AssertionFailure() << text;
}

}  // namespace fexpr::testing
