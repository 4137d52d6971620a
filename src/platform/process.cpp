// The one way out of the process.
#include "platform/process.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/fixed_files.h"
#include "platform/output_stream.h"
#include "platform/system_io.h"
#include "platform/text_builder.h"

namespace fexpr::platform {
namespace {

exit_hook current_exit_hook = nullptr;

// "fexpr: cannot <verb> <name>: <reason>" on standard error.
void report_failure(const char* verb, const char* name, int error_number) noexcept {
    char line[512];
    text_builder builder = make_builder(line, sizeof line);
    append_text(builder, "fexpr: cannot ");
    append_text(builder, verb);
    append_char(builder, ' ');
    append_text(builder, name, 200);
    append_text(builder, ": ");
    append_text(builder, std::strerror(error_number), 200);
    append_char(builder, '\n');
    write_all(standard_error_descriptor, line, builder.length);
}

// Writes out what is still buffered and reports a write that failed; false after a failure.
bool finish_output() noexcept {
    output_stream* out = standard_output();
    close_result_file();
    if (!flush_stream(out)) {
        report_failure("write", out->name, out->error_number);
        return false;
    }
    if (result_file_error() != 0) {
        report_failure("write", result_file_path, result_file_error());
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

// The answers before the failure go out first, so that the message follows them where the
// two streams share a file.
void end_read_failed(const char* name, int error_number) noexcept {
    flush_stream(standard_output());
    report_failure("read", name, error_number);
    end_process(status_unreadable);
}

void end_quietly_on_broken_pipe() noexcept {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_DFL);
#endif
}

}  // namespace fexpr::platform
