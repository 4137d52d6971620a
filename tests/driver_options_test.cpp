// End-to-end cases of --help and --version: switches only as the one exact parameter.
#include <gtest/gtest.h>

#include "driver/help_texts.h"
#include "driver_harness.h"

namespace fexpr::testing {
namespace {

const std::string help_with_pointer =
    std::string(driver::help_text) +
    "See the manual page fexpr(1) for the language, the layouts and the exit statuses.\n";
const std::string version = std::string("fexpr ") + FEXPR_VERSION + "\n";

const std::vector<command_case> option_cases = {
    {{"--help"}, help_with_pointer, 0, {}},
    {{"--version"}, version, 0, {}},
    // Anything else is an expression, as before these switches existed.
    {{"--HELP"}, "Operator adhesion\n", 5, {}},
    {{"--help "}, "Operator adhesion\n", 5, {}},
    {{"-help"}, "Unknown function name\n", 4, {}},
    {{"--version2"}, "Operator adhesion\n", 5, {}},
    {{"--help", "1"}, "Operator adhesion\n", 5, {}},
    {{"--version", "x"}, "Operator adhesion\n", 5, {}},
    {{"1", "--help"}, "Operator adhesion\n", 5, {}},
    {{"/f", "--version"}, "", 5, "Operator adhesion\n"},
    {{"/f", "--help"}, "", 5, "Operator adhesion\n"},
};

TEST(OptionsEndToEnd, HelpAndVersion) {
    expect_command_cases(option_cases);
}

TEST(OptionsEndToEnd, UnwritableOutputIsNoSuccess) {
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
