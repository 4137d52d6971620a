// The pre-pass: grouping mode, the multiplication 'x', and where numbers with unit letters stand.
#include "engine/prepass.h"

#include <cstring>

#include "engine/character_set.h"
#include "engine/letters.h"
#include "engine/unit_groups.h"
#include "numeric/character_classes.h"

namespace fexpr::engine {
namespace {

// Blanks, tabs and group characters, and the NUL that ends the text.
constexpr character_set blank_or_end = make_character_set(removed_on_entry, true);

constexpr bool is_blank(char c) noexcept {
    return c != '\0' && in_set(blank_or_end, c);
}

digit_grouping grouping_of(char first) noexcept {
    if (first == ',') return groups_of_three;
    if (first == '_') return groups_of_four;
    return no_groups;
}

// The characters the pass below stops at: 'x', the unit letters and the blanks (the
// characters the evaluator removes), as a text for strcspn, which the C library runs over
// many characters at a time, and as a table for the characters after the first stop.
struct stop_text {
    char text[16];
};

constexpr stop_text make_stop_text(bool with_units) noexcept {
    stop_text stops{};
    int length = 0;
    stops.text[length++] = 'x';
    if (with_units) {
        for (const unit_letter& unit : unit_letters) stops.text[length++] = unit.letter;
    }
    for (const char* blank = removed_on_entry; *blank != '\0'; ++blank) {
        stops.text[length++] = *blank;
    }
    return stops;
}

constexpr stop_text pass_stops = make_stop_text(true);
static_assert(pass_stops.text[sizeof pass_stops.text - 1] == '\0', "the stop text ends");
constexpr character_set pass_stop_set = make_character_set(pass_stops.text, true);
// Once a unit letter has been seen after a number, the pass looks for no other.
constexpr stop_text pass_stops_after_unit = make_stop_text(false);

// The characters a number that the wrapping reads can end with: digits and the point, the
// 'F' and 'N' of "INF" and "NAN", and the digits and letters of a radix literal. A unit
// letter after any other character is never wrapped.
constexpr character_set number_end_characters =
    make_character_set("0123456789.abcdefABCDEFxXoON", false);

// What the one pass over the text found.
struct text_survey {
    std::size_t length;
    std::size_t first_blank;  // length when the text holds none
    bool unit_after_number;   // a unit letter follows a character a number can end with
};

/*
 * One pass over the text: rewrites each multiplication 'x' from position 1 on (see
 * keeps_x), and notes the length, the first blank and whether a unit letter stands where
 * the wrapping could take it. The text must hold a NUL.
 */
text_survey survey_text(char* text) noexcept {
    text_survey survey{0, 0, false};
    bool blank_seen = false;
    // Most texts hold no stop, and strcspn finds their end at once. Where one stops, the next
    // is often near ("Pi+Pi", "1 + 2"): a loop over the table is cheaper there than a call
    // at each (bench/shape_costs.sh, shapes pi and function).
    char* p = text + std::strcspn(text, pass_stops.text);
    for (;; ++p) {
        if (survey.unit_after_number) {
            p += std::strcspn(p, pass_stops_after_unit.text);
        } else {
            while (!in_set(pass_stop_set, *p)) ++p;
        }
        const char c = *p;
        if (c == '\0') break;
        const std::size_t position = static_cast<std::size_t>(p - text);
        if (c == 'x') {
            if (position > 0 && !keeps_x(text, position)) *p = '*';
        } else if (is_unit_set_letter(c)) {
            if (position > 0 && in_set(number_end_characters, p[-1])) {
                survey.unit_after_number = true;
            }
        } else if (!blank_seen) {
            blank_seen = true;
            survey.first_blank = position;
        }
    }
    survey.length = static_cast<std::size_t>(p - text);
    if (!blank_seen) survey.first_blank = survey.length;
    return survey;
}

}  // namespace

/*
 * An 'x' at position i >= 1 stays when the character before it is a letter other than the
 * ten unit letters, when a letter follows it, or when it ends a hexadecimal prefix: a '0'
 * at the start of the text, or a '0' that does not end a longer number ('0x1F', '(0x10)',
 * '2*0x10' stay; '10x3' is a multiplication). The tests look at the text already rewritten
 * to the left, which working in place from left to right gives.
 */
bool keeps_x(const char* text, std::size_t i) noexcept {
    const char before = text[i - 1];
    if (numeric::is_letter(before) && !is_unit_set_letter(before)) return true;
    if (numeric::is_letter(text[i + 1])) return true;
    if (i == 1 && before == '0') return true;
    return i > 1 && before == '0' && !numeric::is_decimal_digit(text[i - 2]);
}

void remove_blanks(char* text) noexcept {
    char* out = text;
    while (!in_set(blank_or_end, *out)) ++out;
    for (const char* in = out; *in != '\0'; ++in) {
        if (!is_blank(*in)) *out++ = *in;
    }
    *out = '\0';
}

/*
 * Without a unit letter after a number the wrapping would only copy the text and drop its
 * trailing white space, so that is all that is done then; most expressions take this way.
 * The wrapping moves the text and adds no blank, so the removal then starts from the start.
 */
prepared_expression prepare_expression(char* text) noexcept {
    const digit_grouping grouping = grouping_of(text[0]);
    const text_survey survey = survey_text(text);
    std::size_t length = survey.length;
    if (survey.unit_after_number) {
        const std::size_t wrapped = wrap_unit_groups(text, length);
        return {grouping, survey.first_blank < length ? 0 : wrapped};
    }
    while (length > 0 && numeric::is_white_space(text[length - 1])) --length;
    text[length] = '\0';
    return {grouping, survey.first_blank < length ? survey.first_blank : length};
}

}  // namespace fexpr::engine
