// The end of the process: flushes the output, reports a result that could not be written,
// and exits with a status.
#pragma once

namespace fexpr::platform {

// Status of a run that would have ended with 0 but whose output could not be written.
constexpr int status_write_failed = 13;

// Tests point this at a function that jumps back into the harness; it receives the status
// and must not return.
using exit_hook = void (*)(int status);
void set_exit_hook(exit_hook hook) noexcept;

// Flushes standard output, closes the result file when it is open, and ends the process with
// `status`; when any result could not be written, names the failure on standard error and
// ends with status 13 instead.
[[noreturn]] void end_process(int status) noexcept;

}  // namespace fexpr::platform
