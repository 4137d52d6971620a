// The bit-field shift and rotate of the `shift` function, and the bit text it works on.
#pragma once

#include <cstdint>

namespace fexpr::engine {

// One shift descriptor as the operand scanner validated it.
struct shift_descriptor {
    char kind;            // 'l' logical, 'a' arithmetic, 'r' rotate
    char direction;       // 'l' toward higher bit numbers, 'r' toward lower ones
    std::uint8_t start;   // lowest bit of the field, 0 … 62
    std::uint8_t length;  // bits in the field, 2 … 64, start + length <= 64
    std::uint8_t count;   // one-bit steps, 1 … length
};

// Writes the 64 characters '0'/'1' of the two's-complement pattern of `value`, most
// significant bit first, and a NUL into out (at least 65 bytes).
void build_bit_text(std::int64_t value, char* out) noexcept;

// Moves or rotates the bits of the descriptor's field inside the integer view of `value`
// (working on its bit text) and returns the resulting integer as a double.
double shift_bit_field(double value, const shift_descriptor& descriptor) noexcept;

}  // namespace fexpr::engine
