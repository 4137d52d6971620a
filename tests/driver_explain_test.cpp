// End-to-end table of --explain: the reading on standard error in every mode, the caret lines
// of a fault before its diagnostic, the digit-group warnings, and the command lines it
// cannot use. Standard output and the status stay what they are without it.
#include <gtest/gtest.h>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

std::string usage(const std::string& text) {
    return "fexpr: " + text + " (see fexpr --help)\n";
}

const std::string comma_warning =
    "^ ',' marks groups of 3 digits, not a decimal point; 1 digit follows it\n";

run_request with_input(std::vector<std::string> arguments, std::string input) {
    return run_request{std::move(arguments), std::move(input)};
}

run_request explained_data_file(std::string contents) {
    run_request request = with_data_file(std::move(contents));
    request.arguments.insert(request.arguments.begin(), "--explain");
    return request;
}

const std::vector<run_case> explain_cases = {
    {"unit letters and powers", {{"--explain", "3k+2^10"}}, "4024\n", "read as: (3*1000)+(2^10)\n"},
    {"a function binds before the power",
     {{"--explain", "sqrt16^2"}},
     "16\n",
     "read as: (sqrt(16))^2\n"},
    {"middle-class chain over a power",
     {{"--explain", "8/2^2/2"}},
     "1\n",
     "read as: (8/(2^2))/2\n"},
    {"decimal comma",
     {{"--explain", "100-1,9"}},
     "81\n",
     "read as: 100-19\nwarning: 100-1,9\n              " + comma_warning},
    {"the suffix is no part of the reading",
     {{"--explain", "255", "x"}},
     "0x00000000000000ff\n",
     "read as: 255\n"},
    {"joined parameters", {{"--explain", "1", "+", "2k"}}, "2000\n", "read as: 1*(2*1000)\n"},
    {"a math error comes first",
     {{"--explain", "sqrt(-1)"}},
     "+NAN\n",
     "\r\nsqrt: DOMAIN error\r\nread as: sqrt(-1)\n"},
    {"with --all",
     {{"--explain", "--all", "2.5"}},
     "general\t2.5\nx_\t0x00_00_00_00_00_00_00_02\n"
     "b\t0b0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0000_0010\n"
     "o\t0o0000_0000_0000_0000_0000_0002\n:\t02.500\ne15\t2.500000000000000e+00\n",
     "read as: 2.5\n"},
    {"with --bits", {{"--bits=8", "--explain", "-1", "x"}}, "0xff\n", "read as: -1\n"},
    {"a fault: caret, then the usual diagnostic",
     {{"--explain", "2^3^2"}},
     "Multiplying power ^ or shifting left { or right } together\n",
     "stopped: 2^3^2\n            ^\n",
     6},
    {"a fault at the end",
     {{"--explain", "2*(3+"}},
     "The expression is incorrect\n",
     "stopped: 2*(3+\n              ^\n",
     9},
    {"the result file takes the diagnostic",
     {{"--explain", "/f", "2+"}},
     "",
     "stopped: 2+\n           ^\n",
     9,
     "The expression is incorrect\n"},
    {"the result file takes the result",
     {{"--explain", "/f", "1+2"}},
     "",
     "read as: 1+2\n",
     0,
     "3\n"},
    {"too long before any reading",
     {{"--explain", repeated("1", 9000), repeated("1", 9000)}},
     "Expression too long(>16384 characters)\n",
     "",
     12},
    {"each line of --each, behind its number",
     with_input({"--explain", "--each"}, "1+2\n2^3^2\n1,5\n"),
     "3\nMultiplying power ^ or shifting left { or right } together\n15\n",
     "1: read as: 1+2\n2: stopped: 2^3^2\n2:             ^\n3: read as: 15\n"
     "3: warning: 1,5\n3:           " +
         comma_warning,
     6},
    {"each line of --sum", with_input({"--explain", "--sum"}, "1\n2k\n"), "2001\n",
     "1: read as: 1\n2: read as: 2*1000\n"},
    {"a bad line of --sum", with_input({"--explain", "--sum"}, "1\n2+\n"),
     "The expression is incorrect\n",
     "1: read as: 1\n2: stopped: 2+\n2:            ^\n2: The expression is incorrect\n", 9},
    {"the interactive mode", with_input({"--explain"}, "1+2\n2x3\n\n"), session({"3\n", "6\n"}),
     "read as: 1+2\nread as: 2*3\n"},
    {"the data file: its lines joined", explained_data_file("1\n2\n"), "3\n", "read as: 1+2\n"},
    {"no expression with --help",
     {{"--explain", "--help"}},
     "",
     usage("--explain needs expressions: --help"),
     64},
    {"no expression with --version",
     {{"--version", "--explain"}},
     "",
     usage("--explain needs expressions: --explain"),
     64},
    {"no expression with /?",
     {{"--explain", "/?"}},
     "",
     usage("--explain needs expressions: /?"),
     64},
    {"given twice",
     {{"--explain", "--explain", "1"}},
     "",
     usage("only one --explain: --explain"),
     64},
    {"no value", {{"--explain=1", "1"}}, "", usage("no value for --explain=1"), 64},
    {"after -- it is an expression", {{"--", "--explain"}}, "Operator adhesion\n", "", 5},
};

TEST(ExplainEndToEnd, Tables) {
    expect_runs(explain_cases);
}

}  // namespace
}  // namespace fexpr::testing
