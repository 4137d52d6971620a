// The format-suffix grammar shared by the command line and the interactive mode.
#include "format/layouts.h"
#include "numeric/character_classes.h"
#include "numeric/text_scan.h"

namespace fexpr::format {
namespace {

// True when `text` is `lead` followed by a decimal integer (white space and a sign allowed
// before it, anything after it) from `low` to `high`; the integer goes to *number.
bool lead_and_number(const char* text, char lead, int low, int high, int* number) noexcept {
    if (text[0] != lead) return false;
    int value = 0;
    int consumed = 0;
    if (numeric::scan_int(text + 1, 0, &value, &consumed) != 1) return false;
    if (value < low || value > high) return false;
    *number = value;
    return true;
}

// The letter `lower` in either case.
bool is_letter(char character, char lower) noexcept {
    return numeric::lower_case(character) == lower;
}

}  // namespace

/*
 * The first test that succeeds decides: ".N" (0-15), "gN" (1-15), "eN" (0-15), then "x_",
 * 'x', 'b', 'o' in either case and ':'. 'g' and 'e' count only in lower case. A number out
 * of its range does not match and the later tests still run on the same text (so "e16" is
 * no suffix). Whatever follows the deciding characters is ignored ("b-anything" is binary,
 * ".5abc" is five decimals).
 */
result_layout parse_format_suffix(const char* candidate) noexcept {
    int number = 0;
    if (lead_and_number(candidate, '.', 0, 15, &number)) return {layout_fixed, number};
    if (lead_and_number(candidate, 'g', 1, 15, &number)) return {layout_significant, number};
    if (lead_and_number(candidate, 'e', 0, 15, &number)) return {layout_scientific, number};
    output_format format = layout_default;
    if (is_letter(candidate[0], 'x') && candidate[1] == '_') {
        format = layout_hex_grouped;
    } else if (is_letter(candidate[0], 'x')) {
        format = layout_hex;
    } else if (is_letter(candidate[0], 'b')) {
        format = layout_binary;
    } else if (is_letter(candidate[0], 'o')) {
        format = layout_octal;
    } else if (candidate[0] == ':') {
        format = layout_duration;
    }
    return {format, default_precision};
}

}  // namespace fexpr::format
