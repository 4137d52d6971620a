// The end of the process: flushes the output, reports a result that could not be written or
// an input that could not be read, and exits with a status.
#pragma once

namespace fexpr::platform {

// Status of a run that would have ended with 0 but whose output could not be written.
constexpr int status_write_failed = 13;
// Status of a file that cannot be opened, and of any input whose reading fails.
constexpr int status_unreadable = 11;

// Tests point this at a function that jumps back into the harness; it receives the status
// and must not return.
using exit_hook = void (*)(int status);
void set_exit_hook(exit_hook hook) noexcept;

// Flushes standard output, closes the result file when it is open, and ends the process with
// `status`; when any result could not be written, names the failure on standard error and
// ends with status 13 instead.
[[noreturn]] void end_process(int status) noexcept;

// Names an input that could not be read on standard error ("fexpr: cannot read <name>:
// <reason>") and ends the process with status 11: a failed read is no end of the input, and
// a result made of the lines before it would pass for the whole.
[[noreturn]] void end_read_failed(const char* name, int error_number) noexcept;

// Gives a write to a pipe that nobody reads any more its default effect, even when the
// parent ignored it: the process ends at once and quietly (by SIGPIPE where there is one),
// as a filter in a pipeline should when the reader has seen enough.
void end_quietly_on_broken_pipe() noexcept;

}  // namespace fexpr::platform
