// Every layout of one value at once.
#include "format/all_layouts.h"

#include "format/layouts.h"
#include "format/word_size.h"

namespace fexpr::format {
namespace {

struct labelled_layout {
    const char* label;
    result_layout layout;
};

// The N of the e15 line.
constexpr int scientific_precision = 15;

constexpr labelled_layout all_layouts[] = {
    {"general", default_layout},
    {"x_", {layout_hex_grouped, default_precision}},
    {"b", {layout_binary, default_precision}},
    {"o", {layout_octal, default_precision}},
    {":", {layout_duration, default_precision}},
    {"e15", {layout_scientific, scientific_precision}},
};

}  // namespace

void print_labelled_line(platform::output_stream* stream, const char* label,
                         const char* text) noexcept {
    platform::write_stream(stream, label);
    platform::write_stream(stream, "\t", 1);
    platform::write_stream(stream, text);
    platform::write_stream(stream, "\n", 1);
}

void print_all_layouts(const run_settings& run, double value, engine::digit_grouping grouping,
                       platform::output_stream* stream) noexcept {
    for (const labelled_layout& entry : all_layouts) {
        platform::write_stream(stream, entry.label);
        platform::write_stream(stream, "\t", 1);
        print_layout_line(run, entry.layout, grouping, value, stream);
    }
    warn_integer_layout(run.word, value);
}

}  // namespace fexpr::format
