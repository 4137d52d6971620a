// Results formatted in the output stream's own buffer: the same text whatever room is left.
#include <gtest/gtest.h>

#include <string>

#include "engine/prepass.h"
#include "format/layouts.h"
#include "platform/output_stream.h"

namespace fexpr::format {
namespace {

struct stream_case {
    result_layout layout;
    engine::digit_grouping grouping;
    double value;
    const char* line;
};

// The layouts that go straight to the buffer and those beside them, at every fill of the
// buffer's last 80 bytes: a full buffer keeps what fits of the line, as any write does.
TEST(ResultStream, SameLineAtEveryFillOfTheBuffer) {
    const result_layout significant_3 = {layout_significant, 3};
    const result_layout significant_17 = {layout_significant, 17};
    const result_layout significant_40 = {layout_significant, 40};
    const result_layout fixed_2 = {layout_fixed, 2};
    const stream_case cases[] = {
        {default_layout, engine::no_groups, 2704.3, "2704.3\n"},
        {default_layout, engine::no_groups, -0.000123, "-0.000123\n"},
        {default_layout, engine::no_groups, 1e15, "1e+15\n"},
        {default_layout, engine::no_groups, 0, "0\n"},
        {default_layout, engine::no_groups, -1e300, "-1e+300\n"},
        {default_layout, engine::groups_of_three, 1234567.5, "1,234,567.5\n"},
        {significant_3, engine::no_groups, 98765, "9.88e+04\n"},
        {significant_17, engine::no_groups, 123456789012345678.0, "1.2345678901234568e+17\n"},
        {significant_40, engine::no_groups, 0.1, "0.1000000000000000056\n"},
        {fixed_2, engine::no_groups, 2.345, "2.35\n"},
    };
    static platform::output_stream stream;
    const std::size_t full = platform::stream_buffer_size;
    for (const stream_case& c : cases) {
        const std::string line = c.line;
        for (std::size_t room = 0; room < 80; ++room) {
            platform::open_memory_stream(&stream);
            stream.length = full - room;
            print_result(plain_run, c.layout, c.grouping, c.value, &stream);
            const std::size_t kept = line.size() < room ? line.size() : room;
            EXPECT_EQ(stream.length, full - room + kept) << c.line << " room " << room;
            EXPECT_EQ(std::string(stream.buffer + full - room, kept), line.substr(0, kept))
                << c.line << " room " << room;
        }
    }
}

}  // namespace
}  // namespace fexpr::format
