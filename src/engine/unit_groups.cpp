// The numbers that carry unit letters, wrapped in parentheses with their letters.
#include "engine/unit_groups.h"

#include <cstring>

#include "engine/character_set.h"
#include "engine/letters.h"
#include "engine/operand_scanner.h"
#include "engine/text_buffers.h"
#include "numeric/character_classes.h"
#include "numeric/decimal_input.h"

namespace fexpr::engine {
namespace {

/*
 * The wrapping reads the text from the tail of its buffer, where it was moved, and
 * writes the result from the start of the same buffer. The writer can only catch up with
 * the unread text by the growth so far (two characters per wrapped number), which stays
 * below the gap whenever the result fits the buffer; so the result is never cut and nothing
 * is read after being overwritten. Should a wrap not fit (a text far longer than the driver
 * accepts), the number is copied unwrapped: the evaluator still multiplies it by its letter.
 */
struct wrap_state {
    char* text;        // the start of the buffer
    std::size_t gap;   // where the unread text started, minus where writing started
    std::size_t read;  // characters of the moved text consumed
    std::size_t written;
    char last_read;  // the last character consumed, '\0' before the first

    const char* unread() const noexcept { return text + gap + read; }
    void copy(std::size_t count) noexcept {
        last_read = unread()[count - 1];
        std::memmove(text + written, unread(), count);
        written += count;
        read += count;
    }
    void copy_one() noexcept {
        last_read = unread()[0];
        text[written] = last_read;
        ++written;
        ++read;
    }
    bool can_grow() const noexcept { return written - read + 2 <= gap; }
    void wrap(std::size_t count) noexcept {
        last_read = unread()[count - 1];
        text[written] = '(';
        std::memmove(text + written + 1, unread(), count);
        written += count + 1;
        read += count;
        text[written] = ')';
        ++written;
    }
    void finish() noexcept { text[written] = '\0'; }
};

/*
 * The scan reads a hexadecimal, binary or octal literal as the decimal number '0' (with the
 * white space and sign it took before it). When that '0' is followed by a radix letter and
 * does not end a longer number (the test the 'x' rewrite makes), the literal goes on over the
 * letter and the digits after it, so a unit letter behind it binds to the whole literal:
 * '0x1k' is wrapped as '(0x1k)', not split into '0x(1k)'. The digits are taken as far as any
 * hexadecimal digit goes, whatever the radix, so digits a literal cannot hold ('0b12k',
 * '0o78k') stay beside it, where the evaluator rejects them as two numbers stuck together.
 * Returns the end of the literal, or `after` when no literal starts there.
 */
const char* radix_literal_end(const char* source, const char* number, const char* after,
                              char last_read) noexcept {
    const char* zero = after - 1;
    if (radix_prefix(zero) == '\0') return after;
    if (zero != number && (zero - 1 != number || (*number != '+' && *number != '-'))) {
        return after;
    }
    if (numeric::is_decimal_digit(zero > source ? zero[-1] : last_read)) return after;
    const char* end = after + 1;
    while (numeric::is_hex_digit(*end)) ++end;
    return end;
}

// The characters where the scan below can find a number (white space, a sign, a digit or a
// point) or the end of the text; at any other one a character is copied at once.
constexpr character_set number_start_or_end = make_character_set(" \t\n\v\f\r+-.0123456789", true);

/*
 * Scans "%lf%n%1[GKMPTgkmpt]" at each read position; only the end of each number matters
 * here, so it is found without converting the number. A number directly followed by a unit
 * letter is written as "(<number><letter>)"; the number includes the white space and sign
 * that the scan took. Where no number stands, one character is copied. The scan skips white
 * space before it looks for a number, so a run of white space followed by no number is
 * copied at once (the same result as one character at a time, without scanning the run
 * again and again). White space at the end of the text is dropped.
 */
void wrap_unit_numbers(wrap_state& state) noexcept {
    for (;;) {
        const char* source = state.unread();
        if (!in_set(number_start_or_end, *source)) {
            state.copy_one();
            continue;
        }
        std::size_t skipped = 0;
        while (numeric::is_white_space(source[skipped])) ++skipped;
        if (source[skipped] == '\0') break;
        const char* number = source + skipped;
        const char* after = numeric::scan_number(number).end;
        if (after == number) {
            state.copy(skipped + 1);
            continue;
        }
        after = radix_literal_end(source, number, after, state.last_read);
        const std::size_t length = static_cast<std::size_t>(after - source);
        if (unit_kind_of(*after) != not_a_unit && is_unit_letter(after) && state.can_grow()) {
            state.wrap(length + 1);
        } else {
            state.copy(length);
        }
    }
    state.finish();
}

}  // namespace

std::size_t wrap_unit_groups(char* text, std::size_t length) noexcept {
    const std::size_t gap = expression_capacity - 1 - length;
    std::memmove(text + gap, text, length);
    text[expression_capacity - 1] = '\0';
    wrap_state state{text, gap, 0, 0, '\0'};
    wrap_unit_numbers(state);
    return state.written;
}

}  // namespace fexpr::engine
