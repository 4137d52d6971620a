// Turning the text of one expression into a double.
#pragma once

namespace fexpr::engine {

// The characters the evaluator removes from the whole text on entry: blanks, tabs and the
// digit-group marks.
inline constexpr char removed_on_entry[] = " \t,_";

// Evaluates the NUL-terminated, writable text and returns its value; text after the ')'
// that closes the outermost level is not read. A malformed expression does not return: it
// ends the process through end_with_diagnostic.
double evaluate_expression(char* text) noexcept;

}  // namespace fexpr::engine
