// Text-mode line reading: carriage returns are dropped and a Ctrl-Z (code 26) ends the input.
#pragma once

#include <cstddef>

namespace fexpr::platform {

constexpr char end_of_file_mark = 26;  // Ctrl-Z ends text input

// Text handed out in chunks (the buffer of a reader, the edited lines of the console) and
// how far it has been read. `refill` points `text` and `length` at the next chunk and
// resets `position`; it returns false when no chunk follows.
struct line_source {
    const char* text;
    std::size_t length;
    std::size_t position;
    bool at_end;  // the input ended, or a Ctrl-Z was met
    bool (*refill)(line_source& source);
};

// Copies the next piece from `source` into `out` like the formatted line read of a text
// stream: at most capacity - 1 characters, up to and including the newline, then a NUL. A
// long line goes on in the next piece; a carriage return is dropped; a Ctrl-Z ends the input
// and the rest of its chunk is dropped; a line that ends without a newline (the last one of
// the input) runs into the next. Returns the number of characters stored, 0 when the input
// is exhausted before any character.
std::size_t take_text_piece(line_source& source, char* out, std::size_t capacity) noexcept;

// take_text_piece without its shortcut for a whole line in the current chunk: the runs
// between line controls one after the other. A function of its own, so that the shortcut
// saves no registers for it.
std::size_t take_text_piece_in_runs(line_source& source, char* out, std::size_t capacity) noexcept;

constexpr std::size_t reader_buffer_size = 1 << 16;

// A source of text read from a descriptor through its own buffer.
struct text_reader {
    line_source source;  // first, so that its refill finds the reader
    int descriptor;
    bool flush_before_read;  // flush standard output before a read that may wait
    char buffer[reader_buffer_size];
};

// Prepares a reader of standard input; standard output is flushed before each read from it.
void open_standard_input(text_reader& reader) noexcept;
// Prepares a reader of an open descriptor.
void open_descriptor(text_reader& reader, int descriptor) noexcept;

// Prepares a reader of the file at `path`; false when it cannot be opened or is a folder.
bool open_named_file(text_reader& reader, const char* path) noexcept;

// Reads the next piece (see take_text_piece) from the reader.
std::size_t read_text_line(text_reader& reader, char* out, std::size_t capacity) noexcept;

// Closes the reader's descriptor (standard input is left open).
void close_reader(text_reader& reader) noexcept;

}  // namespace fexpr::platform
