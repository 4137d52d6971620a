// Text-mode line reading: carriage returns are dropped and a Ctrl-Z (code 26) ends the input.
#pragma once

#include <cstddef>

namespace fexpr::platform {

constexpr std::size_t reader_buffer_size = 1 << 16;

struct text_reader {
    int descriptor;
    bool at_end;             // end of file, a read error, or a Ctrl-Z was met
    bool flush_before_read;  // flush standard output before a read that may wait
    std::size_t position;
    std::size_t length;
    char buffer[reader_buffer_size];
};

// Prepares a reader of standard input; standard output is flushed before each read from it.
void open_standard_input(text_reader& reader) noexcept;
// Prepares a reader of an open descriptor.
void open_descriptor(text_reader& reader, int descriptor) noexcept;

// Prepares a reader of the file at `path`; false when it cannot be opened or is a folder.
bool open_named_file(text_reader& reader, const char* path) noexcept;

// Reads one line like the formatted line read of a text stream: at most capacity - 1
// characters, up to and including the newline, then a NUL. Returns the number of characters
// stored, 0 when the input is exhausted before any character.
std::size_t read_text_line(text_reader& reader, char* out, std::size_t capacity) noexcept;

// Closes the reader's descriptor (standard input is left open).
void close_reader(text_reader& reader) noexcept;

}  // namespace fexpr::platform
