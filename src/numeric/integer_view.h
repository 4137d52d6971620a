// The integer view of a double: truncation toward zero to a 64-bit two's-complement integer.
#pragma once

#include <cstdint>

namespace fexpr::numeric {

// Truncates toward zero. A NaN, an infinity or a magnitude of 2^63 or more has no exact view
// and gives -2^63 (the pattern 0x8000000000000000, as x86's truncating conversion does).
std::int64_t integer_view(double value) noexcept;

// Converts a 64-bit pattern to the signed integer it is in two's complement, without
// implementation-defined conversions.
std::int64_t signed_from_pattern(std::uint64_t pattern) noexcept;

// The 64-bit two's-complement pattern of a signed integer.
constexpr std::uint64_t pattern_of(std::int64_t value) noexcept {
    return static_cast<std::uint64_t>(value);
}

}  // namespace fexpr::numeric
