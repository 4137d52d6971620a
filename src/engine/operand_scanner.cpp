// The operand scanner: letter dispatch, shift descriptors and number literals.
#include "engine/operand_scanner.h"

#include <cstdint>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/functions.h"
#include "engine/letters.h"
#include "engine/operators.h"
#include "numeric/character_classes.h"
#include "numeric/decimal_input.h"
#include "numeric/math_services.h"
#include "numeric/text_scan.h"

namespace fexpr::engine {
namespace {

// Pi or a unit letter, before it is pushed: status 1 when an operand stands before it.
letter_operand constant_operand(char unit, bool after_operand) noexcept {
    if (after_operand) end_after_operand(unit, status_group_before_constant);
    if (unit == '\0') return letter_operand{numeric::pi, shift_descriptor{}, operand_letter, 2};
    return letter_operand{unit_multiplier(unit), shift_descriptor{}, operand_letter, 1};
}

// The fields of a shift descriptor as scanned, before they are tested.
struct shift_fields {
    char kind;
    char direction;
    int start;
    int second;  // the end bit, or the length in the form with 'l'
    int count;
    int consumed;
};

/*
 * Scans "shift%1[lar]%1[lr]%2d%2d%2d%n" or, with `length_form`, "shift%1[lar]%1[lr]%2dl%2d%2d%n"
 * and returns the number of fields filled (kind, direction and the three numbers). The
 * literal letters match exactly; the letter scans skip nothing, while each "%2d" skips white
 * space and takes at most two characters, a sign included ("-1", "+5").
 */
int scan_shift_fields(const char* text, bool length_form, shift_fields& fields) noexcept {
    if (std::strncmp(text, shift_name, shift_name_length) != 0) return 0;
    int position = shift_name_length;
    int used = 0;
    char letter[2];
    if (numeric::scan_charset(text + position, "lar", 1, letter, &used) != 1) return 0;
    fields.kind = letter[0];
    position += used;
    if (numeric::scan_charset(text + position, "lr", 1, letter, &used) != 1) return 1;
    fields.direction = letter[0];
    position += used;
    if (numeric::scan_int(text + position, 2, &fields.start, &used) != 1) return 2;
    position += used;
    if (length_form) {
        if (text[position] != 'l') return 3;
        ++position;
    }
    if (numeric::scan_int(text + position, 2, &fields.second, &used) != 1) return 3;
    position += used;
    if (numeric::scan_int(text + position, 2, &fields.count, &used) != 1) return 4;
    fields.consumed = position + used;
    return 5;
}

// Tests the scanned fields and turns them into a descriptor; false when they are rejected.
bool make_shift_descriptor(const shift_fields& fields, bool length_form,
                           shift_descriptor& descriptor) noexcept {
    const int start = fields.start;
    if (start < 0 || start > 62) return false;
    int length = 0;
    if (length_form) {
        length = fields.second;
        if (length < 2 || start + length > 64) return false;
    } else {
        if (fields.second < start + 1 || fields.second > 63) return false;
        length = fields.second - start + 1;
    }
    if (fields.count < 1 || fields.count > length) return false;
    descriptor = {fields.kind, fields.direction, static_cast<std::uint8_t>(start),
                  static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(fields.count)};
    return true;
}

// The first form decides alone once it fills all five fields; only otherwise is the form
// with 'l' tried.
letter_operand shift_operand(const char* text) noexcept {
    shift_fields fields{};
    bool length_form = false;
    if (scan_shift_fields(text, false, fields) != 5) {
        length_form = true;
        if (scan_shift_fields(text, true, fields) != 5) {
            end_with_diagnostic(status_unknown_function);
        }
    }
    shift_descriptor descriptor{};
    if (!make_shift_descriptor(fields, length_form, descriptor)) {
        end_with_diagnostic(status_unknown_function);
    }
    return letter_operand{0, descriptor, shift_function_code, fields.consumed};
}

/* The named functions chained by their first two characters (a letter, then a letter or a
 * digit, case ignored; see name_key): for each key the first function whose name begins with
 * them, and for each function the next one with the same key (in the order of the codes, so
 * the first name that matches is still the one found). A name is looked up at every letter
 * that is not a unit, and the chains are short (bench/shape_costs.sh, shape function). */
constexpr int name_key_count = 26 * 36;

// For every character: its value as a digit in radix 36 (a letter in either case from 10
// on), or -1; and the character in lower case. Tables, as the functions on ranges cost a
// dozen branches per name.
struct name_characters {
    signed char value[256];
    char lower[256];
};

constexpr name_characters make_name_characters() noexcept {
    name_characters table{};
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        table.value[code] = static_cast<signed char>(numeric::digit_value(c));
        table.lower[code] = numeric::lower_case(c);
    }
    return table;
}

constexpr name_characters name_character_table = make_name_characters();

constexpr int name_character_value(char c) noexcept {
    return name_character_table.value[static_cast<unsigned char>(c)];
}

// The key of a name's first two characters, or -1 when they cannot begin a name.
constexpr int name_key(char first, char second) noexcept {
    const int letter = name_character_value(first) - 10;
    const int next = name_character_value(second);
    return letter >= 0 && next >= 0 ? letter * 36 + next : -1;
}

struct name_chains {
    signed char first[name_key_count];
    signed char next[named_function_count];
};

constexpr name_chains make_name_chains() noexcept {
    name_chains chains{};
    for (signed char& first : chains.first) first = -1;
    for (int position = named_function_count - 1; position >= 0; --position) {
        const char* name = function_names[position];
        const int key = name_key(name[0], name[1]);
        chains.next[position] = chains.first[key];
        chains.first[key] = static_cast<signed char>(position);
    }
    return chains;
}

constexpr name_chains function_chains = make_name_chains();

// True when the text begins with the lower-case name, letters compared without regard to
// case. Stops at the text's NUL, which matches no letter of a name.
bool begins_with_name(const char* text, const char* name) noexcept {
    for (; *name != '\0'; ++name, ++text) {
        if (name_character_table.lower[static_cast<unsigned char>(*text)] != *name) return false;
    }
    return true;
}

double radix_literal_value(const char* digits, const char* set, int width, int radix,
                           int& consumed) noexcept {
    char text[65] = "";
    consumed = 0;
    numeric::scan_charset(digits, set, width, text, &consumed);
    return static_cast<double>(numeric::parse_integer_radix(text, radix));
}

/* Up to 15 hexadecimal digits, the first not '0' (after which scan_hex would look for a
 * second prefix), hold at most 60 bits: such a literal is read here, where white space, a
 * sign and saturation cannot apply, and scan_hex reads every other, a longer way
 * (bench/shape_costs.sh, shape radix). */
bool read_short_hex(const char* digits, double& value, int& consumed) noexcept {
    constexpr int most = 15;
    if (*digits == '0') return false;
    std::uint64_t pattern = 0;
    int count = 0;
    for (; count <= most; ++count) {
        const int digit = name_character_value(digits[count]);
        if (digit < 0 || digit >= 16) break;
        pattern = pattern * 16 + static_cast<unsigned>(digit);
    }
    if (count == 0 || count > most) return false;
    value = static_cast<double>(static_cast<std::int64_t>(pattern));
    consumed = count;
    return true;
}

}  // namespace

