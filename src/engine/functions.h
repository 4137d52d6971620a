// The unary functions of the expression language and their application to an operand.
#pragma once

#include "engine/bit_shift.h"

namespace fexpr::engine {

// The function names in the order that gives their codes (position + 7), ended by an empty
// entry. `shift` has no entry: its shift specification is recognised by its own syntax.
inline constexpr const char* function_names[] = {
    "sin", "cos",  "tan",   "sqrt",  "arcsin", "arccos", "arctan", "lg",  "ln",
    "exp", "ceil", "floor", "round", "sign",   "abs",    "d2r",    "r2d", nullptr,
};

// The code of the first name of function_names, and of the `shift` function.
constexpr int first_function_code = 7;
constexpr int shift_function_code = 24;

// Applies the function codes waiting on top of `operators` (top at count - 1) to `value`,
// the most recently pushed first, lowering `count` for each, and returns the result.
double apply_pending_functions(double value, char* operators, shift_descriptor* descriptors,
                               int& count) noexcept;

// 1 for a positive value, +0 for either zero, -1 for a negative value; a NaN gives itself.
double sign_of(double x) noexcept;

// Rounds x to `places` decimals through its fixed-point text, halves to the even neighbour.
double round_to_places(double x, short places) noexcept;

}  // namespace fexpr::engine
