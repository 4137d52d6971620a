// The pre-pass: the rewriting of an expression's text before it is evaluated.
#pragma once

#include <cstddef>

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

// The characters removed from the whole text before it is evaluated: blanks, tabs and the
// digit-group marks.
inline constexpr char removed_on_entry[] = " \t,_";

// Whether the 'x' at position i >= 1 of `text` stays a letter rather than becoming the
// multiplication '*' in the pre-pass.
bool keeps_x(const char* text, std::size_t i) noexcept;

// What the pre-pass found: the digit groups the first character asks for, and where the
// first character to be removed stands (the length of the text when it holds none).
struct prepared_expression {
    digit_grouping grouping;
    std::size_t first_removed;
};

// Rewrites the text (a buffer of expression_capacity) once before it is evaluated: turns an
// 'x' that stands for multiplication into '*', wraps every number that carries a unit letter
// in parentheses together with it, and drops the white space at the end.
prepared_expression prepare_expression(char* text) noexcept;

// Removes every blank, tab, ',' and '_' from the text in one pass, moving the rest (and the
// NUL) to the left. Nothing moves before the first of them, so that part is only read.
void remove_blanks(char* text) noexcept;

}  // namespace fexpr::engine
