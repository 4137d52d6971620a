// Fuzzes Tab completion: the input up to its first NUL is the text before the cursor, taken
// at every cut, with the cursor at the end of the line and inside it. Every word offered must
// continue what stands before the cursor and be a name of the language or a format suffix.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "driver/completion.h"
#include "engine/functions.h"
#include "engine/operand_scanner.h"
#include "format/layouts.h"

namespace {

constexpr std::size_t max_input = 512;
fexpr::platform::completion_list list;

// A whole function name, Pi or the name of a shift descriptor, as the evaluator reads them.
bool is_whole_name(const char* word) {
    using namespace fexpr::engine;
    const std::size_t length = std::strlen(word);
    if (std::strcmp(word, shift_name) == 0) return true;
    if (length == 2 && begins_with_pi(word)) return true;
    const int found = match_function_name(word);
    return found >= 0 && function_name_lengths.length[found] == length;
}

void check_words(const char* text, std::size_t length) {
    using namespace fexpr;
    if (list.count > platform::completion_capacity) std::abort();
    for (std::size_t index = 0; index < list.count; ++index) {
        const platform::completion_word& word = list.words[index];
        const void* end = std::memchr(word.text, '\0', sizeof word.text);
        if (end == nullptr || word.typed > std::strlen(word.text) || word.typed > length) {
            std::abort();
        }
        if (std::memcmp(word.text, text + length - word.typed, word.typed) != 0) std::abort();
        const bool suffix = format::parse_format_suffix(word.text).format != format::layout_default;
        if (!suffix && !is_whole_name(word.text)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > max_input) return 0;
    char text[max_input + 1];
    std::memcpy(text, data, size);
    text[size] = '\0';
    const std::size_t length = std::strlen(text);
    for (std::size_t cut = 0; cut <= length; ++cut) {
        const char kept = text[cut];
        text[cut] = '\0';
        fexpr::driver::find_completions(text, cut, true, list);
        check_words(text, cut);
        fexpr::driver::find_completions(text, cut, false, list);
        check_words(text, cut);
        text[cut] = kept;
    }
    return 0;
}
