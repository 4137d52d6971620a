// Character classes of the scans, compared by range (never through the locale).
#pragma once

namespace fexpr::numeric {

constexpr bool is_decimal_digit(char character) noexcept {
    return character >= '0' && character <= '9';
}

// Blank, tab, newline, vertical tab, form feed and carriage return.
constexpr bool is_white_space(char character) noexcept {
    return character == ' ' || (character >= '\t' && character <= '\r');
}

inline const char* skip_white_space(const char* text) noexcept {
    while (is_white_space(*text)) ++text;
    return text;
}

}  // namespace fexpr::numeric
