// The unary functions of the expression language and their application to an operand.
#pragma once

#include "engine/bit_shift.h"

namespace fexpr::engine {

// A function with a name of its own and what it computes.
struct named_function {
    const char* name;
    double (*apply)(double x) noexcept;
};

// The named functions in the order that gives their codes: a function's code is its
// position plus first_function_code. On the operator stack a code stands below 32, under
// every binary operator. `shift` has no entry: its descriptor is recognised by its own
// syntax, and it has the code after the last named function.
constexpr int named_function_count = 17;
// The names, in lower case and in the order of the codes; named_functions pairs each with
// its operation. Constant here, so that the unit-letter table of engine/letters.h can tell
// which letters begin a name.
inline constexpr const char* function_names[named_function_count] = {
    "sin", "cos",  "tan",   "sqrt",  "arcsin", "arccos", "arctan", "lg", "ln",
    "exp", "ceil", "floor", "round", "sign",   "abs",    "d2r",    "r2d"};
extern const named_function named_functions[named_function_count];

// The lengths of the names, in the same order.
struct name_lengths {
    unsigned char length[named_function_count];
};

constexpr name_lengths make_name_lengths() noexcept {
    name_lengths lengths{};
    for (int position = 0; position < named_function_count; ++position) {
        while (function_names[position][lengths.length[position]] != '\0') {
            ++lengths.length[position];
        }
    }
    return lengths;
}

inline constexpr name_lengths function_name_lengths = make_name_lengths();
// The name that begins a shift descriptor, in lower case only: unlike the named functions,
// its letters are compared exactly.
inline constexpr char shift_name[] = "shift";
constexpr int shift_name_length = sizeof shift_name - 1;

constexpr int first_function_code = 7;
constexpr int shift_function_code = first_function_code + named_function_count;

// Applies the function codes waiting on top of `operators` (top at count - 1) to `value`,
// the most recently pushed first, lowering `count` for each, and returns the result.
double apply_pending_functions(double value, char* operators, shift_descriptor* descriptors,
                               int& count) noexcept;

// 1 for a positive value, +0 for either zero, -1 for a negative value; a NaN gives itself.
double sign_of(double x) noexcept;

// Rounds x to `places` decimals through its fixed-point text, halves to the even neighbour.
double round_to_places(double x, short places) noexcept;

}  // namespace fexpr::engine
