// Diagnostics leave through here and through nowhere else.
#include "engine/diagnostics.h"

#include <cstring>

#include "engine/reading_report.h"
#include "numeric/text_output.h"
#include "platform/text_builder.h"

namespace fexpr::engine {
namespace {

platform::output_stream* directed_stream = nullptr;
diagnostic_handler current_handler = nullptr;

[[noreturn]] void end_with_text(exit_status status, const char* message,
                                std::size_t length) noexcept {
    report_stopped_reading(status);
    if (current_handler != nullptr) current_handler(status, message, length);
    platform::output_stream* stream = result_stream();
    platform::write_stream(stream, message, length);
    platform::write_stream(stream, "\n", 1);
    platform::end_process(status);
}

}  // namespace

void set_diagnostic_handler(diagnostic_handler handler) noexcept {
    current_handler = handler;
}

void direct_results_to(platform::output_stream* stream) noexcept {
    directed_stream = stream;
}

platform::output_stream* result_stream() noexcept {
    return directed_stream != nullptr ? directed_stream : platform::standard_output();
}

void end_with_diagnostic(exit_status status) noexcept {
    const char* message = message_of(status);
    end_with_text(status, message, std::strlen(message));
}

void end_with_message(exit_status status, const char* message) noexcept {
    end_with_text(status, message, std::strlen(message));
}

void end_naming_constant(exit_status status, char letter) noexcept {
    const char* message = message_of(status);
    const char* pi = std::strstr(message, "Pi");
    if (pi == nullptr) end_with_diagnostic(status);
    char named[96];
    platform::text_builder builder = platform::make_builder(named, sizeof named);
    platform::append_text(builder, message, static_cast<std::size_t>(pi - message));
    platform::append_char(builder, letter);
    platform::append_text(builder, pi + 2);
    end_with_text(status, named, builder.length);
}

}  // namespace fexpr::engine
