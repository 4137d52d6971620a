// Digit groups in a number text, and the in-place reversal they are built with.
#pragma once

#include "engine/prepass.h"

namespace fexpr::format {

// Copies `text` into a buffer of its own with a ',' every three characters or a '_' every
// four, as `grouping` says, in the part before the last '.'; returns that buffer, which the
// next call overwrites. A text with an 'e' in it, a special value's text ("+INF", "-NAN"), or
// no_groups, is copied unchanged.
char* group_digits(const char* text, engine::digit_grouping grouping) noexcept;

// Reverses a NUL-terminated text in place and returns it; nullptr is returned untouched.
char* reverse_text(char* text) noexcept;

}  // namespace fexpr::format
