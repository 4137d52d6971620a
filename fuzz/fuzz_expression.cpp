// Fuzzes one expression through the pre-pass, the evaluator and a result layout chosen by the
// input's first byte, in-process: diagnostics jump back here instead of ending the process.
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/prepass.h"
#include "engine/text_buffers.h"
#include "format/layouts.h"
#include "platform/output_stream.h"
#include "platform/process.h"

namespace {

std::jmp_buf diagnostic_jump;
int diagnostic_status = 0;
fexpr::platform::output_stream memory_stream;

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr;
    if (size == 0) return 0;
    const format::result_layout layout = layout_of(data[0]);
    load_expression(data + 1, size - 1);
    platform::open_memory_stream(&memory_stream);
    engine::direct_results_to(&memory_stream);
    platform::set_exit_hook(jump_back);
    if (setjmp(diagnostic_jump) == 0) {
        const engine::digit_grouping grouping = engine::prepare_expression();
        const double value = engine::evaluate_expression(engine::expression_text);
        format::print_result(layout, grouping, value, &memory_stream);
    } else if (diagnostic_status < 1 || diagnostic_status > 10) {
        std::abort();
    }
    check_one_line();
    platform::set_exit_hook(nullptr);
    return 0;
}
