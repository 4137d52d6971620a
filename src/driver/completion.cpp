// Tab completion at the console: the words of the language that fit before the cursor.
#include "driver/completion.h"

#include <cstring>

#include "engine/evaluator.h"
#include "engine/functions.h"
#include "engine/letters.h"
#include "engine/operand_scanner.h"
#include "engine/operators.h"
#include "engine/prepass.h"
#include "format/layouts.h"
#include "numeric/character_classes.h"
#include "numeric/decimal_input.h"
#include "numeric/text_output.h"

namespace fexpr::driver {
namespace {

using platform::completion_list;

// Where a name may begin: nowhere, anywhere an operand may, or only a function (after a
// group, which Pi may not follow).
enum class name_place { none, any, functions_only };

// The longest stretch before the cursor that is looked at, without its blanks.
constexpr std::size_t stretch_capacity = 128;

bool is_removed(char character) noexcept {
    return character != '\0' && std::strchr(engine::removed_on_entry, character) != nullptr;
}

bool is_name_character(char character) noexcept {
    return numeric::is_letter(character) || numeric::is_decimal_digit(character);
}

// True when `typed` begins `word`, letters compared without regard to case when `any_case`.
bool begins(const char* word, const char* typed, std::size_t length, bool any_case) noexcept {
    for (std::size_t index = 0; index < length; ++index) {
        const char a = any_case ? numeric::lower_case(word[index]) : word[index];
        const char b = any_case ? numeric::lower_case(typed[index]) : typed[index];
        if (word[index] == '\0' || a != b) return false;
    }
    return true;
}

char upper_case(char character) noexcept {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A')
                                                : character;
}

// Adds the word made of the typed characters and the rest of `word` after them, the rest's
// letters in upper case when `upper`.
void add_word(completion_list& list, const char* typed, std::size_t length, const char* word,
              bool upper) noexcept {
    const std::size_t word_length = std::strlen(word);
    if (list.count == platform::completion_capacity ||
        word_length >= platform::completion_word_size || length > word_length) {
        return;
    }
    platform::completion_word& entry = list.words[list.count++];
    std::memcpy(entry.text, typed, length);
    for (std::size_t index = length; index <= word_length; ++index) {
        entry.text[index] = upper ? upper_case(word[index]) : word[index];
    }
    entry.typed = length;
}

/*
 * The names that begin with the typed characters at a place where `place` allows them,
 * added to `list` unless it is nullptr; returns how many there are. The rest follows the
 * case typed: upper case after two or more capitals and no small letter. Where nothing is
 * typed, Pi is written as the language's texts write it.
 */
std::size_t add_names(completion_list* list, const char* typed, std::size_t length,
                      name_place place) noexcept {
    std::size_t capitals = 0;
    bool small = false;
    for (std::size_t index = 0; index < length; ++index) {
        capitals += typed[index] >= 'A' && typed[index] <= 'Z';
        small = small || (typed[index] >= 'a' && typed[index] <= 'z');
    }
    const bool upper = capitals >= 2 && !small;
    const char capitalised_pi[] = {upper_case(engine::pi_name[0]), engine::pi_name[1], '\0'};
    std::size_t count = 0;
    const auto offer = [&](const char* name, bool any_case, bool in_upper) noexcept {
        if (!begins(name, typed, length, any_case)) return;
        ++count;
        if (list != nullptr) add_word(*list, typed, length, name, in_upper);
    };
    for (const char* name : engine::function_names) offer(name, true, upper);
    if (place == name_place::any)
        offer(length == 0 ? capitalised_pi : engine::pi_name, true, upper);
    offer(engine::shift_name, false, false);
    return count;
}

// Whether the character at `position` of the `length` characters before the cursor is read
// as an operator: an operator character, or an 'x' that the pre-pass makes a multiplication
// (never one that the cursor follows: the letters completed there would keep it a letter).
bool is_operator_at(const char* text, std::size_t position, std::size_t length) noexcept {
    const char character = text[position];
    if (character == 'x') {
        return position >= 1 && position + 1 < length && !engine::keeps_x(text, position);
    }
    return engine::class_of(character) != engine::not_an_operator;
}

/*
 * Whether a name may follow the operator at `position`: not when another operator stands
 * before it (operators stuck together; only a number may follow such a sign), nor after the
 * sign of an exponent ("1e-") or of a hexadecimal literal ("0x-"), which read the letters
 * after it as theirs. At the start of the text or of a group only a sign may stand.
 */
bool operand_may_follow(const char* text, std::size_t position, std::size_t length) noexcept {
    const char sign = text[position];
    std::size_t before = position;
    while (before > 0 && is_removed(text[before - 1])) --before;
    if (before == 0 || text[before - 1] == '(') return sign == '+' || sign == '-';
    if (is_operator_at(text, before - 1, length)) return false;
    if (before >= 2 && engine::radix_prefix(text + before - 2) == 'x') return false;
    const bool exponent_sign =
        (sign == '+' || sign == '-') && before == position && position >= 2 &&
        numeric::lower_case(text[position - 1]) == 'e' &&
        (numeric::is_decimal_digit(text[position - 2]) || text[position - 2] == '.');
    return !exponent_sign;
}

// The place for a name after the character before a stretch of operand characters.
name_place place_after(const char* text, std::size_t start, std::size_t length) noexcept {
    if (start == 0) return name_place::any;
    const char before = text[start - 1];
    if (before == ')') return name_place::functions_only;
    if (before == '(') return name_place::any;
    if (is_operator_at(text, start - 1, length) && operand_may_follow(text, start - 1, length)) {
        return name_place::any;
    }
    return name_place::none;
}

// The start of the stretch of letters, digits, points and removed characters that ends at
// `length`; an 'x' that the pre-pass makes a multiplication ends it.
std::size_t stretch_start(const char* text, std::size_t length) noexcept {
    std::size_t start = length;
    while (start > 0) {
        const char character = text[start - 1];
        if (character == 'x' && is_operator_at(text, start - 1, length)) break;
        if (!is_name_character(character) && character != '.' && !is_removed(character)) break;
        --start;
    }
    return start;
}

// The length of the number at the start of `text` as the evaluator reads it, 0 when none.
std::size_t number_length(const char* text) noexcept {
    const char radix = engine::radix_prefix(text);
    const char* end = text;
    if (radix != '\0') {
        engine::radix_literal(text, radix, &end);
    } else {
        end = numeric::scan_number(text).end;
    }
    return static_cast<std::size_t>(end - text);
}

// How the letters of a stretch read: `rest` is what is left after its number and the
// function names the walk took; false when the stretch cannot be read so.
struct stretch_reading {
    std::size_t rest;
    name_place place;
    bool functions_taken;
};

/*
 * Reads a blankless stretch as the evaluator would: a number where it begins with a digit
 * or a point (anything but a letter may not follow a group, and a number not at all), then
 * function names one after the other, as long as the rest begins none of the names.
 * `complete` says whether a rest that begins a name stops the walk.
 */
bool read_stretch(const char* stretch, std::size_t length, name_place place, bool complete,
                  stretch_reading& reading) noexcept {
    reading = {0, place, false};
    std::size_t position = 0;
    if (numeric::is_decimal_digit(stretch[0]) || stretch[0] == '.') {
        position = number_length(stretch);
        if (position == 0 || place != name_place::any) return false;
    }
    while (position < length) {
        if (complete &&
            add_names(nullptr, stretch + position, length - position, reading.place) > 0) {
            break;
        }
        const int found = engine::match_function_name(stretch + position);
        if (found < 0) break;
        position += engine::function_name_lengths.length[found];
        reading.place = name_place::any;
        reading.functions_taken = true;
    }
    reading.rest = position;
    return place != name_place::none;
}

// Copies text[start, end) without its removed characters; false when it does not fit.
bool copy_blankless(const char* text, std::size_t start, std::size_t end,
                    char (&out)[stretch_capacity], std::size_t* length) noexcept {
    std::size_t count = 0;
    for (std::size_t index = start; index < end; ++index) {
        if (is_removed(text[index])) continue;
        if (count + 1 == stretch_capacity) return false;
        out[count++] = text[index];
    }
    out[count] = '\0';
    *length = count;
    return true;
}

/*
 * Drops the words from `first` on that would make the word after the line's last blank a
 * format suffix (":sin", ".5sin", "e1sin"): the line would be split there and the name
 * ignored. Where the last word does not fit the buffer with a word, all of them go.
 */
void drop_names_read_as_suffix(const char* text, std::size_t length, completion_list& list,
                               std::size_t first) noexcept {
    std::size_t blank = length;
    while (blank > 0 && text[blank - 1] != ' ') --blank;
    if (blank == 0) return;
    char last_word[stretch_capacity];
    const std::size_t typed_length = length - blank;
    std::size_t kept = first;
    for (std::size_t index = first; index < list.count; ++index) {
        const platform::completion_word& word = list.words[index];
        const char* continuation = word.text + word.typed;
        const std::size_t rest = std::strlen(continuation);
        if (typed_length + rest >= stretch_capacity) continue;
        std::memcpy(last_word, text + blank, typed_length);
        std::memcpy(last_word + typed_length, continuation, rest + 1);
        if (format::parse_format_suffix(last_word).format != format::layout_default) continue;
        list.words[kept++] = word;
    }
    list.count = kept;
}

// The names that complete the letters right before the cursor, or all of them where an
// operand begins (not after a number or a name, where any name would do).
void add_completed_names(const char* text, std::size_t length, completion_list& list) noexcept {
    std::size_t typed_start = length;
    while (typed_start > 0 && is_name_character(text[typed_start - 1])) --typed_start;
    const std::size_t start = stretch_start(text, length);
    char stretch[stretch_capacity];
    std::size_t stretch_length = 0;
    if (!copy_blankless(text, start, length, stretch, &stretch_length)) return;
    const name_place place = place_after(text, start, length);
    stretch_reading reading{};
    if (!read_stretch(stretch, stretch_length, place, true, reading)) return;
    const std::size_t typed = stretch_length - reading.rest;
    // What is completed must stand together before the cursor.
    if (typed > length - typed_start || (typed == 0 && stretch_length > 0)) return;
    const std::size_t first = list.count;
    add_names(&list, text + length - typed, typed, reading.place);
    drop_names_read_as_suffix(text, length, list, first);
}

/*
 * Whether the text before `end` (blanks before it skipped) ends with a whole operand, so
 * that a format suffix after it leaves an expression: a number, a group, Pi or a unit letter
 * (after a number, a function name or alone), never a function name waiting for its operand.
 */
bool ends_with_operand(const char* text, std::size_t end) noexcept {
    while (end > 0 && is_removed(text[end - 1])) --end;
    if (end == 0) return false;
    if (text[end - 1] == ')') return true;
    std::size_t start = end;
    while (start > 0 && (is_name_character(text[start - 1]) || text[start - 1] == '.')) --start;
    char stretch[stretch_capacity];
    std::size_t length = 0;
    if (start == end || !copy_blankless(text, start, end, stretch, &length)) return false;
    stretch_reading reading{};
    if (!read_stretch(stretch, length, name_place::any, false, reading)) return false;
    const char* rest = stretch + reading.rest;
    const std::size_t rest_length = length - reading.rest;
    if (rest_length == 0) return !reading.functions_taken;
    if (rest_length == 1) return engine::is_unit_set_letter(rest[0]);
    return rest_length == 2 && engine::begins_with_pi(rest);
}

// Adds `word` when it begins with the typed characters and the grammar reads it as `format`.
void add_suffix(completion_list& list, const char* typed, std::size_t length, const char* word,
                format::output_format format, bool any_case) noexcept {
    if (!begins(word, typed, length, any_case)) return;
    if (format::parse_format_suffix(word).format != format) return;
    bool upper = false;
    for (std::size_t index = 0; index < length; ++index) {
        upper = upper || (typed[index] >= 'A' && typed[index] <= 'Z');
    }
    add_word(list, typed, length, word, upper);
}

// The format suffixes that complete the word after the line's last blank.
void add_suffixes(const char* text, std::size_t length, completion_list& list) noexcept {
    std::size_t blank = length;
    while (blank > 0 && text[blank - 1] != ' ') --blank;
    if (blank == 0 || !ends_with_operand(text, blank - 1)) return;
    const char* typed = text + blank;
    const std::size_t typed_length = length - blank;
    for (const format::numbered_suffix& suffix : format::numbered_suffixes) {
        for (int number = suffix.low; number <= suffix.high; ++number) {
            char word[platform::completion_word_size] = {suffix.lead};
            numeric::format_signed(word + 1, sizeof word - 1, number, 0);
            add_suffix(list, typed, typed_length, word, suffix.format, false);
        }
    }
    for (const format::plain_suffix& suffix : format::plain_suffixes) {
        add_suffix(list, typed, typed_length, suffix.text, suffix.format, true);
    }
}

}  // namespace

/*
 * A suffix begun after a blank hides the names that would merely follow it (after "2 x_"
 * every name may stand, as "2 x_sin" multiplies): the word typed is the suffix.
 */
void find_completions(const char* text, std::size_t length, bool at_end,
                      completion_list& list) noexcept {
    list.count = 0;
    add_completed_names(text, length, list);
    const std::size_t names = list.count;
    if (at_end) add_suffixes(text, length, list);
    if (names == list.count || names == 0 || list.words[0].typed > 0 ||
        list.words[names].typed == 0) {
        return;
    }
    std::memmove(list.words, list.words + names, (list.count - names) * sizeof list.words[0]);
    list.count -= names;
}

}  // namespace fexpr::driver
