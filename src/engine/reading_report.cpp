// Writing out a recorded reading, and the caret lines under the text the evaluator received.
#include "engine/reading_report.h"

#include <cstdint>
#include <cstring>

#include "engine/character_set.h"
#include "engine/evaluator.h"
#include "engine/functions.h"
#include "engine/letters.h"
#include "engine/operand_scanner.h"
#include "engine/prepass.h"
#include "numeric/character_classes.h"
#include "numeric/text_output.h"
#include "platform/output_stream.h"
#include "platform/text_builder.h"

namespace fexpr::engine {
namespace {

/*
 * The steps are replayed on a stack of fragments, one for each value the evaluator held. The
 * fragments lie side by side in the output buffer in stack order, so combining the two
 * topmost rewrites the end of the buffer: the new text is built in `scratch` and copied back.
 * Nothing is ever dropped, so the buffer only grows, and the final text is the longest.
 */
enum class fragment_kind : std::uint8_t {
    zero,      // the running result 0 a level begins with; no text
    atom,      // a number: needs no parentheses
    compound,  // an operation or a function: in parentheses when it is an operand
};

struct fragment {
    std::size_t start;
    fragment_kind kind;
};

fragment fragments[reading_event_capacity];
char scratch[text_capacity];

struct renderer {
    const reading_record& record;
    char* out;
    std::size_t size;
    std::size_t length;  // of the text in `out`
    std::size_t count;   // fragments on the stack
    std::size_t built;   // characters in scratch
    bool failed;
};

void build(renderer& r, const char* text, std::size_t length) noexcept {
    if (r.built + length > sizeof scratch) {
        r.failed = true;
        return;
    }
    std::memcpy(scratch + r.built, text, length);
    r.built += length;
}

void build(renderer& r, const char* text) noexcept {
    build(r, text, std::strlen(text));
}

// The text of fragment `index` (it ends where the next begins, the last at r.length).
void build_fragment(renderer& r, std::size_t index, bool parenthesised) noexcept {
    const std::size_t start = fragments[index].start;
    const std::size_t end = index + 1 < r.count ? fragments[index + 1].start : r.length;
    if (parenthesised) build(r, "(");
    build(r, r.out + start, end - start);
    if (parenthesised) build(r, ")");
}

void build_operand(renderer& r, std::size_t index) noexcept {
    build_fragment(r, index, fragments[index].kind != fragment_kind::atom);
}

// Puts scratch in place of the fragments from `first` on, as one fragment of `kind`.
void replace_from(renderer& r, std::size_t first, fragment_kind kind) noexcept {
    const std::size_t start = fragments[first].start;
    if (r.failed || start + r.built >= r.size) {
        r.failed = true;
        return;
    }
    std::memcpy(r.out + start, scratch, r.built);
    r.length = start + r.built;
    r.count = first + 1;
    fragments[first].kind = kind;
    r.built = 0;
}

void push_fragment(renderer& r, fragment_kind kind, const char* text, std::size_t length) noexcept {
    if (r.count == reading_event_capacity || r.length + length >= r.size) {
        r.failed = true;
        return;
    }
    fragments[r.count++] = {r.length, kind};
    std::memcpy(r.out + r.length, text, length);
    r.length += length;
}

// A number as it was written; Pi and a unit letter, which stand for numbers, as "Pi" and as
// the multiplier. A radix prefix without digits, which is 0, gets the digit 0: in "0x+1" the
// hexadecimal scan would take the sign and the 1.
void push_operand(renderer& r, const reading_event& event) noexcept {
    if (event.length <= 0) {
        r.failed = true;
        return;
    }
    const char* text = r.record.text + event.start;
    const std::size_t length = static_cast<std::size_t>(event.length);
    if (length == 2 && radix_prefix(text) != '\0') {
        const char literal[] = {text[0], text[1], '0'};
        push_fragment(r, fragment_kind::atom, literal, sizeof literal);
    } else if (!numeric::is_letter(*text)) {
        push_fragment(r, fragment_kind::atom, text, length);
    } else if (begins_with_pi(text)) {
        push_fragment(r, fragment_kind::atom, "Pi", 2);
    } else {
        char digits[24];
        const std::uint64_t multiplier = static_cast<std::uint64_t>(unit_multiplier(*text));
        push_fragment(r, fragment_kind::atom, digits,
                      numeric::format_unsigned_decimal(digits, sizeof digits, multiplier));
    }
}

// The running result 0 of a level added to a value is the value; subtracted from it, its
// negation.
void reduce(renderer& r, char op) noexcept {
    if (r.count < 2) {
        r.failed = true;
        return;
    }
    const std::size_t a = r.count - 2;
    const std::size_t b = r.count - 1;
    if (fragments[a].kind == fragment_kind::zero && op == '+') {
        build_fragment(r, b, false);
        replace_from(r, a, fragments[b].kind);
        return;
    }
    if (fragments[a].kind == fragment_kind::zero && op != '-') build(r, "0");
    if (fragments[a].kind != fragment_kind::zero) build_operand(r, a);
    build(r, &op, 1);
    build_operand(r, b);
    replace_from(r, a, fragment_kind::compound);
}

// The shift descriptor in its form with a length: "shift" kind direction ss 'l' nn cc.
void build_shift_name(renderer& r, const shift_descriptor& shift) noexcept {
    char name[16] = "shift";
    name[5] = shift.kind;
    name[6] = shift.direction;
    std::size_t length = 7;
    length += numeric::format_signed(name + length, sizeof name - length, shift.start, 2);
    name[length++] = 'l';
    length += numeric::format_signed(name + length, sizeof name - length, shift.length, 2);
    length += numeric::format_signed(name + length, sizeof name - length, shift.count, 2);
    build(r, name, length);
}

void apply_function(renderer& r, const reading_event& event) noexcept {
    const int code = static_cast<unsigned char>(event.symbol);
    const int position = code - first_function_code;
    if (r.count == 0 || position < 0 || position > named_function_count) {
        r.failed = true;
        return;
    }
    if (code == shift_function_code) {
        build_shift_name(r, event.shift);
    } else {
        build(r, named_functions[position].name);
    }
    build_fragment(r, r.count - 1, true);
    replace_from(r, r.count - 1, fragment_kind::compound);
}

void replay(renderer& r, const reading_event& event) noexcept {
    switch (event.step) {
        case reading_step::level:
            push_fragment(r, fragment_kind::zero, "", 0);
            return;
        case reading_step::operand:
            push_operand(r, event);
            return;
        case reading_step::reduction:
            reduce(r, event.symbol);
            return;
        case reading_step::function:
            apply_function(r, event);
            return;
    }
}

// Shown as '?' (a tab in the received text as a blank), so that each line stays one line.
bool is_control(char c) noexcept {
    return static_cast<unsigned char>(c) < 32 || c == 127;
}

// One line on standard error, in one write.
void write_line(const platform::text_builder& line) noexcept {
    platform::write_standard_error(line.data, line.length);
}

constexpr char read_label[] = "read as: ";
constexpr char stopped_label[] = "stopped: ";
constexpr char warning_label[] = "warning: ";
constexpr std::size_t label_width = sizeof read_label - 1;
static_assert(sizeof stopped_label - 1 == label_width && sizeof warning_label - 1 == label_width,
              "the carets stand under the text after any label");

// The part of the text shown around a caret: up to this many characters before it, and this
// many in all; "..." marks a cut end.
constexpr std::size_t shown_before_caret = 50;
constexpr std::size_t shown_width = 72;

constexpr character_set removed_characters = make_character_set(removed_on_entry, false);

// Where in the received text the character at `offset` of the text without blanks stands;
// the end of the text for the end.
std::size_t given_index(const reading_record& record, std::size_t offset) noexcept {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < record.given_length; ++i) {
        if (in_set(removed_characters, record.given_text[i])) continue;
        if (kept == offset) return i;
        ++kept;
    }
    return record.given_length;
}

// Two lines: the label and the text around `index`, then a caret under it and the note.
void print_marked_text(const reading_record& record, const char* label, std::size_t index,
                       const char* note) noexcept {
    const std::size_t first = index > shown_before_caret ? index - shown_before_caret : 0;
    std::size_t end = first + shown_width;
    if (end > record.given_length) end = record.given_length;
    char line[label_width + shown_width + 128];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, label);
    if (first > 0) platform::append_text(builder, "...");
    for (std::size_t i = first; i < end; ++i) {
        const char c = record.given_text[i];
        platform::append_char(builder, c == '\t' ? ' ' : is_control(c) ? '?' : c);
    }
    if (end < record.given_length) platform::append_text(builder, "...");
    platform::append_char(builder, '\n');
    write_line(builder);
    builder = platform::make_builder(line, sizeof line);
    const std::size_t column = label_width + (first > 0 ? 3 : 0) + index - first;
    while (builder.length < column) platform::append_char(builder, ' ');
    platform::append_char(builder, '^');
    if (note[0] != '\0') platform::append_char(builder, ' ');
    platform::append_text(builder, note);
    platform::append_char(builder, '\n');
    write_line(builder);
}

