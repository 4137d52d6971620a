// The line modes for scripts: --each answers every line, --sum adds the lines up.
#pragma once

#include <cstdint>

#include "engine/diagnostics.h"
#include "format/run_settings.h"
#include "platform/output_stream.h"
#include "platform/text_input.h"

namespace fexpr::driver {

// How a line came in: whole (in expression_text, without its newline), longer than 16383
// characters (consumed to its end, expression_text holds a part of it), whole but holding a
// NUL byte, or not at all.
enum class line_read { line, too_long, holds_nul, end };

// Reads the next line of `reader` into expression_text: the text rules of the console (carriage
// returns dropped, Ctrl-Z ends the input), and a line of more than 16383 characters is read
// to its end and reported as too long rather than cut into pieces.
line_read read_script_line(platform::text_reader& reader) noexcept;

// The diagnostic a line gets for how it came in, before any evaluation: 12 for a line too
// long, 8 (an invalid character) for one that holds a NUL, 0 for a line to evaluate.
engine::exit_status diagnostic_of_read(line_read read) noexcept;

// Names input line `number` in front of every later message on standard error ("12: "); 0
// names none.
void name_line_on_standard_error(std::int64_t number) noexcept;

// Writes one line on `out` for every line of `reader`: the result (in the layout of the
// line's own trailing suffix, else of `suffix` when it is not nullptr) or the diagnostic;
// an empty line gives an empty line. With `tsv` each line is "status<TAB>text". Returns the
// status of the first line that failed, 0 when all succeeded; stops early only when `out`
// cannot be written any more.
int answer_each_line(const format::run_settings& run, platform::text_reader& reader,
                     platform::output_stream* out, const char* suffix, bool tsv) noexcept;

// --each: answer_each_line from standard input to standard output; ends the process.
[[noreturn]] void run_each_mode(const format::run_settings& run, const char* suffix,
                                bool tsv) noexcept;

// Evaluates the lines of `reader` one by one and prints their sum on `out`, in the layout of
// `suffix` when it is not nullptr: the data-file sum in constant memory, or for a first line
// that reads as a time the last value minus the first, as a duration. An empty input prints
// nothing. A bad line ends the process with its diagnostic and status.
void print_line_sum(const format::run_settings& run, platform::text_reader& reader,
                    platform::output_stream* out, const char* suffix) noexcept;

// --sum: print_line_sum over the file at `path`, or standard input for nullptr or "-";
// ends the process.
[[noreturn]] void run_sum_mode(const format::run_settings& run, const char* path,
                               const char* suffix) noexcept;

}  // namespace fexpr::driver
