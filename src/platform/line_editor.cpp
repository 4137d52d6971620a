// Console line editing and history through libedit.
#include "platform/line_editor.h"

#include <cstring>

#if defined(FEXPR_LINE_EDITING)
#include <histedit.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#endif

#include "platform/output_stream.h"
#include "platform/system_io.h"
#include "platform/text_builder.h"

namespace fexpr::platform {
namespace {

// folder and rest joined in out; false when they do not fit.
bool join_path(char* out, std::size_t size, const char* folder, const char* rest) noexcept {
    text_builder path = make_builder(out, size);
    append_text(path, folder);
    append_text(path, rest);
    return !path.cut;
}

}  // namespace

bool history_file_path(const char* state_home, const char* home, char* out,
                       std::size_t size) noexcept {
    if (size == 0) return false;
    out[0] = '\0';
    // A relative state folder is not valid and is ignored, as for every XDG variable.
    if (state_home != nullptr && state_home[0] == '/') {
        return join_path(out, size, state_home, "/fexpr/history");
    }
    if (home == nullptr || home[0] == '\0') return false;
    return join_path(out, size, home, "/.local/state/fexpr/history");
}

#if defined(FEXPR_LINE_EDITING)

namespace {

constexpr int history_size = 1000;
constexpr std::size_t path_capacity = 4096;
constexpr std::size_t entry_capacity = 16384;
constexpr std::size_t chunk_capacity = 4096;

EditLine* editor = nullptr;
HistoryW* history_list = nullptr;
char history_path[path_capacity] = {};
bool history_path_known = false;
wchar_t history_entry[entry_capacity] = {};
wchar_t no_prompt[] = L"";

// The edited line the editor returned last, handed on in chunks of bytes.
const wchar_t* edited_text = nullptr;
std::size_t edited_length = 0;
std::size_t edited_position = 0;
char chunk[chunk_capacity] = {};

bool refill_from_editor(line_source& source) noexcept;
line_source console_source = {nullptr, 0, 0, false, refill_from_editor};

wchar_t* empty_prompt(EditLine*) {
    return no_prompt;
}

// Bytes 128 to 255 reach the editor as characters from here on: below 256 the editor would
// take them for Meta key commands.
constexpr wchar_t high_byte_base = 0xE000;

/*
 * Reads one key byte for the editor, so that every byte, 128 to 255 included, reaches the
 * line as typed: the editor's own reading decodes by the locale, and the "C" locale would drop
 * those bytes. Bytes below 128 are their own characters; the others are moved above the
 * editor's key table (they show as escapes while edited). Returns 1, 0 at the end of the
 * input, -1 on a read error.
 */
int read_key_byte(EditLine*, wchar_t* key) {
    char byte = '\0';
    const long count = read_some(standard_input_descriptor, &byte, 1);
    const auto code = static_cast<unsigned char>(byte);
    *key = count != 1 ? L'\0' : code < 128 ? static_cast<wchar_t>(code) : high_byte_base + code;
    return count == 1 ? 1 : (count == 0 ? 0 : -1);
}

// Back from the editor's characters to the bytes read_key_byte made them from.
char byte_of(wchar_t character) noexcept {
    if (character >= 0 && character < 128) return static_cast<char>(character);
    if (character >= high_byte_base + 128 && character <= high_byte_base + 255) {
        return static_cast<char>(static_cast<unsigned char>(character - high_byte_base));
    }
    return '?';
}

// Creates the folders on the way to the file `path`, like mkdir -p; a folder that cannot be
// made only means the history is not written later.
void create_parent_folders(char* path) noexcept {
    for (char* cursor = path + 1; *cursor != '\0'; ++cursor) {
        if (*cursor != '/') continue;
        *cursor = '\0';
        ::mkdir(path, 0700);
        *cursor = '/';
    }
}

void load_history() noexcept {
    history_path_known = history_file_path(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"),
                                           history_path, path_capacity);
    if (!history_path_known) return;
    create_parent_folders(history_path);
    HistEventW event;
    history_w(history_list, &event, H_LOAD, history_path);
}

// Adds a non-empty line, without its newline, to the history and writes the file at once:
// a bad expression ends the process before any later chance to save it.
void remember_line(const wchar_t* line, std::size_t length) noexcept {
    if (length > 0 && line[length - 1] == L'\n') --length;
    if (length == 0 || history_list == nullptr) return;
    if (length >= entry_capacity) length = entry_capacity - 1;
    std::memcpy(history_entry, line, length * sizeof(wchar_t));
    history_entry[length] = L'\0';
    HistEventW event;
    history_w(history_list, &event, H_ENTER, history_entry);
    if (history_path_known) history_w(history_list, &event, H_SAVE, history_path);
}

// Waits for the next edited line; false at the end of the input.
bool edit_next_line() noexcept {
    flush_stream(standard_output());
    int count = 0;
    const wchar_t* line = el_wgets(editor, &count);
    if (line == nullptr || count <= 0) return false;
    edited_text = line;
    edited_length = static_cast<std::size_t>(count);
    edited_position = 0;
    remember_line(line, edited_length);
    return true;
}

// Hands the source the next chunk of the edited line as bytes, editing a new line when the
// last one is used up.
bool refill_from_editor(line_source& source) noexcept {
    if (edited_position == edited_length && !edit_next_line()) return false;
    std::size_t count = edited_length - edited_position;
    if (count > chunk_capacity) count = chunk_capacity;
    for (std::size_t index = 0; index < count; ++index) {
        chunk[index] = byte_of(edited_text[edited_position + index]);
    }
    edited_position += count;
    source.text = chunk;
    source.length = count;
    source.position = 0;
    return true;
}

void start_history() noexcept {
    history_list = history_winit();
    if (history_list == nullptr) return;
    HistEventW event;
    history_w(history_list, &event, H_SETSIZE, history_size);
    history_w(history_list, &event, H_SETUNIQUE, 1);
    el_wset(editor, EL_HIST, history_w, history_list);
    load_history();
}

}  // namespace

bool open_line_editor() noexcept {
    if (editor != nullptr) return true;
    // The editor echoes the line on the terminal: standard output, or standard error when
    // the results go to a file; with neither a terminal the plain reader runs.
    std::FILE* echo = is_terminal(standard_output_descriptor)  ? stdout
                      : is_terminal(standard_error_descriptor) ? stderr
                                                               : nullptr;
    if (!is_terminal(standard_input_descriptor) || echo == nullptr) return false;
    editor = el_init("fexpr", stdin, echo, stderr);
    if (editor == nullptr) return false;
    el_wset(editor, EL_EDITOR, L"emacs");
    el_wset(editor, EL_SIGNAL, 1);
    el_wset(editor, EL_PROMPT, empty_prompt);
    el_wset(editor, EL_GETCFN, read_key_byte);
    start_history();
    console_source = line_source{nullptr, 0, 0, false, refill_from_editor};
    edited_position = edited_length = 0;
    return true;
}

std::size_t read_edited_line(char* out, std::size_t capacity) noexcept {
    return take_text_piece(console_source, out, capacity);
}

void close_line_editor() noexcept {
    if (history_list != nullptr) history_wend(history_list);
    if (editor != nullptr) el_end(editor);
    history_list = nullptr;
    editor = nullptr;
}

#else

bool open_line_editor() noexcept {
    return false;
}

std::size_t read_edited_line(char* out, std::size_t capacity) noexcept {
    if (capacity > 0) out[0] = '\0';
    return 0;
}

void close_line_editor() noexcept {}

#endif

}  // namespace fexpr::platform
