// Reading what stands where the evaluator expects an operand: numbers, radix literals, Pi,
// unit letters, function names and shift descriptors.
#pragma once

#include "engine/diagnostics.h"
#include "engine/letters.h"
#include "engine/level_stacks.h"
#include "numeric/character_classes.h"
#include "numeric/decimal_input.h"
#include "numeric/math_services.h"

namespace fexpr::engine {

// True when the text begins with "Pi", letters compared without regard to case.
inline bool begins_with_pi(const char* text) noexcept {
    return numeric::lower_case(text[0]) == pi_name[0] && numeric::lower_case(text[1]) == pi_name[1];
}

// The position in named_functions of the first name the text begins with (case ignored),
// or -1.
int match_function_name(const char* text) noexcept;

// is_unit_letter for p, P, t and T, which begin names too.
bool is_unit_unless_named(const char* text) noexcept;

// True when the text begins with one of G K M P T g k m p t that does not begin "Pi" or a
// function name. By the letter's table entry; only p, P, t and T look further, so that the
// pre-pass does not walk the seventeen names at every unit letter (bench/shape_costs.sh,
// shape unit).
inline bool is_unit_letter(const char* text) noexcept {
    const unit_letter_kind kind = unit_kind_of(*text);
    if (kind != unit_unless_named) return kind == always_a_unit;
    return is_unit_unless_named(text);
}

// What a letter begins, read before anything is pushed: Pi or a unit letter (an operand,
// with code operand_letter and its value), or a function name or shift descriptor (its
// function code, with its descriptor for `shift`); and the characters it takes.
struct letter_operand {
    double value;
    shift_descriptor descriptor;
    int code;
    int length;
};
inline constexpr int operand_letter = -1;

// Reads Pi, a unit letter, a function name or a shift descriptor at a letter. Ends the
// evaluation with status 1 when Pi or a unit letter follows an operand (`after_operand`) and
// with status 4 when the letters begin none of them.
letter_operand scan_letter_operand(const char* text, bool after_operand) noexcept;

// Ends the evaluation with `status`, naming the unit letter `unit` ('\0' for Pi).
[[noreturn]] void end_after_operand(char unit, exit_status status) noexcept;

// What may not follow Pi or the unit letter `unit` ('\0' for Pi): status 2 for a letter
// other than a radix letter, which is then read as a letter in its own right, and status 3
// for '('.
void reject_after_constant(const char* text, char unit) noexcept;

/*
 * Reads the letter operand at `text`, pushes it on the level's stacks and returns the
 * position after it (see scan_letter_operand). The checks of what follows Pi or a unit
 * letter come after the push, which may already have applied waiting functions (and
 * reported their math errors). The level itself is handed to no call, so the evaluator
 * keeps it in registers rather than copying it around a call at every letter
 * (bench/shape_costs.sh, shapes pi and function).
 */
inline char* read_letter_operand(level_state& level, char* text) noexcept {
    letter_operand letter{numeric::pi, shift_descriptor{}, operand_letter, 2};
    if (begins_with_pi(text)) {
        if (level.after_operand) end_after_operand('\0', status_group_before_constant);
    } else {
        // A function name never begins with a unit letter that is always one, nor with Pi.
        const int name = match_function_name(text);
        if (name >= 0) {
            push_function_code(level, name + first_function_code, shift_descriptor{});
            return text + function_name_lengths.length[name];
        }
        letter = scan_letter_operand(text, level.after_operand);
    }
    char* after = text + letter.length;
    if (letter.code != operand_letter) {
        push_function_code(level, letter.code, letter.descriptor);
        return after;
    }
    push_operand(level, letter.value);
    level.after_operand = true;
    if (numeric::is_letter(*after) || *after == '(') {
        reject_after_constant(after, letter.length == 1 ? *text : '\0');
    }
    return after;
}

// The value of the hexadecimal, binary or octal literal whose prefix ("0x", "0b", "0o", either
// case) begins the text, with `prefix` its letter in lower case; *end is set after it.
double radix_literal(const char* text, char prefix, const char** end) noexcept;

// Reads a decimal number or a hexadecimal, binary or octal literal, pushes it and returns the
// position after it. A text where no number stands is pushed as 0 (so waiting functions still
// run) before status 8 ends the evaluation. Inline in the evaluator's main loop, which reads
// a number at nearly every operand (bench/instruction_gate.sh, per line).
inline char* read_number(level_state& level, char* text) noexcept {
    const char prefix = radix_prefix(text);
    const char* end = text;
    if (prefix != '\0') {
        push_operand(level, radix_literal(text, prefix, &end));
        return text + (end - text);
    }
    const numeric::scanned_number number = numeric::scan_number(text);
    push_operand(level, number.value);
    if (number.kind == numeric::number_kind::none) end_with_diagnostic(status_invalid_character);
    return text + (number.end - text);
}

}  // namespace fexpr::engine
