// The binary operators: their classes, their values, and how an operator arriving at a
// level reduces what waits there.
#pragma once

#include "engine/level_stacks.h"
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
// they compute what the evaluator computes for the same text. Inline, so that a reduction
// loads its operands from the value stack and stores the result there directly: called, it
// cost about 50 instructions more per line of bench/instruction_gate.sh (2.5%).
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

// Acts on the binary operator `op` read after an operand: reduces what its class reduces
// and pushes it. Ends the evaluation with status 5 when no operand stands before it and
// with status 6 when it meets another high-class operator.
void act_on_operator(level_state& level, char op) noexcept;

// A '*' acted on without being read, after an operand that something adjoins.
void multiply_implicitly(level_state& level) noexcept;

// Reduces every operator of the level, leaving its value in value_stack[0].
void reduce_all(level_state& level) noexcept;

}  // namespace fexpr::engine
