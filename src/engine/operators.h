// The binary operators: their classes, their values, and how an operator arriving at a
// level reduces what waits there.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/level_stacks.h"
#include "engine/reading_record.h"
#include "numeric/extended.h"

namespace fexpr::engine {

enum operator_class { not_an_operator, low_class, middle_class, high_class };

constexpr operator_class class_of(char c) noexcept {
    switch (c) {
        case '+':
        case '-':
        case '|':
        case '@':
            return low_class;
        case '*':
        case '/':
        case '%':
        case '&':
        case ':':
            return middle_class;
        case '^':
        case '{':
        case '}':
            return high_class;
        default:
            return not_an_operator;
    }
}

// The value of `a op b` for '%', '^' and the bitwise and shift operators.
double apply_other_operator(char op, double a, double b) noexcept;

// The value of `a op b` for a binary operator of the language; arithmetic runs with the
// extended significand and is stored as double. The line sums of the driver add with it, so
// they compute what the evaluator computes for the same text. Inline, so that a reduction,
// which every operator of every line takes, loads its operands from the value stack and
// stores the result there directly (bench/instruction_gate.sh, per line).
inline double apply_operator(char op, double a, double b) noexcept {
    const numeric::extended x = a;
    const numeric::extended y = b;
    switch (op) {
        case '+':
            return numeric::store(x + y);
        case '-':
            return numeric::store(x - y);
        case '*':
            return numeric::store(x * y);
        case '/':
            return numeric::store(x / y);
        case ':':
            return numeric::store(x * 60 + y);
        default:
            return apply_other_operator(op, a, b);
    }
}

/* A level's bottom operator ('+' or '-') over the 0 it starts with, applied to v: in double
 * arithmetic 0 + v and 0 - v are exact (v or -v, +0 for either zero, a NaN unchanged), so
 * this is what apply_operator computes with the extended significand, without its
 * conversions. */
inline double apply_bottom_over_zero(char bottom, double v) noexcept {
    const double zero = 0.0;
    return bottom == '-' ? zero - v : zero + v;
}

// The arrival rules and reductions below are inline, so that the evaluator's main loop keeps
// a level's counts in registers while it acts on an operator, at every operator of a line
// (bench/instruction_gate.sh, per line). Those with `explained` come
// in two copies: with `explained` true each reduction is also reported to the reading of
// --explain (engine/reading_record.h); the copies without are the ones a run without
// --explain takes.

// Reduces the topmost operator: the two topmost values become one.
template <bool explained>
inline void reduce_top(level_state& level) noexcept {
    --level.operator_count;
    --level.value_count;
    const char op = level.operator_stack[level.operator_count];
    if constexpr (explained) record_reduction(op);
    double& a = level.value_stack[level.value_count - 1];
    a = apply_operator(op, a, level.value_stack[level.value_count]);
}

// Pushes a binary operator and checks the depth.
inline void push_operator(level_state& level, char op) noexcept {
    level.operator_stack[level.operator_count] = op;
    ++level.operator_count;
    check_stack_depth(level.operator_count);
}

inline char top_operator(const level_state& level) noexcept {
    return level.operator_stack[level.operator_count - 1];
}

// True for +0 alone (-0 has its sign bit set).
inline bool is_plus_zero(double x) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits == 0;
}

/* Reduces the bottom operator, the last one left (a level always has one while it is read,
 * and a value on each side of it when it is reduced): the two values become the level's value.
 * While the level's value is still the +0 it starts with, '+' and '-' take the exact double
 * path of apply_bottom_over_zero, at the end of every level (bench/instruction_gate.sh,
 * per line). */
template <bool explained>
inline void reduce_bottom(level_state& level) noexcept {
    level.operator_count = 0;
    level.value_count = 1;
    const char op = level.operator_stack[0];
    if constexpr (explained) record_reduction(op);
    double& a = level.value_stack[0];
    const double b = level.value_stack[1];
    if ((op == '+' || op == '-') && is_plus_zero(a)) {
        a = apply_bottom_over_zero(op, b);
    } else {
        a = apply_operator(op, a, b);
    }
}

// Reduces every operator of the level, leaving its value in value_stack[0].
template <bool explained>
inline void reduce_all(level_state& level) noexcept {
    while (level.operator_count > 1) reduce_top<explained>(level);
    reduce_bottom<explained>(level);
}

// A low-class operator reduces everything, the bottom operator included, and becomes the
// bottom operator.
template <bool explained>
inline void arrive_low(level_state& level, char op) noexcept {
    reduce_all<explained>(level);
    level.operator_stack[0] = op;
    level.operator_count = 1;
    check_stack_depth(level.operator_count);
}

/*
 * A middle-class operator reduces every operator above the bottom that is not of the low
 * class, then is pushed. Over '+', '-', and also over a bottom '|' or '@', it is simply
 * pushed ('1|2*3' is 7). Over a middle-class operator it takes that operator's place. Over a
 * high-class operator it reduces that one and then goes on reducing a middle-class operator
 * below it, so chains stay left to right ('8/2^2/2' is 1) and never pile up.
 */
template <bool explained>
inline void arrive_middle(level_state& level, char op) noexcept {
    while (level.operator_count > 1 && class_of(top_operator(level)) != low_class) {
        reduce_top<explained>(level);
    }
    push_operator(level, op);
}

// A high-class operator is pushed; status 6 when it meets another one.
inline void arrive_high(level_state& level, char op) noexcept {
    if (class_of(top_operator(level)) == high_class) {
        end_with_diagnostic(status_high_operators_together);
    }
    push_operator(level, op);
}

// A '*' acted on without being read, after an operand that something adjoins.
template <bool explained>
inline void multiply_implicitly(level_state& level) noexcept {
    check_stack_depth(level.operator_count + 1);
    arrive_middle<explained>(level, '*');
    level.after_operand = false;
}

// Acts on the binary operator `op` read after an operand: reduces what its class reduces
// and pushes it. Ends the evaluation with status 5 when no operand stands before it and
// with status 6 when it meets another high-class operator.
template <bool explained>
inline void act_on_operator(level_state& level, char op) noexcept {
    if (!level.after_operand) end_with_diagnostic(status_operator_adhesion);
    const operator_class kind = class_of(op);
    if (kind == low_class) {
        arrive_low<explained>(level, op);
    } else if (kind == middle_class) {
        arrive_middle<explained>(level, op);
    } else {
        arrive_high(level, op);
    }
    level.after_operand = false;
}

}  // namespace fexpr::engine
