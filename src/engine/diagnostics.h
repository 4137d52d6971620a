// The one place where a malformed expression, or a driver fault, ends the process.
#pragma once

namespace fexpr::engine {

// Prints `message` and a newline on result_stream, closes the result file when it is open,
// and ends the process with `status`.
[[noreturn]] void end_with_diagnostic(int status, const char* message) noexcept;

}  // namespace fexpr::engine
