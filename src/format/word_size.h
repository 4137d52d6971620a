// The word size of the integer layouts (--bits) and the exact integer form of the general
// layout (--signed, --unsigned).
#pragma once

#include <cstdint>

#include "engine/prepass.h"
#include "format/run_settings.h"
#include "platform/output_stream.h"

namespace fexpr::format {

// The low word.bits bits of the 64-bit pattern of `view`.
std::uint64_t word_pattern(const word_settings& word, std::int64_t view) noexcept;

// Whether `view` is a signed or an unsigned number of word.bits bits.
bool fits_word(const word_settings& word, std::int64_t view) noexcept;

// The number of octal digits the `o` layout shows: enough for the word, in whole groups of
// four (24 for 64 bits).
int octal_digit_count(int bits) noexcept;

// The warnings of an integer layout, after its line: the accuracy warning, then the word
// warning when the view does not fit in a word below 64 bits.
void warn_integer_layout(const word_settings& word, std::int64_t view) noexcept;

// The general layout under --signed or --unsigned: the word as an exact decimal integer,
// grouped like the general layout (print_result adds the warnings of an integer layout).
void print_word_decimal(const word_settings& word, std::int64_t view,
                        engine::digit_grouping grouping, platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
