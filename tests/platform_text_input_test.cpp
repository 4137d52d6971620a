// Text-mode line reading, the drive mapping of the fixed files, and buffered output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fixed_files.h"
#include "platform/output_stream.h"
#include "platform/text_input.h"
#include "platform_reading.h"

namespace {

// Sets (or, for nullptr, removes) an environment variable; MinGW has no setenv.
void set_environment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

struct line_case {
    const char* name;
    std::string input;
    std::size_t capacity;
    std::vector<std::string> lines;
};

TEST(TextInput, ReadsLinesInTextMode) {
    const line_case cases[] = {
        {"plain", "1+2\n3\n", 100, {"1+2\n", "3\n"}},
        {"no final newline", "1+2\n3", 100, {"1+2\n", "3"}},
        {"carriage returns dropped", "1+2\r\n\r3\r\n", 100, {"1+2\n", "3\n"}},
        {"ctrl-z ends the input",
         "1\n2\x1a"
         "3\n4\n",
         100,
         {"1\n", "2"}},
        {"ctrl-z at a line start",
         "1\n\x1a"
         "2\n",
         100,
         {"1\n"}},
        {"long line in pieces", "abcdefg\n", 4, {"abc", "def", "g\n"}},
        {"empty lines kept", "\n\n1\n", 100, {"\n", "\n", "1\n"}},
        {"empty input", "", 100, {}},
    };
    for (const line_case& c : cases) {
        EXPECT_EQ(fexpr_test::read_lines_through_file(c.input, c.capacity), c.lines) << c.name;
    }
}

// Runs are copied eight characters at a time while none of them may be a line control: a
// line control at every place of a word, other characters below 27 (tab, 1, 25) and
// characters from 128 up, and capacities that end a piece inside a word. A NUL stays in its
// piece, which the reader notes.
TEST(TextInput, LineControlsAtEveryPlaceOfAWord) {
    const std::string filler = std::string("\t\x01\x19\x80\xff") + "12345678901234567";
    for (std::size_t place = 0; place < 17; ++place) {
        const std::string head = filler.substr(0, place);
        const std::vector<std::string> newline = {head + "\n", "x\n"};
        EXPECT_EQ(fexpr_test::read_lines_through_file(head + "\nx\n", 100), newline) << place;
        const std::vector<std::string> nul = {head + std::string(1, '\0') + "x\n", "x\n"};
        EXPECT_EQ(fexpr_test::read_lines_through_file(nul[0] + "x\n", 100), nul) << place;
        const std::vector<std::string> carriage = {head + "x\n"};
        EXPECT_EQ(fexpr_test::read_lines_through_file(head + "\rx\n", 100), carriage) << place;
        // Ctrl-Z ends the input; at the start of a line it leaves no piece.
        const std::vector<std::string> ended =
            place == 0 ? std::vector<std::string>{} : std::vector<std::string>{head};
        EXPECT_EQ(fexpr_test::read_lines_through_file(head + "\x1a" + "x\n", 100), ended) << place;
    }
    for (std::size_t capacity = 2; capacity < 20; ++capacity) {
        const std::string line = filler + "\n";
        std::vector<std::string> pieces;
        for (std::size_t at = 0; at < line.size(); at += capacity - 1) {
            pieces.push_back(line.substr(at, capacity - 1));
        }
        EXPECT_EQ(fexpr_test::read_lines_through_file(line, capacity), pieces) << capacity;
    }
}

// The text-mode rules one character at a time: '\r' dropped, Ctrl-Z ends the input, a piece
// ends after its newline or at capacity - 1 characters.
std::vector<std::string> pieces_by_rule(const std::string& input, std::size_t capacity) {
    std::vector<std::string> pieces;
    std::string piece;
    for (const char character : input) {
        if (character == '\x1a') break;
        if (character == '\r') continue;
        piece += character;
        if (character == '\n' || piece.size() == capacity - 1) {
            pieces.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty()) pieces.push_back(piece);
    return pieces;
}

// Whole lines are taken 16 characters at a time: line ends ("\n", "\r\n", a lone '\r', "\r\r\n")
// and NULs at every place of the first three blocks, lines that cross the end of the reader's
// buffer at every place near it, and capacities that cut a line inside a block.
TEST(TextInput, LineEndsAtEveryPlaceOfABlockAndAcrossTheBuffer) {
    std::vector<std::string> inputs;
    const std::string ends[] = {"\n",
                                "\r\n",
                                "\rx\n",
                                "\r\r\n",
                                "\x1ax\n",
                                std::string("\0x\n", 3),
                                std::string("\0\n", 2)};
    for (const std::string& end : ends) {
        for (std::size_t length = 0; length < 50; ++length) {
            inputs.push_back(std::string(length, 'a') + end + "next\n");
        }
    }
    const std::size_t buffer = fexpr::platform::reader_buffer_size;
    for (std::size_t before = buffer - 40; before < buffer + 2; ++before) {
        inputs.push_back(std::string(before, '1') + "\n22\r\n333333333333333333333\n");
        inputs.push_back(std::string(before, '1') + std::string("\0\n2\0\r\n3\n", 9));
    }
    for (const std::string& input : inputs) {
        for (std::size_t capacity : {2, 17, 33, 100, 70000}) {
            EXPECT_EQ(fexpr_test::read_lines_through_file(input, capacity),
                      pieces_by_rule(input, capacity))
                << input.size() << " characters, capacity " << capacity;
        }
    }
}

TEST(TextInput, LineLongerThanTheReadBuffer) {
    const std::string line(200000, '7');
    const auto lines = fexpr_test::read_lines_through_file(line + "\n", 300000);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], line + "\n");
}

