// Turning the text of one expression into a double.
#pragma once

namespace fexpr::engine {

// Evaluates the NUL-terminated, writable text and returns its value; text after the ')'
// that closes the outermost level is not read. A malformed expression does not return: it
// ends the process through end_with_diagnostic.
double evaluate_expression(char* text) noexcept;

// evaluate_expression for a text that holds no blank, tab, ',' or '_' any more, as
// prepare_without_blanks leaves expression_text: the removal on entry is left out.
double evaluate_blankless(char* text) noexcept;

}  // namespace fexpr::engine
