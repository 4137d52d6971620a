// Buffered output streams on file descriptors: standard output, the result file, and memory
// streams for tests.
//
// Standard output is written at once when it is a terminal and buffered otherwise; buffered
// text is flushed before any read that may wait, before anything goes to standard error, and
// at the end of the process. A failed write is remembered so the end of the process can
// report it.
#pragma once

#include <cstddef>
#include <cstring>

namespace fexpr::platform {

constexpr std::size_t stream_buffer_size = 1 << 16;

struct output_stream {
    int descriptor;      // -1 for a memory stream, whose text stays in the buffer
    bool write_through;  // flush after every write (terminals)
    bool failed;         // a write or close failed
    int error_number;    // errno of the first failure
    const char* name;    // for the failure message
    std::size_t length;  // characters waiting in the buffer
    char buffer[stream_buffer_size];
};

// The process's standard output stream.
output_stream* standard_output() noexcept;

// Appends text in pieces, flushing each time the buffer fills, and flushes at the end when
// the stream writes through.
void write_stream_in_pieces(output_stream* stream, const char* text, std::size_t length) noexcept;

// Appends text; flushes when the buffer fills or the stream writes through. Inline for the
// text that fits the buffer of a buffered stream: the prompt and the result of every line
// (bench/instruction_gate.sh, per line).
inline void write_stream(output_stream* stream, const char* text, std::size_t length) noexcept {
    if (!stream->write_through && length <= stream_buffer_size - stream->length) {
        std::memcpy(stream->buffer + stream->length, text, length);
        stream->length += length;
        return;
    }
    write_stream_in_pieces(stream, text, length);
}
// The free end of a buffered stream's buffer when at least `needed` bytes of it are free,
// else nullptr (always for a stream that writes through). Text written there becomes part of
// the stream with commit_stream: a result formatted in place needs no copy.
inline char* stream_room(output_stream* stream, std::size_t needed) noexcept {
    if (stream->write_through || stream_buffer_size - stream->length < needed) return nullptr;
    return stream->buffer + stream->length;
}
// Adds the `length` bytes written at stream_room to the stream.
inline void commit_stream(output_stream* stream, std::size_t length) noexcept {
    stream->length += length;
}
// Appends a NUL-terminated text.
void write_stream(output_stream* stream, const char* text) noexcept;
// Writes out the buffered text; returns false once the stream has failed.
bool flush_stream(output_stream* stream) noexcept;
// Flushes and closes the descriptor (standard output is only flushed).
bool close_stream(output_stream* stream) noexcept;

// The line break that reaches standard error as CR LF. POSIX streams write it as it stands;
// Windows' standard error is in text mode, which writes each "\n" as CR LF by itself.
#ifdef _WIN32
constexpr char standard_error_crlf[] = "\n";
#else
constexpr char standard_error_crlf[] = "\r\n";
#endif

// Writes text straight to the standard-error descriptor in one write, after flushing
// standard output so that the two keep their order when they share a file.
void write_standard_error(const char* text, std::size_t length) noexcept;

// Writes a prefix into out: at most size - 1 characters and a NUL.
using error_prefix_writer = void (*)(char* out, std::size_t size) noexcept;

// Puts what `writer` writes (at most 31 characters; nullptr for none) in front of every later
// text on standard error, after the line breaks it begins with: the line modes name the
// input line a math error or warning belongs to. The writer is asked only when a text goes
// to standard error, not at every line, whose number written out would be most of the cost
// of a plain line of --sum (bench/sum.sh).
void set_standard_error_prefix(error_prefix_writer writer) noexcept;

// A memory stream for tests: its text is kept in `buffer[0 … length)` and never flushed.
void open_memory_stream(output_stream* stream) noexcept;

}  // namespace fexpr::platform
