// Test helper: reads a text through the text-mode reader, piece by piece.
#include "platform_reading.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/text_input.h"

namespace fexpr_test {

std::vector<std::string> read_lines_through_file(const std::string& input, std::size_t capacity) {
    char path[] = "/tmp/fexpr-input-XXXXXX";
    const int descriptor = mkstemp(path);
    EXPECT_GE(descriptor, 0);
    EXPECT_EQ(write(descriptor, input.data(), input.size()), static_cast<ssize_t>(input.size()));
    lseek(descriptor, 0, SEEK_SET);
    static fexpr::platform::text_reader reader;
    fexpr::platform::open_descriptor(reader, descriptor);
    std::vector<std::string> lines;
    std::vector<char> line(capacity + 1, '#');
    while (std::size_t count = fexpr::platform::read_text_line(reader, line.data(), capacity)) {
        EXPECT_LT(count, capacity);
        EXPECT_EQ(line[count], '\0');
        lines.emplace_back(line.data(), count);
        EXPECT_EQ(fexpr::platform::piece_held_nul(reader),
                  lines.back().find('\0') != std::string::npos)
            << lines.size();
    }
    fexpr::platform::close_reader(reader);
    // Only now: Windows refuses to remove a file that is still open.
    EXPECT_EQ(unlink(path), 0);
    return lines;
}

}  // namespace fexpr_test
