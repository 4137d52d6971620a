// End-to-end cases of the result layouts, digit groups and the accuracy warning.
#include <gtest/gtest.h>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

constexpr char warning[] =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";
constexpr char nan_report[] = "\r\nsqrt: DOMAIN error\r\n";

const std::string w = warning;

const std::vector<run_case> layout_cases = {
    // default, fixed and significant layouts with their digit groups
    {"", {{"1234567.5"}}, "1234567.5\n", ""},
    {"", {{",1234567.5"}}, "1,234,567.5\n", ""},
    {"", {{"_1234567.5"}}, "123_4567.5\n", ""},
    {"", {{",-123456"}}, "-123,456\n", ""},
    {"", {{",-1234567"}}, "-1,234,567\n", ""},
    {"", {{"_-12345678"}}, "-1234_5678\n", ""},
    {"", {{",1e20"}}, "1e+20\n", ""},
    {"", {{"4024"}}, "4024\n", ""},
    {"", {{"0.00001"}}, "1e-05\n", ""},
    {"", {{",1234.5", ".15"}}, "1,234.500000000000000\n", ""},
    {"", {{"2.5", ".0"}}, "2\n", ""},
    {"", {{"1234567.891", ".15"}}, "1234567.891000000061000\n", ""},
    {"", {{"_1234567.891", ".2"}}, "123_4567.89\n", ""},
    {"", {{"123456789", "g3"}}, "1.23e+08\n", ""},
    {"", {{",1234567", "g15"}}, "1,234,567\n", ""},
    {"", {{",1234567.25", "g8"}}, "1,234,567.2\n", ""},
    // scientific layout, never grouped
    {"", {{",1234.5", "e2"}}, "1.23e+03\n", ""},
    {"", {{"5", "e0"}}, "5e+00\n", ""},
    {"", {{"0", "e3"}}, "0.000e+00\n", ""},
    {"", {{"1e-300", "e2"}}, "1.00e-300\n", ""},
    // special values
    {"", {{"sqrt(-1)"}}, "+NAN\n", nan_report},
    {"", {{"ln(0)", "e3"}}, "-INF\n", "\r\nlog: SING error\r\n"},
    {"", {{",ln(0)", ".2"}}, "-INF\n", "\r\nlog: SING error\r\n"},
    // integer layouts
    {"", {{"255", "x"}}, "0x00000000000000ff\n", ""},
    {"", {{"255", "x_"}}, "0x00_00_00_00_00_00_00_ff\n", ""},
    {"", {{"3k+2^10", "x_"}}, "0x00_00_00_00_00_00_0f_b8\n", ""},
    {"", {{"-1", "x"}}, "0xffffffffffffffff\n", ""},
    {"", {{"2.9", "x"}}, "0x0000000000000002\n", ""},
    {"", {{"-2.9", "x"}}, "0xfffffffffffffffe\n", ""},
    {"", {{"5", "b"}}, "0b" + repeated("0000_", 15) + "0101\n", ""},
    {"", {{"-1", "b"}}, "0b" + repeated("1111_", 15) + "1111\n", ""},
    {"", {{"8", "o"}}, "0o0000_0000_0000_0000_0000_0010\n", ""},
    {"", {{"-1", "o"}}, "0o0017_7777_7777_7777_7777_7777\n", ""},
    // the accuracy warning: from 2^52 up and below -2^52
    {"", {{"2^52-1", "x"}}, "0x000fffffffffffff\n", ""},
    {"", {{"2^52", "x"}}, "0x0010000000000000\n", w},
    {"", {{"2^52", "x_"}}, "0x00_10_00_00_00_00_00_00\n", w},
    {"", {{"2^52", "b"}}, "0b0000_0000_0001_" + repeated("0000_", 12) + "0000\n", w},
    {"", {{"2^52", "o"}}, "0o0000_0020_0000_0000_0000_0000\n", w},
    {"", {{"0-2^52", "x"}}, "0xfff0000000000000\n", ""},
    {"", {{"0-2^52-1", "x"}}, "0xffefffffffffffff\n", w},
    // values without an integer view show -2^63 and the warning
    {"", {{"2^63", "x"}}, "0x8000000000000000\n", w},
    {"", {{"sqrt(-1)", "x"}}, "0x8000000000000000\n", nan_report + w},
    // duration layout
    {"", {{"0", ":"}}, "0.000\n", ""},
    {"", {{"0.5", ":"}}, "0.500\n", ""},
    {"", {{"-0.5", ":"}}, "-0.500\n", ""},
    {"", {{"0.9996", ":"}}, "1.000\n", ""},
    {"", {{"1", ":"}}, "01.000\n", ""},
    {"", {{"59.9996", ":"}}, "59.000\n", ""},
    {"", {{"75.25", ":"}}, "01:15.250\n", ""},
    {"", {{"3661.001", ":"}}, "01:01:01.001\n", ""},
    {"", {{"90061.5", ":"}}, "1 01:01:01.500\n", ""},
    {"", {{"-90061.5", ":"}}, "-1 01:01:01.500\n", ""},
    {"", {{"3.15576e11-1", ":"}}, "3652499 23:59:59.000\n", ""},
    {"", {{"3.15576e11", ":"}}, "315576000000\n", ""},
    {"", {{",0-3.15576e11", ":"}}, "-315,576,000,000\n", ""},
    {"", {{"sqrt(-1)", ":"}}, "+NAN\n", nan_report},
};

TEST(LayoutsEndToEnd, EveryLayoutAtItsEdges) {
    expect_runs(layout_cases);
}

// The warning follows the result line when both streams share one file.
TEST(LayoutsEndToEnd, WarningComesAfterTheResultLine) {
    run_request request{{"2^52", "x"}};
    request.output = run_request::output_kind::shared_file;
    EXPECT_EQ(run_fexpr(request).out, "0x0010000000000000\n" + w);
}

}  // namespace
}  // namespace fexpr::testing
