// Line editing and history at the console, when the program was built with the editing library.
//
// The editor hands on its lines in the same pieces as the plain text-mode reader: at most
// capacity - 1 characters up to and including the newline, carriage returns dropped, and a
// Ctrl-Z (code 26) ending the input. History lives in $XDG_STATE_HOME/fexpr/history
// (default ~/.local/state/fexpr/history); a history that cannot be read or written is
// silently not kept.
#pragma once

#include <cstddef>

#include "platform/text_input.h"

namespace fexpr::platform {

// Starts the editor when standard input is a terminal, standard output or standard error is
// one too, and the program has line editing, loading the history; false when the plain
// reader must be used.
bool open_line_editor() noexcept;

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
