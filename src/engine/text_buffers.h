// The two fixed text buffers that several steps share, and the length limits of the texts.
//
// - expression_text: the driver writes the expression into it (a parameter, the joined
//   parameters, a console line or the joined lines of the data file); evaluate_text then
//   rewrites it in place.
// - number_text: the layouts write the number text of the result into it, except the default
//   and general layouts without groups, which write it straight into a buffered output
//   stream that has room.
//
// Every other buffer has one owner and one job: the data-file mode's lines, the grouped
// digits of format/grouping.cpp.
#pragma once

#include <cstddef>

namespace fexpr::engine {

// Capacity of the driver's texts: at most 16383 characters and the NUL. A parameter or a
// line longer than max_text_length is cut there; a time-stamp difference may fill it.
constexpr std::size_t text_capacity = 16384;
constexpr std::size_t max_text_length = text_capacity - 1;
// Joined parameters and joined data-file lines stay below the longest text.
constexpr std::size_t max_joined_length = max_text_length - 1;

// The pre-pass wraps every number that carries a unit letter in parentheses, which can make
// the text up to twice as long ('1k' becomes '(1k)'); expression_text has room for that.
constexpr std::size_t expression_capacity = 2 * text_capacity;

extern char expression_text[expression_capacity];
extern char number_text[text_capacity];

}  // namespace fexpr::engine
