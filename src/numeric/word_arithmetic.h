// Arithmetic on 64-bit words shared by the portable x87 arithmetic and the multi-limb
// numbers: the full product of two words, and the leading zero bits of a word.
#pragma once

#include <cstdint>

namespace fexpr::numeric {

/* The 128-bit product of two words as high and low limb. Without a 128-bit integer type
 * (MSVC) the four 32-bit partial products are summed; no carry is lost, since
 * (2^32 - 1)^2 + 2 (2^32 - 1) < 2^64. */
struct wide {
    std::uint64_t high;
    std::uint64_t low;
};

inline wide multiply_words(std::uint64_t a, std::uint64_t b) noexcept {
#if defined(__SIZEOF_INT128__)
    __extension__ typedef unsigned __int128 u128;
    const u128 product = static_cast<u128>(a) * b;
    return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
    const std::uint64_t a_low = a & 0xffffffffU, a_high = a >> 32;
    const std::uint64_t b_low = b & 0xffffffffU, b_high = b >> 32;
    const std::uint64_t low_low = a_low * b_low;
    const std::uint64_t high_low = a_high * b_low;
    const std::uint64_t low_high = a_low * b_high;
    const std::uint64_t middle = (low_low >> 32) + (high_low & 0xffffffffU) + low_high;
    return {a_high * b_high + (high_low >> 32) + (middle >> 32),
            (middle << 32) | (low_low & 0xffffffffU)};
#endif
}

// Leading zero bits of a nonzero word (the portable way by halving the span); usable in
// constant expressions.
constexpr int leading_zeros(std::uint64_t word) noexcept {
#if defined(__GNUC__)
    return __builtin_clzll(word);
#else
    int count = 0;
    for (int step = 32; step > 0; step /= 2) {
        if ((word >> (64 - step)) == 0) {
            word <<= step;
            count += step;
        }
    }
    return count;
#endif
}

}  // namespace fexpr::numeric
