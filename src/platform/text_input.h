// Text-mode line reading: carriage returns are dropped, a Ctrl-Z (code 26) ends the input, and
// a NUL byte is noted.
#pragma once

#include <cstddef>

namespace fexpr::platform {

constexpr char end_of_file_mark = 26;  // Ctrl-Z ends text input

// Text handed out in chunks (the buffer of a reader, the edited lines of the console) and
// how far it has been read. `refill` points `text` and `length` at the next chunk and
// resets `position`; it returns false when no chunk follows. Every member of a source and of
// a reader starts at zero: a reader in static storage then needs no code at start-up and
// lies in .bss.
struct line_source {
    const char* text = nullptr;
    std::size_t length = 0;
    std::size_t position = 0;
    bool at_end = false;  // the input ended, or a Ctrl-Z was met
    bool (*refill)(line_source& source) = nullptr;
    // The last piece held a NUL byte, which a C text would end at: the reader keeps it in the
    // piece and notes it here while it copies, so that no caller needs a pass of its own.
    bool held_nul = false;
};

// Copies the next piece from `source` into `out` like the formatted line read of a text
// stream: at most capacity - 1 characters, up to and including the newline, then a NUL. A
// long line goes on in the next piece; a carriage return is dropped; a Ctrl-Z ends the input
// and the rest of its chunk is dropped; a line that ends without a newline (the last one of
// the input) runs into the next; a NUL is stored like any character and sets held_nul.
// Returns the number of characters stored, 0 when the input is exhausted before any character.
std::size_t take_text_piece(line_source& source, char* out, std::size_t capacity) noexcept;

// take_text_piece without its shortcut for a whole line in the current chunk: the runs
// between line controls one after the other. A function of its own, so that the shortcut
// saves no registers for it.
std::size_t take_text_piece_in_runs(line_source& source, char* out, std::size_t capacity) noexcept;

constexpr std::size_t reader_buffer_size = 1 << 16;

// A source of text read from a descriptor through its own buffer. A read that fails ends the
// process (end_read_failed, with `name`).
struct text_reader {
    line_source source;  // first, so that its refill finds the reader
    int descriptor = 0;
    bool flush_before_read = false;  // flush standard output before a read that may wait
    const char* name = nullptr;      // the input named when a read fails
    char buffer[reader_buffer_size] = {};
};

// Prepares a reader of standard input; standard output is flushed before each read from it.
void open_standard_input(text_reader& reader) noexcept;
// Prepares a reader of an open descriptor, named `name` when a read fails.
void open_descriptor(text_reader& reader, int descriptor, const char* name = "input") noexcept;

// Prepares a reader of the file at `path`, which must outlive it; false when it cannot be
// opened or is a folder.
bool open_named_file(text_reader& reader, const char* path) noexcept;

// Reads the next piece (see take_text_piece) from the reader.
std::size_t read_text_line(text_reader& reader, char* out, std::size_t capacity) noexcept;

// Whether the piece read last held a NUL byte.
inline bool piece_held_nul(const text_reader& reader) noexcept {
    return reader.source.held_nul;
}

// Closes the reader's descriptor (standard input is left open).
void close_reader(text_reader& reader) noexcept;

}  // namespace fexpr::platform
