// Line reading where runs of ordinary characters are cut: by the capacity, by the end of the
// read buffer, and by characters outside 7-bit ASCII.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_input.h"
#include "platform_reading.h"

namespace {

using fexpr::platform::reader_buffer_size;

TEST(LineRuns, CutsKeepEveryCharacterOnce) {
    const std::string before_boundary(reader_buffer_size - 1, 'a');
    struct row {
        const char* name;
        std::string input;
        std::size_t capacity;
        std::vector<std::string> lines;
    };
    const row rows[] = {
        {"capacity reached just before the newline", "abc\nd\n", 4, {"abc", "\n", "d\n"}},
        {"carriage return at the cut", "abc\r\nd", 4, {"abc", "\n", "d"}},
        {"carriage returns only", "\r\r\r", 4, {}},
        {"capacity 2 gives single characters", "ab\n", 2, {"a", "b", "\n"}},
        {"capacity 1 reads nothing", "ab\n", 1, {}},
        {"bytes above 127 are ordinary", "\xe9\xff+\x80\n", 16, {"\xe9\xff+\x80\n"}},
        {"control characters other than the three are kept",
         "\t\x01\x19\x1b\n",
         16,
         {"\t\x01\x19\x1b\n"}},
        {"newline after a full buffer",
         before_boundary + "b\nc",
         2 * reader_buffer_size,
         {before_boundary + "b\n", "c"}},
        {"carriage return across the buffer end",
         before_boundary + "\r\nc",
         2 * reader_buffer_size,
         {before_boundary + "\n", "c"}},
        {"ctrl-z across the buffer end",
         before_boundary + "b\x1a" + "c\n",
         2 * reader_buffer_size,
         {before_boundary + "b"}},
    };
    for (const row& r : rows)
        EXPECT_EQ(fexpr_test::read_lines_through_file(r.input, r.capacity), r.lines) << r.name;
}

}  // namespace