#ifdef _WIN32
// On Windows the fixed paths are the real ones, whatever FEXPR_DRIVE_C says.
TEST(FixedFiles, UsesTheWindowsPathsAsTheyStand) {
    char path[256];
    set_environment("FEXPR_DRIVE_C", "C:\\elsewhere");
    ASSERT_TRUE(
        fexpr::platform::map_drive_path(fexpr::platform::data_file_path, path, sizeof path));
    EXPECT_STREQ(path, "C:\\Data\\data.txt");
    ASSERT_TRUE(
        fexpr::platform::map_drive_path(fexpr::platform::result_file_path, path, sizeof path));
    EXPECT_STREQ(path, "C:\\Program Files\\Calculator\\result.txt");
    EXPECT_FALSE(fexpr::platform::map_drive_path(fexpr::platform::data_file_path, path, 12));
    set_environment("FEXPR_DRIVE_C", nullptr);
}
#else
TEST(FixedFiles, MapsDriveCUnderTheEnvironmentFolder) {
    char path[256];
    set_environment("FEXPR_DRIVE_C", "/tmp/drive");
    ASSERT_TRUE(
        fexpr::platform::map_drive_path(fexpr::platform::data_file_path, path, sizeof path));
    EXPECT_STREQ(path, "/tmp/drive/Data/data.txt");
    ASSERT_TRUE(
        fexpr::platform::map_drive_path(fexpr::platform::result_file_path, path, sizeof path));
    EXPECT_STREQ(path, "/tmp/drive/Program Files/Calculator/result.txt");
    EXPECT_FALSE(fexpr::platform::map_drive_path("D:\\x", path, sizeof path));
    EXPECT_FALSE(fexpr::platform::map_drive_path(fexpr::platform::data_file_path, path, 12));

    set_environment("FEXPR_DRIVE_C", nullptr);
    set_environment("HOME", "/home/user");
    ASSERT_TRUE(
        fexpr::platform::map_drive_path(fexpr::platform::data_file_path, path, sizeof path));
    EXPECT_STREQ(path, "/home/user/.fexpr/drive_c/Data/data.txt");
}
#endif

TEST(OutputStream, MemoryStreamKeepsWhatFits) {
    static fexpr::platform::output_stream stream;
    fexpr::platform::open_memory_stream(&stream);
    fexpr::platform::write_stream(&stream, "4024\n");
    EXPECT_EQ(std::string(stream.buffer, stream.length), "4024\n");
    const std::string big(fexpr::platform::stream_buffer_size, 'x');
    fexpr::platform::write_stream(&stream, big.data(), big.size());
    EXPECT_EQ(stream.length, fexpr::platform::stream_buffer_size);
    EXPECT_TRUE(fexpr::platform::flush_stream(&stream));
}

}  // namespace
