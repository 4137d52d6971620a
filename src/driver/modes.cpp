// Start-up, the choice of the invocation mode, and the command-line paths.
#include "driver/modes.h"

#include <clocale>
#include <cstring>

#include "driver/help_texts.h"
#include "driver/mode_steps.h"
#include "driver/output_switches.h"
#include "driver/switches.h"
#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/shared_state.h"
#include "format/all_layouts.h"
#include "format/exact_double.h"
#include "platform/fixed_files.h"
#include "platform/process.h"

namespace fexpr::driver {
namespace {

static_assert(engine::text_capacity == 16384, "the length diagnostic names 16384");

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
void run_joined_parameters(int count, char** parameters, std::size_t length) noexcept {
    for (int index = 1; index + 1 < count; ++index) {
        append_within_limit(&length, parameters[index]);
    }
    const char* candidate = parameters[count - 1];
    const format::output_format layout = format::parse_format_suffix(candidate);
    if (layout == format::layout_default) append_within_limit(&length, candidate);
    evaluate_and_print(layout, engine::result_stream);
}

// "/?" prints the help, as the one parameter and exactly as written; any other text returns
// and is an expression.
void run_help_switch(const char* parameter) noexcept {
    if (!equals(parameter, "/?")) return;
    platform::write_stream(platform::standard_output(), help_text);
    platform::end_process(0);
}

}  // namespace

void evaluate_and_print(format::output_format layout, platform::output_stream* stream) noexcept {
    engine::prepare_expression();
    char* end = nullptr;
    const double value = engine::evaluate_expression(engine::expression_text, &end);
    const presentation shown = chosen_presentation();
    if (shown == presentation::all_layouts) {
        format::print_all_layouts(value, stream);
    } else if (shown == presentation::exact) {
        format::print_exact_double(value, stream);
    } else {
        format::print_result(layout, value, stream);
    }
}

void end_too_long() noexcept {
    engine::end_with_diagnostic(status_too_long, too_long_message);
}

void append_within_limit(std::size_t* length, const char* text) noexcept {
    const std::size_t added = std::strlen(text);
    if (*length + added >= engine::max_text_length) end_too_long();
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
int run(int argc, char** argv) noexcept {
    std::setlocale(LC_ALL, "C");
    engine::result_stream = platform::standard_output();
    const int skipped = run_switches(argc, argv) - 1;
    argc -= skipped;
    argv += skipped;
    if (argc <= 1) run_interactive_mode();
    if (argc == 2) run_help_switch(argv[1]);
    int first = 1;
    if (argc > 2 && equals(argv[1], "/f")) {
        platform::output_stream* file = platform::open_result_file();
        if (file != nullptr) engine::result_stream = file;
        first = 2;
    }
    const int count = argc - first;
    char** parameters = argv + first;
    const std::size_t length = copy_first_parameter(parameters[0]);
    if (count == 1 && equals(parameters[0], platform::data_file_path)) run_data_file_mode();
    if (count == 1) {
        evaluate_and_print(format::layout_default, engine::result_stream);
    } else {
        run_joined_parameters(count, parameters, length);
    }
    platform::end_process(0);
}

}  // namespace fexpr::driver
