// Buffered output on descriptors, with failures remembered for the end of the process.
#include "platform/output_stream.h"

#include <cstring>

#include "platform/system_io.h"

namespace fexpr::platform {
namespace {

// Zero-initialised, so the stream and its buffer lie in .bss and cost no page of the file;
// standard_output() fills in the fields on first use.
output_stream standard_output_stream;
bool standard_output_ready = false;

constexpr std::size_t error_prefix_capacity = 32;
error_prefix_writer error_prefix = nullptr;

void record_failure(output_stream* stream) noexcept {
    if (!stream->failed) stream->error_number = last_error();
    stream->failed = true;
}

}  // namespace

output_stream* standard_output() noexcept {
    if (!standard_output_ready) {
        standard_output_ready = true;
        standard_output_stream.descriptor = standard_output_descriptor;
        standard_output_stream.name = "standard output";
        standard_output_stream.write_through = is_terminal(standard_output_descriptor);
    }
    return &standard_output_stream;
}

bool flush_stream(output_stream* stream) noexcept {
    if (stream->descriptor < 0) return !stream->failed;
    if (stream->length > 0 && !stream->failed &&
        !write_all(stream->descriptor, stream->buffer, stream->length)) {
        record_failure(stream);
    }
    stream->length = 0;
    return !stream->failed;
}

void write_stream_in_pieces(output_stream* stream, const char* text, std::size_t length) noexcept {
    while (length > 0) {
        std::size_t room = stream_buffer_size - stream->length;
        if (room == 0) {
            if (stream->descriptor < 0) return;  // a full memory stream keeps what it has
            flush_stream(stream);
            room = stream_buffer_size;
        }
        const std::size_t piece = length < room ? length : room;
        std::memcpy(stream->buffer + stream->length, text, piece);
        stream->length += piece;
        text += piece;
        length -= piece;
    }
    if (stream->write_through) flush_stream(stream);
}

void write_stream(output_stream* stream, const char* text) noexcept {
    write_stream(stream, text, std::strlen(text));
}

bool close_stream(output_stream* stream) noexcept {
    flush_stream(stream);
    if (stream->descriptor > standard_error_descriptor) {
        if (!close_descriptor(stream->descriptor)) record_failure(stream);
        stream->descriptor = -1;
    }
    return !stream->failed;
}

void set_standard_error_prefix(error_prefix_writer writer) noexcept {
    error_prefix = writer;
}

/*
 * With a prefix the text is assembled as its leading line breaks, the prefix and the rest,
 * and still goes out in one write, so that it stays whole beside other writers. The texts
 * written here are short; one that leaves no room for the prefix goes out as it is.
 */
void write_standard_error(const char* text, std::size_t length) noexcept {
    flush_stream(standard_output());
    char prefix[error_prefix_capacity] = "";
    if (error_prefix != nullptr) error_prefix(prefix, sizeof prefix);
    const std::size_t prefix_length = std::strlen(prefix);
    char line[512];
    // Nothing sensible remains to be done when standard error itself cannot be written.
    if (prefix_length == 0 || prefix_length + length > sizeof line) {
        static_cast<void>(write_all(standard_error_descriptor, text, length));
        return;
    }
    std::size_t breaks = 0;
    while (breaks < length && (text[breaks] == '\r' || text[breaks] == '\n')) ++breaks;
    std::memcpy(line, text, breaks);
    std::memcpy(line + breaks, prefix, prefix_length);
    std::memcpy(line + breaks + prefix_length, text + breaks, length - breaks);
    static_cast<void>(write_all(standard_error_descriptor, line, prefix_length + length));
}

void open_memory_stream(output_stream* stream) noexcept {
    stream->descriptor = -1;
    stream->write_through = false;
    stream->failed = false;
    stream->error_number = 0;
    stream->name = "memory";
    stream->length = 0;
}

}  // namespace fexpr::platform
