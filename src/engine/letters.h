// The single letters of the language: the unit letters with their multipliers, and the
// radix letters of the literal prefixes "0x", "0b" and "0o".
#pragma once

#include "engine/character_set.h"
#include "engine/functions.h"
#include "numeric/character_classes.h"

namespace fexpr::engine {

struct unit_letter {
    char letter;
    double multiplier;
};

// Powers of ten in lower case, powers of two in upper case.
inline constexpr unit_letter unit_letters[] = {
    {'k', 1e3},
    {'m', 1e6},
    {'g', 1e9},
    {'t', 1e12},
    {'p', 1e15},
    {'K', 1024.0},
    {'M', 1048576.0},
    {'G', 1073741824.0},
    {'T', 1099511627776.0},
    {'P', 1125899906842624.0},
};

// The unit letters and, when `with_end` is true, the NUL and the characters of `others`.
constexpr character_set make_unit_letter_set(const char* others, bool with_end) noexcept {
    character_set set = make_character_set(others, with_end);
    for (const unit_letter& unit : unit_letters) {
        set.member[static_cast<unsigned char>(unit.letter)] = true;
    }
    return set;
}

inline constexpr character_set unit_letter_set = make_unit_letter_set("", false);

// One of the ten unit letters, whatever follows it (is_unit_letter looks at that too).
constexpr bool is_unit_set_letter(char c) noexcept {
    return in_set(unit_letter_set, c);
}

// The constant Pi, whose name is read without regard to case like the function names.
inline constexpr char pi_name[] = "pi";

// What a character is as the first letter of a unit: none; a unit letter wherever it
// stands; or a unit letter unless the text there begins "Pi" or a function name (the
// letters, in either case, that begin one of those: p, P, t and T).
enum unit_letter_kind : unsigned char { not_a_unit, always_a_unit, unit_unless_named };

struct unit_letter_table {
    unit_letter_kind kind[256];
};

constexpr bool begins_a_name(char letter) noexcept {
    const char lower = numeric::lower_case(letter);
    if (pi_name[0] == lower) return true;
    for (const char* name : function_names) {
        if (name[0] == lower) return true;
    }
    return false;
}

constexpr unit_letter_table make_unit_letter_table() noexcept {
    unit_letter_table table{};
    for (const unit_letter& unit : unit_letters) {
        table.kind[static_cast<unsigned char>(unit.letter)] =
            begins_a_name(unit.letter) ? unit_unless_named : always_a_unit;
    }
    return table;
}

inline constexpr unit_letter_table unit_letter_kinds = make_unit_letter_table();

constexpr unit_letter_kind unit_kind_of(char c) noexcept {
    return unit_letter_kinds.kind[static_cast<unsigned char>(c)];
}

struct unit_multiplier_table {
    double multiplier[256];
};

constexpr unit_multiplier_table make_unit_multiplier_table() noexcept {
    unit_multiplier_table table{};
    for (double& multiplier : table.multiplier) multiplier = 1.0;
    for (const unit_letter& unit : unit_letters) {
        table.multiplier[static_cast<unsigned char>(unit.letter)] = unit.multiplier;
    }
    return table;
}

inline constexpr unit_multiplier_table unit_multipliers = make_unit_multiplier_table();

// The multiplier of a unit letter; 1 for any other character. By table rather than a walk
// over the ten letters, at each number with a unit letter (bench/shape_costs.sh, shape unit).
constexpr double unit_multiplier(char letter) noexcept {
    return unit_multipliers.multiplier[static_cast<unsigned char>(letter)];
}

// 'x', 'b' and 'o' in either case: the letters after the '0' of a radix literal.
constexpr bool is_radix_letter(char c) noexcept {
    const char lower = numeric::lower_case(c);
    return lower == 'x' || lower == 'b' || lower == 'o';
}

// The radix letter, in lower case, of a literal prefix at the start of text ("0x", "0B",
// …), or '\0' when none stands there.
constexpr char radix_prefix(const char* text) noexcept {
    return text[0] == '0' && is_radix_letter(text[1]) ? numeric::lower_case(text[1]) : '\0';
}

}  // namespace fexpr::engine
