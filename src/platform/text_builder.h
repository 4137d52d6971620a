// A bounded text assembled from pieces: the one bounded append of the program. It never
// writes past its size, keeps the text NUL-terminated when size > 0, and notes when a piece
// did not fit.
#pragma once

#include <cstddef>

namespace fexpr::platform {

struct text_builder {
    char* data;
    std::size_t size;    // capacity in bytes, the NUL included
    std::size_t length;  // characters stored so far
    bool cut;            // a character was left out for want of room
};

text_builder make_builder(char* out, std::size_t size) noexcept;
// "%.*s": appends at most `count` characters of text (stops at its NUL).
void append_text(text_builder& builder, const char* text, std::size_t count) noexcept;
// "%s": appends the whole text.
void append_text(text_builder& builder, const char* text) noexcept;
// "%c".
void append_char(text_builder& builder, char character) noexcept;
// Remaining room, for appending with a writer of its own at data + length.
char* builder_end(text_builder& builder) noexcept;
std::size_t builder_room(const text_builder& builder) noexcept;
// Records that `count` characters were written at builder_end().
void builder_advance(text_builder& builder, std::size_t count) noexcept;

}  // namespace fexpr::platform
