// Table helpers shared by the engine's tests: expressions with their values or diagnostics.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "engine_harness.h"

namespace fexpr::testing {

struct value_case {
    const char* expression;
    double value;
};

struct failure_case {
    const char* expression;
    int status;
    const char* message;
};

// Every expression evaluates to exactly its value (bit for bit: signs of zeros included).
template <std::size_t N>
void expect_values(const value_case (&cases)[N]) {
    for (const value_case& c : cases) {
        const engine_run run = run_engine(c.expression);
        EXPECT_FALSE(run.ended) << c.expression << ": " << run.message;
        EXPECT_EQ(bits_of(run.value), bits_of(c.value))
            << c.expression << " gave " << run.value << ", expected " << c.value;
    }
}

// Every expression ends with its status and exactly its message and a newline.
template <std::size_t N>
void expect_failures(const failure_case (&cases)[N]) {
    for (const failure_case& c : cases) {
        const engine_run run = run_engine(c.expression);
        EXPECT_TRUE(run.ended) << c.expression << " gave " << run.value;
        EXPECT_EQ(run.status, c.status) << c.expression;
        EXPECT_EQ(run.message, std::string(c.message) + "\n") << c.expression;
    }
}

constexpr const char* pi_after_group = "Pi encounters a right parenthesis on the left side";
constexpr const char* joined = "Two Pi or K/M/G/T/P are joined";
constexpr const char* pi_before_group = "On the right side of Pi, there is a left parenthesis";
constexpr const char* unknown_name = "Unknown function name";
constexpr const char* adhesion = "Operator adhesion";
constexpr const char* high_together = "Multiplying power ^ or shifting left { or right } together";
constexpr const char* stuck = "Two numbers stuck together";
constexpr const char* invalid_character = "Invalid character";
constexpr const char* incorrect = "The expression is incorrect";
constexpr const char* too_complex =
    "The expression is too complex, causing an internal stack overflow";

}  // namespace fexpr::testing
