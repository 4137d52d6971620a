// The text-mode piece rules, and line reading over a descriptor with our own buffering.
#include "platform/text_input.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/output_stream.h"
#include "platform/process.h"
#include "platform/system_io.h"

namespace fexpr::platform {
namespace {

// Whether a character ends a run of ordinary line characters: '\n', '\r', Ctrl-Z, or a NUL,
// which the piece notes.
constexpr bool is_line_control(char character) noexcept {
    return static_cast<unsigned char>(character) <= 26 &&
           (character == '\n' || character == '\r' || character == end_of_file_mark ||
            character == '\0');
}

// The top bit of each of the eight bytes of `word` that is below 27, the bytes that may be a
// line control (NUL is 0, '\n' 10, '\r' 13, Ctrl-Z 26): subtracting 27 from each byte borrows into
// its top bit only where the byte was smaller. A byte above a flagged one may be flagged
// falsely by the borrow; the lowest flagged byte is always a true one.
constexpr std::uint64_t bytes_below_27(std::uint64_t word) noexcept {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t tops = 0x8080808080808080ULL;
    return (word - ones * 27) & ~word & tops;
}

// Where the GCC and Clang builtins and little-endian words are known, the place of the
// first flagged byte in memory order, counted from 0; 8 where it cannot be told.
inline std::size_t first_flagged_byte(std::uint64_t flags) noexcept {
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    return static_cast<std::size_t>(__builtin_ctzll(flags)) / 8;
#else
    (void)flags;
    return 8;
#endif
}

/* Copies the characters of the current chunk up to the next line control, at most `room`;
 * returns how many were copied. Eight characters go at a time while none of them may be a
 * line control; the word that holds one is stored whole (the room allows it) and counted up
 * to it, rather than byte by byte, and the line control is found within its word: every
 * character of standard input passes here (bench/instruction_gate.sh, per line). */
std::size_t copy_plain_run(line_source& source, char* out, std::size_t room) noexcept {
    const char* in = source.text + source.position;
    const std::size_t available = source.length - source.position;
    const std::size_t limit = available < room ? available : room;
    std::size_t count = 0;
    std::uint64_t word = 0;
    while (count + sizeof word <= limit) {
        std::memcpy(&word, in + count, sizeof word);
        const std::uint64_t flags = bytes_below_27(word);
        if (flags == 0) {
            std::memcpy(out + count, &word, sizeof word);
            count += sizeof word;
            continue;
        }
        const std::size_t place = first_flagged_byte(flags);
        if (place == sizeof word || !is_line_control(in[count + place])) break;
        std::memcpy(out + count, &word, sizeof word);
        count += place;
        source.position += count;
        return count;
    }
    while (count < limit && !is_line_control(in[count])) {
        out[count] = in[count];
        ++count;
    }
    source.position += count;
    return count;
}

#if defined(__SSE2__)
// The bytes of a 16-byte block that are '\n', '\r', Ctrl-Z or NUL, one bit each, first byte
// lowest.
inline unsigned line_controls_in_block(__m128i block) noexcept {
    const __m128i newlines = _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'));
    const __m128i returns = _mm_cmpeq_epi8(block, _mm_set1_epi8('\r'));
    const __m128i marks = _mm_cmpeq_epi8(block, _mm_set1_epi8(end_of_file_mark));
    const __m128i nuls = _mm_cmpeq_epi8(block, _mm_setzero_si128());
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_or_si128(newlines, returns), _mm_or_si128(marks, nuls))));
}

/* The usual piece in one go: a line ending in "\n" or "\r\n" within the current chunk and
 * the capacity, with no other line control (a NUL included) before it, copied 16 bytes at a time
 * (the block that holds the line end is stored whole: the room allows it). Returns the piece's
 * length, or 0 when the general loop must take it, which then starts over from the same place.
 * Nearly every line of standard input is such a piece (bench/instruction_gate.sh, per line). */
