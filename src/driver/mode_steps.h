// The steps the invocation modes share, and the modes that live in files of their own.
#pragma once

#include <cstddef>

#include "format/layouts.h"

namespace fexpr::driver {

// Runs the pre-pass and the evaluator on expression_text and prints the value in `layout` on
// the result stream.
void evaluate_and_print(format::result_layout layout) noexcept;

// Appends `text` to expression_text, whose current length is *length, unless the two
// together would reach the longest text (16383 characters): then the process ends with
// "Expression too long(>16384 characters)", status 12.
void append_within_limit(std::size_t* length, const char* text) noexcept;

// Ends the process with the length diagnostic, status 12.
[[noreturn]] void end_too_long() noexcept;

// Adds up the lines of the data file (or takes the difference of a time-stamp file) and
// prints the value on the result stream; ends the process.
[[noreturn]] void run_data_file_mode() noexcept;

// Banner, then a prompt and an answer per console line until an empty line or the end of
// the input; ends the process.
[[noreturn]] void run_interactive_mode() noexcept;

}  // namespace fexpr::driver
