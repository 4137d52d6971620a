// The result layouts: the format-suffix grammar and the nine ways of printing one value.
#pragma once

#include <cstdint>

#include "engine/prepass.h"
#include "format/run_settings.h"
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

// The digits of the default layout, and of the others when no suffix gives them.
constexpr int default_precision = 15;

// A layout as a suffix selects it: the N of ".N", "gN" and "eN" comes with it.
struct result_layout {
    output_format format;
    int precision;  // default_precision for the layouts without an N
};

constexpr result_layout default_layout = {layout_default, default_precision};

// The suffixes that carry a number N: their lead character (exact case), the range of N and
// the layout. Tested first, in this order.
struct numbered_suffix {
    char lead;
    int low;
    int high;
    output_format format;
};

inline constexpr numbered_suffix numbered_suffixes[] = {
    {'.', 0, 15, layout_fixed},
    {'g', 1, 15, layout_significant},
    {'e', 0, 15, layout_scientific},
};

// The suffixes of fixed characters, letters in either case; tested after the numbered ones,
// in this order, so that "x_" is found before "x".
struct plain_suffix {
    const char* text;
    output_format format;
};

inline constexpr plain_suffix plain_suffixes[] = {
    {"x_", layout_hex_grouped}, {"x", layout_hex},      {"b", layout_binary},
    {"o", layout_octal},        {":", layout_duration},
};

// Reads a candidate suffix; returns its layout, or default_layout when it is none.
result_layout parse_format_suffix(const char* candidate) noexcept;

// Prints `value` as one line in `layout` on `stream`, its digits grouped as `grouping` says
// in the layouts that group, the integer layouts in the run's word. The integer layouts (4
// to 7) are followed by the accuracy warning on standard error when it applies.
void print_result(const run_settings& run, result_layout layout, engine::digit_grouping grouping,
                  double value, platform::output_stream* stream) noexcept;

// The line of print_result alone, without the warnings on standard error.
void print_layout_line(const run_settings& run, result_layout layout,
                       engine::digit_grouping grouping, double value,
                       platform::output_stream* stream) noexcept;

// Whether the general layout shows the integer view as a word (--signed, --unsigned), which
// makes it an integer layout with its warnings.
bool shows_word_decimal(const run_settings& run) noexcept;

// Prints "Attention: …" on standard error when the hexadecimal digits of the 64-bit pattern
// of `view` are more than a double holds exactly.
void warn_hex_precision(std::int64_t view) noexcept;

// Whether the duration layout shows `value` in the default layout instead: from 10000 years
// on, and for a NaN.
bool duration_falls_back(double value) noexcept;

// The duration layout: "[-][D ][HH:][MM:]SS.mss", or where it falls back the line of the
// default layout (grouped as `grouping` says), without the warnings print_result adds to it.
void print_duration(const run_settings& run, double value, engine::digit_grouping grouping,
                    platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
