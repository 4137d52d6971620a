// Turning the text of one expression into a double.
#pragma once

#include "engine/prepass.h"

namespace fexpr::engine {

// The characters the evaluator removes from the whole text on entry: blanks, tabs and the
// digit-group marks.
inline constexpr char removed_on_entry[] = " \t,_";

// Evaluates the NUL-terminated, writable text and returns its value; text after the ')'
// that closes the outermost level is not read. A malformed expression does not return: it
// ends the process through end_with_diagnostic.
double evaluate_expression(char* text) noexcept;

// The value of expression_text and the digit groups it asks for: prepare_expression and
// evaluate_expression one after the other, with the blanks removed in the pre-pass's pass
// and groups of one number looked for only where the pre-pass wrapped numbers in them.
// Records no reading: under --explain the two steps run one after the other.
struct expression_value {
    double value;
    digit_grouping grouping;
};
expression_value prepare_and_evaluate() noexcept;

}  // namespace fexpr::engine
