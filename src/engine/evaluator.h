// Turning the text of one expression into a double.
#pragma once

#include "engine/prepass.h"
#include "engine/reading_record.h"

namespace fexpr::engine {

// The value of an expression and the digit groups it asks for.
struct expression_value {
    double value;
    digit_grouping grouping;
};

// Evaluates the NUL-terminated text held by a buffer of expression_capacity, which it
// rewrites: the pre-pass, the removal of blanks, then the evaluation, which records how it
// reads the text in `reading` (--explain; nullptr for none). Text after the ')' that closes
// the outermost level is not read. A malformed expression does not return: it ends the
// process through end_with_diagnostic.
expression_value evaluate_text(char* text, reading_record* reading) noexcept;

}  // namespace fexpr::engine
