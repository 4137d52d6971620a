// Constant tables of character sets, for the loops that pass over a text character by character.
#pragma once

namespace fexpr::engine {

// A set of characters, looked up by the character's code (0 … 255).
struct character_set {
    bool member[256];
};

// The set of the characters of `members`, and of the NUL when `with_end` is true, so a loop
// can stop at the end of the text and at a member with one lookup.
constexpr character_set make_character_set(const char* members, bool with_end) noexcept {
    character_set set{};
    for (const char* p = members; *p != '\0'; ++p)
        set.member[static_cast<unsigned char>(*p)] = true;
    set.member[0] = with_end;
    return set;
}

constexpr bool in_set(const character_set& set, char c) noexcept {
    return set.member[static_cast<unsigned char>(c)];
}

}  // namespace fexpr::engine
