// Reading the input lines of the line modes, and naming them on standard error.
#include <cstddef>
#include <cstdint>

#include "driver/line_modes.h"
#include "engine/text_buffers.h"
#include "numeric/text_output.h"

namespace fexpr::driver {
namespace {

// The input line named on standard error; 0 names none.
std::int64_t named_line = 0;

// "12: " for line 12.
void write_line_name(char* out, std::size_t size) noexcept {
    if (size < 3) return;
    const std::size_t length = numeric::format_signed(out, size - 2, named_line, 0);
    out[length] = ':';
    out[length + 1] = ' ';
    out[length + 2] = '\0';
}

// Reads and drops what is left of a line, up to and including its newline.
void skip_rest_of_line(platform::text_reader& reader) noexcept {
    char piece[256];
    for (;;) {
        const std::size_t count = platform::read_text_line(reader, piece, sizeof piece);
        if (count == 0 || piece[count - 1] == '\n') return;
    }
}

}  // namespace

/*
 * A read that stops short of the newline has either met the end of the input (the last line
 * has no newline) or filled expression_text's 16383 characters. In the second case the line
 * fits when a newline or the end of the input follows; otherwise it is too long, whether or
 * not it holds a NUL.
 */
line_read read_script_line(platform::text_reader& reader) noexcept {
    char* line = engine::expression_text;
    const std::size_t count = platform::read_text_line(reader, line, engine::text_capacity);
    if (count == 0) return line_read::end;
    const line_read whole =
        platform::piece_held_nul(reader) ? line_read::holds_nul : line_read::line;
    if (line[count - 1] == '\n') {
        line[count - 1] = '\0';
        return whole;
    }
    if (count < engine::max_text_length) return whole;
    char next[2];
    if (platform::read_text_line(reader, next, sizeof next) == 0 || next[0] == '\n') {
        return whole;
    }
    skip_rest_of_line(reader);
    return line_read::too_long;
}

engine::exit_status diagnostic_of_read(line_read read) noexcept {
    if (read == line_read::too_long) return engine::status_too_long;
    if (read == line_read::holds_nul) return engine::status_invalid_character;
    return engine::status_success;
}

void name_line_on_standard_error(std::int64_t number) noexcept {
    named_line = number;
    platform::set_standard_error_prefix(number > 0 ? write_line_name : nullptr);
}

}  // namespace fexpr::driver
