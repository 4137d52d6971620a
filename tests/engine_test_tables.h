// Table helpers shared by the engine's tests: expressions with their values or diagnostics.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "engine/diagnostics.h"
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

// The messages come from the one table of exit statuses.
inline const char* const pi_after_group = engine::message_of(engine::status_group_before_constant);
inline const char* const joined = engine::message_of(engine::status_constants_joined);
inline const char* const pi_before_group = engine::message_of(engine::status_group_after_constant);
inline const char* const unknown_name = engine::message_of(engine::status_unknown_function);
inline const char* const adhesion = engine::message_of(engine::status_operator_adhesion);
inline const char* const high_together = engine::message_of(engine::status_high_operators_together);
inline const char* const stuck = engine::message_of(engine::status_numbers_stuck);
inline const char* const invalid_character = engine::message_of(engine::status_invalid_character);
inline const char* const incorrect = engine::message_of(engine::status_incorrect);
inline const char* const too_complex = engine::message_of(engine::status_too_complex);

}  // namespace fexpr::testing
