// Fuzzes the line modes: random multi-line input through --each (plain or tsv) or --sum, with
// a mode suffix chosen by the first byte. Properties: --each writes exactly one line per
// input line and returns a status it can have, and under =tsv status 8 for every line that
// holds a NUL byte (12 when it is too long as well); --sum writes one line, or none for an
// empty input; neither crashes nor hangs. With the first byte's top bit set, --explain records
// and shows the reading of every line, which changes none of this.
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/line_modes.h"
#include "engine/diagnostics.h"
#include "engine/reading_record.h"
#include "engine/text_buffers.h"
#include "platform/output_stream.h"
#include "platform/process.h"
#include "platform/text_input.h"

namespace {

using namespace fexpr;

constexpr const char* mode_suffixes[] = {nullptr, ".2", "x", "b", ":", "g3", "e2", "x_", "o"};
constexpr std::size_t suffix_count = sizeof mode_suffixes / sizeof mode_suffixes[0];

// Room for two lines longer than a line may be, and below the 64 KiB of a pipe's buffer.
constexpr std::size_t max_input = 40000;

std::jmp_buf exit_jump;
int exit_status = 0;
platform::text_reader reader;
platform::output_stream output;
int output_descriptor = -1;
char answers[1 << 21];
engine::reading_record reading;

void jump_back(int status) {
    exit_status = status;
    std::longjmp(exit_jump, 1);
}

// The lines a reader finds in `data`: carriage returns do not count, a Ctrl-Z ends the
// input, and a last line without a newline counts when it holds a character.
std::size_t count_lines(const std::uint8_t* data, std::size_t size) {
    std::size_t lines = 0;
    bool open_line = false;
    for (std::size_t index = 0; index < size && data[index] != 26; ++index) {
        if (data[index] == '\n') {
            ++lines;
            open_line = false;
        } else if (data[index] != '\r') {
            open_line = true;
        }
    }
    return lines + (open_line ? 1 : 0);
}

/* Checks the status field of each =tsv answer against its input line: a line that holds a
 * NUL must be answered with 8, or with 12 when it has more than 16383 characters. Carriage
 * returns do not count, and a Ctrl-Z ends the input (and its last line). */
void check_nul_lines(const std::uint8_t* data, std::size_t size, const char* answer) {
    const auto* mark = static_cast<const std::uint8_t*>(std::memchr(data, 26, size));
    const std::size_t end = mark != nullptr ? static_cast<std::size_t>(mark - data) : size;
    std::size_t length = 0;
    bool nul = false;
    for (std::size_t index = 0; index <= end; ++index) {
        if (index < end && data[index] != '\n') {
            length += data[index] != '\r';
            nul = nul || data[index] == 0;
            continue;
        }
        if (index == end && length == 0) return;
        const char* expected = length > engine::max_text_length ? "12\t" : "8\t";
        if (nul && std::strncmp(answer, expected, std::strlen(expected)) != 0) std::abort();
        answer = std::strchr(answer, '\n') + 1;
        length = 0;
        nul = false;
    }
}

// Feeds `data` to the reader through a pipe; an input of max_input bytes fits in it at once.
bool open_input(const std::uint8_t* data, std::size_t size) {
    int ends[2];
    if (pipe(ends) != 0) return false;
    const bool written = write(ends[1], data, size) == static_cast<ssize_t>(size);
    close(ends[1]);
    platform::open_descriptor(reader, ends[0]);
    return written;
}

// Answers go to a scratch file: there can be far more of them than a memory stream holds.
void open_output() {
    if (output_descriptor < 0) output_descriptor = fileno(std::tmpfile());
    // Emptied and rewound: writing at the old offset would put a hole of NULs before the
    // answers.
    if (output_descriptor < 0 || ftruncate(output_descriptor, 0) != 0 ||
        lseek(output_descriptor, 0, SEEK_SET) != 0) {
        std::abort();
    }
    output = {output_descriptor, false, false, 0, "answers", 0, {}};
}

std::size_t read_answers() {
    if (!platform::flush_stream(&output)) std::abort();
    const ssize_t got = pread(output_descriptor, answers, sizeof answers, 0);
    if (got < 0 || static_cast<std::size_t>(got) == sizeof answers) std::abort();
    return static_cast<std::size_t>(got);
}

std::size_t count_newlines(const char* text, std::size_t length) {
    std::size_t count = 0;
    for (std::size_t index = 0; index < length; ++index) count += text[index] == '\n';
    return count;
}

void check_each(const format::run_settings& run, const std::uint8_t* data, std::size_t size,
                const char* suffix, bool tsv) {
    const int status = driver::answer_each_line(run, reader, &output, suffix, tsv);
    const std::size_t length = read_answers();
    if (status < 0 || status > 12) std::abort();
    if (count_newlines(answers, length) != count_lines(data, size)) std::abort();
    if (length > 0 && answers[length - 1] != '\n') std::abort();
    if (tsv) {
        answers[length] = '\0';
        check_nul_lines(data, size, answers);
    }
}

void check_sum(const format::run_settings& run, const std::uint8_t* data, std::size_t size,
               const char* suffix) {
    exit_status = 0;
    if (setjmp(exit_jump) == 0) driver::print_line_sum(run, reader, &output, suffix);
    const std::size_t length = read_answers();
    if (exit_status < 0 || exit_status > 12) std::abort();
    const std::size_t expected = count_lines(data, size) == 0 ? 0 : 1;
    if (count_newlines(answers, length) != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > max_input) return 0;
    const std::uint8_t selector = data[0];
    const char* suffix = mode_suffixes[(selector >> 2) % suffix_count];
    if (!open_input(data + 1, size - 1)) std::abort();
    open_output();
    engine::direct_results_to(&output);
    platform::set_exit_hook(jump_back);
    format::run_settings run = format::plain_run;
    if ((selector & 0x80) != 0) run.reading = &reading;
    if ((selector & 1) == 0) {
        check_each(run, data + 1, size - 1, suffix, (selector & 2) != 0);
    } else {
        check_sum(run, data + 1, size - 1, suffix);
    }
    platform::set_exit_hook(nullptr);
    platform::close_reader(reader);
    return 0;
}