// The digits right after position `index`.
int digits_after(const reading_record& record, std::size_t index) noexcept {
    std::size_t end = index + 1;
    while (numeric::is_decimal_digit(record.given_text[end])) ++end;
    return static_cast<int>(end - index - 1);
}

constexpr int shown_warnings = 4;

// "',' marks groups of 3 digits, not a decimal point; 1 digit follows it"
void print_group_warning(const reading_record& record, std::size_t index,
                         const digit_group_mark& mark, int digits) noexcept {
    char note[96];
    platform::text_builder builder = platform::make_builder(note, sizeof note);
    const char quoted[] = {'\'', mark.mark, '\'', ' ', '\0'};
    platform::append_text(builder, quoted);
    platform::append_text(builder, "marks groups of ");
    platform::append_char(builder, static_cast<char>('0' + mark.digits));
    platform::append_text(builder, " digits");
    if (mark.mark == ',') platform::append_text(builder, ", not a decimal point");
    char count[24];
    numeric::format_signed(count, sizeof count, digits, 0);
    platform::append_text(builder, digits == 0 ? "; no digit" : "; ");
    if (digits > 0) platform::append_text(builder, count);
    if (digits > 0) platform::append_text(builder, digits == 1 ? " digit" : " digits");
    platform::append_text(builder, digits > 1 ? " follow it" : " follows it");
    print_marked_text(record, warning_label, index, note);
}

