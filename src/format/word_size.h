// The word size of the integer layouts (--bits) and the exact integer form of the general
// layout (--signed, --unsigned).
#pragma once

#include <cstdint>

#include "engine/prepass.h"
#include "platform/output_stream.h"

namespace fexpr::format {

// How the general layout shows a value: as it always does, or as the integer view read as
// a two's-complement or an unsigned word.
enum class integer_reading { none, signed_word, unsigned_word };

// The state of the word switches: set once from the command line, before any evaluation.
struct word_settings {
    int bits;  // 8, 16, 32 or 64
    integer_reading reading;
};
extern word_settings word_size;

// The low word_size.bits bits of the word `value` shows: the pattern of its integer view;
// under --signed or --unsigned, a value that truncates into [2^63, 2^64) shows that unsigned
// integer exactly, where the view has no room for it.
std::uint64_t word_pattern(double value) noexcept;

// Whether `value` truncates to a signed or an unsigned number of word_size.bits bits. At
// 64 bits every value fits without --signed and --unsigned (the integer layouts show the
// view as always); with one, only those from -2^63 to below 2^64.
bool fits_word(double value) noexcept;

// The number of octal digits the `o` layout shows: enough for the word, in whole groups of
// four (24 for 64 bits).
int octal_digit_count(int bits) noexcept;

// The warnings of an integer layout, after its line: the accuracy warning, then the word
// warning when the value does not fit in the word.
void warn_integer_layout(double value) noexcept;

// The general layout under --signed or --unsigned: the word as an exact decimal integer,
// grouped like the general layout (print_result adds the warnings of an integer layout).
void print_word_decimal(double value, engine::digit_grouping grouping,
                        platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
