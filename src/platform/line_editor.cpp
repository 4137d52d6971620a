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

// The terminal the editor echoes on.
std::FILE* echo_file = nullptr;
// A session of lines (--each) ends its last line at the end of the input, so that what
// follows on the terminal starts a line of its own.
bool session_of_lines = false;

// Tab completion: the finder, the key bytes read and their count at the last Tab, which
// tells a second Tab in a row; the line before the cursor as bytes, and the words found.
completion_finder finder_in_use = nullptr;
unsigned long keys_read = 0;
unsigned long last_tab_key = 0;
char completion_text[entry_capacity] = {};
completion_list completions = {};

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
    if (count == 1) ++keys_read;
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
    if (line == nullptr || count <= 0) {
        if (session_of_lines) {
            std::fputc('\n', echo_file);
            std::fflush(echo_file);
        }
        return false;
    }
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

// What a word adds after the cursor.
const char* continuation(const completion_word& word) noexcept {
    return word.text + word.typed;
}

// The length of the continuation every word of a non-empty list shares.
std::size_t shared_continuation(const completion_list& list) noexcept {
    const char* first = continuation(list.words[0]);
    std::size_t length = std::strlen(first);
    for (std::size_t index = 1; index < list.count; ++index) {
        const char* other = continuation(list.words[index]);
        std::size_t same = 0;
        while (same < length && other[same] == first[same]) ++same;
        length = same;
    }
    return length;
}

// Writes the words in columns on the lines under the one being edited, as wide as the
// terminal allows.
void list_completions(const completion_list& list) noexcept {
    int columns = 0;
    if (el_get(editor, EL_GETTC, "co", &columns, static_cast<void*>(nullptr)) != 0 ||
        columns <= 0) {
        columns = 80;
    }
    std::size_t width = 1;
    for (std::size_t index = 0; index < list.count; ++index) {
        const std::size_t length = std::strlen(list.words[index].text);
        if (length + 2 > width) width = length + 2;
    }
    std::size_t per_row = static_cast<std::size_t>(columns) / width;
    if (per_row == 0) per_row = 1;
    std::fputc('\n', echo_file);
    for (std::size_t index = 0; index < list.count; ++index) {
        const char* text = list.words[index].text;
        const bool row_end = (index + 1) % per_row == 0 || index + 1 == list.count;
        std::fputs(text, echo_file);
        for (std::size_t pad = std::strlen(text); !row_end && pad < width; ++pad) {
            std::fputc(' ', echo_file);
        }
        if (row_end) std::fputc('\n', echo_file);
    }
    std::fflush(echo_file);
}

// Puts the first `length` characters of `text` (ASCII) at the cursor.
void insert_at_cursor(EditLine* edit, const char* text, std::size_t length) noexcept {
    wchar_t insertion[completion_word_size];
    for (std::size_t index = 0; index < length; ++index) {
        insertion[index] = static_cast<wchar_t>(static_cast<unsigned char>(text[index]));
    }
    insertion[length] = L'\0';
    el_winsertstr(edit, insertion);
}

/*
 * The Tab key: the finder looks at the line before the cursor (a line too long for the
 * buffer gets nothing). The words' shared continuation is inserted; when there is none, the
 * first Tab rings the bell and a second one in a row lists the words, after which the editor
 * shows the line again below the listing.
 */
unsigned char complete_at_cursor(EditLine* edit, int) {
    const bool again = last_tab_key != 0 && keys_read == last_tab_key + 1;
    last_tab_key = keys_read;
    const LineInfoW* line = el_wline(edit);
    const auto length = static_cast<std::size_t>(line->cursor - line->buffer);
    if (finder_in_use == nullptr || length >= entry_capacity) return CC_ERROR;
    for (std::size_t index = 0; index < length; ++index) {
        completion_text[index] = byte_of(line->buffer[index]);
    }
    completion_text[length] = '\0';
    completions.count = 0;
    finder_in_use(completion_text, length, line->cursor == line->lastchar, completions);
    if (completions.count == 0) return CC_ERROR;
    const std::size_t shared = shared_continuation(completions);
    if (shared > 0) {
        insert_at_cursor(edit, continuation(completions.words[0]), shared);
        return CC_REFRESH;
    }
    if (!again) return CC_ERROR;
    list_completions(completions);
    return CC_REDISPLAY;
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

bool open_line_editor(completion_finder finder) noexcept {
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
    finder_in_use = finder;
    echo_file = echo;
    el_wset(editor, EL_ADDFN, L"fexpr-complete", L"Complete a name or a format suffix",
            complete_at_cursor);
    el_wset(editor, EL_BIND, L"^I", L"fexpr-complete", static_cast<wchar_t*>(nullptr));
    start_history();
    console_source = line_source{nullptr, 0, 0, false, refill_from_editor};
    edited_position = edited_length = 0;
    return true;
}

bool open_edited_reader(text_reader& reader, completion_finder finder) noexcept {
    if (!open_line_editor(finder)) return false;
    reader.source = line_source{nullptr, 0, 0, false, refill_from_editor};
    reader.descriptor = standard_input_descriptor;
    reader.flush_before_read = false;
    session_of_lines = true;
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

bool open_line_editor(completion_finder) noexcept {
    return false;
}

bool open_edited_reader(text_reader&, completion_finder) noexcept {
    return false;
}

std::size_t read_edited_line(char* out, std::size_t capacity) noexcept {
    if (capacity > 0) out[0] = '\0';
    return 0;
}

void close_line_editor() noexcept {}

#endif

}  // namespace fexpr::platform
