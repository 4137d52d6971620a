// Turning the text of one expression into a double.
#pragma once

namespace fexpr::engine {

// Rewrites expression_text once before it is evaluated: sets grouping_mode, turns an 'x'
// that stands for multiplication into '*', and wraps every number that carries a unit
// letter in parentheses together with it.
void prepare_expression() noexcept;

// Evaluates the NUL-terminated, writable text and returns its value; *end receives the
// position after the ')' that closed the outermost level, or of the NUL. A malformed
// expression does not return: it ends the process through end_with_diagnostic.
double evaluate_expression(char* text, char** end) noexcept;

// The value of `a op b` for a binary operator of the language; arithmetic runs with the
// extended significand and is stored as double. The line sums of the driver add with it, so
// they compute what the evaluator computes for the same text.
double apply_operator(char op, double a, double b) noexcept;

}  // namespace fexpr::engine
