// Diagnostics leave through here and through nowhere else.
#include "engine/diagnostics.h"

#include "engine/shared_state.h"
#include "platform/process.h"

namespace fexpr::engine {
namespace {

diagnostic_handler current_handler = nullptr;

}  // namespace

void set_diagnostic_handler(diagnostic_handler handler) noexcept {
    current_handler = handler;
}

void end_with_diagnostic(int status, const char* message) noexcept {
    if (current_handler != nullptr) current_handler(status, message);
    platform::output_stream* stream =
        result_stream != nullptr ? result_stream : platform::standard_output();
    platform::write_stream(stream, message);
    platform::write_stream(stream, "\n", 1);
    platform::end_process(status);
}

}  // namespace fexpr::engine
