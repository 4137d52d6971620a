// The bounded text builder.
#include "platform/text_builder.h"

namespace fexpr::platform {

text_builder make_builder(char* out, std::size_t size) noexcept {
    if (size > 0) out[0] = '\0';
    return text_builder{out, size, 0, false};
}

void append_text(text_builder& builder, const char* text, std::size_t count) noexcept {
    for (std::size_t i = 0; i < count && text[i] != '\0'; ++i) append_char(builder, text[i]);
}

void append_text(text_builder& builder, const char* text) noexcept {
    for (const char* p = text; *p != '\0'; ++p) append_char(builder, *p);
}

void append_char(text_builder& builder, char character) noexcept {
    if (builder.length + 1 >= builder.size) {
        builder.cut = true;
        return;
    }
    builder.data[builder.length++] = character;
    builder.data[builder.length] = '\0';
}

char* builder_end(text_builder& builder) noexcept {
    return builder.data + builder.length;
}

std::size_t builder_room(const text_builder& builder) noexcept {
    return builder.size > builder.length ? builder.size - builder.length : 0;
}

void builder_advance(text_builder& builder, std::size_t count) noexcept {
    const std::size_t room = builder_room(builder);
    builder.length += room == 0 ? 0 : (count < room ? count : room - 1);
}

}  // namespace fexpr::platform
