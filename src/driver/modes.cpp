// Start-up, the choice of the invocation mode, and the command-line paths.
#include "driver/modes.h"

#include <cstring>

#include "driver/help_texts.h"
#include "driver/mode_steps.h"
#include "driver/output_switches.h"
#include "driver/switches.h"
#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/prepass.h"
#include "engine/reading_record.h"
#include "engine/reading_report.h"
#include "engine/text_buffers.h"
#include "format/all_layouts.h"
#include "format/exact_double.h"
#include "platform/fixed_files.h"
#include "platform/process.h"

namespace fexpr::driver {
namespace {

bool equals(const char* text, const char* expected) noexcept {
    return std::strcmp(text, expected) == 0;
}

// Copies the first parameter into expression_text, cut after 16383 characters without a
// message; returns the length copied.
std::size_t copy_first_parameter(const char* parameter) noexcept {
    std::size_t length = 0;
    while (parameter[length] != '\0' && length < engine::max_text_length) {
        engine::expression_text[length] = parameter[length];
        ++length;
    }
    engine::expression_text[length] = '\0';
    return length;
}

/*
 * Two or more parameters: all but the last are joined with no separator. The last one is
 * tried as a format suffix; when it is none it is joined too. Each join must keep the text
 * below 16383 characters, an empty parameter included.
 */
void run_joined_parameters(const format::run_settings& run, int count, char** parameters,
                           std::size_t length) noexcept {
    for (int index = 1; index + 1 < count; ++index) {
        append_within_limit(&length, parameters[index]);
    }
    const char* candidate = parameters[count - 1];
    const format::result_layout layout = format::parse_format_suffix(candidate);
    if (layout.format == format::layout_default) append_within_limit(&length, candidate);
    evaluate_and_print(run, layout);
}

// "/?" prints the help, as the one parameter and exactly as written; any other text returns
// and is an expression.
void run_help_switch(const char* parameter) noexcept {
    if (!equals(parameter, "/?")) return;
    platform::write_stream(platform::standard_output(), help_text);
    platform::end_process(engine::status_success);
}

}  // namespace

// Under --explain the reading the evaluation recorded is shown before the result.
engine::expression_value evaluate_expression_text(const format::run_settings& run) noexcept {
    const engine::expression_value result =
        engine::evaluate_text(engine::expression_text, run.reading);
    if (run.reading != nullptr) engine::print_reading(*run.reading);
    return result;
}

void evaluate_and_print(const format::run_settings& run, format::result_layout layout) noexcept {
    const auto [value, grouping] = evaluate_expression_text(run);
    platform::output_stream* stream = engine::result_stream();
    if (run.shown == format::presentation::all_layouts) {
        format::print_all_layouts(run, value, grouping, stream);
    } else if (run.shown == format::presentation::exact) {
        format::print_exact_double(value, stream);
    } else {
        format::print_result(run, layout, grouping, value, stream);
    }
}

void end_too_long() noexcept {
    engine::end_with_diagnostic(engine::status_too_long);
}

void append_within_limit(std::size_t* length, const char* text) noexcept {
    const std::size_t added = std::strlen(text);
    if (*length + added > engine::max_joined_length) end_too_long();
    std::memcpy(engine::expression_text + *length, text, added + 1);
    *length += added;
}

/*
 * Leading switches (--word) choose a mode of their own; "--" ends them and the parameters
 * after it are read as below. No parameter: interactive mode. Exactly "/?": the help. A
 * leading "/f" before at least one more parameter sends results and diagnostics to the
 * result file (standard output when it cannot be created, silently) and is dropped; "/?" is
 * not looked for again after it. Then one parameter is the data-file path or a single
 * expression, several are joined.
 */
void run(int argc, char** argv) noexcept {
    // The process keeps the "C" locale every C and C++ program starts in, so numbers are
    // read and written with '.' whatever the environment says; nothing calls setlocale.
    format::run_settings settings = format::plain_run;
    const int skipped = run_switches(settings, argc, argv) - 1;
    argc -= skipped;
    argv += skipped;
    if (argc <= 1) run_interactive_mode(settings);
    if (argc == 2) run_help_switch(argv[1]);
    int first = 1;
    if (argc > 2 && equals(argv[1], "/f")) {
        platform::output_stream* file = platform::open_result_file();
        if (file != nullptr) engine::direct_results_to(file);
        first = 2;
    }
    const int count = argc - first;
    char** parameters = argv + first;
    const std::size_t length = copy_first_parameter(parameters[0]);
    if (count == 1 && equals(parameters[0], platform::data_file_path)) {
        run_data_file_mode(settings);
    }
    if (count == 1) {
        evaluate_and_print(settings, format::default_layout);
    } else {
        run_joined_parameters(settings, count, parameters, length);
    }
    platform::end_process(engine::status_success);
}

}  // namespace fexpr::driver
