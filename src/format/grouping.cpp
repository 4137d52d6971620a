// Digit grouping of the default, fixed and significant layouts.
#include "format/grouping.h"

#include <cstddef>
#include <cstring>

#include "engine/text_buffers.h"

namespace fexpr::format {
namespace {

// What group_digits writes: the grouped text, and nothing else.
char grouped_text[engine::text_capacity];

// Grouping adds at most one separator per three characters; longer texts than this (no
// layout produces them) are copied unchanged so the result always fits in grouped_text.
constexpr std::size_t longest_groupable = (engine::text_capacity - 1) * 3 / 4;

// The first `length` characters of text (at most max_text_length) in grouped_text.
char* copy_unchanged(const char* text, std::size_t length) noexcept {
    char* out = grouped_text;
    const std::size_t used = length < engine::max_text_length ? length : engine::max_text_length;
    std::memcpy(out, text, used);
    out[used] = '\0';
    return out;
}

/*
 * The last '.' among the first `length` characters of text, or nullptr. Found here rather than
 * with strrchr: the layouts write a number text in runs of fixed length, so the bytes after its
 * NUL may never have been set, and the C library's strrchr reads whole blocks beyond the NUL,
 * which makes its answer depend on them for a checker such as valgrind's memcheck.
 */
const char* last_point(const char* text, std::size_t length) noexcept {
    for (std::size_t position = length; position > 0; --position) {
        if (text[position - 1] == '.') return text + position - 1;
    }
    return nullptr;
}

// Whether `text` is a number with digits, not "+INF", "-INF", "+NAN" or "-NAN", which are
// never grouped.
bool has_digits(const char* text) noexcept {
    const char first = text[0] == '-' || text[0] == '+' ? text[1] : text[0];
    return first >= '0' && first <= '9';
}

}  // namespace

/*
 * A separator never goes in front of the first character, nor between a '-' and what
 * follows it, so -123456 becomes -123,456. The fraction part (from
 * the last '.') stays as it is. The text is built backwards and then turned round.
 */
char* group_digits(const char* text, engine::digit_grouping grouping) noexcept {
    const std::size_t length = std::strlen(text);
    if (grouping == engine::no_groups || !has_digits(text) || std::strchr(text, 'e') != nullptr ||
        length > longest_groupable) {
        return copy_unchanged(text, length);
    }
    const std::size_t group_size = grouping == engine::groups_of_three ? 3 : 4;
    const char separator = grouping == engine::groups_of_three ? ',' : '_';
    const char* point = last_point(text, length);
    const std::size_t integer_length =
        point != nullptr ? static_cast<std::size_t>(point - text) : length;

    char* out = grouped_text;
    std::size_t used = 0;
    for (std::size_t position = length; position > integer_length; --position) {
        out[used++] = text[position - 1];
    }
    for (std::size_t taken = 1; taken <= integer_length; ++taken) {
        const std::size_t position = integer_length - taken;
        out[used++] = text[position];
        if (taken % group_size == 0 && position > 0 && text[position - 1] != '-') {
            out[used++] = separator;
        }
    }
    out[used] = '\0';
    return reverse_text(out);
}

char* reverse_text(char* text) noexcept {
    if (text == nullptr || text[0] == '\0') return text;
    char* first = text;
    char* last = text + std::strlen(text) - 1;
    while (first < last) {
        const char kept = *first;
        *first++ = *last;
        *last-- = kept;
    }
    return text;
}

}  // namespace fexpr::format
