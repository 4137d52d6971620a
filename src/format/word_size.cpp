// The word size of the integer layouts and the exact integer form of the general layout.
#include "format/word_size.h"

#include <cstddef>

#include "engine/text_buffers.h"
#include "format/grouping.h"
#include "format/layouts.h"
#include "numeric/integer_view.h"
#include "numeric/text_output.h"
#include "platform/text_builder.h"

namespace fexpr::format {
namespace {

constexpr int full_word = 64;

// Written after the result line, like the accuracy warning, when the integer view has more
// bits than the word shows.
void warn_word_fit(const word_settings& word, std::int64_t view) noexcept {
    if (word.bits == full_word || fits_word(word, view)) return;
    char line[96];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, "Attention: The value does not fit in ");
    char digits[4];
    numeric::format_signed(digits, sizeof digits, word.bits, 0);
    platform::append_text(builder, digits);
    platform::append_text(builder, " bits, only its low bits are shown!\n");
    platform::write_standard_error(line, builder.length);
}

// The word read as two's complement: its top bit counts negative.
std::int64_t signed_word(const word_settings& word, std::uint64_t pattern) noexcept {
    const int bits = word.bits;
    if (bits == full_word) return numeric::signed_from_pattern(pattern);
    const std::uint64_t top = std::uint64_t{1} << (bits - 1);
    const std::int64_t low = static_cast<std::int64_t>(pattern & (top - 1));
    return (pattern & top) != 0 ? low - static_cast<std::int64_t>(top) : low;
}

}  // namespace

std::uint64_t word_pattern(const word_settings& word, std::int64_t view) noexcept {
    const std::uint64_t pattern = numeric::pattern_of(view);
    if (word.bits == full_word) return pattern;
    return pattern & ((std::uint64_t{1} << word.bits) - 1);
}

bool fits_word(const word_settings& word, std::int64_t view) noexcept {
    if (word.bits == full_word) return true;
    const std::int64_t lowest = -(std::int64_t{1} << (word.bits - 1));
    const std::int64_t beyond = std::int64_t{1} << word.bits;
    return view >= lowest && view < beyond;
}

int octal_digit_count(int bits) noexcept {
    const int digits = (bits + 2) / 3;
    return (digits + 3) / 4 * 4;
}

void warn_integer_layout(const word_settings& word, std::int64_t view) noexcept {
    warn_hex_precision(view);
    warn_word_fit(word, view);
}

void print_word_decimal(const word_settings& word, std::int64_t view,
                        engine::digit_grouping grouping, platform::output_stream* stream) noexcept {
    char* text = engine::number_text;
    const std::uint64_t pattern = word_pattern(word, view);
    const std::size_t length =
        word.reading == integer_reading::unsigned_word
            ? numeric::format_unsigned_decimal(text, engine::text_capacity, pattern)
            : numeric::format_signed(text, engine::text_capacity, signed_word(word, pattern), 0);
    if (grouping != engine::no_groups) {
        platform::write_stream(stream, group_digits(text, grouping));
    } else {
        platform::write_stream(stream, text, length);
    }
    platform::write_stream(stream, "\n", 1);
}

}  // namespace fexpr::format
