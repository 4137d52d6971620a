// The exit statuses with their messages, the one place where a malformed expression or a
// driver fault ends the process, and the owner of the stream that results and diagnostics
// go to.
#pragma once

#include <cstddef>

#include "engine/text_buffers.h"
#include "platform/output_stream.h"
#include "platform/process.h"

namespace fexpr::engine {

enum exit_status : int {
    status_success = 0,
    status_group_before_constant = 1,
    status_constants_joined = 2,
    status_group_after_constant = 3,
    status_unknown_function = 4,
    status_operator_adhesion = 5,
    status_high_operators_together = 6,
    status_numbers_stuck = 7,
    status_invalid_character = 8,
    status_incorrect = 9,
    status_too_complex = 10,
    status_cannot_open_data = platform::status_unreadable,
    status_too_long = 12,
    status_write_failed = platform::status_write_failed,
    // A command line that a switch cannot use: the usage status of sysexits, which no
    // expression fault shares. Its message goes to standard error.
    status_usage = 64,
};

struct status_message {
    exit_status status;
    const char* message;
};

// The message of each diagnostic. Those of 1 and 3 name Pi; for a unit letter the letter
// stands in its place (end_naming_constant). A failed write has no message of its own here:
// the platform names the failure on standard error.
inline constexpr status_message status_messages[] = {
    {status_group_before_constant, "Pi encounters a right parenthesis on the left side"},
    {status_constants_joined, "Two Pi or K/M/G/T/P are joined"},
    {status_group_after_constant, "On the right side of Pi, there is a left parenthesis"},
    {status_unknown_function, "Unknown function name"},
    {status_operator_adhesion, "Operator adhesion"},
    {status_high_operators_together, "Multiplying power ^ or shifting left { or right } together"},
    {status_numbers_stuck, "Two numbers stuck together"},
    {status_invalid_character, "Invalid character"},
    {status_incorrect, "The expression is incorrect"},
    {status_too_complex, "The expression is too complex, causing an internal stack overflow"},
    {status_cannot_open_data, "Cannot open file C:\\Data\\data.txt"},
    {status_too_long, "Expression too long(>16384 characters)"},
};

static_assert(text_capacity == 16384, "the length diagnostic names 16384");

// The message of `status`, or "" for a status without one.
constexpr const char* message_of(exit_status status) noexcept {
    for (const status_message& entry : status_messages) {
        if (entry.status == status) return entry.message;
    }
    return "";
}

// Sends results and diagnostics to `stream` from now on (the driver chooses standard output
// or the result file once, before anything is evaluated).
void direct_results_to(platform::output_stream* stream) noexcept;

// The stream results and diagnostics go to: standard output unless directed elsewhere.
platform::output_stream* result_stream() noexcept;

// Receives each diagnostic before it is printed, with its message (which lives only for the
// call: a handler that keeps it copies it). A handler may jump back into the driver, which
// then answers the next line instead of ending; when it returns, the diagnostic is printed
// and the process ends as usual. The engine owns nothing that a jump would leak: its texts
// and stacks are fixed arrays, and each evaluation starts them afresh.
using diagnostic_handler = void (*)(exit_status status, const char* message, std::size_t length);
void set_diagnostic_handler(diagnostic_handler handler) noexcept;

// Prints the message of `status` and a newline on the result stream, closes the result file
// when it is open, and ends the process with `status`.
[[noreturn]] void end_with_diagnostic(exit_status status) noexcept;

// The same with a message of the driver's own making in place of the table's (the file that
// cannot be opened, named).
[[noreturn]] void end_with_message(exit_status status, const char* message) noexcept;

// The same for the statuses 1 and 3 with the unit letter `letter` named in place of Pi.
[[noreturn]] void end_naming_constant(exit_status status, char letter) noexcept;

}  // namespace fexpr::engine
