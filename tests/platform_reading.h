// Test helper: the lines the text-mode reader yields for a given input.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fexpr_test {

// Writes `input` to a temporary file and returns the pieces read_text_line hands back with
// the given capacity; checks that every piece is NUL-terminated and fits the capacity, that
// the reader notes exactly the pieces that hold a NUL byte, and removes the file.
std::vector<std::string> read_lines_through_file(const std::string& input, std::size_t capacity);

}  // namespace fexpr_test
