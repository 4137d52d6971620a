// Fuzzes the format-suffix parser and then prints a value in the layout it chose: the text
// up to the first NUL is the suffix, the eight bytes after that NUL (when there) the value.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "format/layouts.h"
#include "platform/output_stream.h"

namespace {

constexpr std::size_t max_input = 4096;
fexpr::platform::output_stream memory_stream;

// A layout of 1 to 3 carries a precision inside that layout's range; the others carry the
// default precision.
void check_precision(fexpr::format::result_layout layout) {
    using namespace fexpr;
    const int precision = layout.precision;
    switch (layout.format) {
        case format::layout_fixed:
        case format::layout_scientific:
            if (precision < 0 || precision > 15) std::abort();
            return;
        case format::layout_significant:
            if (precision < 1 || precision > 15) std::abort();
            return;
        default:
            if (layout.format < format::layout_default || layout.format > format::layout_duration) {
                std::abort();
            }
            if (precision != format::default_precision) std::abort();
    }
}

// The eight bytes after the suffix's NUL, or a plain value when the input has none.
double value_after(std::size_t text_length, const std::uint8_t* data, std::size_t size) {
    double value = 1234.5678;
    if (text_length + 1 + sizeof value <= size) {
        std::memcpy(&value, data + text_length + 1, sizeof value);
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr;
    if (size > max_input) return 0;
    char text[max_input + 1];
    std::memcpy(text, data, size);
    text[size] = '\0';
    const std::size_t text_length = std::strlen(text);
    const format::result_layout layout = format::parse_format_suffix(text);
    check_precision(layout);
    platform::open_memory_stream(&memory_stream);
    format::print_result(format::plain_run, layout, engine::no_groups,
                         value_after(text_length, data, size), &memory_stream);
    const std::size_t length = memory_stream.length;
    if (length == 0 || memory_stream.buffer[length - 1] != '\n') std::abort();
    if (std::memchr(memory_stream.buffer, '\n', length - 1) != nullptr) std::abort();
    return 0;
}
