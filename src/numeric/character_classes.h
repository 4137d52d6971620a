// Character classes of the scans and the expression language, compared by range (never
// through the locale): characters of 128 and above belong to none of them.
#pragma once

namespace fexpr::numeric {

constexpr bool is_decimal_digit(char character) noexcept {
    return character >= '0' && character <= '9';
}

// 'A' … 'Z' and 'a' … 'z' only.
constexpr bool is_letter(char character) noexcept {
    return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
}

constexpr char lower_case(char character) noexcept {
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

// The value of a digit in radices up to 36, letters in either case; -1 for any other
// character.
constexpr int digit_value(char character) noexcept {
    if (is_decimal_digit(character)) return character - '0';
    if (character >= 'a' && character <= 'z') return character - 'a' + 10;
    if (character >= 'A' && character <= 'Z') return character - 'A' + 10;
    return -1;
}

constexpr bool is_hex_digit(char character) noexcept {
    const int value = digit_value(character);
    return value >= 0 && value < 16;
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