std::size_t take_whole_line(line_source& source, char* out, std::size_t capacity) noexcept {
    const char* in = source.text + source.position;
    const std::size_t available = source.length - source.position;
    const std::size_t limit = available < capacity - 1 ? available : capacity - 1;
    for (std::size_t count = 0; count + 16 <= limit; count += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + count));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + count), block);
        const unsigned controls = line_controls_in_block(block);
        if (controls == 0) continue;
        std::size_t end = count + static_cast<std::size_t>(__builtin_ctz(controls));
        std::size_t consumed = end + 1;
        if (in[end] == '\r' && end + 1 < available && in[end + 1] == '\n') {
            out[end] = '\n';
            ++consumed;
        } else if (in[end] != '\n') {
            return 0;
        }
        out[end + 1] = '\0';
        source.position += consumed;
        return end + 1;
    }
    return 0;
}
#else
std::size_t take_whole_line(line_source&, char*, std::size_t) noexcept {
    return 0;
}
#endif

// Reads the next chunk of the reader's descriptor into its buffer; false at the end of the
// input. A failed read ends the process.
bool refill_reader(line_source& source) noexcept {
    // The source is the reader's first member, so the two share one address.
    text_reader& reader = reinterpret_cast<text_reader&>(source);
    if (reader.flush_before_read) flush_stream(standard_output());
    const long count = read_some(reader.descriptor, reader.buffer, reader_buffer_size);
    if (count < 0) end_read_failed(reader.name, last_error());
    if (count == 0) return false;
    source.text = reader.buffer;
    source.length = static_cast<std::size_t>(count);
    source.position = 0;
    return true;
}

}  // namespace

/*
 * Ordinary characters are copied a run at a time; only '\n', '\r', Ctrl-Z and NUL need a look
 * of their own. Tricky cases: a run cut by the end of a chunk (refilled and continued) or by
 * the capacity (the line ends there, the rest is the next piece), and capacity 0 or 1.
 */
std::size_t take_text_piece_in_runs(line_source& source, char* out, std::size_t capacity) noexcept {
    source.held_nul = false;
    std::size_t stored = 0;
    while (stored + 1 < capacity) {
        if (source.position == source.length) {
            if (source.at_end || !source.refill(source)) {
                source.at_end = true;
                break;
            }
            continue;
        }
        stored += copy_plain_run(source, out + stored, capacity - 1 - stored);
        if (source.position == source.length || stored + 1 >= capacity) continue;
        const char character = source.text[source.position++];
        if (character == '\r') continue;
        if (character == end_of_file_mark) {
            source.at_end = true;
            source.position = source.length;
            break;
        }
        out[stored++] = character;
        if (character == '\0') {
            source.held_nul = true;
            continue;
        }
        break;  // the newline
    }
    if (capacity > 0) out[stored] = '\0';
    return stored;
}

std::size_t take_text_piece(line_source& source, char* out, std::size_t capacity) noexcept {
    if (capacity > 1) {
        const std::size_t whole = take_whole_line(source, out, capacity);
        if (whole != 0) {
            source.held_nul = false;
            return whole;
        }
    }
    return take_text_piece_in_runs(source, out, capacity);
}

void open_descriptor(text_reader& reader, int descriptor, const char* name) noexcept {
    reader.source = line_source{reader.buffer, 0, 0, descriptor < 0, refill_reader};
    reader.descriptor = descriptor;
    reader.flush_before_read = false;
    reader.name = name;
}

void open_standard_input(text_reader& reader) noexcept {
    open_descriptor(reader, standard_input_descriptor, "standard input");
    reader.flush_before_read = true;
}

bool open_named_file(text_reader& reader, const char* path) noexcept {
    const int descriptor = open_for_reading(path);
    open_descriptor(reader, descriptor, path);
    return descriptor >= 0;
}

std::size_t read_text_line(text_reader& reader, char* out, std::size_t capacity) noexcept {
    return take_text_piece(reader.source, out, capacity);
}

void close_reader(text_reader& reader) noexcept {
    if (reader.descriptor > standard_error_descriptor) close_descriptor(reader.descriptor);
    reader.descriptor = -1;
    reader.source.at_end = true;
}

}  // namespace fexpr::platform
