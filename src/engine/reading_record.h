// The record of how the evaluator read one expression (--explain): the evaluator reports each
// step it takes to the hooks below while it computes the value, so the explanation is the
// reading that gave the value, never a second parse that could disagree with it.
//
// A run without --explain pays for this once per expression and once per function applied:
// evaluate_text tests the reading it is given and then runs one of two copies of the
// evaluation and of the operator reductions (template parameter `explained`); only the
// explained copies hold the hooks, and read every group as a level of its own. The hooks, and
// the only places they stand:
//   the evaluation, on entry: record_text, before the blanks are removed;
//   its main loop (explained copy): note_position for every token; record_level for the
//     outermost level and after every '('; record_operand before a number is read, and
//     before a letter, withdrawn (withdraw_operand) when the letter pushed no operand;
//   reduce_top (operators, explained copy): record_reduction for every operator applied;
//   apply_pending_functions (functions): record_function for every function applied, a
//     test of active_reading;
//   end_with_text (diagnostics): report_stopped_reading (engine/reading_report.h), before the
//     diagnostic is printed.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/bit_shift.h"
#include "engine/text_buffers.h"

namespace fexpr::engine {

// One step of the reading, in the order the evaluator took them. Together they are the
// expression in postfix order: levels and operands push, reductions and functions combine.
enum class reading_step : std::uint8_t {
    level,      // a level began: its running result 0 and its bottom operator
    operand,    // a number, Pi or a unit letter; its characters are [start, start + length)
    reduction,  // the binary operator `symbol` applied to the two topmost values
    function,   // the function with code `symbol` (for shift with the descriptor `shift`)
};

struct reading_event {
    reading_step step;
    char symbol;             // the operator or the function code
    bool negative_zero;      // a function's result was -0
    shift_descriptor shift;  // for the shift function
    std::int32_t start;      // operand: offset in the text without blanks
    std::int32_t length;     // operand: characters; -1 until the next token begins
};

// open_event when every operand read so far has its length.
constexpr std::size_t no_open_event = ~std::size_t{0};

// Steps kept; a reading with more is marked incomplete and not shown.
constexpr std::size_t reading_event_capacity = 8192;

struct reading_record {
    // The text as the evaluator received it, after the pre-pass and before the blanks were
    // removed; the caret lines and the digit-group warnings are written under it.
    char given_text[expression_capacity];
    std::size_t given_length;
    const char* text;        // the evaluated text itself, without blanks after entry
    std::size_t position;    // offset in `text` of the token being read
    std::size_t open_event;  // the operand whose length is still open, or no_open_event
    std::size_t event_count;
    bool incomplete;  // more steps than reading_event_capacity
    bool evaluating;  // an evaluation was recorded and neither shown nor stopped yet
    reading_event events[reading_event_capacity];
};

// The record the hooks write to: the one evaluate_text was given for the evaluation in
// progress or last run, nullptr for none. Each evaluation empties it first.
extern reading_record* active_reading;

// The out-of-line halves of the hooks.
void record_text_now(reading_record& record, const char* text) noexcept;
void note_position_now(reading_record& record, const char* position) noexcept;
void record_step_now(reading_record& record, const reading_event& event) noexcept;

// Hooks.
inline void record_text(const char* text) noexcept {
    if (active_reading != nullptr) record_text_now(*active_reading, text);
}
inline void note_position(const char* position) noexcept {
    if (active_reading != nullptr) note_position_now(*active_reading, position);
}
inline void record_level() noexcept {
    if (active_reading != nullptr) {
        record_step_now(*active_reading, {reading_step::level, '\0', false, {}, 0, 0});
    }
}
inline void record_operand() noexcept {
    if (active_reading != nullptr) {
        record_step_now(*active_reading, {reading_step::operand, '\0', false, {}, 0, -1});
    }
}
// A function name or a shift descriptor was read where the operand step was recorded.
void withdraw_operand() noexcept;
inline void record_reduction(char op) noexcept {
    if (active_reading != nullptr) {
        record_step_now(*active_reading, {reading_step::reduction, op, false, {}, 0, 0});
    }
}
inline void record_function(int code, const shift_descriptor& shift, double result) noexcept {
    if (active_reading != nullptr) {
        const bool negative_zero = result == 0 && std::signbit(result);
        record_step_now(*active_reading, {reading_step::function, static_cast<char>(code),
                                          negative_zero, shift, 0, 0});
    }
}

}  // namespace fexpr::engine
