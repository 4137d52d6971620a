// The numbers that carry unit letters, as the pre-pass finds them in expression_text: each
// is wrapped in parentheses with its letter ('1k' becomes '(1k)'), or its group is marked in
// place with the value the evaluator gives it.
#pragma once

#include <cstddef>

namespace fexpr::engine {

// The marks of a group of one number with its unit letter that the pre-pass made in place:
// '(' over the group's first character (the number's white space or sign, else its first
// digit), and one of these three over the second: unit_group_ends when that was the unit
// letter, so the group ends after the mark; unit_group_ends_next when the unit letter follows
// the mark ('+1k', '12k'); unit_group_goes_on when the group goes on up to and including its
// unit letter (the first that follows). None is a character of the language, and a text that
// holds one has its numbers wrapped instead.
inline constexpr char unit_group_ends = '\x01';
inline constexpr char unit_group_ends_next = '\x02';
inline constexpr char unit_group_goes_on = '\x03';

constexpr bool is_unit_group_mark(char c) noexcept {
    return static_cast<unsigned char>(c - unit_group_ends) <= unit_group_goes_on - unit_group_ends;
}

// Wraps every number that carries a unit letter in parentheses together with it, in
// expression_text of `length` characters; drops the white space at the end.
void wrap_unit_groups(std::size_t length) noexcept;

// Marks the groups of the numbers with unit letters in place, noting their values, and sets
// `length` to what is left of the text (white space at the end is dropped); false when the
// text must be wrapped instead (it holds a mark character, a group of another form or more
// groups than are noted at once), which it is then left for.
bool mark_unit_groups(std::size_t& length) noexcept;

// The values of the groups that mark_unit_groups marked, in the order of the text, as a
// reader takes them: `next` up to `end`.
struct unit_group_values {
    const double* next;
    const double* end;
};

// The values the last mark_unit_groups noted, none taken yet.
unit_group_values noted_unit_group_values() noexcept;

// The value of the next group. The evaluator takes each marked group once, in the order of
// the text, so the values run out only if it read a group that was not marked, which it
// never does (a 0 then stands for it rather than a value beyond those noted).
inline double take_unit_group_value(unit_group_values& values) noexcept {
    return values.next == values.end ? 0.0 : *values.next++;
}

}  // namespace fexpr::engine
