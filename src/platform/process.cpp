// The one way out of the process.
#include "platform/process.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/fixed_files.h"
#include "platform/output_stream.h"
#include "platform/system_io.h"

namespace fexpr::platform {
namespace {

exit_hook current_exit_hook = nullptr;

// "fexpr: cannot write <name>: <reason>" on standard error.
void report_write_failure(const char* name, int error_number) noexcept {
    char line[512] = "fexpr: cannot write ";
    std::strncat(line, name, 200);
    std::strncat(line, ": ", 3);
    std::strncat(line, std::strerror(error_number), 200);
    std::strncat(line, "\n", 2);
    write_all(standard_error_descriptor, line, std::strlen(line));
}

// Writes out what is still buffered and reports a write that failed; false after a failure.
bool finish_output() noexcept {
    output_stream* out = standard_output();
    close_result_file();
    if (!flush_stream(out)) {
        report_write_failure(out->name, out->error_number);
        return false;
    }
    if (result_file_error() != 0) {
        report_write_failure(result_file_path, result_file_error());
        return false;
    }
    return true;
}

}  // namespace

void set_exit_hook(exit_hook hook) noexcept {
    current_exit_hook = hook;
}

// A failed write turns only a success into status 13: a diagnostic that could not be
// written keeps its own status, which scripts rely on more than on the text.
void end_process(int status) noexcept {
    if (!finish_output() && status == 0) status = status_write_failed;
    if (current_exit_hook != nullptr) current_exit_hook(status);
    std::_Exit(status);
}

void end_quietly_on_broken_pipe() noexcept {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_DFL);
#endif
}

bool standard_input_is_terminal() noexcept {
    return is_terminal(standard_input_descriptor);
}

}  // namespace fexpr::platform
