// Reading what stands where the evaluator expects an operand: numbers, radix literals, Pi,
// unit letters, function names and shift descriptors.
#pragma once

#include "engine/diagnostics.h"
#include "engine/letters.h"
#include "engine/level_stacks.h"
#include "numeric/character_classes.h"
#include "numeric/decimal_input.h"

namespace fexpr::engine {

// True when the text begins with "Pi", letters compared without regard to case.
inline bool begins_with_pi(const char* text) noexcept {
    return numeric::lower_case(text[0]) == pi_name[0] && numeric::lower_case(text[1]) == pi_name[1];
}

// Reads the Pi the text begins with, pushes it and returns the position after it. Ends the
// evaluation with status 1, 2 or 3 when what stands around it is not allowed.
char* read_pi(level_state& level, char* text) noexcept;

// The position in named_functions of the first name the text begins with (case ignored),
// or -1.
int match_function_name(const char* text) noexcept;

// is_unit_letter for p, P, t and T, which begin names too.
bool is_unit_unless_named(const char* text) noexcept;

// True when the text begins with one of G K M P T g k m p t that does not begin "Pi" or a
// function name. By the letter's table entry; only p, P, t and T look further. Walking the
// seventeen names at every unit letter made the shape unit of bench/shape_costs.sh cost
// about 10 instructions per character more.
inline bool is_unit_letter(const char* text) noexcept {
    const unit_letter_kind kind = unit_kind_of(*text);
    if (kind != unit_unless_named) return kind == always_a_unit;
    return is_unit_unless_named(text);
}

// Reads Pi, a unit letter, a function name or a shift descriptor at a letter, pushes it
// on the level's stacks and returns the position after it. Ends the evaluation with status
// 1, 2, 3 or 4 when it finds none or when what follows Pi or a unit letter is not allowed.
char* read_letter_operand(level_state& level, char* text) noexcept;

// At a '(' that opens a group of only a decimal number, with a leading sign and a unit letter
// or without ("(2k)", "(+2k)", "(7)", as the pre-pass writes every number that carries a unit
// letter), sets `value` to what the group's level would compute and returns the position
// after its ')'; returns nullptr for a group of any other shape. Pushes nothing.
char* read_simple_group(char* open, double& value) noexcept;

// The value of the group of one decimal number with the bottom operator `bottom` ('+' or
// '-') and the unit letter `unit` ('\0' for none): the number read at `number` (*end set after
// it), multiplied by the letter's multiplier, under the bottom operator over 0.
double unit_group_value(char bottom, const char* number, char unit, const char** end) noexcept;

// The value of the hexadecimal, binary or octal literal whose prefix ("0x", "0b", "0o", either
// case) begins the text, with `prefix` its letter in lower case; *end is set after it.
double radix_literal(const char* text, char prefix, const char** end) noexcept;

// Reads a decimal number or a hexadecimal, binary or octal literal, pushes it and returns the
// position after it. A text where no number stands is pushed as 0 (so waiting functions still
// run) before status 8 ends the evaluation. Inline in the evaluator's main loop: as a call
// it cost about 65 instructions more per line of bench/instruction_gate.sh (3.5%).
inline char* read_number(level_state& level, char* text) noexcept {
    const char prefix = radix_prefix(text);
    const char* end = text;
    if (prefix != '\0') {
        push_operand(level, radix_literal(text, prefix, &end));
        return text + (end - text);
    }
    const double value = numeric::text_to_double(text, &end);
    push_operand(level, value);
    if (end == text) end_with_diagnostic(status_invalid_character);
    return text + (end - text);
}

}  // namespace fexpr::engine
