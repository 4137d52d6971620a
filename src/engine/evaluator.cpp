// The evaluator's level loop: parenthesis levels kept on explicit stacks, and the main loop.
#include "engine/evaluator.h"

#include <cstddef>

#include "engine/diagnostics.h"
#include "engine/level_stacks.h"
#include "engine/operand_scanner.h"
#include "engine/operators.h"
#include "engine/prepass.h"
#include "engine/reading_record.h"
#include "engine/text_buffers.h"
#include "engine/unit_groups.h"
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

// By the token table, where '(' and the letters are two of the kinds: one lookup instead of
// the two tests saved about 25 instructions per line of bench/instruction_gate.sh (1.5%).
template <bool recorded>
void multiply_after_number(level_state& level, const char* next) noexcept {
    const token_kind kind = token_kinds.kind[static_cast<unsigned char>(*next)];
    if (kind == open_token || kind == letter_token) multiply_implicitly<recorded>(level);
}

// After a group, Pi and unit letters are not multiplied: they are rejected when read.
template <bool recorded>
inline void multiply_after_group(level_state& level, const char* next) noexcept {
    const token_kind kind = token_kinds.kind[static_cast<unsigned char>(*next)];
    if (kind == open_token ||
        (kind == letter_token && !begins_with_pi(next) && !is_unit_letter(next))) {
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

std::size_t value_base_above(const level_state& level) noexcept {
    return static_cast<std::size_t>(level.value_stack - value_arena + level.value_count);
}

std::size_t operator_base_above(const level_state& level) noexcept {
    return static_cast<std::size_t>(level.operator_stack - operator_arena + level.operator_count);
}

// Ends the evaluation with status 10 when no room is left for a level above this one: its
// bases would pass the last one whose level_stack_entries fit the arenas.
void check_room_for_level(const level_state& level, int depth) noexcept {
    constexpr std::size_t last_base = arena_entries - level_stack_entries;
    if (static_cast<std::size_t>(depth) + 1 >= level_capacity ||
        value_base_above(level) > last_base || operator_base_above(level) > last_base) {
        end_with_diagnostic(status_too_complex);
    }
}

// Both copies of the main loop call this and the next: `inline` keeps them inlined there
// (without it they became calls, 36 more instructions per line of bench/mixed_lines.sh).
inline void open_nested_level(level_state& level, int& depth) noexcept {
    check_room_for_level(level, depth);
    const std::size_t value_base = value_base_above(level);
    const std::size_t operator_base = operator_base_above(level);
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
    push_operand(level, value);
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

// The position after a group the pre-pass marked in place (see unit_group_ends); the
// characters between its marks and its unit letter are never letters.
char* skip_unit_group(char* open) noexcept {
    const char mark = open[1];
    if (mark != unit_group_goes_on) return open + 2 + (mark - unit_group_ends);
    char* after = open + 2;
    while (!is_unit_set_letter(*after)) ++after;
    return after + 1;
}

/*
 * A group that begins with a decimal number (after its sign, if any): the number is read
 * first. When ')' follows it, the group is that number under its sign, and no level is
 * opened (the level cost about 110 instructions more, bench/shape_costs.sh, shape group);
 * otherwise the nested level opens with the number as its first operand, as it would have
 * read it. Returns where reading goes on.
 */
inline char* read_group_with_number(level_state& level, int& depth, char* open,
                                    char* number) noexcept {
    check_room_for_level(level, depth);
    const char* end = number;
    const double value = numeric::text_to_double(number, &end);
    char* after = open + (end - open);
    const char bottom = number != open + 1 ? open[1] : '+';
    if (*after == ')') {
        push_operand(level, apply_bottom_over_zero(bottom, value));
        level.after_operand = true;
        multiply_after_group<false>(level, after + 1);
        return after + 1;
    }
    open_nested_level(level, depth);
    level.operator_stack[0] = bottom;
    push_operand(level, value);
    level.after_operand = true;
    multiply_after_number<false>(level, after);
    return after;
}

// The steps of the level a group of one number would have opened: room for it, then its
// value as the operand. Returns the position after the group.
template <bool recorded>
inline char* take_group_value(level_state& level, int depth, char* after_group,
                              double value) noexcept {
    check_room_for_level(level, depth);
    push_operand(level, value);
    level.after_operand = true;
    multiply_after_group<recorded>(level, after_group);
    return after_group;
}

/*
 * True when the level holds its bottom operator and a '*' (written, or implicit after a
 * group) with its left operand on top of the values, which the '*' after a group read now
 * would reduce at once and alone. A '*' on top stands only there: a low-class operator
 * reduces everything and becomes the bottom, a middle-class one what is above the bottom.
 */
inline bool folds_into_product(const level_state& level) noexcept {
    return level.operator_count == 2 && level.operator_stack[1] == '*' && !level.after_operand;
}

/*
 * A group the pre-pass marked in place: its noted value is the operand. Between a '*' and
 * another group ('(1k)(+1k)(+1k)', as numbers with unit letters joined by signs are read),
 * the group's value would be pushed and then reduced with the '*' at once, when the implicit
 * '*' before the next group arrives, which leaves the same '*' on top: the product is taken
 * in place instead, for as many groups as follow so. The push, the arrival and the main loop
 * between them cost about 100 instructions a group (bench/shape_costs.sh, shape unit).
 */
inline char* read_marked_group(level_state& level, int depth, char* open,
                               unit_group_values& values) noexcept {
    const double value = take_unit_group_value(values);
    char* after = skip_unit_group(open);
    if (*after != '(' || !folds_into_product(level)) {
        return take_group_value<false>(level, depth, after, value);
    }
    check_room_for_level(level, depth);
    double& product = level.value_stack[level.value_count - 1];
    product = apply_operator('*', product, value);
    // The level is left as it was found, so each marked group that follows with another group
    // after it folds the same way, with the same room.
    while (is_unit_group_mark(after[1])) {
        char* const after_next = skip_unit_group(after);
        if (*after_next != '(') break;
        product = apply_operator('*', product, take_unit_group_value(values));
        after = after_next;
    }
    return after;
}

// At a '(': a group of one number is read at once where the pre-pass may have made one;
// any other group opens a nested level. Returns where reading goes on.
template <bool recorded>
inline char* read_open_parenthesis(level_state& level, int& depth, char* position,
                                   unit_groups groups, unit_group_values& marked_values) noexcept {
    if (recorded) {
        // a level of its own
    } else if (groups == unit_groups_wrapped) {
        double group_value = 0;
        char* after_group = read_simple_group(position, group_value);
        if (after_group != nullptr) {
            return take_group_value<recorded>(level, depth, after_group, group_value);
        }
    } else if (groups == unit_groups_marked && is_unit_group_mark(position[1])) {
        return read_marked_group(level, depth, position, marked_values);
    } else {
        char* const number = position[1] == '+' || position[1] == '-' ? position + 2 : position + 1;
        if (numeric::is_decimal_digit(*number) && radix_prefix(number) == '\0') {
            return read_group_with_number(level, depth, position, number);
        }
    }
    open_nested_level(level, depth);
    if constexpr (recorded) record_level();
    return take_leading_sign(level, position + 1);
}

/*
 * One pass from left to right over a text without blanks. '(' suspends the current level
 * and opens a nested one; ')' or the end of the text finishes the current level, whose value
 * becomes an operand of the enclosing level (a missing ')' is no error: every open level
 * then ends at the NUL). Text after the ')' that closes the outermost level is not read.
 * Where the pre-pass wrapped numbers with their unit letters, a group of one number is read
 * at once (read_simple_group), which costs a look at the start of every other group; where it
 * marked them in place, a marked group takes its value from the pre-pass; elsewhere a group
 * that begins with a number reads that number first (read_group_with_number).
 *
 * The loop is compiled twice: with `recorded` it also reports each level and the position
 * of each token to the reading of --explain, and reads every group as a level of its own;
 * the copy every other run takes has no such step in it.
 */
template <bool recorded>
double evaluate_blankless(char* text, unit_groups groups,
                          unit_group_values marked_values) noexcept {
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
            position =
                read_open_parenthesis<recorded>(level, depth, position, groups, marked_values);
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
    return recorded ? evaluate_blankless<true>(text, no_unit_groups, {})
                    : evaluate_blankless<false>(text, unit_groups_wrapped, {});
}

expression_value prepare_and_evaluate() noexcept {
    const prepared_text prepared = prepare_without_blanks();
    return expression_value{
        evaluate_blankless<false>(expression_text, prepared.groups, prepared.marked_values),
        prepared.grouping};
}

}  // namespace fexpr::engine
