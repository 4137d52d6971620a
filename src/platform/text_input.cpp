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

std::size_t read_text_line(text_reader& reader, char* out, std::size_t capacity) noexcept {
    std::size_t stored = 0;
    while (stored + 1 < capacity) {
        if (reader.position == reader.length && !refill(reader)) break;
        const char character = reader.buffer[reader.position++];
        if (character == '\r') continue;
        if (character == end_of_file_mark) {
            reader.at_end = true;
            reader.position = reader.length;
            break;
        }
        out[stored++] = character;
        if (character == '\n') break;
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
