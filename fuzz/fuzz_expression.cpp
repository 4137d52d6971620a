// Fuzzes one expression through the pre-pass, the evaluator and a result layout chosen by the
// input's first byte, in-process: diagnostics jump back here instead of ending the process.
// The first bytes from 240 on show the value with the output switches instead: --all, whose
// lines must equal the single layouts, and --exact, under a word size and reading of their
// own. The first bytes from 200 to 239 record the reading of --explain and show it (a fault
// shows its caret lines), and the reading, read again, must give the same value and read
// the same way again; then the value goes through --all and --exact as above. Every input is
// also evaluated in the other mode (with --explain where the first run had none, and the
// other way round), which must give the same value or the same diagnostic: every byte of the
// input takes part, control bytes included.
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/reading_record.h"
#include "engine/reading_report.h"
#include "engine/text_buffers.h"
#include "format/all_layouts.h"
#include "format/exact_double.h"
#include "format/layouts.h"
#include "format/run_settings.h"
#include "platform/output_stream.h"
#include "platform/process.h"

namespace {

std::jmp_buf diagnostic_jump;
int diagnostic_status = 0;
fexpr::platform::output_stream memory_stream;
fexpr::platform::output_stream single_stream;

constexpr std::uint8_t first_switches_selector = 240;
constexpr std::uint8_t first_explain_selector = 200;

fexpr::engine::reading_record reading;
char reading_text[fexpr::engine::text_capacity];
char reading_again[fexpr::engine::text_capacity];

void jump_back(int status) {
    diagnostic_status = status;
    std::longjmp(diagnostic_jump, 1);
}

// The first byte picks the layout (0 to 8) and the precision of the layouts .N, gN and eN.
fexpr::format::result_layout layout_of(std::uint8_t selector) {
    using namespace fexpr;
    const int precision = (selector / 9) % 16;
    const int layout = selector % 9;
    return {static_cast<format::output_format>(layout),
            layout == format::layout_significant && precision == 0 ? 1 : precision};
}

// The engine's texts are limited to what the driver lets in: at most 16383 characters, and
// a NUL ends the text as it ends a parameter or a line.
void load_expression(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr::engine;
    const std::size_t length = size < max_text_length ? size : max_text_length;
    std::memcpy(expression_text, data, length);
    expression_text[length] = '\0';
}

// Whatever went to the result stream is exactly one line.
void check_one_line() {
    const char* text = memory_stream.buffer;
    const std::size_t length = memory_stream.length;
    if (length == 0 || text[length - 1] != '\n') std::abort();
    if (std::memchr(text, '\n', length - 1) != nullptr) std::abort();
}

// Every --all line is its label, a tab, and what print_result prints for that label's layout.
void check_all_lines(const fexpr::format::run_settings& run, double value,
                     fexpr::engine::digit_grouping grouping) {
    using namespace fexpr;
    const char* line = memory_stream.buffer;
    const char* end = line + memory_stream.length;
    int count = 0;
    while (line < end) {
        const char* tab = static_cast<const char*>(std::memchr(line, '\t', end - line));
        const char* next = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (tab == nullptr || next == nullptr || tab > next) std::abort();
        char label[8] = {};
        if (tab - line >= static_cast<long>(sizeof label)) std::abort();
        std::memcpy(label, line, tab - line);
        const bool general = std::strcmp(label, "general") == 0;
        platform::open_memory_stream(&single_stream);
        format::print_result(run,
                             general ? format::default_layout : format::parse_format_suffix(label),
                             grouping, value, &single_stream);
        const std::size_t length = static_cast<std::size_t>(next + 1 - (tab + 1));
        if (single_stream.length != length ||
            std::memcmp(single_stream.buffer, tab + 1, length) != 0) {
            std::abort();
        }
        line = next + 1;
        ++count;
    }
    if (count != 6) std::abort();
}

void check_output_switches(double value, fexpr::engine::digit_grouping grouping,
                           std::uint8_t selector) {
    using namespace fexpr;
    constexpr int word_bits[] = {8, 16, 32, 64};
    constexpr format::integer_reading readings[] = {format::integer_reading::none,
                                                    format::integer_reading::signed_word,
                                                    format::integer_reading::unsigned_word};
    const format::run_settings run = {{word_bits[selector & 3], readings[(selector >> 2) % 3]},
                                      format::presentation::all_layouts,
                                      nullptr};
    platform::open_memory_stream(&memory_stream);
    format::print_all_layouts(run, value, grouping, &memory_stream);
    check_all_lines(run, value, grouping);
    platform::open_memory_stream(&memory_stream);
    format::print_exact_double(value, &memory_stream);
    int lines = 0;
    for (std::size_t i = 0; i < memory_stream.length; ++i) lines += memory_stream.buffer[i] == '\n';
    if (lines != 5) std::abort();
}

// A function's -0 becomes +0 inside the parentheses of a reading: the one difference
// between a value and the value of its reading read again.
bool has_negative_zero() {
    for (std::size_t i = 0; i < reading.event_count; ++i) {
        if (reading.events[i].negative_zero) return true;
    }
    return false;
}

bool same_value(double a, double b) {
    if (a != a) return b != b && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// After an evaluation recorded in `reading`: shows it, and evaluates its reading again, which
// must give the same value (it is the same reading) and the same reading.
void check_reading(double value) {
    using namespace fexpr;
    engine::print_reading(reading);
    const std::size_t length = engine::render_reading(reading, reading_text, sizeof reading_text);
    if (length == 0 || length > engine::max_text_length || has_negative_zero()) return;
    std::memcpy(engine::expression_text, reading_text, length + 1);
    if (setjmp(diagnostic_jump) != 0) std::abort();  // the reading of a value has a value
    const double again = engine::evaluate_text(engine::expression_text, &reading).value;
    if (!same_value(value, again)) std::abort();
    // Its parentheses are levels of their own: the reading of a long text may hold more steps
    // than the record keeps.
    if (reading.incomplete) return;
    if (engine::render_reading(reading, reading_again, sizeof reading_again) != length ||
        std::memcmp(reading_text, reading_again, length) != 0) {
        std::abort();
    }
}

// How an evaluation went: the status of its diagnostic (0 for none) and its value.
struct outcome {
    int status;
    double value;
};

// The evaluation with --explain when `explained`, else without, on its own stream.
outcome outcome_of(const std::uint8_t* data, std::size_t size, bool explained) {
    using namespace fexpr;
    load_expression(data, size);
    platform::open_memory_stream(&single_stream);
    engine::direct_results_to(&single_stream);
    if (setjmp(diagnostic_jump) != 0) return outcome{diagnostic_status, 0};
    return outcome{
        0, engine::evaluate_text(engine::expression_text, explained ? &reading : nullptr).value};
}

// A plain and an explained evaluation give the same status and value.
void check_same_outcome(const outcome& other, int status, double value) {
    if (other.status != status || (status == 0 && !same_value(other.value, value))) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr;
    if (size == 0) return 0;
    const format::result_layout layout = layout_of(data[0]);
    platform::set_exit_hook(jump_back);
    const bool explained = data[0] >= first_explain_selector && data[0] < first_switches_selector;
    const outcome other = outcome_of(data + 1, size - 1, !explained);
    load_expression(data + 1, size - 1);
    platform::open_memory_stream(&memory_stream);
    engine::direct_results_to(&memory_stream);
    if (setjmp(diagnostic_jump) == 0) {
        const auto [value, grouping] =
            engine::evaluate_text(engine::expression_text, explained ? &reading : nullptr);
        check_same_outcome(other, 0, value);
        if (explained) {
            check_reading(value);
            check_output_switches(value, grouping, data[0]);
            platform::set_exit_hook(nullptr);
            return 0;
        }
        if (data[0] >= first_switches_selector) {
            check_output_switches(value, grouping, data[0]);
            platform::set_exit_hook(nullptr);
            return 0;
        }
        format::print_result(format::plain_run, layout, grouping, value, &memory_stream);
    } else if (diagnostic_status < 1 || diagnostic_status > 10) {
        std::abort();
    } else {
        check_same_outcome(other, diagnostic_status, 0);
    }
    check_one_line();
    platform::set_exit_hook(nullptr);
    return 0;
}
