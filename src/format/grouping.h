// Digit groups in a number text, and the in-place reversal they are built with.
#pragma once

namespace fexpr::format {

// Copies `text` into engine::line_buffer with a ',' every three characters (grouping_mode 1)
// or a '_' every four (grouping_mode 2) in the part before the last '.'; returns line_buffer.
// A text with an 'e' in it, or grouping_mode 0, is copied unchanged.
char* group_digits(const char* text) noexcept;

// Reverses a NUL-terminated text in place and returns it; nullptr is returned untouched.
char* reverse_text(char* text) noexcept;

}  // namespace fexpr::format
