// The value and operator stacks of one parenthesis level, and the pushes onto them.
#pragma once

#include "engine/bit_shift.h"
#include "engine/functions.h"

namespace fexpr::engine {

// Room of each level's stacks; check_stack_depth ends the evaluation before a count
// passes max_stack_count, so entries beyond it are never written.
constexpr int level_stack_entries = 50;
constexpr int max_stack_count = 48;

// One parenthesis level. The arrays point into storage shared by all levels: a level's
// entries start where the enclosing level's entries in use end.
struct level_state {
    double* value_stack;                  // entry 0 is the level's running result
    char* operator_stack;                 // entry 0 is the bottom operator
    shift_descriptor* shift_descriptors;  // parallel to operator_stack
    int value_count;
    // Between the two counts, so that they are never read as one 64-bit word: after two
    // separate stores of them that read would wait for both (a store-forwarding stall), on
    // every operand of every level (bench/bench_engine.cpp, evaluate_short and
    // evaluate_typical).
    bool after_operand;  // the last thing read in this level was a complete operand
    int operator_count;
};

// Ends the evaluation with status 10.
[[noreturn]] void end_too_complex() noexcept;

// Ends the evaluation with status 10 when count is 49 or more. Inline, like the pushes
// below, which run at every operand and operator (bench/instruction_gate.sh, per line).
inline void check_stack_depth(int count) noexcept {
    if (count > max_stack_count) end_too_complex();
}

// True when a function code (below 32, as no operator is) stands on top of the level's
// operator stack, waiting for the operand that is complete now.
inline bool function_waits(const level_state& level) noexcept {
    const int top = level.operator_count - 1;
    return top >= 0 && static_cast<unsigned char>(level.operator_stack[top]) < 32;
}

// Pushes an operand, checks the depth and passes it through the functions waiting for it.
// The level itself is handed to no call, so that the evaluator can keep its fields in
// registers.
inline void push_operand(level_state& level, double value) noexcept {
    level.value_stack[level.value_count] = value;
    ++level.value_count;
    check_stack_depth(level.value_count);
    if (!function_waits(level)) return;
    int count = level.operator_count;
    level.value_stack[level.value_count - 1] =
        apply_pending_functions(value, level.operator_stack, level.shift_descriptors, count);
    level.operator_count = count;
}

// Pushes a function code (with its descriptor for `shift`) and checks the depth.
inline void push_function_code(level_state& level, int code,
                               const shift_descriptor& descriptor) noexcept {
    level.operator_stack[level.operator_count] = static_cast<char>(code);
    level.shift_descriptors[level.operator_count] = descriptor;
    ++level.operator_count;
    check_stack_depth(level.operator_count);
}

}  // namespace fexpr::engine
