// The integer view of a double.
#include "numeric/integer_view.h"

#include <cmath>
#include <limits>

namespace fexpr::numeric {

std::int64_t integer_view(double value) noexcept {
    // 2^63 is exactly representable; every double below it in magnitude truncates into range.
    constexpr double limit = 9223372036854775808.0;
    if (!(value > -limit && value < limit)) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::int64_t signed_from_pattern(std::uint64_t pattern) noexcept {
    constexpr std::uint64_t sign_bit = std::uint64_t{1} << 63;
    if ((pattern & sign_bit) == 0) return static_cast<std::int64_t>(pattern);
    // -(2^64 - pattern), computed without overflow.
    return -static_cast<std::int64_t>(~pattern) - 1;
}

}  // namespace fexpr::numeric
