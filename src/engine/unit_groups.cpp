// The numbers that carry unit letters: wrapped in parentheses with their letters, or marked
// in place as groups whose values are noted for the evaluator.
#include "engine/unit_groups.h"

#include <cstdint>
#include <cstring>

#include "engine/character_set.h"
#include "engine/letters.h"
#include "engine/operand_scanner.h"
#include "engine/operators.h"
#include "engine/text_buffers.h"
#include "numeric/character_classes.h"
#include "numeric/decimal_input.h"

namespace fexpr::engine {
namespace {

/*
 * The wrapping reads the text from the tail of expression_text, where it was moved, and
 * writes the result from the start of the same buffer. The writer can only catch up with
 * the unread text by the growth so far (two characters per wrapped number), which stays
 * below the gap whenever the result fits the buffer; so the result is never cut and nothing
 * is read after being overwritten. Should a wrap not fit (a text far longer than the driver
 * accepts), the number is copied unwrapped: the evaluator still multiplies it by its letter.
 */
struct wrap_state {
    char* text;        // expression_text
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
    // The wrapping reads every number the same way (see mark_state::take_plain_number).
    static bool take_plain_number(std::size_t) noexcept { return false; }
};

/*
 * The same scan without moving the text: each number the wrapping would put in parentheses
 * with its unit letter is noted with the value of its group (computed as the evaluator
 * computes a group of one number), and the group's marks are written over the number's first
 * two characters (see unit_group_ends) once the scan has read them. Where the scan meets a
 * mark in the text itself, a group of any other shape (an exponent part, a radix literal, an
 * infinity) or more groups than the table holds, `failed` is set and the characters under
 * the marks are put back at the end: the wrapping then runs as before. Nothing the scan reads
 * later lies under a mark.
 */
struct unit_group_plan {
    std::uint16_t start;  // the first character of the wrapped text
    char covered[2];      // the characters the marks were written over
};

constexpr int unit_group_capacity = 512;
static_assert(expression_capacity <= 65536, "positions of the text fit the plan");

unit_group_plan unit_group_plans[unit_group_capacity];
double noted_group_values[unit_group_capacity];
int unit_groups_noted = 0;

// The digits and point of a group of one number, between its white space and sign and its
// unit letter; false for a number of any other form.
bool plain_number(const char* number, const char* unit) noexcept {
    for (const char* p = number; p != unit; ++p) {
        if (!numeric::is_decimal_digit(*p) && *p != '.') return false;
    }
    return true;
}

struct mark_state {
    char* text;        // expression_text
    std::size_t room;  // what the wrapping would have left for its growth
    std::size_t read;  // characters consumed
    char last_read;    // the last character consumed, '\0' before the first
    int count;         // groups planned
    bool failed;

