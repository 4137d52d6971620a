// End-to-end cases of the diagnostics, the length limits and the unwritable output.
#include <gtest/gtest.h>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

const std::string too_long = "Expression too long(>16384 characters)\n";

// A text of `length` characters whose value is 1: the digit and blanks.
std::string one_of_length(std::size_t length) {
    return "1" + std::string(length - 1, ' ');
}

const std::vector<run_case> diagnostic_cases = {
    {"", {{"(2)Pi"}}, "Pi encounters a right parenthesis on the left side\n", std::nullopt, 1},
    {"", {{"(2)k"}}, "k encounters a right parenthesis on the left side\n", std::nullopt, 1},
    {"", {{"PiPi"}}, "Two Pi or K/M/G/T/P are joined\n", std::nullopt, 2},
    {"", {{"Pi(2)"}}, "On the right side of Pi, there is a left parenthesis\n", std::nullopt, 3},
    {"", {{"k(2)"}}, "On the right side of k, there is a left parenthesis\n", std::nullopt, 3},
    {"", {{"foo"}}, "Unknown function name\n", std::nullopt, 4},
    {"", {{"*2"}}, "Operator adhesion\n", std::nullopt, 5},
    {"",
     {{"2^3^2"}},
     "Multiplying power ^ or shifting left { or right } together\n",
     std::nullopt,
     6},
    {"", {{"(2)3"}}, "Two numbers stuck together\n", std::nullopt, 7},
    {"", {{"2+#"}}, "Invalid character\n", std::nullopt, 8},
    {"", {{"2+"}}, "The expression is incorrect\n", std::nullopt, 9},
    {"",
     {{repeated("sin", 48) + "0"}},
     "The expression is too complex, causing an internal stack overflow\n",
     std::nullopt,
     10},
};

TEST(DiagnosticsEndToEnd, OnStandardOutputOrInTheResultFile) {
    expect_runs(diagnostic_cases);
    std::vector<run_case> into_result_file = diagnostic_cases;
    for (run_case& row : into_result_file) {
        row.request.arguments.insert(row.request.arguments.begin(), "/f");
        row.result_file = *row.out;
        row.out = "";
    }
    expect_runs(into_result_file);
}

const std::vector<run_case> command_limit_cases = {
    {"first parameter cut after 16383", {{one_of_length(16383) + "+1"}}, "1\n", std::nullopt, 0},
    {"first parameter of 16383 whole", {{one_of_length(16381) + "+1"}}, "2\n", std::nullopt, 0},
    {"16383 and an expression parameter",
     {{one_of_length(16383), "+1", "x"}},
     too_long,
     std::nullopt,
     12},
    {"16383 and an empty candidate", {{one_of_length(16383), ""}}, too_long, std::nullopt, 12},
    {"16383 and a suffix", {{one_of_length(16383), "x"}}, "0x0000000000000001\n", std::nullopt, 0},
    {"16382 and an empty candidate", {{one_of_length(16382), ""}}, "1\n", std::nullopt, 0},
    {"joined to 16383", {{one_of_length(16381), "+1"}}, too_long, std::nullopt, 12},
    {"joined to 16382", {{one_of_length(16380), "+1"}}, "2\n", std::nullopt, 0},
};

TEST(DiagnosticsEndToEnd, CommandLineLengthLimits) {
    expect_runs(command_limit_cases);
    const run_outcome outcome = run_fexpr(run_request{{"/f", one_of_length(16381), "+1"}});
    EXPECT_EQ(outcome.result_file, too_long);
    EXPECT_EQ(outcome.status, 12);
}