int match_function_name(const char* text) noexcept {
    const int key = name_key(text[0], text[1]);
    if (key < 0) return -1;
    for (int position = function_chains.first[key]; position >= 0;
         position = function_chains.next[position]) {
        if (begins_with_name(text + 2, function_names[position] + 2)) return position;
    }
    return -1;
}

bool is_unit_unless_named(const char* text) noexcept {
    return !begins_with_pi(text) && match_function_name(text) < 0;
}

void end_after_operand(char unit, exit_status status) noexcept {
    if (unit == '\0') end_with_diagnostic(status);
    end_naming_constant(status, unit);
}

letter_operand scan_letter_operand(const char* text, bool after_operand) noexcept {
    const unit_letter_kind kind = unit_kind_of(*text);
    if (kind == always_a_unit) return constant_operand(*text, after_operand);
    if (begins_with_pi(text)) return constant_operand('\0', after_operand);
    const int position = match_function_name(text);
    if (kind == unit_unless_named && position < 0) return constant_operand(*text, after_operand);
    if (position >= 0) {
        return letter_operand{0, shift_descriptor{}, position + first_function_code,
                              function_name_lengths.length[position]};
    }
    return shift_operand(text);
}

void reject_after_constant(const char* text, char unit) noexcept {
    if (numeric::is_letter(*text) && !is_radix_letter(*text)) {
        end_with_diagnostic(status_constants_joined);
    }
    if (*text == '(') end_after_operand(unit, status_group_after_constant);
}

// A prefix without digits is 0 and ends right after the prefix.
double radix_literal(const char* text, char prefix, const char** end) noexcept {
    int consumed = 0;
    double value = 0;
    if (prefix == 'x') {
        if (read_short_hex(text + 2, value, consumed)) {
            *end = text + 2 + consumed;
            return value;
        }
        std::int64_t pattern = 0;
        if (numeric::scan_hex(text + 2, &pattern, &consumed) != 1) consumed = 0;
        value = static_cast<double>(pattern);
    } else if (prefix == 'b') {
        value = radix_literal_value(text + 2, "01", 64, 2, consumed);
    } else {
        value = radix_literal_value(text + 2, "0-7", 24, 8, consumed);
    }
    *end = text + 2 + consumed;
    return value;
}

}  // namespace fexpr::engine
