// The line editor's pieces match the plain reader's, and the history file's path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/line_editor.h"
#include "platform/text_input.h"
#include "platform_reading.h"

namespace {

using fexpr::platform::line_source;

// The lines an editor would hand out, one per refill.
std::vector<std::string> editor_lines;
std::size_t next_editor_line = 0;

bool refill_from_table(line_source& source) noexcept {
    if (next_editor_line == editor_lines.size()) return false;
    const std::string& line = editor_lines[next_editor_line++];
    source.text = line.data();
    source.length = line.size();
    source.position = 0;
    return true;
}

std::vector<std::string> edited_pieces(const std::vector<std::string>& lines,
                                       std::size_t capacity) {
    editor_lines = lines;
    next_editor_line = 0;
    line_source source{nullptr, 0, 0, false, refill_from_table};
    std::vector<std::string> pieces;
    std::vector<char> piece(capacity);
    while (std::size_t count = take_text_piece(source, piece.data(), capacity)) {
        EXPECT_EQ(piece[count], '\0');
        pieces.emplace_back(piece.data(), count);
    }
    EXPECT_EQ(take_text_piece(source, piece.data(), capacity), 0u) << "input stays ended";
    return pieces;
}

struct piece_case {
    const char* name;
    std::vector<std::string> lines;
    std::size_t capacity;
    std::vector<std::string> pieces;
};

TEST(LineEditor, HandsOnLinesInThePlainReadersPieces) {
    const std::string long_line = std::string(16383, '1') + "+2\n";
    const piece_case cases[] = {
        {"plain lines", {"1+2\n", "3 x\n"}, 100, {"1+2\n", "3 x\n"}},
        {"no input", {}, 100, {}},
        {"carriage returns dropped", {"1+2\r\n", "\r\n"}, 100, {"1+2\n", "\n"}},
        {"long line in pieces", {"abcdefg\n"}, 4, {"abc", "def", "g\n"}},
        {"newline alone after a full piece", {"abc\n", "1\n"}, 4, {"abc", "\n", "1\n"}},
        {"ctrl-z ends the input", {"1\x1a+2\n", "3\n"}, 100, {"1"}},
        {"ctrl-z first", {"\x1a\n", "3\n"}, 100, {}},
        {"last line without newline", {"1\n", "2"}, 100, {"1\n", "2"}},
        {"line runs into the next without newline", {"1", "2\n"}, 100, {"12\n"}},
        {"console capacity", {long_line}, 16384, {long_line.substr(0, 16383), "+2\n"}},
    };
    for (const piece_case& row : cases) {
        EXPECT_EQ(edited_pieces(row.lines, row.capacity), row.pieces) << row.name;
        std::string joined;
        for (const std::string& line : row.lines) joined += line;
        EXPECT_EQ(fexpr_test::read_lines_through_file(joined, row.capacity), row.pieces)
            << row.name << " (plain)";
    }
}

struct path_case {
    const char* state_home;
    const char* home;
    std::size_t size;
    const char* path;  // nullptr: no history file
};

TEST(LineEditor, HistoryFilePath) {
    const path_case cases[] = {
        {"/s", "/h", 100, "/s/fexpr/history"},
        {nullptr, "/h", 100, "/h/.local/state/fexpr/history"},
        {"", "/h", 100, "/h/.local/state/fexpr/history"},
        {"relative/state", "/h", 100, "/h/.local/state/fexpr/history"},
        {nullptr, nullptr, 100, nullptr},
        {nullptr, "", 100, nullptr},
        {"/s", nullptr, 100, "/s/fexpr/history"},
        {"/s", "/h", 17, "/s/fexpr/history"},
        {"/s", "/h", 16, nullptr},
        {"/s", "/h", 0, nullptr},
    };
    for (const path_case& row : cases) {
        char out[128] = "unchanged";
        const bool made =
            fexpr::platform::history_file_path(row.state_home, row.home, out, row.size);
        const std::string label = std::string(row.state_home ? row.state_home : "(unset)") + " " +
                                  (row.home ? row.home : "(unset)") + " " +
                                  std::to_string(row.size);
        EXPECT_EQ(made, row.path != nullptr) << label;
        if (made) {
            EXPECT_STREQ(out, row.path) << label;
        }
    }
}

}  // namespace