const std::vector<run_case> data_limit_cases = {
    {"sum reaches 16383", with_data_file(one_of_length(8190) + "\n" + one_of_length(8190) + "\n"),
     too_long, std::nullopt, 12},
    {"sum stays at 16382", with_data_file(one_of_length(8190) + "\n" + one_of_length(8189) + "\n"),
     "2\n", std::nullopt, 0},
    {"line longer than 16383", with_data_file(one_of_length(16383) + "+1\n"), too_long,
     std::nullopt, 12},
    {"time stamps of 16383",
     with_data_file("0:00" + std::string(7996, ' ') + "\n1:00" + std::string(8376, ' ')),
     "01:00.000\n", std::nullopt, 0},
    {"time stamps beyond 16383",
     with_data_file("0:00" + std::string(7996, ' ') + "\n1:00" + std::string(8377, ' ')), too_long,
     std::nullopt, 12},
};

TEST(DiagnosticsEndToEnd, DataFileLengthLimits) {
    expect_runs(data_limit_cases);
}

TEST(DiagnosticsEndToEnd, LongConsoleLinesArriveInPieces) {
    run_request request{{}};
    request.input = one_of_length(16383) + "+1\n";
    EXPECT_EQ(run_fexpr(request).out, session({"1\n", "1\n"}));

    // The newline after a line of exactly 16383 characters ends that line, not the dialogue;
    // an empty line after it still does.
    request.input = one_of_length(16383) + "\n5\n";
    EXPECT_EQ(run_fexpr(request).out, session({"1\n", "5\n"}));
    request.input = one_of_length(16383) + "\n\n5\n";
    EXPECT_EQ(run_fexpr(request).out, session({"1\n"}));
}

const std::string full_output = "fexpr: cannot write standard output: No space left on device\n";

run_request on_full_output(std::vector<std::string> arguments, std::string input = "") {
    run_request request{std::move(arguments), std::move(input)};
    request.output = run_request::output_kind::full_device;
    return request;
}

// A run that would end with 0 ends with 13 when its output cannot be written; a diagnostic
// that cannot be written keeps its own status. Either way the failure is reported.
TEST(DiagnosticsEndToEnd, UnwritableOutputEndsWithStatus13UnlessADiagnosticHasOne) {
    run_request closed{{"1+2"}};
    closed.output = run_request::output_kind::closed;
    run_request closed_diagnostic{{"2^3^2"}};
    closed_diagnostic.output = run_request::output_kind::closed;
    run_request full_file{{"/f", "1+2"}};
    full_file.result_file_full = true;
    run_request full_file_diagnostic{{"/f", "2+"}};
    full_file_diagnostic.result_file_full = true;
    run_request missing_data_file = on_full_output({"C:\\Data\\data.txt"});
    const std::string closed_output = "fexpr: cannot write standard output: Bad file descriptor\n";
    const std::string full_result_file =
        "fexpr: cannot write C:\\Program Files\\Calculator\\result.txt: No space left on device\n";
    const std::vector<run_case> cases = {
        {"result", on_full_output({"1+2"}), std::nullopt, full_output, 13, no_file},
        {"help", on_full_output({"/?"}), std::nullopt, full_output, 13, no_file},
        {"diagnostic", on_full_output({"2+"}), std::nullopt, full_output, 9, no_file},
        {"diagnostic into a closed output", closed_diagnostic, std::nullopt, closed_output, 6,
         no_file},
        {"diagnostic into a full result file", full_file_diagnostic, std::nullopt, full_result_file,
         9, no_file},
        {"missing data file", missing_data_file, std::nullopt, full_output, 11, no_file},
        {"dialogue", on_full_output({}, "1\n"), std::nullopt, full_output, 13, no_file},
        {"dialogue ended by a diagnostic", on_full_output({}, "2+\n"), std::nullopt, full_output, 9,
         no_file},
        {"result file unaffected", on_full_output({"/f", "1+2"}), std::nullopt, "", 0, "3\n"},
        {"closed output", closed, std::nullopt, closed_output, 13, no_file},
        {"full result file", full_file, std::nullopt, full_result_file, 13, no_file},
    };
    expect_runs(cases);
}

}  // namespace
}  // namespace fexpr::testing
