// The data-file mode: the lines of C:\Data\data.txt added up, or a time-stamp difference.
#include <cstddef>
#include <cstring>

#include "driver/mode_steps.h"
#include "engine/diagnostics.h"
#include "engine/text_buffers.h"
#include "numeric/text_scan.h"
#include "platform/fixed_files.h"
#include "platform/process.h"
#include "platform/text_input.h"

namespace fexpr::driver {
namespace {

platform::text_reader data_reader;
// Each line of the file as it is read, and the last line of clock readings not blank.
char data_line[engine::text_capacity];
char last_line[engine::text_capacity];

// Reads the next line (at most 16383 characters) into data_line without its newline; false
// at the end of the file. Returns the line's length in *length. A line that holds a NUL ends
// the process.
bool read_data_line(std::size_t* length) noexcept {
    char* line = data_line;
    std::size_t count = platform::read_text_line(data_reader, line, engine::text_capacity);
    if (count == 0) return false;
    reject_line_with_nul(data_reader);
    if (line[count - 1] == '\n') line[--count] = '\0';
    *length = count;
    return true;
}

// Every line after the first is joined as "+(line)"; an empty line gives "+()", which the
// evaluator rejects.
void join_sum_lines(std::size_t length) noexcept {
    std::size_t line_length = 0;
    char* text = engine::expression_text;
    while (read_data_line(&line_length)) {
        if (length + line_length + 3 > engine::max_joined_length) {
            platform::close_reader(data_reader);
            end_too_long();
        }
        std::memcpy(text + length, "+(", 2);
        std::memcpy(text + length + 2, data_line, line_length);
        length += line_length + 2;
        text[length++] = ')';
        text[length] = '\0';
    }
}

/*
 * A file of clock readings yields the time between its first and its last line that is not
 * blank: the text "last-(first)" (for a single line "first-(first)"), printed as a duration.
 * The first line goes in parentheses so that it is subtracted as a whole ("1:00+1", "-5:3"),
 * and blank lines are passed over so that a trailing one does not stand for the last
 * reading. The last line is kept in last_line, since the read that finds the end of the
 * file clears data_line. The joined text may hold up to 16383 characters; beyond that it
 * ends with the length diagnostic.
 */
void join_time_stamps(std::size_t first_length) noexcept {
    char* last = last_line;
    std::memcpy(last, engine::expression_text, first_length + 1);
    std::size_t last_length = first_length;
    std::size_t line_length = 0;
    while (read_data_line(&line_length)) {
        if (is_blank_line(data_line)) continue;
        std::memcpy(last, data_line, line_length + 1);
        last_length = line_length;
    }
    platform::close_reader(data_reader);
    if (last_length + 3 + first_length > engine::max_text_length) end_too_long();
    char* text = engine::expression_text;
    std::memmove(text + last_length + 2, text, first_length);
    std::memcpy(text, last, last_length);
    std::memcpy(text + last_length, "-(", 2);
    std::memcpy(text + last_length + 2 + first_length, ")", 2);
}

}  // namespace

bool is_blank_line(const char* line) noexcept {
    return line[std::strspn(line, " \t")] == '\0';
}

bool is_time_stamp(const char* line) noexcept {
    int hours = 0;
    int minutes = 0;
    int consumed = 0;
    if (numeric::scan_int(line, 0, &hours, &consumed) != 1) return false;
    if (line[consumed] != ':') return false;
    return numeric::scan_int(line + consumed + 1, 0, &minutes, &consumed) == 1;
}

void run_data_file_mode(const format::run_settings& run) noexcept {
    if (!platform::open_data_file(data_reader)) {
        engine::end_with_diagnostic(engine::status_cannot_open_data);
    }
    std::size_t length = 0;
    if (!read_data_line(&length)) {
        platform::close_reader(data_reader);
        platform::end_process(engine::status_success);
    }
    std::memcpy(engine::expression_text, data_line, length + 1);
    if (is_time_stamp(data_line)) {
        join_time_stamps(length);
        evaluate_and_print(run, {format::layout_duration, format::default_precision});
    } else {
        join_sum_lines(length);
        platform::close_reader(data_reader);
        evaluate_and_print(run, format::default_layout);
    }
    platform::end_process(engine::status_success);
}

}  // namespace fexpr::driver
