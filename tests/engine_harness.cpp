// In-process harness of the expression engine.
#include "engine_harness.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/prepass.h"
#include "engine/text_buffers.h"
#include "error_capture.h"
#include "platform/output_stream.h"
#include "platform/process.h"

namespace fexpr::testing {
namespace {

std::jmp_buf diagnostic_jump;
int diagnostic_status = 0;
platform::output_stream memory_stream;

void jump_back(int status) {
    diagnostic_status = status;
    std::longjmp(diagnostic_jump, 1);
}

void load_expression(const std::string& expression) {
    const std::size_t length = std::min(expression.size(), engine::expression_capacity - 1);
    std::memcpy(engine::expression_text, expression.data(), length);
    engine::expression_text[length] = '\0';
}

}  // namespace

engine_run run_engine(const std::string& expression, bool capture_error,
                      engine::reading_record* reading) {
    static engine_run run;
    static error_capture capture;
    run = engine_run{};
    platform::open_memory_stream(&memory_stream);
    engine::direct_results_to(&memory_stream);
    platform::set_exit_hook(jump_back);
    load_expression(expression);
    if (capture_error) capture.start();
    if (setjmp(diagnostic_jump) == 0) {
        const engine::expression_value result =
            engine::evaluate_text(engine::expression_text, reading);
        run.grouping_mode = result.grouping;
        run.value = result.value;
    } else {
        run.ended = true;
        run.status = diagnostic_status;
    }
    if (capture_error) run.error_text = capture.finish();
    run.message.assign(memory_stream.buffer, memory_stream.length);
    platform::set_exit_hook(nullptr);
    return run;
}

std::string prepared_text(const std::string& expression) {
    load_expression(expression);
    engine::prepare_expression(engine::expression_text);
    return engine::expression_text;
}

std::string repeat_text(const std::string& piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i) text += piece;
    return text;
}

}  // namespace fexpr::testing
