// --each: a filter that writes one answer line for every input line and goes on after a bad
// one.
#include <csetjmp>
#include <cstdint>

#include "driver/line_modes.h"
#include "driver/mode_steps.h"
#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/shared_state.h"
#include "format/layouts.h"
#include "numeric/text_output.h"
#include "platform/process.h"

namespace fexpr::driver {
namespace {

platform::text_reader each_reader;

/*
 * A diagnostic of the engine jumps back to the line being answered instead of ending the
 * process. Only the engine's fixed arrays and plain locals lie between the jump and its
 * target, and the next evaluation starts them afresh. Outside an evaluation the jump has no
 * target, and a diagnostic ends the process as usual.
 */
std::jmp_buf line_jump;
bool line_jump_armed = false;
int line_status = 0;
const char* line_message = nullptr;

void return_to_line(int status, const char* message) {
    if (!line_jump_armed) return;
    line_jump_armed = false;
    line_status = status;
    line_message = message;
    std::longjmp(line_jump, 1);
}

// Evaluates expression_text: 0 with the value in *value, or the diagnostic's status with
// its message in line_message.
int evaluate_line(double* value) noexcept {
    if (setjmp(line_jump) != 0) return line_status;
    line_jump_armed = true;
    engine::prepare_expression();
    char* end = nullptr;
    *value = engine::evaluate_expression(engine::expression_text, &end);
    line_jump_armed = false;
    return 0;
}

void write_status_field(platform::output_stream* out, int status) noexcept {
    char field[24];
    const std::size_t length = numeric::format_signed(field, sizeof field - 1, status, 0);
    field[length] = '\t';
    platform::write_stream(out, field, length + 1);
}

// Writes a diagnostic as the answer of a line and returns its status.
int answer_diagnostic(platform::output_stream* out, bool tsv, int status,
                      const char* message) noexcept {
    if (tsv) write_status_field(out, status);
    platform::write_stream(out, message);
    platform::write_stream(out, "\n", 1);
    return status;
}

// Answers the line in expression_text and returns its status. The line's own suffix wins;
// otherwise the mode's suffix is read again, since a line's suffix may have changed the
// precision it set.
int answer_line(platform::output_stream* out, const char* suffix, bool tsv) noexcept {
    if (engine::expression_text[0] == '\0') {
        if (tsv) write_status_field(out, 0);
        platform::write_stream(out, "\n", 1);
        return 0;
    }
    format::output_format layout = split_suffix(engine::expression_text);
    if (layout == format::layout_default && suffix != nullptr) {
        layout = format::parse_format_suffix(suffix);
    }
    double value = 0;
    const int status = evaluate_line(&value);
    if (status != 0) return answer_diagnostic(out, tsv, status, line_message);
    if (tsv) write_status_field(out, 0);
    format::print_result(layout, value, out);
    return 0;
}

}  // namespace

int answer_each_line(platform::text_reader& reader, platform::output_stream* out,
                     const char* suffix, bool tsv) noexcept {
    engine::set_diagnostic_handler(return_to_line);
    int first_failure = 0;
    for (std::int64_t number = 1; !out->failed; ++number) {
        const line_read read = read_script_line(reader);
        if (read == line_read::end) break;
        name_line_on_standard_error(number);
        const int status = read == line_read::too_long
                               ? answer_diagnostic(out, tsv, status_too_long, too_long_message)
                               : answer_line(out, suffix, tsv);
        if (first_failure == 0) first_failure = status;
    }
    name_line_on_standard_error(0);
    engine::set_diagnostic_handler(nullptr);
    return first_failure;
}

void run_each_mode(const char* suffix, bool tsv) noexcept {
    platform::end_quietly_on_broken_pipe();
    platform::open_standard_input(each_reader);
    platform::end_process(answer_each_line(each_reader, platform::standard_output(), suffix, tsv));
}

}  // namespace fexpr::driver
