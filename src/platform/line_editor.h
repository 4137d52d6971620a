// Line editing, history and Tab completion at the console, when the program was built with
// the editing library.
//
// The editor hands on its lines in the same pieces as the plain text-mode reader: at most
// capacity - 1 characters up to and including the newline, carriage returns dropped, and a
// Ctrl-Z (code 26) ending the input. History lives in $XDG_STATE_HOME/fexpr/history
// (default ~/.local/state/fexpr/history); a history that cannot be read or written is
// silently not kept. Which words Tab offers is the caller's to say (completion_finder).
#pragma once

#include <cstddef>

#include "platform/text_input.h"

namespace fexpr::platform {

// The words the Tab key may complete the text before the cursor to. Each word is written
// whole; its first `typed` characters are the last ones before the cursor already.
constexpr std::size_t completion_word_size = 8;
constexpr std::size_t completion_capacity = 96;

struct completion_word {
    char text[completion_word_size];
    std::size_t typed;
};

struct completion_list {
    completion_word words[completion_capacity];
    std::size_t count;
};

// Fills `list` with the completions of the `length` characters before the cursor (`text`,
// NUL-terminated); `at_end` tells whether the cursor stands at the end of the line.
using completion_finder = void (*)(const char* text, std::size_t length, bool at_end,
                                   completion_list& list) noexcept;

// Starts the editor when standard input is a terminal, standard output or standard error is
// one too, and the program has line editing, loading the history; false when the plain
// reader must be used. Tab completes by `finder`: the words' common continuation at the
// first press, a listing of the words at the second.
bool open_line_editor(completion_finder finder) noexcept;

// Starts the editor as open_line_editor does and makes `reader` hand on its lines, in the
// pieces of read_edited_line; false, with `reader` untouched, when the plain reader must be
// used.
bool open_edited_reader(text_reader& reader, completion_finder finder) noexcept;

// Reads the next piece of an edited line, like read_text_line; 0 when the input has ended.
// Standard output is flushed before the editor waits for keys.
std::size_t read_edited_line(char* out, std::size_t capacity) noexcept;

// Ends the editor and restores the terminal; nothing when it was never started.
void close_line_editor() noexcept;

// Builds the history file's path: state_home/fexpr/history when state_home is an absolute
// path, else home/.local/state/fexpr/history. False when neither gives a path that fits
// in `size`, or when home is missing or empty.
bool history_file_path(const char* state_home, const char* home, char* out,
                       std::size_t size) noexcept;

}  // namespace fexpr::platform
