// End-to-end cases of the invocation modes: command line, help, result file, data file and
// the interactive dialogue.
#include <gtest/gtest.h>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

const std::string help =
    "Calculate the value of a function expression given by >=1 command-line parameter.\n"
    "Support (),+,-,*,x,/,%,^,&,|,@,{,},Pi,sin,cos,tan,sqrt,arcsin,arccos,arctan,\n"
    "lg,ln,exp,ceil,floor,round,sign,abs,d2r,r2d,k,m,g,t,p,K,M,G,T,P\n"
    "The last parameter format:\n"
    " .0-.15  Round to 0-15 decimal places\n"
    " g1-g15  Retain 1-15 significant figures\n"
    " e0-e15  Scientific notation with 0-15 decimal places\n"
    " x       Hexadecimal format\n"
    " x_      Hexadecimal with 2-digit groups\n"
    " b       Binary with 4-bit groups\n"
    " o       Octal with 4-digit groups\n"
    " :       Format as DDD HH:MM:SS.mss\n";
const std::string data_path = "C:\\Data\\data.txt";
const std::string warning =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";

const std::vector<run_case> command_cases = {
    {"", {{"1+2"}}, "3\n", "", 0, no_file},
    {"", {{"1+", "2"}}, "3\n", "", 0, no_file},
    {"", {{"1", "+", "2"}}, "3\n", "", 0, no_file},
    {"", {{"1+2", "*3"}}, "7\n", "", 0, no_file},
    {"", {{"1+2", ".20"}}, "3.2\n", "", 0, no_file},
    {"", {{"1+2", ".5abc"}}, "3.00000\n", "", 0, no_file},
    {"", {{"1", "e16"}}, "1e+16\n", "", 0, no_file},
    {"", {{"2", "E2"}}, "200\n", "", 0, no_file},
    {"", {{"10", "X"}}, "0x000000000000000a\n", "", 0, no_file},
    {"", {{"10", "X_"}}, "0x00_00_00_00_00_00_00_0a\n", "", 0, no_file},
    {"", {{"10", "B"}}, "0b" + repeated("0000_", 15) + "1010\n", "", 0, no_file},
    {"", {{"10", "binary"}}, "0b" + repeated("0000_", 15) + "1010\n", "", 0, no_file},
    {"", {{"10", "O"}}, "0o0000_0000_0000_0000_0000_0012\n", "", 0, no_file},
    {"", {{"90", ":"}}, "01:30.000\n", "", 0, no_file},
    {"", {{"/?"}}, help, "", 0, no_file},
    {"", {{"/?", "1"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"/f"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"/F", "1"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"/f", "1+2"}}, "", "", 0, "3\n"},
    {"", {{"/f", "1", "+", "2", "x"}}, "", "", 0, "0x0000000000000003\n"},
    {"", {{"/f", "/?"}}, "", "", 5, "Operator adhesion\n"},
    {"", {{"/f", "2+"}}, "", "", 9, "The expression is incorrect\n"},
    {"", {{data_path, "x"}}, "Unknown function name\n", "", 4, no_file},
};

TEST(ModesEndToEnd, CommandLine) {
    expect_runs(command_cases);
}

