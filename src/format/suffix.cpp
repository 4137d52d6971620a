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

// True when `text` begins with the characters of `suffix`, letters in either case.
bool begins_with_suffix(const char* text, const char* suffix) noexcept {
    for (; *suffix != '\0'; ++suffix, ++text) {
        if (numeric::lower_case(*text) != *suffix) return false;
    }
    return true;
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
    for (const numbered_suffix& suffix : numbered_suffixes) {
        if (lead_and_number(candidate, suffix.lead, suffix.low, suffix.high, &number)) {
            return {suffix.format, number};
        }
    }
    for (const plain_suffix& suffix : plain_suffixes) {
        if (begins_with_suffix(candidate, suffix.text)) return {suffix.format, default_precision};
    }
    return default_layout;
}

}  // namespace fexpr::format
