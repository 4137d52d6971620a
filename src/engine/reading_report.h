// What --explain shows on standard error: the reading the evaluator recorded, written out
// fully parenthesised, the caret under the place where a faulty expression stopped, and the
// digit-group marks that look like a decimal comma.
#pragma once

#include <cstddef>

#include "engine/diagnostics.h"
#include "engine/reading_record.h"

namespace fexpr::engine {

// A reading longer than this is shown cut, with " ..." after it, so that each line of the
// explanation goes out in one write (and keeps its line-number prefix in the line modes).
constexpr std::size_t shown_reading_length = 400;

// Writes the recorded reading of a successful evaluation into `out` (`size` bytes, the NUL
// included): every binary operation with its operands, each of them a number or in
// parentheses; functions as name(operand); unit letters as their multipliers; the
// implicit multiplication as '*'. Read again, the text gives the same value. Returns its
// length, or 0 when the record is incomplete or the text does not fit.
std::size_t render_reading(const reading_record& record, char* out, std::size_t size) noexcept;

// After a successful evaluation: "read as: " and the reading, then the warnings.
void print_reading(reading_record& record) noexcept;

// Called for every diagnostic: when it ends an evaluation that is recorded, prints
// "stopped: " with the text and a caret under the token being read (for the statuses 2 and
// 3 under the character after Pi or the unit letter, which is what they reject), then the
// warnings.
void report_stopped_reading(exit_status status) noexcept;

}  // namespace fexpr::engine
