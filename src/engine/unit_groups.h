// The numbers that carry unit letters, as the pre-pass finds them in the expression: each is
// wrapped in parentheses with its letter ('1k' becomes '(1k)'), so that the letter binds to
// its number alone.
#pragma once

#include <cstddef>

namespace fexpr::engine {

// Wraps every number that carries a unit letter in parentheses together with it, in the text
// of `length` characters held by a buffer of expression_capacity; drops the white space at
// the end. Returns the length of the wrapped text.
std::size_t wrap_unit_groups(char* text, std::size_t length) noexcept;

}  // namespace fexpr::engine
