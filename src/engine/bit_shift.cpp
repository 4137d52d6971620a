// The bit-field shift and rotate, carried out one bit step at a time on a bit text.
#include "engine/bit_shift.h"

#include <cstring>

#include "numeric/integer_view.h"
#include "numeric/text_scan.h"

namespace fexpr::engine {
namespace {

constexpr int bit_count = 64;

// The character of bit `bit` (0 the least significant) in a bit text.
char& bit_at(char* bits, int bit) noexcept {
    return bits[bit_count - 1 - bit];
}

void step_left(char* bits, int start, int end, char entering) noexcept {
    for (int b = end; b > start; --b) bit_at(bits, b) = bit_at(bits, b - 1);
    bit_at(bits, start) = entering;
}

void step_right(char* bits, int start, int end, char entering) noexcept {
    for (int b = start; b < end; ++b) bit_at(bits, b) = bit_at(bits, b + 1);
    bit_at(bits, end) = entering;
}

// One step of the field start … end. The arithmetic right step keeps the field's top bit:
// after the move, bit end - 1 holds the old bit end, which is copied back into bit end.
void step_once(char* bits, char kind, char direction, int start, int end) noexcept {
    if (direction == 'l') {
        const char entering = kind == 'r' ? bit_at(bits, end) : '0';
        step_left(bits, start, end, entering);
        return;
    }
    if (kind == 'r') {
        step_right(bits, start, end, bit_at(bits, start));
    } else if (kind == 'a') {
        step_right(bits, start, end, '0');
        bit_at(bits, end) = bit_at(bits, end - 1);
    } else {
        step_right(bits, start, end, '0');
    }
}

}  // namespace

void build_bit_text(std::int64_t value, char* out) noexcept {
    char digits[bit_count + 1];
    numeric::format_integer_radix(value, digits, 2);
    std::size_t length = std::strlen(digits);
    if (length > bit_count) length = bit_count;
    const std::size_t padding = bit_count - length;
    std::memset(out, '0', padding);
    std::memcpy(out + padding, digits, length);
    out[bit_count] = '\0';
}

double shift_bit_field(double value, const shift_descriptor& descriptor) noexcept {
    char bits[bit_count + 1];
    build_bit_text(numeric::integer_view(value), bits);
    const int start = descriptor.start;
    const int end = start + descriptor.length - 1;
    // The scanner only hands over valid fields; anything else leaves the bits alone rather
    // than touching characters outside the bit text.
    const bool valid_field = descriptor.length >= 2 && end <= bit_count - 1;
    for (int step = 0; valid_field && step < descriptor.count; ++step) {
        step_once(bits, descriptor.kind, descriptor.direction, start, end);
    }
    return static_cast<double>(numeric::parse_integer_radix(bits, 2));
}

}  // namespace fexpr::engine
