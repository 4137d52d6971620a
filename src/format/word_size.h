// The word size of the integer layouts (--bits) and the exact integer form of the general
// layout (--signed, --unsigned).
#pragma once

#include <cstdint>

#include "engine/prepass.h"
#include "format/run_settings.h"
#include "platform/output_stream.h"

namespace fexpr::format {

// The low word.bits bits of the word `value` shows: the pattern of its integer view; under
// --signed or --unsigned, a value that truncates into [2^63, 2^64) shows that unsigned
// integer exactly, where the view has no room for it.
std::uint64_t word_pattern(const word_settings& word, double value) noexcept;

// Whether `value` truncates to a signed or an unsigned number of word.bits bits. At 64 bits
// every value fits without --signed and --unsigned (the integer layouts show the view as
// always); with one, only those from -2^63 to below 2^64.
bool fits_word(const word_settings& word, double value) noexcept;

// The number of octal digits the `o` layout shows: enough for the word, in whole groups of
// four (24 for 64 bits).
int octal_digit_count(int bits) noexcept;

// The warnings of an integer layout, after its line: the accuracy warning, then the word
// warning when the value does not fit in the word.
void warn_integer_layout(const word_settings& word, double value) noexcept;

// The general layout under --signed or --unsigned: the word as an exact decimal integer,
// grouped like the general layout (print_result adds the warnings of an integer layout).
void print_word_decimal(const word_settings& word, double value, engine::digit_grouping grouping,
                        platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