TEST(ModesEndToEnd, ResultFileThatCannotBeCreatedFallsBackToStandardOutput) {
    run_request request{{"/f", "1+2"}};
    request.result_folder = false;
    const run_outcome outcome = run_fexpr(request);
    EXPECT_EQ(outcome.out, "3\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.status, 0);
}

TEST(ModesEndToEnd, WarningGoesToStandardErrorWhateverTheResultStream) {
    const run_outcome outcome = run_fexpr(run_request{{"/f", "2^52", "x"}});
    EXPECT_EQ(outcome.result_file, "0x0010000000000000\n");
    EXPECT_EQ(outcome.err, warning);
}

const std::vector<run_case> data_cases = {
    {"three lines", with_data_file("1\n2\n3\n"), "6\n", std::nullopt, 0},
    {"one line", with_data_file("5\n"), "5\n", std::nullopt, 0},
    {"last line without newline", with_data_file("1\n2"), "3\n", std::nullopt, 0},
    {"blanks kept", with_data_file("1 000\n2\n"), "1002\n", std::nullopt, 0},
    {"CRLF lines", with_data_file("1\r\n2\r\n"), "3\n", std::nullopt, 0},
    {"Ctrl-Z ends the file",
     with_data_file("1\r\n2\r\n\x1a"
                    "3\r\n"),
     "3\n", std::nullopt, 0},
    {"empty file", with_data_file(""), "", std::nullopt, 0},
    {"Ctrl-Z first",
     with_data_file("\x1a"
                    "1\n"),
     "", std::nullopt, 0},
    {"empty line after the first", with_data_file("1\n\n2\n"), "The expression is incorrect\n",
     std::nullopt, 9},
    {"empty first line", with_data_file("\n1\n2\n"), "3\n", std::nullopt, 0},
    {"later line in parentheses", with_data_file("3\n1|4\n"), "8\n", std::nullopt, 0},
    {"no colon directly after the number", with_data_file("10 :20\n"), "620\n", std::nullopt, 0},
    {"time stamps", with_data_file("08:30:15\n12:00:00\n17:45:00\n"), "09:14:45.000\n",
     std::nullopt, 0},
    {"time stamps ending on CRLF", with_data_file("08:30\r\n17:45\r\n"), "09:15.000\n",
     std::nullopt, 0},
    {"one time stamp", with_data_file("08:30\n"), "0.000\n", std::nullopt, 0},
    {"time stamps backwards", with_data_file("17:45\n08:30\n"), "-09:15.000\n", std::nullopt, 0},
    {"first time stamp subtracted as a whole", with_data_file("1:00+1\n2:00\n"), "59.000\n",
     std::nullopt, 0},
    {"negative first time stamp", with_data_file("-5:3\n1:00\n"), "06:03.000\n", std::nullopt, 0},
    {"trailing empty line after time stamps", with_data_file("08:30\n17:45\n\n"), "09:15.000\n",
     std::nullopt, 0},
    {"blank lines among time stamps", with_data_file("08:30\n17:45\n  \n\t\n"), "09:15.000\n",
     std::nullopt, 0},
    {"missing file", with_data_file(std::nullopt), "Cannot open file C:\\Data\\data.txt\n",
     std::nullopt, 11},
};

TEST(ModesEndToEnd, DataFile) {
    expect_runs(data_cases);
}

TEST(ModesEndToEnd, DataFileIntoResultFile) {
    run_request request{{"/f", data_path}};
    request.data_file = "1\n2\n";
    run_outcome outcome = run_fexpr(request);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.result_file, "3\n");

    request.data_file.reset();
    outcome = run_fexpr(request);
    EXPECT_EQ(outcome.result_file, "Cannot open file C:\\Data\\data.txt\n");
    EXPECT_EQ(outcome.status, 11);
}

const std::string bits_of_five = "0b" + repeated("0000_", 15) + "0101\n";

const std::vector<run_case> console_cases = {
    {"end of input at once", {{}, ""}, session({}), "", 0},
    {"closed input",
     {{}, std::nullopt},
     session({}),
     "fexpr: cannot read standard input: Bad file descriptor\n",
     11},
    {"empty line", {{}, "\n"}, session({}), "", 0},
    {"one line", {{}, "1+2\n"}, session({"3\n"}), "", 0},
    {"last line without newline", {{}, "1+2"}, session({"3\n"}), "", 0},
    {"stops at the empty line", {{}, "1+2\n\n4\n"}, session({"3\n"}), "", 0},
    {"blanks around an operator", {{}, "1 + 2\n"}, session({"3\n"}), "", 0},
    {"blank between digits", {{}, "1 2\n"}, session({"12\n"}), "", 0},
    {"line ending with a blank", {{}, "1 \n"}, session({"1\n"}), "", 0},
    {"suffix after the last blank", {{}, "3 x4\n"}, session({"0x0000000000000003\n"}), "", 0},
    {"every suffix",
     {{}, "255 x_\n5 b\n8 O\n75.25 :\n1234.5 .2\n1234.5 e2\n1234567 g3\n"},
     session({"0x00_00_00_00_00_00_00_ff\n", bits_of_five, "0o0000_0000_0000_0000_0000_0010\n",
              "01:15.250\n", "1234.50\n", "1.23e+03\n", "1.23e+06\n"}),
     "",
     0},
    {"precision only for its line", {{}, "1 .3\n2\n"}, session({"1.000\n", "2\n"}), "", 0},
    {"groups", {{}, ",1234567 .1\n"}, session({"1,234,567.0\n"}), "", 0},
    {"CRLF lines", {{}, "1+2\r\n3*4\r\n"}, session({"3\n", "12\n"}), "", 0},
    {"Ctrl-Z ends the input",
     {{},
      "1+2\n\x1a"
      "3*4\n"},
     session({"3\n"}),
     "",
     0},
    {"only a suffix", {{}, " x\n"}, banner + prompt + "The expression is incorrect\n", "", 9},
    {"diagnostic ends the dialogue",
     {{}, "2\n2+\n3\n"},
     banner + prompt + "2\n" + prompt + "The expression is incorrect\n",
     "",
     9},
};

TEST(ModesEndToEnd, Interactive) {
    expect_runs(console_cases);
}

TEST(ModesEndToEnd, InteractiveWarningAndReportsGoToStandardError) {
    run_request request{{}};
    request.input = "2^52 x\nsqrt(-1)\n";
    const run_outcome outcome = run_fexpr(request);
    EXPECT_EQ(outcome.out, session({"0x0010000000000000\n", "+NAN\n"}));
    EXPECT_EQ(outcome.err, warning + "\r\nsqrt: DOMAIN error\r\n");
}

}  // namespace
}  // namespace fexpr::testing
