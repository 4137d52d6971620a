// The system's own formatted scans and integer digit texts in a radix.
#include "numeric/text_scan.h"

#include <climits>
#include <cstddef>

#include "numeric/character_classes.h"
#include "numeric/integer_view.h"

namespace fexpr::numeric {
namespace {

int count_between(const char* start, const char* end) noexcept {
    const std::ptrdiff_t count = end - start;
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

int hex_digit(char character) noexcept {
    return is_hex_digit(character) ? digit_value(character) : -1;
}

int clamp_radix(int radix) noexcept {
    if (radix < 2) return 2;
    return radix > 36 ? 36 : radix;
}

// Whether `character` is listed in a scanset such as "01", "0-7" or "GKMPTgkmpt": a '-'
// between two characters stands for the range; at the start or the end it is itself.
bool in_set(const char* set, char character) noexcept {
    const auto code = static_cast<unsigned char>(character);
    for (const char* p = set; *p != '\0'; ++p) {
        const auto first = static_cast<unsigned char>(*p);
        if (p[1] == '-' && p[2] != '\0') {
            const auto last = static_cast<unsigned char>(p[2]);
            if (code >= first && code <= last) return true;
            p += 2;
        } else if (code == first) {
            return true;
        }
    }
    return false;
}

}  // namespace

/* "%lx": a "0x" prefix is taken only when a hexadecimal digit follows it, so "0xg" reads
 * the value 0 from the '0'. Saturation happens when the accumulated value no longer fits
 * 64 bits after one more digit; that digit is consumed and the rest stays unread. */
int scan_hex(const char* text, std::int64_t* value, int* consumed) noexcept {
    const char* p = skip_white_space(text);
    if (*p == '\0') return -1;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hex_digit(p[2]) >= 0) p += 2;
    if (hex_digit(*p) < 0) return 0;
    std::uint64_t accumulated = 0;
    bool saturated = false;
    for (int digit = hex_digit(*p); digit >= 0; digit = hex_digit(*p)) {
        ++p;
        if (accumulated > (UINT64_MAX >> 4)) {
            saturated = true;
            break;
        }
        accumulated = accumulated * 16 + static_cast<std::uint64_t>(digit);
    }
    if (saturated) {
        *value = negative ? INT64_MIN : INT64_MAX;
    } else {
        *value = signed_from_pattern(negative ? 0 - accumulated : accumulated);
    }
    *consumed = count_between(text, p);
    return 1;
}

/* "%d" and "%2d": the width (0 for none) counts the sign and the digits. Digits beyond
 * the int range are still consumed; the value saturates at INT_MIN or INT_MAX. */
int scan_int(const char* text, int width, int* value, int* consumed) noexcept {
    const char* p = skip_white_space(text);
    if (*p == '\0') return -1;
    long long remaining = width > 0 ? width : LLONG_MAX;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
        --remaining;
    }
    if (remaining <= 0 || !is_decimal_digit(*p)) return 0;
    long long accumulated = 0;
    for (; remaining > 0 && is_decimal_digit(*p); ++p, --remaining) {
        if (accumulated <= INT_MAX) accumulated = accumulated * 10 + (*p - '0');
    }
    if (negative) accumulated = -accumulated;
    if (accumulated > INT_MAX) accumulated = INT_MAX;
    if (accumulated < INT_MIN) accumulated = INT_MIN;
    *value = static_cast<int>(accumulated);
    *consumed = count_between(text, p);
    return 1;
}

int scan_charset(const char* text, const char* set, int width, char* target,
                 int* consumed) noexcept {
    if (*text == '\0') return -1;
    long long remaining = width > 0 ? width : LLONG_MAX;
    const char* p = text;
    while (remaining > 0 && *p != '\0' && in_set(set, *p)) {
        ++p;
        --remaining;
    }
    if (p == text) return 0;
    const int count = count_between(text, p);
    for (int i = 0; i < count; ++i) target[i] = text[i];
    target[count] = '\0';
    *consumed = count;
    return 1;
}

std::int64_t parse_integer_radix(const char* text, int radix) noexcept {
    const auto base = static_cast<std::uint64_t>(clamp_radix(radix));
    const char* p = skip_white_space(text);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    std::uint64_t pattern = 0;
    for (int digit = digit_value(*p); digit >= 0 && static_cast<std::uint64_t>(digit) < base;
         digit = digit_value(*++p)) {
        pattern = pattern * base + static_cast<std::uint64_t>(digit);  // modulo 2^64
    }
    return signed_from_pattern(negative ? 0 - pattern : pattern);
}

char* format_integer_radix(std::int64_t value, char* out, int radix) noexcept {
    const auto base = static_cast<std::uint64_t>(clamp_radix(radix));
    std::uint64_t pattern = pattern_of(value);
    int count = 0;
    do {
        out[count++] = "0123456789abcdefghijklmnopqrstuvwxyz"[pattern % base];
        pattern /= base;
    } while (pattern != 0);
    out[count] = '\0';
    for (int low = 0, high = count - 1; low < high; ++low, --high) {
        const char swapped = out[low];
        out[low] = out[high];
        out[high] = swapped;
    }
    return out;
}

}  // namespace fexpr::numeric
