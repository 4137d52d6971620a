// Tab completion at the console: the names and format suffixes that may stand at the cursor.
#pragma once

#include <cstddef>

#include "platform/line_editor.h"

namespace fexpr::driver {

// The completions of the `length` characters before the cursor (a platform::completion_finder):
// a function name, Pi or the name of a shift descriptor where the text before allows one
// (function names in the case typed: upper case after two or more capitals, else lower
// case; `shift` only in lower case), and, when the cursor stands at the end of the line
// after a blank that follows an operand, the format suffixes. A word is offered only where
// the expression reads it as that word.
void find_completions(const char* text, std::size_t length, bool at_end,
                      platform::completion_list& list) noexcept;

}  // namespace fexpr::driver
