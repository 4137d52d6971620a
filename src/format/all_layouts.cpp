// Every layout of one value at once.
#include "format/all_layouts.h"

#include "engine/shared_state.h"
#include "format/layouts.h"
#include "format/word_size.h"
#include "numeric/integer_view.h"

namespace fexpr::format {
namespace {

struct labelled_layout {
    const char* label;
    output_format layout;
};

constexpr labelled_layout all_layouts[] = {
    {"general", layout_default}, {"x_", layout_hex_grouped}, {"b", layout_binary},
    {"o", layout_octal},         {":", layout_duration},     {"e15", layout_scientific},
};

// The N of the e15 line.
constexpr int scientific_precision = 15;

}  // namespace

void print_labelled_line(platform::output_stream* stream, const char* label,
                         const char* text) noexcept {
    platform::write_stream(stream, label);
    platform::write_stream(stream, "\t", 1);
    platform::write_stream(stream, text);
    platform::write_stream(stream, "\n", 1);
}

void print_all_layouts(double value, platform::output_stream* stream) noexcept {
    engine::output_precision = scientific_precision;
    for (const labelled_layout& entry : all_layouts) {
        platform::write_stream(stream, entry.label);
        platform::write_stream(stream, "\t", 1);
        print_layout_line(entry.layout, value, stream);
    }
    warn_integer_layout(numeric::integer_view(value));
}

}  // namespace fexpr::format
