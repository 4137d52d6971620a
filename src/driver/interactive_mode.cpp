// The interactive mode: a banner, then one answer per console line.
#include <cstddef>
#include <cstring>

#include "driver/completion.h"
#include "driver/help_texts.h"
#include "driver/mode_steps.h"
#include "engine/diagnostics.h"
#include "engine/text_buffers.h"
#include "format/layouts.h"
#include "platform/line_editor.h"
#include "platform/output_stream.h"
#include "platform/process.h"
#include "platform/text_input.h"

namespace fexpr::driver {
namespace {

platform::text_reader console_reader;
bool console_open = false;
bool console_edited = false;
bool after_full_piece = false;  // the last piece filled the buffer and had no newline

// Reads the next piece of a console line (at most capacity - 1 characters, up to and
// including its newline) into `out`; 0 when the input is exhausted. Standard output is
// flushed before the read waits. At a terminal the line editor reads it, in the same pieces
// as the plain reader (its keys never give a NUL); it is started only at the first read, so
// the other modes never touch it. A piece that holds a NUL ends the dialogue.
std::size_t read_console_piece(char* out, std::size_t capacity) noexcept {
    if (!console_open) {
        console_edited = platform::open_line_editor(find_completions);
        if (!console_edited) platform::open_standard_input(console_reader);
        console_open = true;
    }
    if (console_edited) return platform::read_edited_line(out, capacity);
    const std::size_t count = platform::read_text_line(console_reader, out, capacity);
    reject_line_with_nul(console_reader);
    return count;
}

// Reads one console line (at most capacity - 1 characters) into `out` without its newline;
// false when the input is exhausted. A longer line comes in pieces, each answered as a line.
// The newline that completes a piece which filled the buffer ends that line: it is passed
// over, not read as the empty line that ends the dialogue.
bool read_console_line(char* out, std::size_t capacity) noexcept {
    std::size_t count = read_console_piece(out, capacity);
    if (after_full_piece && count == 1 && out[0] == '\n') {
        count = read_console_piece(out, capacity);
    }
    if (count == 0) return false;
    after_full_piece = count == capacity - 1 && out[count - 1] != '\n';
    if (out[count - 1] == '\n') out[count - 1] = '\0';
    return true;
}

}  // namespace

format::result_layout split_suffix(char* line) noexcept {
    char* blank = std::strrchr(line, ' ');
    if (blank == nullptr) return format::default_layout;
    const format::result_layout layout = format::parse_format_suffix(blank + 1);
    if (layout.format != format::layout_default) *blank = '\0';
    return layout;
}

/*
 * The dialogue ends at an empty line, at the end of the input, or once standard output has
 * failed: nobody sees the answers any more, and an endless input would keep it going.
 */
void run_interactive_mode(const format::run_settings& run) noexcept {
    platform::output_stream* out = platform::standard_output();
    platform::write_stream(out, banner_text);
    while (!out->failed) {
        platform::write_stream(out, prompt_text, sizeof prompt_text - 1);
        char* line = engine::expression_text;
        if (!read_console_line(line, engine::text_capacity) || line[0] == '\0') break;
        evaluate_and_print(run, split_suffix(line));
    }
    platform::close_line_editor();
    platform::end_process(engine::status_success);
}

}  // namespace fexpr::driver
