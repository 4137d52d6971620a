// End-to-end cases of the switches: --help and --version, the end mark "--", and the one-line
// usage message (status 64) for everything a switch cannot use.
#include <gtest/gtest.h>

#include "driver/help_texts.h"
#include "driver_harness.h"

namespace fexpr::testing {
namespace {

const std::string help_with_pointer =
    std::string(driver::help_text) +
    "Switches, before everything else:\n"
    " --each[=tsv] [SUFFIX]    answer each input line, a session at a terminal; =tsv: "
    "status<TAB>text\n"
    " --sum [FILE|- [SUFFIX]]  add up the lines of FILE or of standard input\n"
    " --all                    every layout at once, SUFFIX<TAB>TEXT\n"
    " --exact                  the double: shortest text, hex form, fields\n"
    " --bits=8|16|32|64        word size of the layouts x, x_, b and o\n"
    " --signed                 general layout as a signed integer word\n"
    " --unsigned               general layout as an unsigned integer word\n"
    " --explain                how the expression was read, on standard error\n"
    " --help                   print this help\n"
    " --version                print the version\n"
    " --                       end of the switches\n" +
    (windows_program()
         ? "See fexpr-manual.txt, beside fexpr.exe, for the language, the layouts and the\n"
           "exit statuses.\n"
         : "See the manual page fexpr(1) for the language, the layouts and the exit statuses.\n");
const std::string version = std::string("fexpr ") + FEXPR_VERSION + "\n";

const std::vector<run_case> option_cases = {
    {"", {{"--help"}}, help_with_pointer, "", 0, no_file},
    {"", {{"--version"}}, version, "", 0, no_file},
    // Only leading parameters of the form --word or --word=value are switches; the rest are
    // expressions, as before the switches existed.
    {"", {{"--help "}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"-help"}}, "Unknown function name\n", "", 4, no_file},
    {"", {{"--5"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"--sin(1)"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"1", "--help"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"/f", "--version"}}, "", "", 5, "Operator adhesion\n"},
    {"", {{"/f", "--help"}}, "", "", 5, "Operator adhesion\n"},
    // "--" ends the switches: what follows is read as without them.
    {"", {{"--", "1+2"}}, "3\n", "", 0, no_file},
    {"", {{"--", "--help"}}, "Operator adhesion\n", "", 5, no_file},
    {"", {{"--", "/?"}}, std::string(driver::help_text), "", 0, no_file},
    {"", {{"--", "3k+2^10", "x_"}}, "0x00_00_00_00_00_00_0f_b8\n", "", 0, no_file},
    {"", {{"--", "/f", "1+2"}}, "", "", 0, "3\n"},
};

// A command line that a switch cannot use: one line on standard error, status 64, nothing
// on standard output.
const std::vector<run_case> usage_cases = {
    {"", {{"--HELP"}}, "", "fexpr: unknown switch --HELP (see fexpr --help)\n", 64},
    {"", {{"--version2"}}, "", "fexpr: unknown switch --version2 (see fexpr --help)\n", 64},
    {"", {{"--each-line"}}, "", "fexpr: unknown switch --each-line (see fexpr --help)\n", 64},
    {"", {{"--each=csv"}}, "", "fexpr: bad value: --each=csv (see fexpr --help)\n", 64},
    {"", {{"--each="}}, "", "fexpr: bad value: --each= (see fexpr --help)\n", 64},
    {"", {{"--sum=1"}}, "", "fexpr: no value for --sum=1 (see fexpr --help)\n", 64},
    {"", {{"--help=all"}}, "", "fexpr: no value for --help=all (see fexpr --help)\n", 64},
    {"",
     {{"--each", "--sum"}},
     "",
     "fexpr: only one mode at a time: --sum (see fexpr --help)\n",
     64},
    {"",
     {{"--help", "--help"}},
     "",
     "fexpr: only one mode at a time: --help (see fexpr --help)\n",
     64},
    {"", {{"--help", "1"}}, "", "fexpr: too many parameters: 1 (see fexpr --help)\n", 64},
    {"", {{"--version", "x"}}, "", "fexpr: too many parameters: x (see fexpr --help)\n", 64},
    {"", {{"--each", "x", "b"}}, "", "fexpr: too many parameters: b (see fexpr --help)\n", 64},
    {"", {{"--sum", "-", "x", "b"}}, "", "fexpr: too many parameters: b (see fexpr --help)\n", 64},
    {"", {{"--each", "1+2"}}, "", "fexpr: not a format suffix: 1+2 (see fexpr --help)\n", 64},
    {"", {{"--sum", "-", ".20"}}, "", "fexpr: not a format suffix: .20 (see fexpr --help)\n", 64},
    {"", {{"--each", "--", "1"}}, "", "fexpr: not a format suffix: 1 (see fexpr --help)\n", 64},
};

TEST(OptionsEndToEnd, UsageFaults) {
    expect_runs(usage_cases);
}

TEST(OptionsEndToEnd, HelpAndVersion) {
    expect_runs(option_cases);
}

TEST(OptionsEndToEnd, UnwritableOutputIsNoSuccess) {
    if (windows_program()) GTEST_SKIP() << "Wine has no /dev/full";
    for (const char* option : {"--help", "--version"}) {
        run_request request{{option}};
        request.output = run_request::output_kind::full_device;
        const run_outcome outcome = run_fexpr(request);
        EXPECT_EQ(outcome.status, 13) << option;
        EXPECT_NE(outcome.err, "") << option;
    }
}

}  // namespace
}  // namespace fexpr::testing
