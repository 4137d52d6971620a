// The pre-pass: the rewriting of expression_text before it is evaluated.
#pragma once

#include <cstddef>

#include "engine/unit_groups.h"

namespace fexpr::engine {

// The digit groups the expression asks for with its first character.
enum digit_grouping : int {
    no_groups = 0,        // the default
    groups_of_three = 1,  // a leading ',': a ',' every three digits
    groups_of_four = 2,   // a leading '_': a '_' every four digits
};

// The two digit-group marks, the grouping each asks for as the first character of the text,
// and the digits of one of their groups.
struct digit_group_mark {
    char mark;
    digit_grouping grouping;
    int digits;
};
inline constexpr digit_group_mark digit_group_marks[] = {{',', groups_of_three, 3},
                                                         {'_', groups_of_four, 4}};

// Rewrites expression_text once before it is evaluated: turns an 'x' that stands for
// multiplication into '*' and wraps every number that carries a unit letter in parentheses
// together with it. Returns the digit groups its first character asks for.
digit_grouping prepare_expression() noexcept;

// Whether the 'x' at position i >= 1 of `text` stays a letter rather than becoming the
// multiplication '*' in the pre-pass.
bool keeps_x(const char* text, std::size_t i) noexcept;

// Removes every blank, tab, ',' and '_' from the text in one pass, moving the rest (and the
// NUL) to the left: what the evaluator does on entry. Nothing moves before the first of
// them, so that part is only read.
void remove_blanks(char* text) noexcept;

// What the pre-pass did with the numbers that carry unit letters: there were none, it
// wrapped them in parentheses, or it marked their groups in place.
enum unit_groups : unsigned char { no_unit_groups, unit_groups_wrapped, unit_groups_marked };

// What prepare_without_blanks did: the digit groups and the unit groups.
struct prepared_text {
    digit_grouping grouping;
    unit_groups groups;
    unit_group_values marked_values;  // the values of the marked groups, none for the others
};

// prepare_expression followed by remove_blanks on expression_text, with the removal started
// where the pre-pass's own pass saw the first blank (and left out when it saw none). The
// numbers with unit letters are not wrapped but marked in place where they can be, each with
// the value its group has.
prepared_text prepare_without_blanks() noexcept;

}  // namespace fexpr::engine
