// --sum: the lines of any file or of standard input added up one at a time, in constant
// memory and with no limit on the number of lines.
#include <cstdint>

#include "driver/line_modes.h"
#include "driver/mode_steps.h"
#include "engine/diagnostics.h"
#include "engine/operators.h"
#include "engine/prepass.h"
#include "engine/reading_record.h"
#include "engine/text_buffers.h"
#include "format/layouts.h"
#include "numeric/decimal_input.h"
#include "platform/process.h"
#include "platform/text_builder.h"

namespace fexpr::driver {
namespace {

platform::text_reader sum_reader;

// A bad line's diagnostic goes to standard error too, behind the number of its line, before
// it is printed on result_stream as usual.
void name_failed_line(engine::exit_status status, const char* message, std::size_t length) {
    static_cast<void>(status);
    char line[128];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, message, length);
    platform::append_char(builder, '\n');
    platform::write_standard_error(line, builder.length);
}

[[noreturn]] void end_cannot_open(const char* path) noexcept {
    static char message[4096];
    platform::text_builder builder = platform::make_builder(message, sizeof message);
    platform::append_text(builder, "Cannot open file ");
    platform::append_text(builder, path);
    engine::end_with_message(engine::status_cannot_open_data, message);
}

// What the lines have given so far: the first value and its digit grouping (a leading ','
// or '_' of the first line groups the result, as in the data file), and the running sum or,
// for clock readings, the last value.
struct line_sum {
    bool started;
    bool time_stamps;
    engine::digit_grouping grouping;
    double first;
    double running;
};

/* The value of a line that is one plain decimal number, perhaps after a '-', as the evaluator
 * computes it (a leading '-' subtracts the number from 0); false for any other line, and
 * under --explain, which records every evaluation. The number is read by the evaluator's own
 * scanner; such a line, the usual one of a column (bench/sum.sh), needs neither the pre-pass
 * nor the evaluator. */
bool read_plain_line(const format::run_settings& run, const char* line, double& value) noexcept {
    if (run.reading != nullptr) return false;
    const bool negative = *line == '-';
    const numeric::scanned_number number = numeric::scan_number(negative ? line + 1 : line);
    if (number.kind != numeric::number_kind::plain || *number.end != '\0') return false;
    value = negative ? engine::apply_operator('-', 0.0, number.value) : number.value;
    return true;
}

// Takes the value of expression_text, input line `number`, into `sum`; the line is named in
// front of the messages on standard error while the evaluator reads it.
void add_line(const format::run_settings& run, line_sum& sum, std::int64_t number) noexcept {
    double value = 0;
    engine::digit_grouping grouping = engine::no_groups;
    if (!read_plain_line(run, engine::expression_text, value)) {
        name_line_on_standard_error(number);
        const engine::expression_value evaluated = evaluate_expression_text(run);
        value = evaluated.value;
        grouping = evaluated.grouping;
    }
    if (!sum.started) {
        sum.started = true;
        // Only the first line groups the result, as in the data file: the line after an
        // empty first line stands inside the text the data file joins.
        sum.grouping = number == 1 ? grouping : engine::no_groups;
        sum.first = value;
        sum.running = value;
    } else {
        sum.running = sum.time_stamps ? value : engine::apply_operator('+', sum.running, value);
    }
}

}  // namespace

/*
 * As in the data file an empty first line adds nothing when more lines follow; on its own it
 * is evaluated and rejected. In a list of clock readings blank lines are passed over, so that
 * a trailing one does not stand for the last reading. Every other line must be an expression
 * of its own.
 */
void print_line_sum(const format::run_settings& run, platform::text_reader& reader,
                    platform::output_stream* out, const char* suffix) noexcept {
    line_read read = read_script_line(reader);
    if (read == line_read::end) return;
    line_sum sum{false, read == line_read::line && is_time_stamp(engine::expression_text),
                 engine::no_groups, 0, 0};
    for (std::int64_t number = 1; read != line_read::end; ++number) {
        if (read != line_read::line) {
            name_line_on_standard_error(number);
            engine::end_with_diagnostic(diagnostic_of_read(read));
        }
        const bool passed_over = number == 1
                                     ? engine::expression_text[0] == '\0'
                                     : sum.time_stamps && is_blank_line(engine::expression_text);
        if (!passed_over) add_line(run, sum, number);
        read = read_script_line(reader);
    }
    if (!sum.started) {
        engine::expression_text[0] = '\0';
        add_line(run, sum, 1);
    }
    name_line_on_standard_error(0);
    const double result =
        sum.time_stamps ? engine::apply_operator('-', sum.running, sum.first) : sum.running;
    constexpr format::result_layout duration = {format::layout_duration, format::default_precision};
    format::result_layout layout = sum.time_stamps ? duration : format::default_layout;
    if (suffix != nullptr) layout = format::parse_format_suffix(suffix);
    format::print_result(run, layout, sum.grouping, result, out);
}

void run_sum_mode(const format::run_settings& run, const char* path, const char* suffix) noexcept {
    platform::end_quietly_on_broken_pipe();
    const bool from_input = path == nullptr || (path[0] == '-' && path[1] == '\0');
    if (from_input) {
        platform::open_standard_input(sum_reader);
    } else if (!platform::open_named_file(sum_reader, path)) {
        end_cannot_open(path);
    }
    engine::set_diagnostic_handler(name_failed_line);
    print_line_sum(run, sum_reader, engine::result_stream(), suffix);
    platform::close_reader(sum_reader);
    platform::end_process(0);
}

}  // namespace fexpr::driver