/*
 * A ',' or '_' after the first character (which chooses the grouping of the result) separates
 * digit groups; one that is not followed by a whole group most likely stands where a
 * decimal point or something else was meant: '1,5' is 15 and '100-1,9' is 81.
 */
void print_group_warnings(const reading_record& record) noexcept {
    int found = 0;
    for (std::size_t i = 1; i < record.given_length; ++i) {
        for (const digit_group_mark& mark : digit_group_marks) {
            if (record.given_text[i] != mark.mark) continue;
            const int digits = digits_after(record, i);
            if (digits == mark.digits) continue;
            if (found++ < shown_warnings) print_group_warning(record, i, mark, digits);
        }
    }
    if (found <= shown_warnings) return;
    char line[64];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, warning_label);
    char count[24];
    numeric::format_signed(count, sizeof count, found - shown_warnings, 0);
    platform::append_text(builder, count);
    platform::append_text(builder, " more group marks like these\n");
    write_line(builder);
}

char reading_text[text_capacity];

}  // namespace

std::size_t render_reading(const reading_record& record, char* out, std::size_t size) noexcept {
    if (record.incomplete || size == 0) return 0;
    renderer r{record, out, size, 0, 0, 0, false};
    for (std::size_t i = 0; i < record.event_count && !r.failed; ++i) {
        replay(r, record.events[i]);
    }
    if (r.failed || r.count != 1) return 0;
    out[r.length] = '\0';
    return r.length;
}

void print_reading(reading_record& record) noexcept {
    record.evaluating = false;
    char line[label_width + shown_reading_length + 16];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, read_label);
    const std::size_t length = render_reading(record, reading_text, sizeof reading_text);
    if (length == 0) {
        platform::append_text(builder, "(too long to show)");
    } else if (length > shown_reading_length) {
        platform::append_text(builder, reading_text, shown_reading_length);
        platform::append_text(builder, " ...");
    } else {
        platform::append_text(builder, reading_text);
    }
    platform::append_char(builder, '\n');
    // A number may hold white space other than blanks and tabs ("0x\n5"): shown as '?'.
    for (std::size_t i = label_width; i + 1 < builder.length; ++i) {
        if (is_control(line[i])) line[i] = '?';
    }
    write_line(builder);
    print_group_warnings(record);
}

void report_stopped_reading(exit_status status) noexcept {
    reading_record* record = active_reading;
    if (record == nullptr || !record->evaluating) return;
    record->evaluating = false;
    std::size_t offset = record->position;
    if (status == status_constants_joined || status == status_group_after_constant) {
        offset += begins_with_pi(record->text + offset) ? 2 : 1;
    }
    print_marked_text(*record, stopped_label, given_index(*record, offset), "");
    print_group_warnings(*record);
}

}  // namespace fexpr::engine
