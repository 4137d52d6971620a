// --each: a filter that writes one answer line for every input line and goes on after a bad
// one.
#include <csetjmp>
#include <cstdint>

#include "driver/completion.h"
#include "driver/line_modes.h"
#include "driver/mode_steps.h"
#include "engine/diagnostics.h"
#include "engine/prepass.h"
#include "engine/text_buffers.h"
#include "format/layouts.h"
#include "numeric/text_output.h"
#include "platform/line_editor.h"
#include "platform/process.h"
#include "platform/text_builder.h"

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
// The message is copied: a message that names a unit letter lives in the frame jumped over.
char line_message[128];

void return_to_line(engine::exit_status status, const char* message, std::size_t length) {
    if (!line_jump_armed) return;
    line_jump_armed = false;
    line_status = status;
    platform::text_builder builder = platform::make_builder(line_message, sizeof line_message);
    platform::append_text(builder, message, length);
    std::longjmp(line_jump, 1);
}

// Evaluates expression_text: 0 with the value in *value and its digit groups in *grouping,
// or the diagnostic's status with its message in line_message.
int evaluate_line(const format::run_settings& run, double* value,
                  engine::digit_grouping* grouping) noexcept {
    if (setjmp(line_jump) != 0) return line_status;
    line_jump_armed = true;
    const engine::expression_value evaluated = evaluate_expression_text(run);
    *value = evaluated.value;
    *grouping = evaluated.grouping;
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

// Answers the line in expression_text and returns its status. The line's own suffix wins
// over the mode's.
int answer_line(const format::run_settings& run, platform::output_stream* out,
                format::result_layout mode_layout, bool tsv) noexcept {
    if (engine::expression_text[0] == '\0') {
        if (tsv) write_status_field(out, 0);
        platform::write_stream(out, "\n", 1);
        return 0;
    }
    format::result_layout layout = split_suffix(engine::expression_text);
    if (layout.format == format::layout_default) layout = mode_layout;
    double value = 0;
    engine::digit_grouping grouping = engine::no_groups;
    const int status = evaluate_line(run, &value, &grouping);
    if (status != 0) return answer_diagnostic(out, tsv, status, line_message);
    if (tsv) write_status_field(out, 0);
    format::print_result(run, layout, grouping, value, out);
    return 0;
}

}  // namespace

int answer_each_line(const format::run_settings& run, platform::text_reader& reader,
                     platform::output_stream* out, const char* suffix, bool tsv) noexcept {
    const format::result_layout mode_layout =
        suffix != nullptr ? format::parse_format_suffix(suffix) : format::default_layout;
    engine::set_diagnostic_handler(return_to_line);
    int first_failure = 0;
    for (std::int64_t number = 1; !out->failed; ++number) {
        const line_read read = read_script_line(reader);
        if (read == line_read::end) break;
        name_line_on_standard_error(number);
        const engine::exit_status rejected = diagnostic_of_read(read);
        const int status = rejected != engine::status_success
                               ? answer_diagnostic(out, tsv, rejected, engine::message_of(rejected))
                               : answer_line(run, out, mode_layout, tsv);
        if (first_failure == 0) first_failure = status;
    }
    name_line_on_standard_error(0);
    engine::set_diagnostic_handler(nullptr);
    return first_failure;
}

// At a terminal the lines are edited, recalled and completed as in the interactive mode;
// from a pipe or a file they are read as they come.
void run_each_mode(const format::run_settings& run, const char* suffix, bool tsv) noexcept {
    platform::end_quietly_on_broken_pipe();
    if (!platform::open_edited_reader(each_reader, find_completions)) {
        platform::open_standard_input(each_reader);
    }
    const int status = answer_each_line(run, each_reader, platform::standard_output(), suffix, tsv);
    platform::close_line_editor();
    platform::end_process(status);
}

}  // namespace fexpr::driver
