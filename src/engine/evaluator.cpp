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
// two tests after every number (bench/instruction_gate.sh, per line).
template <bool explained>
void multiply_after_number(level_state& level, const char* next) noexcept {
    const token_kind kind = token_kinds.kind[static_cast<unsigned char>(*next)];
    if (kind == open_token || kind == letter_token) multiply_implicitly<explained>(level);
}

// After a group, Pi and unit letters are not multiplied: they are rejected when read.
template <bool explained>
inline void multiply_after_group(level_state& level, const char* next) noexcept {
    const token_kind kind = token_kinds.kind[static_cast<unsigned char>(*next)];
    if (kind == open_token ||
        (kind == letter_token && !begins_with_pi(next) && !is_unit_letter(next))) {
        multiply_implicitly<explained>(level);
    }
}

/* The level functions below change the level's fields one at a time, in place: a new
 * level_state copied over the old one would be read as wide words just after its fields
 * were stored one by one, and wait for those stores (they cannot be forwarded), at every
 * level (bench/bench_engine.cpp, evaluate_short and evaluate_typical). */
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

// Both copies of the main loop call this and the next at every group: `inline` keeps them
// inlined there rather than calls (bench/instruction_gate.sh, per line).
inline void open_nested_level(level_state& level, int& depth) noexcept {
    check_room_for_level(level, depth);
    const std::size_t value_base = value_base_above(level);
    const std::size_t operator_base = operator_base_above(level);
    suspended_levels[depth] = {level.value_count, level.operator_count};
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

template <bool explained>
double finish_level(level_state& level) noexcept {
    if (level.value_count <= level.operator_count) {
        end_with_diagnostic(status_incorrect);
    }
    reduce_all<explained>(level);
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

/*
 * A group that begins with a decimal number after its sign, if any ("(7)", "(-2k)",
 * "(512.17+31)"): the number is read once. When the group is only that number, perhaps with
 * a unit letter, its value is what the group's level would compute (the number times the
 * letter's multiplier, under the bottom operator over 0) and no level opens: the pre-pass
 * wraps every number with a unit letter so, and a level for each is dear (bench/shape_costs.sh,
 * shapes group and unit). A unit letter before ')' is always a unit, as no name is one letter
 * long. Any other group opens its level with the number as its first operand. Returns where
 * reading goes on.
 */
inline char* read_group_of_number(level_state& level, int& depth, char* open,
                                  char* number) noexcept {
    check_room_for_level(level, depth);
    const numeric::scanned_number scanned = numeric::scan_number(number);
    char* end = open + (scanned.end - open);
    const char bottom = number != open + 1 ? open[1] : '+';
    const bool with_unit = is_unit_set_letter(*end);
    char* close = with_unit ? end + 1 : end;
    if (*close == ')') {
        const double value =
            with_unit ? apply_operator('*', scanned.value, unit_multiplier(*end)) : scanned.value;
        push_operand(level, apply_bottom_over_zero(bottom, value));
        level.after_operand = true;
        multiply_after_group<false>(level, close + 1);
        return close + 1;
    }
    open_nested_level(level, depth);
    level.operator_stack[0] = bottom;
    push_operand(level, scanned.value);
    level.after_operand = true;
    multiply_after_number<false>(level, end);
    return end;
}

// At a '(': a group that begins with a number is read by read_group_of_number, except under
// --explain, where every group is a level of its own and its steps are recorded; any other
// group opens a nested level. Returns where reading goes on.
template <bool explained>
inline char* read_open_parenthesis(level_state& level, int& depth, char* position) noexcept {
    if constexpr (!explained) {
        char* const number = position[1] == '+' || position[1] == '-' ? position + 2 : position + 1;
        if (numeric::is_decimal_digit(*number) && radix_prefix(number) == '\0') {
            return read_group_of_number(level, depth, position, number);
        }
    }
    open_nested_level(level, depth);
    if constexpr (explained) record_level();
    return take_leading_sign(level, position + 1);
}

/*
 * One pass from left to right over a text without blanks. '(' suspends the current level
 * and opens a nested one; ')' or the end of the text finishes the current level, whose value
 * becomes an operand of the enclosing level (a missing ')' is no error: every open level
 * then ends at the NUL). Text after the ')' that closes the outermost level is not read.
 *
 * With `explained` (--explain) the same loop also reports each level and the position of
 * each token to the reading (engine/reading_record.h); the copy without holds no such step.
 */
template <bool explained>
double evaluate_blankless(char* text) noexcept {
    int depth = 0;
    level_state level{};
    begin_level(level, value_arena, operator_arena, descriptor_arena);
    if constexpr (explained) record_level();
    char* position = take_leading_sign(level, text);
    for (;;) {
        if constexpr (explained) note_position(position);
        const char c = *position;
        const token_kind kind = token_kinds.kind[static_cast<unsigned char>(c)];
        if (kind == number_token) {
            if (level.after_operand) end_with_diagnostic(status_numbers_stuck);
            if constexpr (explained) record_operand();
            position = read_number(level, position);
            level.after_operand = true;
            multiply_after_number<explained>(level, position);
        } else if (kind == operator_token) {
            act_on_operator<explained>(level, c);
            ++position;
        } else if (kind == open_token) {
            position = read_open_parenthesis<explained>(level, depth, position);
        } else if (kind == close_token) {
            if (c == ')') ++position;
            const double value = finish_level<explained>(level);
            if (depth == 0) return value;
            resume_enclosing_level(level, depth, value);
            multiply_after_group<explained>(level, position);
        } else if constexpr (explained) {
            position = read_recorded_letter(level, position);
        } else {
            position = read_letter_operand(level, position);
        }
    }
}

// The evaluation of a prepared text: the blanks go (after the text is recorded as the
// evaluator received it), then the one pass.
template <bool explained>
double evaluate_prepared(char* text, const prepared_expression& prepared) noexcept {
    if constexpr (explained) record_text(text);
    remove_blanks(text + prepared.first_removed);
    return evaluate_blankless<explained>(text);
}

}  // namespace

expression_value evaluate_text(char* text, reading_record* reading) noexcept {
    active_reading = reading;
    const prepared_expression prepared = prepare_expression(text);
    const double value = reading != nullptr ? evaluate_prepared<true>(text, prepared)
                                            : evaluate_prepared<false>(text, prepared);
    return {value, prepared.grouping};
}

}  // namespace fexpr::engine
