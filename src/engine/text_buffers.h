// The three fixed text buffers of a run and the length limits of the texts in them.
//
// They are global storage, one of each, used in turn by the steps of one evaluation:
// - expression_text: the driver writes the expression into it (a parameter, the joined
//   parameters, a console line or the joined lines of the data file); the pre-pass and the
//   evaluator then rewrite it in place.
// - number_text: the layouts write the number text of the result into it, except the default
//   and general layouts without groups, which write it straight into a buffered output
//   stream that has room; the data-file mode keeps the last line of a time-stamp file in it
//   before anything is evaluated.
// - line_buffer: the data-file mode reads each line into it; digit grouping writes its
//   output into it after the evaluation.
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
extern char line_buffer[text_capacity];

}  // namespace fexpr::engine
