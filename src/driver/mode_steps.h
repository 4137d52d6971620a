// The steps the invocation modes share, and the modes that live in files of their own.
#pragma once

#include <cstddef>

#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "format/layouts.h"
#include "format/run_settings.h"
#include "platform/text_input.h"

namespace fexpr::driver {

// Evaluates expression_text (engine::evaluate_text). Under --explain the evaluator records
// how it read the text, which goes to standard error after the evaluation (for a diagnostic,
// before the diagnostic is printed).
engine::expression_value evaluate_expression_text(const format::run_settings& run) noexcept;

// Evaluates expression_text and prints the value in `layout` on the result stream, or in
// the presentation the run chose.
void evaluate_and_print(const format::run_settings& run, format::result_layout layout) noexcept;

// Appends `text` to expression_text, whose current length is *length, unless the two
// together would reach the longest text (16383 characters): then the process ends with
// "Expression too long(>16384 characters)", status 12.
void append_within_limit(std::size_t* length, const char* text) noexcept;

// Ends the process with the length diagnostic, status 12.
[[noreturn]] void end_too_long() noexcept;

// Ends the process with "Invalid character" (status 8) when the piece read last from `reader`
// held a NUL byte, wherever it stood: the text after it would otherwise be lost unseen.
// Inline, so that a line without one costs a test and no call.
inline void reject_line_with_nul(const platform::text_reader& reader) noexcept {
    if (platform::piece_held_nul(reader)) {
        engine::end_with_diagnostic(engine::status_invalid_character);
    }
}

// The text after the last blank of `line` may be a format suffix; when it is, the blank ends
// the expression and its layout is returned. Otherwise the whole line, blanks included, is
// the expression, and the result is default_layout.
format::result_layout split_suffix(char* line) noexcept;

// A first line that reads as "%d:%d" (two integers with a ':' directly between them) makes
// a file of lines a list of clock readings.
bool is_time_stamp(const char* line) noexcept;

// A line of nothing but blanks and tabs reads as no line among clock readings: blanks are
// ignored in expressions.
bool is_blank_line(const char* line) noexcept;

// Adds up the lines of the data file (or takes the difference of a time-stamp file) and
// prints the value on the result stream; ends the process.
[[noreturn]] void run_data_file_mode(const format::run_settings& run) noexcept;

// Banner, then a prompt and an answer per console line until an empty line or the end of
// the input; ends the process.
[[noreturn]] void run_interactive_mode(const format::run_settings& run) noexcept;

}  // namespace fexpr::driver
