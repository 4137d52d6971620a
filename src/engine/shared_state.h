// The state shared by the front end and the engine: the three text buffers, the result
// stream and the per-expression settings.
#pragma once

#include <cstddef>

#include "platform/output_stream.h"

namespace fexpr::engine {

// Capacity of the driver's texts: at most 16383 characters and the NUL.
constexpr std::size_t text_capacity = 16384;
constexpr std::size_t max_text_length = text_capacity - 1;

// The pre-pass wraps every number that carries a unit letter in parentheses, which can make
// the text up to twice as long ('1k' becomes '(1k)'); expression_text has room for that.
constexpr std::size_t expression_capacity = 2 * text_capacity;

// The current expression, NUL-terminated; rewritten in place by the pre-pass and evaluator.
extern char expression_text[expression_capacity];
// Scratch text of the layouts, the pre-pass's copy of the expression, and the bit text.
extern char number_text[text_capacity];
// The current data-file line, then the output of digit grouping.
extern char line_buffer[text_capacity];

// 0 no digit groups, 1 a ',' every three digits, 2 a '_' every four digits.
extern int grouping_mode;
// The N of the suffixes .N, gN and eN.
extern int output_precision;
// Parenthesis levels open during an evaluation; 0 outside one.
extern int nesting_depth;
// Receives results and diagnostics: standard output, or the result file after "/f".
extern platform::output_stream* result_stream;

}  // namespace fexpr::engine
