// The result layouts: the format-suffix grammar and the nine ways of printing one value.
#pragma once

#include <cstdint>

#include "platform/output_stream.h"

namespace fexpr::format {

// Layout codes, in the order in which the suffix grammar tests for them.
enum output_format : int {
    layout_default = 0,      // no suffix: "%.15lg", grouped
    layout_fixed = 1,        // ".N": N decimals, grouped
    layout_significant = 2,  // "gN": N significant digits, grouped
    layout_scientific = 3,   // "eN": exponent form with N decimals
    layout_hex_grouped = 4,  // "x_": 0x00_00_…
    layout_hex = 5,          // "x": 0x and 16 digits
    layout_binary = 6,       // "b": 0b and 16 groups of four bits
    layout_octal = 7,        // "o": 0o and 6 groups of four digits
    layout_duration = 8,     // ":": days, hours, minutes, seconds and milliseconds
};

// Reads a candidate suffix; returns its layout, or layout_default when it is none. For the
// layouts 1 to 3 it also sets engine::output_precision.
output_format parse_format_suffix(const char* candidate) noexcept;

// Prints `value` as one line in `layout` on `stream`. The integer layouts (4 to 7) are
// followed by the accuracy warning on standard error when it applies.
void print_result(output_format layout, double value, platform::output_stream* stream) noexcept;

// The line of print_result alone, without the warnings on standard error.
void print_layout_line(output_format layout, double value,
                       platform::output_stream* stream) noexcept;

// Whether the general layout shows the integer view as a word (--signed, --unsigned), which
// makes it an integer layout with its warnings.
bool shows_word_decimal() noexcept;

// Prints "Attention: …" on standard error when the hexadecimal digits of the 64-bit pattern
// of `view` are more than a double holds exactly.
void warn_hex_precision(std::int64_t view) noexcept;

// The duration layout: "[-][D ][HH:][MM:]SS.mss", or the default layout beyond 10000 years
// and for a NaN.
void print_duration(double value, platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
