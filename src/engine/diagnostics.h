// The one place where a malformed expression, or a driver fault, ends the process.
#pragma once

namespace fexpr::engine {

// Receives each diagnostic before it is printed. A handler may jump back into the driver,
// which then answers the next line instead of ending; when it returns, the diagnostic is
// printed and the process ends as usual. The engine owns nothing that a jump would leak:
// its texts and stacks are fixed arrays, and each evaluation starts them afresh.
using diagnostic_handler = void (*)(int status, const char* message);
void set_diagnostic_handler(diagnostic_handler handler) noexcept;

// Passes the diagnostic to the handler, if one is set; then prints `message` and a newline on
// result_stream, closes the result file when it is open, and ends the process with `status`.
[[noreturn]] void end_with_diagnostic(int status, const char* message) noexcept;

}  // namespace fexpr::engine
