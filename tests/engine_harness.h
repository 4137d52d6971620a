// Runs the expression engine in-process: pre-pass and evaluation of one text, with the
// diagnostics caught by a jump back into the harness instead of ending the process.
#pragma once

#include <string>

#include "engine/reading_record.h"
#include "test_doubles.h"

namespace fexpr::testing {

struct engine_run {
    bool ended = false;      // ended through a diagnostic
    int status = 0;          // its exit status
    double value = 0;        // the value when it did not end
    std::string message;     // what went to the result stream
    std::string error_text;  // what went to standard error (when captured)
    int grouping_mode = 0;
};

// Copies the expression into expression_text and evaluates it as the driver does
// (evaluate_text), recording the reading in `reading` when it is given (--explain).
engine_run run_engine(const std::string& expression, bool capture_error = false,
                      engine::reading_record* reading = nullptr);

// The text of expression_text after the pre-pass alone.
std::string prepared_text(const std::string& expression);

// A text of `count` copies of `piece`.
std::string repeat_text(const std::string& piece, std::size_t count);

}  // namespace fexpr::testing
