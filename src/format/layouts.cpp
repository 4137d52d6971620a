// The nine result layouts and the accuracy warning of the integer layouts.
#include "format/layouts.h"

#include <cstddef>
#include <cstring>

#include "engine/bit_shift.h"
#include "engine/text_buffers.h"
#include "format/grouping.h"
#include "format/word_size.h"
#include "numeric/integer_view.h"
#include "numeric/text_output.h"
#include "platform/text_builder.h"

namespace fexpr::format {
namespace {

constexpr char accuracy_warning[] =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";

// Room for the longest integer layout line: "0b", 64 digits, 15 '_', newline, NUL.
constexpr std::size_t integer_line_capacity = 96;

void write_line(platform::output_stream* stream, const char* text) noexcept {
    platform::write_stream(stream, text);
    platform::write_stream(stream, "\n", 1);
}

// Layouts 0 to 2: a number text of `length` characters in number_text, grouped, then
// printed. Without a grouping mode the text goes out as it stands, with its newline in the
// same write, and needs neither a copy nor a strlen.
void print_grouped(platform::output_stream* stream, engine::digit_grouping grouping,
                   std::size_t length) noexcept {
    if (grouping != engine::no_groups) {
        write_line(stream, group_digits(engine::number_text, grouping));
        return;
    }
    char* text = engine::number_text;
    text[length] = '\n';
    platform::write_stream(stream, text, length + 1);
    text[length] = '\0';
}

// Layouts 0 and 2 without a grouping mode, formatted in the stream's own buffer with the
// newline after them when it has room; false when it has not. Not formatted in number_text
// and copied: nearly every result takes this way (bench/instruction_gate.sh, per line).
bool print_general_in_place(platform::output_stream* stream, engine::digit_grouping grouping,
                            int precision, double value) noexcept {
    if (grouping != engine::no_groups) return false;
    char* room = platform::stream_room(stream, numeric::number_text_capacity + 1);
    if (room == nullptr) return false;
    const std::size_t length =
        numeric::format_general(room, numeric::number_text_capacity, precision, value);
    room[length] = '\n';
    platform::commit_stream(stream, length + 1);
    return true;
}

// Writes `prefix`, then `groups` slices of `width` characters of `digits` joined by '_',
// then a newline: the shape of the layouts 4, 6 and 7.
void print_digit_groups(platform::output_stream* stream, const char* prefix, const char* digits,
                        int groups, std::size_t width) noexcept {
    char line[integer_line_capacity];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, prefix);
    for (int group = 0; group < groups; ++group) {
        if (group > 0) platform::append_char(builder, '_');
        platform::append_text(builder, digits + static_cast<std::size_t>(group) * width, width);
    }
    platform::append_char(builder, '\n');
    platform::write_stream(stream, line, builder.length);
}

// The integer layouts show the low word.bits bits, grouped from the right: the full 64-bit
// texts are built and their last digits kept.
void print_integer_layout(const word_settings& word, output_format layout, double value,
                          platform::output_stream* stream) noexcept {
    char* text = engine::number_text;
    const std::uint64_t pattern = word_pattern(word, value);
    const int bits = word.bits;
    if (layout == layout_hex_grouped) {
        numeric::format_hex(text, engine::text_capacity, pattern, 16);
        print_digit_groups(stream, "0x", text + (64 - bits) / 4, bits / 8, 2);
    } else if (layout == layout_hex) {
        numeric::format_hex(text, engine::text_capacity, pattern, 16);
        print_digit_groups(stream, "0x", text + (64 - bits) / 4, 1,
                           static_cast<std::size_t>(bits / 4));
    } else if (layout == layout_binary) {
        engine::build_bit_text(numeric::signed_from_pattern(pattern), text);
        print_digit_groups(stream, "0b", text + (64 - bits), bits / 4, 4);
    } else {
        const int digits = octal_digit_count(bits);
        numeric::format_octal(text, engine::text_capacity, pattern, 24);
        print_digit_groups(stream, "0o", text + (24 - digits), digits / 4, 4);
    }
}

constexpr bool is_integer_layout(output_format layout) noexcept {
    return layout >= layout_hex_grouped && layout <= layout_octal;
}

// Whether the line of `layout` shows a word, which the integer layouts' warnings follow: the
// integer layouts, and under --signed or --unsigned the general layout, also where the
// duration layout falls back to it.
bool shows_word(const run_settings& run, output_format layout, double value) noexcept {
    if (is_integer_layout(layout)) return true;
    if (!shows_word_decimal(run)) return false;
    return layout == layout_default || (layout == layout_duration && duration_falls_back(value));
}

}  // namespace

// The usual result, the default layout without groups on a buffered stream, goes straight to
// the stream rather than through print_layout_line (bench/instruction_gate.sh, per line).
void print_result(const run_settings& run, result_layout layout, engine::digit_grouping grouping,
                  double value, platform::output_stream* stream) noexcept {
    if (layout.format == layout_default && !shows_word_decimal(run) &&
        print_general_in_place(stream, grouping, default_precision, value)) {
        return;
    }
    print_layout_line(run, layout, grouping, value, stream);
    if (shows_word(run, layout.format, value)) warn_integer_layout(run.word, value);
}

bool shows_word_decimal(const run_settings& run) noexcept {
    return run.word.reading != integer_reading::none;
}

void print_layout_line(const run_settings& run, result_layout layout,
                       engine::digit_grouping grouping, double value,
                       platform::output_stream* stream) noexcept {
    char* text = engine::number_text;
    const int precision = layout.precision;
    switch (layout.format) {
        case layout_fixed:
            print_grouped(stream, grouping,
                          numeric::format_fixed(text, engine::text_capacity, precision, value));
            return;
        case layout_significant:
            if (print_general_in_place(stream, grouping, precision, value)) return;
            print_grouped(stream, grouping,
                          numeric::format_general(text, engine::text_capacity, precision, value));
            return;
        case layout_scientific:
            numeric::format_exponent(text, engine::text_capacity, precision, value);
            write_line(stream, text);
            return;
        case layout_hex_grouped:
        case layout_hex:
        case layout_binary:
        case layout_octal:
            print_integer_layout(run.word, layout.format, value, stream);
            return;
        case layout_duration:
            print_duration(run, value, grouping, stream);
            return;
        case layout_default:
            break;
    }
    if (shows_word_decimal(run)) {
        print_word_decimal(run.word, value, grouping, stream);
        return;
    }
    if (print_general_in_place(stream, grouping, default_precision, value)) return;
    print_grouped(stream, grouping,
                  numeric::format_general(text, engine::text_capacity, default_precision, value));
}

/*
 * More than 13 hexadecimal digits means a magnitude of 2^52 or more, beyond the integers a
 * double holds exactly. Negative views have 16 digits; those from -2^52 up begin with "fff"
 * and stay silent. Written after the result line, whatever stream that went to.
 */
void warn_hex_precision(std::int64_t view) noexcept {
    char* text = engine::number_text;
    const std::size_t count =
        numeric::format_hex(text, engine::text_capacity, numeric::pattern_of(view), 0);
    if (count > 13 && std::strncmp(text, "fff", 3) != 0) {
        platform::write_standard_error(accuracy_warning, sizeof accuracy_warning - 1);
    }
}

}  // namespace fexpr::format
