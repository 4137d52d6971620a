// The one place where a malformed expression, or a driver fault, ends the process, and the
// owner of the stream that results and diagnostics go to.
#pragma once

#include "platform/output_stream.h"

namespace fexpr::engine {

// Sends results and diagnostics to `stream` from now on (the driver chooses standard output
// or the result file once, before anything is evaluated).
void direct_results_to(platform::output_stream* stream) noexcept;

// The stream results and diagnostics go to: standard output unless directed elsewhere.
platform::output_stream* result_stream() noexcept;

// Prints `message` and a newline on the result stream, closes the result file when it is
// open, and ends the process with `status`.
[[noreturn]] void end_with_diagnostic(int status, const char* message) noexcept;

}  // namespace fexpr::engine
