// Text-mode line reading over a descriptor, with our own buffering.
#include "platform/text_input.h"

#include "platform/output_stream.h"
#include "platform/system_io.h"

namespace fexpr::platform {
namespace {

constexpr char end_of_file_mark = 26;  // Ctrl-Z ends text input

// Refills the buffer; false when no more input will come.
bool refill(text_reader& reader) noexcept {
    if (reader.at_end) return false;
    if (reader.flush_before_read) flush_stream(standard_output());
    const long count = read_some(reader.descriptor, reader.buffer, reader_buffer_size);
    reader.position = 0;
    reader.length = count > 0 ? static_cast<std::size_t>(count) : 0;
    if (count <= 0) reader.at_end = true;
    return count > 0;
}

// Whether a character ends a run of ordinary line characters: '\n', '\r' or Ctrl-Z.
constexpr bool is_line_control(char character) noexcept {
    return static_cast<unsigned char>(character) <= 26 &&
           (character == '\n' || character == '\r' || character == end_of_file_mark);
}

// Copies the buffered characters up to the next line control, at most `room`; returns how
// many were copied.
std::size_t copy_plain_run(text_reader& reader, char* out, std::size_t room) noexcept {
    const char* in = reader.buffer + reader.position;
    const std::size_t available = reader.length - reader.position;
    const std::size_t limit = available < room ? available : room;
    std::size_t count = 0;
    while (count < limit && !is_line_control(in[count])) {
        out[count] = in[count];
        ++count;
    }
    reader.position += count;
    return count;
}

}  // namespace

void open_descriptor(text_reader& reader, int descriptor) noexcept {
    reader.descriptor = descriptor;
    reader.at_end = descriptor < 0;
    reader.flush_before_read = false;
    reader.position = 0;
    reader.length = 0;
}

void open_standard_input(text_reader& reader) noexcept {
    open_descriptor(reader, standard_input_descriptor);
    reader.flush_before_read = true;
}

bool open_named_file(text_reader& reader, const char* path) noexcept {
    const int descriptor = open_for_reading(path);
    open_descriptor(reader, descriptor);
    return descriptor >= 0;
}

/*
 * Ordinary characters are copied a run at a time; only '\n', '\r' and Ctrl-Z need a look of
 * their own. Tricky cases: a run cut by the end of the buffer (refilled and continued) or by
 * the capacity (the line ends there, the rest is the next line), and capacity 0 or 1.
 */
std::size_t read_text_line(text_reader& reader, char* out, std::size_t capacity) noexcept {
    std::size_t stored = 0;
    while (stored + 1 < capacity) {
        if (reader.position == reader.length && !refill(reader)) break;
        stored += copy_plain_run(reader, out + stored, capacity - 1 - stored);
        if (reader.position == reader.length || stored + 1 >= capacity) continue;
        const char character = reader.buffer[reader.position++];
        if (character == '\r') continue;
        if (character == end_of_file_mark) {
            reader.at_end = true;
            reader.position = reader.length;
            break;
        }
        out[stored++] = character;
        break;  // the newline
    }
    if (capacity > 0) out[stored] = '\0';
    return stored;
}

void close_reader(text_reader& reader) noexcept {
    if (reader.descriptor > standard_error_descriptor) close_descriptor(reader.descriptor);
    reader.descriptor = -1;
    reader.at_end = true;
}

}  // namespace fexpr::platform
