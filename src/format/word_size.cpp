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
constexpr double two_to_63 = 0x1p63;
constexpr double two_to_64 = 0x1p64;

// Written after the result line, like the accuracy warning, when the value has more bits
// than the word shows.
void warn_word_fit(const word_settings& word, double value) noexcept {
    if (fits_word(word, value)) return;
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

/*
 * The integer view gives 2^63's pattern for every value without an exact view: from 2^63
 * up, infinities and NaNs. Under a reading, [2^63, 2^64) is converted as the unsigned
 * integer it truncates to, which is defined there.
 */
std::uint64_t word_pattern(const word_settings& word, double value) noexcept {
    const bool unsigned_range = value >= two_to_63 && value < two_to_64;
    const std::uint64_t pattern = word.reading != integer_reading::none && unsigned_range
                                      ? static_cast<std::uint64_t>(value)
                                      : numeric::pattern_of(numeric::integer_view(value));
    if (word.bits == full_word) return pattern;
    return pattern & ((std::uint64_t{1} << word.bits) - 1);
}

// Below 64 bits the view decides: a value without an exact view has 2^63's, which fits
// in no smaller word. -2^63 is the lowest double that truncates to -2^63 or more.
bool fits_word(const word_settings& word, double value) noexcept {
    if (word.bits == full_word) {
        return word.reading == integer_reading::none || (value >= -two_to_63 && value < two_to_64);
    }
    const std::int64_t view = numeric::integer_view(value);
    const std::int64_t lowest = -(std::int64_t{1} << (word.bits - 1));
    const std::int64_t beyond = std::int64_t{1} << word.bits;
    return view >= lowest && view < beyond;
}

int octal_digit_count(int bits) noexcept {
    const int digits = (bits + 2) / 3;
    return (digits + 3) / 4 * 4;
}

// The accuracy warning depends on the magnitude alone: a value from 2^63 up has the view
// -2^63, which warns as the value itself must.
void warn_integer_layout(const word_settings& word, double value) noexcept {
    warn_hex_precision(numeric::integer_view(value));
    warn_word_fit(word, value);
}

void print_word_decimal(const word_settings& word, double value, engine::digit_grouping grouping,
                        platform::output_stream* stream) noexcept {
    char* text = engine::number_text;
    const std::uint64_t pattern = word_pattern(word, value);
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