    const char* unread() const noexcept { return text + read; }
    // Every character passed over is checked, so that no mark of the input is taken for one
    // of the pre-pass's own: a run of white space is copied with the character after it.
    void copy(std::size_t length) noexcept {
        for (std::size_t index = 0; index < length; ++index) {
            failed = failed || is_unit_group_mark(unread()[index]);
        }
        last_read = unread()[length - 1];
        read += length;
    }
    void copy_one() noexcept {
        last_read = unread()[0];
        failed = failed || is_unit_group_mark(last_read);
        ++read;
    }
    bool can_grow() const noexcept { return room >= 2; }
    bool take_plain_number(std::size_t skipped) noexcept;
    void wrap(std::size_t length) noexcept {
        last_read = unread()[length - 1];
        plan(length);
        read += length;
        room -= 2;
    }
    void plan(std::size_t length) noexcept {
        const char* number = numeric::skip_white_space(unread());
        const char bottom = *number == '+' || *number == '-' ? *number++ : '+';
        const char* unit = unread() + length - 1;
        if (count == unit_group_capacity || !plain_number(number, unit)) {
            failed = true;
            return;
        }
        const char* end = number;
        note_group(unit, unit_group_value(bottom, number, *unit, &end));
        failed = failed || end != unit;
    }
    // Notes the group that starts at the read position and ends with `unit`, and marks it.
    void note_group(const char* unit, double value) noexcept {
        char* start = text + read;
        noted_group_values[count] = value;
        unit_group_plans[count] = {static_cast<std::uint16_t>(read), {start[0], start[1]}};
        ++count;
        start[0] = '(';
        // Each mark stands for a distance from the mark to the unit letter (one, two, more).
        static_assert(unit_group_ends_next == unit_group_ends + 1 &&
                          unit_group_goes_on == unit_group_ends + 2,
                      "marks by distance");
        const std::ptrdiff_t span = unit - start;
        start[1] = static_cast<char>(unit_group_ends +
                                     (span < 3 ? span - 1 : unit_group_goes_on - unit_group_ends));
    }
    // Drops the white space at the end, or puts back what the marks covered.
    void finish() noexcept {
        if (!failed) {
            text[read] = '\0';
            return;
        }
        for (int index = 0; index < count; ++index) {
            const unit_group_plan& group = unit_group_plans[index];
            text[group.start] = group.covered[0];
            text[group.start + 1] = group.covered[1];
        }
    }
};

/*
 * The number after `skipped` characters of white space, when it is digits with at most one
 * point, at most 15 digits in all, no exponent part and no radix letter after it (the numbers
 * of most texts): its end and its value come from one reading of its digits, which the
 * general steps below take in three (the end, the check of its characters, the conversion),
 * and a number without a point needs no scaling. Copies or plans it
 * as they would; false, with nothing consumed, for a number of any other form and when the
 * groups noted fill the table. The general steps cost about 100 instructions a number
 * (bench/shape_costs.sh, shape unit).
 */
bool mark_state::take_plain_number(std::size_t skipped) noexcept {
    const char* number = unread() + skipped;
    const bool signed_number = *number == '+' || *number == '-';
    const char* digits = signed_number ? number + 1 : number;
    std::uint64_t significant = 0;
    const char* after = numeric::accumulate_digits(digits, significant);
    const std::ptrdiff_t count_of_digits = after - digits;
    // At most 15 digits: the count is far below 2^63, and the signed conversion is shorter.
    double value = static_cast<double>(static_cast<std::int64_t>(significant));
    if (count_of_digits == 0) return false;
    if (*after == '.') {
        if (!numeric::read_plain_decimal(digits, &after, value)) return false;
    } else if (!numeric::exact_arithmetic || count_of_digits > 15) {
        return false;
    }
    const unit_letter_kind kind = unit_kind_of(*after);
    if (kind == not_a_unit && (*after == 'e' || *after == 'E' || is_radix_letter(*after))) {
        return false;
    }
    const std::size_t length = static_cast<std::size_t>(after - unread());
    if (kind == not_a_unit || (kind == unit_unless_named && !is_unit_unless_named(after)) ||
        !can_grow()) {
        copy(length);
        return true;
    }
    if (count == unit_group_capacity) return false;
    const double group_value = apply_operator('*', value, unit_multiplier(*after));
    last_read = *after;
    note_group(after, apply_bottom_over_zero(signed_number ? *number : '+', group_value));
    read += length + 1;
    room -= 2;
    return true;
}

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
template <typename state_type>
void wrap_unit_numbers(state_type& state) noexcept {
    for (;;) {
        const char* source = state.unread();
        if (!in_set(number_start_or_end, *source)) {
            state.copy_one();
            continue;
        }
        std::size_t skipped = 0;
        while (numeric::is_white_space(source[skipped])) ++skipped;
        if (source[skipped] == '\0') break;
        if (state.take_plain_number(skipped)) continue;
        const char* number = source + skipped;
        const char* after = numeric::decimal_text_end(number);
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

void wrap_unit_groups(std::size_t length) noexcept {
    const std::size_t gap = expression_capacity - 1 - length;
    std::memmove(expression_text + gap, expression_text, length);
    expression_text[expression_capacity - 1] = '\0';
    wrap_state state{expression_text, gap, 0, 0, '\0'};
    wrap_unit_numbers(state);
}

bool mark_unit_groups(std::size_t& length) noexcept {
    mark_state state{expression_text, expression_capacity - 1 - length, 0, '\0', 0, false};
    wrap_unit_numbers(state);
    length = state.read;
    unit_groups_noted = state.failed ? 0 : state.count;
    return !state.failed;
}

unit_group_values noted_unit_group_values() noexcept {
    return unit_group_values{noted_group_values, noted_group_values + unit_groups_noted};
}

}  // namespace fexpr::engine
