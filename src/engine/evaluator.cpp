// The evaluator's level loop: parenthesis levels kept on explicit stacks, and the main loop.
#include "engine/evaluator.h"

#include <cstddef>

#include "engine/character_set.h"
#include "engine/diagnostics.h"
#include "engine/functions.h"
#include "engine/level_stacks.h"
#include "engine/operand_scanner.h"
#include "engine/operators.h"
#include "engine/reading_record.h"
#include "engine/text_buffers.h"
#include "numeric/character_classes.h"

namespace fexpr::engine {
namespace {

/*
 * Parenthesis levels are kept on an explicit stack rather than in nested calls, so any
 * nesting that fits the text evaluates without deep native recursion. A nested level's
 * entries start where the enclosing level's entries in use end. Every entry in use stands
 * for at least one character of the text ('(' for a level's entry 0, the characters of an
 * operand or operator otherwise; an implicit '*' for the operand before it), so the text's
 * capacity bounds the entries of all levels together; the extra room keeps the last level's
 * 50 entries inside the arrays.
 */
constexpr std::size_t arena_entries = expression_capacity + level_stack_entries;
constexpr std::size_t level_capacity = expression_capacity;

double value_arena[arena_entries];
char operator_arena[arena_entries];
shift_descriptor descriptor_arena[arena_entries];

// What an enclosing level needs to resume after its nested level ends.
struct suspended_level {
    int value_count;
    int operator_count;
    bool after_operand;
};
suspended_level suspended_levels[level_capacity];

// What the main loop does at a character: read a number (anything not listed otherwise),
// act on an operator, open a group, close one (')' or the NUL), or read a letter operand.
enum token_kind : unsigned char {
    number_token,
    operator_token,
    open_token,
    close_token,
    letter_token
};

struct token_table {
    token_kind kind[256];
};

// Codes from 128 on are neither letters nor operators and stay number_token.
constexpr token_table make_token_table() noexcept {
    token_table table{};
    for (int code = 0; code < 128; ++code) {
        const char c = static_cast<char>(code);
        if (class_of(c) != not_an_operator) table.kind[code] = operator_token;
        if (numeric::is_letter(c)) table.kind[code] = letter_token;
    }
    table.kind[static_cast<unsigned char>('(')] = open_token;
    table.kind[static_cast<unsigned char>(')')] = close_token;
    table.kind[0] = close_token;
    return table;
}

constexpr token_table token_kinds = make_token_table();

template <bool recorded>
void multiply_after_number(level_state& level, const char* next) noexcept {
    if (*next == '(' || numeric::is_letter(*next)) multiply_implicitly<recorded>(level);
}

// After a group, Pi and unit letters are not multiplied: they are rejected when read.
template <bool recorded>
void multiply_after_group(level_state& level, const char* next) noexcept {
    if (*next == '(' ||
        (numeric::is_letter(*next) && !begins_with_pi(next) && !is_unit_letter(next))) {
        multiply_implicitly<recorded>(level);
    }
}

/* The level functions below change the level's fields one at a time, in place: a new
 * level_state copied over the old one would be read as wide words just after its fields
 * were stored one by one, and wait for those stores (they cannot be forwarded). A copy in
 * begin_level made evaluate_short and evaluate_typical of bench/bench_engine.cpp about 4%
 * and 8% slower (medians of 9 repetitions). */
void begin_level(level_state& level, double* values, char* operators,
                 shift_descriptor* descriptors) noexcept {
    values[0] = 0.0;
    operators[0] = '+';
    level.value_stack = values;
    level.operator_stack = operators;
    level.shift_descriptors = descriptors;
    level.value_count = 1;
    level.after_operand = false;
    level.operator_count = 1;
}

// A leading '+' or '-' of a level becomes its bottom operator; only one is taken.
char* take_leading_sign(level_state& level, char* text) noexcept {
    if (*text == '+' || *text == '-') {
        level.operator_stack[0] = *text;
        ++text;
    }
    return text;
}

// Both copies of the main loop call this and the next: `inline` keeps them inlined there
// (without it they became calls, 36 more instructions per line of bench/mixed_lines.sh).
inline void open_nested_level(level_state& level, int& depth) noexcept {
    const std::size_t value_base =
        static_cast<std::size_t>(level.value_stack - value_arena + level.value_count);
    const std::size_t operator_base =
        static_cast<std::size_t>(level.operator_stack - operator_arena + level.operator_count);
    if (static_cast<std::size_t>(depth) + 1 >= level_capacity ||
        value_base + level_stack_entries > arena_entries ||
        operator_base + level_stack_entries > arena_entries) {
        end_with_diagnostic(status_too_complex);
    }
    suspended_levels[depth] = {level.value_count, level.operator_count, level.after_operand};
    ++depth;
    begin_level(level, value_arena + value_base, operator_arena + operator_base,
                descriptor_arena + operator_base);
}

// The enclosing level takes the finished group's value as its next operand.
inline void resume_enclosing_level(level_state& level, int& depth, double value) noexcept {
    --depth;
    const suspended_level& saved = suspended_levels[depth];
    level.value_stack -= saved.value_count;
    level.operator_stack -= saved.operator_count;
    level.shift_descriptors -= saved.operator_count;
    level.value_count = saved.value_count;
    level.operator_count = saved.operator_count;
    level.value_stack[level.value_count] = value;
    ++level.value_count;
    check_stack_depth(level.value_count);
    level.value_stack[level.value_count - 1] = apply_pending_functions(
        value, level.operator_stack, level.shift_descriptors, level.operator_count);
    level.after_operand = true;
}

template <bool recorded>
double finish_level(level_state& level) noexcept {
    if (level.value_count <= level.operator_count) {
        end_with_diagnostic(status_incorrect);
    }
    reduce_all<recorded>(level);
    return level.value_stack[0];
}

// Pi and the unit letters push an operand, function names and shift descriptors a code, so
// the operand step recorded before the letter is withdrawn unless an operand came of it.
char* read_recorded_letter(level_state& level, char* position) noexcept {
    const int values = level.value_count;
    record_operand();
    char* after = read_letter_operand(level, position);
    if (level.value_count == values) withdraw_operand();
    return after;
}

// Compared one by one: a lookup in a table of removed_on_entry costs more here.
constexpr bool is_blank(char c) noexcept {
    return c == ' ' || c == '\t' || c == ',' || c == '_';
}

constexpr bool blanks_are_removed_on_entry() noexcept {
    const character_set removed = make_character_set(removed_on_entry, false);
    for (int code = 0; code < 256; ++code) {
        if (is_blank(static_cast<char>(code)) != removed.member[code]) return false;
    }
    return true;
}
static_assert(blanks_are_removed_on_entry(), "is_blank tests the characters of removed_on_entry");

// Blanks, tabs and group characters, and the NUL that ends the text.
constexpr character_set blank_or_end = make_character_set(removed_on_entry, true);

// Removes blanks, tabs and group characters in one pass, moving the rest (and the NUL) left.
// Nothing moves before the first of them, so that part is only read (most texts hold none).
void remove_blanks(char* text) noexcept {
    char* out = text;
    while (!in_set(blank_or_end, *out)) ++out;
    for (const char* in = out; *in != '\0'; ++in) {
        if (!is_blank(*in)) *out++ = *in;
    }
    *out = '\0';
}

/*
 * One pass from left to right. '(' suspends the current level and opens a nested one;
 * ')' or the end of the text finishes the current level, whose value becomes an operand of
 * the enclosing level (a missing ')' is no error: every open level then ends at the NUL).
 * Text after the ')' that closes the outermost level is not read.
 *
 * The loop is compiled twice: with `recorded` it also reports each level and the position
 * of each token to the reading of --explain; the copy every other run takes has no such
 * step in it.
 */
template <bool recorded>
double evaluate_levels(char* text) noexcept {
    int depth = 0;
    level_state level{};
    begin_level(level, value_arena, operator_arena, descriptor_arena);
    if constexpr (recorded) record_level();
    char* position = take_leading_sign(level, text);
    for (;;) {
        if constexpr (recorded) note_position(position);
        const char c = *position;
        const token_kind kind = token_kinds.kind[static_cast<unsigned char>(c)];
        if (kind == number_token) {
            if (level.after_operand) end_with_diagnostic(status_numbers_stuck);
            if constexpr (recorded) record_operand();
            position = read_number(level, position);
            level.after_operand = true;
            multiply_after_number<recorded>(level, position);
        } else if (kind == operator_token) {
            act_on_operator<recorded>(level, c);
            ++position;
        } else if (kind == open_token) {
            open_nested_level(level, depth);
            if constexpr (recorded) record_level();
            position = take_leading_sign(level, position + 1);
        } else if (kind == close_token) {
            if (c == ')') ++position;
            const double value = finish_level<recorded>(level);
            if (depth == 0) return value;
            resume_enclosing_level(level, depth, value);
            multiply_after_group<recorded>(level, position);
        } else if constexpr (recorded) {
            position = read_recorded_letter(level, position);
        } else {
            position = read_letter_operand(level, position);
        }
    }
}

}  // namespace

double evaluate_expression(char* text) noexcept {
    const bool recorded = active_reading != nullptr;
    if (recorded) record_text(text);
    remove_blanks(text);
    return recorded ? evaluate_levels<true>(text) : evaluate_levels<false>(text);
}

}  // namespace fexpr::engine
