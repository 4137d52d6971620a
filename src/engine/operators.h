// The binary operators: their classes, their values, and how an operator arriving at a
// level reduces what waits there.
#pragma once

#include "engine/level_stacks.h"

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

// The value of `a op b` for a binary operator of the language; arithmetic runs with the
// extended significand and is stored as double. The line sums of the driver add with it, so
// they compute what the evaluator computes for the same text.
double apply_operator(char op, double a, double b) noexcept;

// The three below come in two copies: with `recorded` true each reduction is also reported
// to the reading of --explain (engine/reading_record.h); the copies without are the ones a
// run without --explain takes.

// Acts on the binary operator `op` read after an operand: reduces what its class reduces
// and pushes it. Ends the evaluation with status 5 when no operand stands before it and
// with status 6 when it meets another high-class operator.
template <bool recorded>
void act_on_operator(level_state& level, char op) noexcept;

// A '*' acted on without being read, after an operand that something adjoins.
template <bool recorded>
void multiply_implicitly(level_state& level) noexcept;

// Reduces every operator of the level, leaving its value in value_stack[0].
template <bool recorded>
void reduce_all(level_state& level) noexcept;

}  // namespace fexpr::engine
