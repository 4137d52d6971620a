// End-to-end tables of the output switches: --all, --bits, --signed, --unsigned and --exact,
// with their warnings on standard error and the command lines they cannot use.
#include <gtest/gtest.h>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

const std::string accuracy =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";

std::string no_fit(const char* bits) {
    return std::string("Attention: The value does not fit in ") + bits +
           " bits, only its low bits are shown!\n";
}

std::string usage(const std::string& text) {
    return "fexpr: " + text + " (see fexpr --help)\n";
}

const std::vector<run_case> output_cases = {
    {"",
     {{"--all", "3k+2^10"}},
     "general\t4024\nx_\t0x00_00_00_00_00_00_0f_b8\n"
     "b\t0b0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_1111_1011_1000\n"
     "o\t0o0000_0000_0000_0000_0000_7670\n:\t01:07:04.000\ne15\t4.024000000000000e+03\n",
     "",
     0},
    // The warning once, after all lines; a trailing suffix is read and left unused.
    {"",
     {{"--all", "2^60", "x"}},
     "general\t1.15292150460685e+18\nx_\t0x10_00_00_00_00_00_00_00\n"
     "b\t0b0001_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000\n"
     "o\t0o0001_0000_0000_0000_0000_0000\n:\t1.15292150460685e+18\n"
     "e15\t1.152921504606847e+18\n",
     accuracy,
     0},
    {"",
     {{"--all", "--bits=8", ",1234.5"}},
     "general\t1,234.5\nx_\t0xd2\nb\t0b1101_0010\no\t0o0322\n:\t20:34.500\n"
     "e15\t1.234500000000000e+03\n",
     no_fit("8"),
     0},
    {"", {{"--all", "2+"}}, "The expression is incorrect\n", "", 9},
    {"", {{"--bits=16", "-1", "x_"}}, "0xff_ff\n", "", 0},
    {"", {{"--bits=16", "65535", "x"}}, "0xffff\n", "", 0},
    {"", {{"--bits=16", "-32768", "b"}}, "0b1000_0000_0000_0000\n", "", 0},
    {"", {{"--bits=16", "65536", "x"}}, "0x0000\n", no_fit("16"), 0},
    {"", {{"--bits=16", "-32769", "x"}}, "0x7fff\n", no_fit("16"), 0},
    {"", {{"--bits=8", "255", "o"}}, "0o0377\n", "", 0},
    {"", {{"--bits=32", "-1", "o"}}, "0o0377_7777_7777\n", "", 0},
    {"", {{"--bits=32", "5", "b"}}, "0b0000_0000_0000_0000_0000_0000_0000_0101\n", "", 0},
    {"", {{"--bits=64", "255", "x"}}, "0x00000000000000ff\n", "", 0},
    // Radix literals stay 64-bit patterns; only the shown word is cut.
    {"", {{"--bits=8", "0xFFFFFFFFFFFFFFFF", "x"}}, "0xff\n", "", 0},
    {"", {{"--bits=8", "1.5"}}, "1.5\n", "", 0},
    {"", {{"--unsigned", "-1"}}, "18446744073709551615\n", "", 0},
    {"", {{"--signed", "-1"}}, "-1\n", "", 0},
    {"", {{"--bits=8", "--signed", "255"}}, "-1\n", "", 0},
    {"", {{"--bits=8", "--unsigned", "-1"}}, "255\n", "", 0},
    {"", {{"--bits=16", "--signed", "32768"}}, "-32768\n", "", 0},
    {"", {{"--signed", "-7.9"}}, "-7\n", "", 0},
    {"", {{"--signed", ",-1234567"}}, "-1,234,567\n", "", 0},
    {"", {{"--bits=8", "--signed", "300"}}, "44\n", no_fit("8"), 0},
    {"", {{"--unsigned", "2^53+1"}}, "9007199254740992\n", accuracy, 0},
    {"", {{"--signed", "1/3", ".2"}}, "0.33\n", "", 0},
    // From 2^63 to below 2^64 a reading shows the exact word; beyond, the word warning comes
    // at 64 bits too (format_word_size_test.cpp crosses every word size and reading).
    {"", {{"--unsigned", "2^63+2^62"}}, "13835058055282163712\n", accuracy, 0},
    {"",
     {{"--bits=64", "--unsigned", "2^64"}},
     "9223372036854775808\n",
     accuracy + no_fit("64"),
     0},
    // The duration's fallback is a word too, and its warnings come once, after the lines.
    {"",
     {{"--bits=8", "--signed", "--all", "2^53"}},
     "general\t0\nx_\t0x00\nb\t0b0000_0000\no\t0o0000\n:\t0\ne15\t9.007199254740992e+15\n",
     accuracy + no_fit("8"),
     0},
    {"",
     {{"--exact", "0.1"}},
     "shortest\t0.1\nhex\t0x1.999999999999ap-4\nsign\t0\nexponent\t-4\n"
     "fraction\t0x999999999999a\n",
     "",
     0},
    {"",
     {{"--exact", "sin(Pi)"}},
     "shortest\t1.2246467991473532e-16\nhex\t0x1.1a62633145c07p-53\nsign\t0\n"
     "exponent\t-53\nfraction\t0x1a62633145c07\n",
     "",
     0},
    {"",
     {{"--exact", "-1"}},
     "shortest\t-1\nhex\t-0x1p+0\nsign\t1\nexponent\t0\nfraction\t0x0000000000000\n",
     "",
     0},
    {"",
     {{"--exact", "1/0"}},
     "shortest\t+INF\nhex\t+INF\nsign\t0\nexponent\t1024 (infinite)\n"
     "fraction\t0x0000000000000\n",
     "",
     0},
    {"",
     {{"--exact", "sqrt(-1)"}},
     "shortest\t+NAN\nhex\t+NAN\nsign\t0\nexponent\t1024 (NaN)\nfraction\t0x8000000000000\n",
     "\r\nsqrt: DOMAIN error\r\n",
     0},
    {"",
     {{"--exact", "0"}},
     "shortest\t0\nhex\t0x0p+0\nsign\t0\nexponent\t0 (zero)\nfraction\t0x0000000000000\n",
     "",
     0},
    {"",
     {{"--exact", "4.9406564584124654e-324"}},
     "shortest\t5e-324\nhex\t0x0.0000000000001p-1022\nsign\t0\n"
     "exponent\t-1022 (subnormal)\nfraction\t0x0000000000001\n",
     "",
     0},
    {"",
     {{"--exact", "2^(0-1022)"}},
     "shortest\t2.2250738585072014e-308\nhex\t0x1p-1022\nsign\t0\nexponent\t-1022\n"
     "fraction\t0x0000000000000\n",
     "",
     0},
    // The number reader truncates from 2^1023 on: the text must read back there as well.
    {"",
     {{"--exact", "1.7976931348623157e308"}},
     "shortest\t1.7976931348623156e+308\nhex\t0x1.ffffffffffffep+1023\nsign\t0\n"
     "exponent\t1023\nfraction\t0xffffffffffffe\n",
     "",
     0},
    // The switches change nothing when the output is not theirs.
    {"", {{"--bits=16", "--", "1+2"}}, "3\n", "", 0},
    {"", {{"--all", "--bits=7", "1"}}, "", usage("bad value: --bits=7"), 64},
    {"", {{"--bits", "1"}}, "", usage("a value is needed: --bits"), 64},
    {"", {{"--all=1", "1"}}, "", usage("no value for --all=1"), 64},
    {"", {{"--bits=8", "--bits=16", "1"}}, "", usage("only one word size: --bits=16"), 64},
    {"", {{"--all", "--exact", "1"}}, "", usage("only one of --all and --exact: --exact"), 64},
    {"",
     {{"--signed", "--unsigned", "1"}},
     "",
     usage("only one of --signed and --unsigned: --unsigned"),
     64},
    {"", {{"--all"}}, "", usage("--all and --exact need an expression: --all"), 64},
    {"", {{"--exact", "--each"}}, "", usage("--all and --exact need an expression: --each"), 64},
    // "/?" asks for the help, as --help does, and gets the same answer.
    {"", {{"--all", "/?"}}, "", usage("--all and --exact need an expression: /?"), 64},
    {"", {{"--exact", "--", "/?"}}, "", usage("--all and --exact need an expression: /?"), 64},
};

TEST(OutputSwitchesEndToEnd, Tables) {
    expect_runs(output_cases);
}

// The word switches reach every line of --each.
TEST(OutputSwitchesEndToEnd, WordSwitchesInEachMode) {
    const run_outcome outcome =
        run_fexpr(run_request{{"--bits=8", "--signed", "--each"}, "255\n-1 x\n300 b\n"});
    EXPECT_EQ(outcome.out, "-1\n0xff\n0b0010_1100\n");
    EXPECT_EQ(outcome.err, "3: " + no_fit("8"));
    EXPECT_EQ(outcome.status, 0);
}

}  // namespace
}  // namespace fexpr::testing
