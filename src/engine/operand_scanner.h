// Reading what stands where the evaluator expects an operand: numbers, radix literals, Pi,
// unit letters, function names and shift descriptors.
#pragma once

#include "engine/level_stacks.h"

namespace fexpr::engine {

// True when the text begins with "Pi", letters compared without regard to case.
bool begins_with_pi(const char* text) noexcept;

// The position in named_functions of the first name the text begins with (case ignored),
// or -1.
int match_function_name(const char* text) noexcept;

// True when the text begins with one of G K M P T g k m p t that does not begin "Pi" or a
// function name.
bool is_unit_letter(const char* text) noexcept;

// Reads Pi, a unit letter, a function name or a shift descriptor at a letter, pushes it
// on the level's stacks and returns the position after it. Ends the evaluation with status
// 1, 2, 3 or 4 when it finds none or when what follows Pi or a unit letter is not allowed.
char* read_letter_operand(level_state& level, char* text) noexcept;

// At a '(' that opens a group of only a decimal number, with a leading sign and a unit letter
// or without ("(2k)", "(+2k)", "(7)", as the pre-pass writes every number that carries a unit
// letter), sets `value` to what the group's level would compute and returns the position
// after its ')'; returns nullptr for a group of any other shape. Pushes nothing.
char* read_simple_group(char* open, double& value) noexcept;

// Reads a decimal number or a hexadecimal, binary or octal literal, pushes it and returns the
// position after it. Ends the evaluation with status 8 when no number stands there.
char* read_number(level_state& level, char* text) noexcept;

}  // namespace fexpr::engine
