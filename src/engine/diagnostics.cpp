// Diagnostics leave through here and through nowhere else.
#include "engine/diagnostics.h"

#include "platform/process.h"

namespace fexpr::engine {
namespace {

platform::output_stream* directed_stream = nullptr;

}  // namespace

void direct_results_to(platform::output_stream* stream) noexcept {
    directed_stream = stream;
}

platform::output_stream* result_stream() noexcept {
    return directed_stream != nullptr ? directed_stream : platform::standard_output();
}

void end_with_diagnostic(int status, const char* message) noexcept {
    platform::output_stream* stream = result_stream();
    platform::write_stream(stream, message);
    platform::write_stream(stream, "\n", 1);
    platform::end_process(status);
}

}  // namespace fexpr::engine
