// Unit tables of the format-suffix grammar and of digit grouping.
#include <gtest/gtest.h>

#include "engine/text_buffers.h"
#include "format/grouping.h"
#include "format/layouts.h"

namespace fexpr::format {
namespace {

struct suffix_case {
    const char* candidate;
    output_format layout;
    int precision;  // the N the layout carries; -1 when it has none (then default_precision)
};

const suffix_case suffix_cases[] = {
    {".0", layout_fixed, 0},
    {".15", layout_fixed, 15},
    {".16", layout_default, -1},
    {".-1", layout_default, -1},
    {". 5", layout_fixed, 5},
    {".+5", layout_fixed, 5},
    {".5abc", layout_fixed, 5},
    {".05", layout_fixed, 5},
    {".", layout_default, -1},
    {".x", layout_default, -1},
    {".99999999999", layout_default, -1},
    {"g1", layout_significant, 1},
    {"g15", layout_significant, 15},
    {"g0", layout_default, -1},
    {"G3", layout_default, -1},
    {"e0", layout_scientific, 0},
    {"e15", layout_scientific, 15},
    {"e16", layout_default, -1},
    {"E5", layout_default, -1},
    {"x_", layout_hex_grouped, -1},
    {"X_", layout_hex_grouped, -1},
    {"x_3", layout_hex_grouped, -1},
    {"x", layout_hex, -1},
    {"X", layout_hex, -1},
    {"x4", layout_hex, -1},
    {"xx_", layout_hex, -1},
    {"b", layout_binary, -1},
    {"B", layout_binary, -1},
    {"bogus", layout_binary, -1},
    {"o", layout_octal, -1},
    {"O", layout_octal, -1},
    {":", layout_duration, -1},
    {"::x", layout_duration, -1},
    {"", layout_default, -1},
    {"*3", layout_default, -1},
    {" x", layout_default, -1},
    {"2", layout_default, -1},
};

TEST(FormatSuffix, TestsInOrderAndKeepsPrecisionOnlyWhenAccepted) {
    for (const suffix_case& row : suffix_cases) {
        const result_layout layout = parse_format_suffix(row.candidate);
        EXPECT_EQ(layout.format, row.layout) << row.candidate;
        EXPECT_EQ(layout.precision, row.precision < 0 ? default_precision : row.precision)
            << row.candidate;
    }
}

struct grouping_case {
    int mode;
    const char* text;
    const char* grouped;
};

const grouping_case grouping_cases[] = {
    {0, "1234567.5", "1234567.5"},
    {1, "1234567.5", "1,234,567.5"},
    {2, "1234567.5", "123_4567.5"},
    {1, "123", "123"},
    {1, "1234", "1,234"},
    {2, "1234", "1234"},
    {2, "12345", "1_2345"},
    {1, "-123456", "-123,456"},
    {1, "-1234567", "-1,234,567"},
    {2, "-12345678", "-1234_5678"},
    {1, "1.23456789", "1.23456789"},
    {1, "1234.500000000000000", "1,234.500000000000000"},
    {1, "1.234e+20", "1.234e+20"},
    {2, "1e-05", "1e-05"},
    {1, "123456789012", "123,456,789,012"},
    {2, "-1234", "-1234"},
    {1, "-INF", "-INF"},
    {2, "+NAN", "+NAN"},
    {1, "", ""},
    {1, ".5", ".5"},
};

TEST(FormatGrouping, SeparatorsOnlyInTheIntegerPart) {
    for (const grouping_case& row : grouping_cases) {
        const auto grouping = static_cast<engine::digit_grouping>(row.mode);
        EXPECT_STREQ(group_digits(row.text, grouping), row.grouped) << row.mode << " " << row.text;
    }
}

TEST(FormatGrouping, ReverseText) {
    char odd[] = "abc";
    char even[] = "abcd";
    char empty[] = "";
    EXPECT_STREQ(reverse_text(odd), "cba");
    EXPECT_STREQ(reverse_text(even), "dcba");
    EXPECT_STREQ(reverse_text(empty), "");
    EXPECT_EQ(reverse_text(nullptr), nullptr);
}

}  // namespace
}  // namespace fexpr::format
