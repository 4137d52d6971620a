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

struct diagnostic_case {
    std::string expression;
    std::string message;
    int status;
};

const diagnostic_case diagnostic_cases[] = {
    {"(2)Pi", "Pi encounters a right parenthesis on the left side", 1},
    {"(2)k", "k encounters a right parenthesis on the left side", 1},
    {"PiPi", "Two Pi or K/M/G/T/P are joined", 2},
    {"Pi(2)", "On the right side of Pi, there is a left parenthesis", 3},
    {"k(2)", "On the right side of k, there is a left parenthesis", 3},
    {"foo", "Unknown function name", 4},
    {"*2", "Operator adhesion", 5},
    {"2^3^2", "Multiplying power ^ or shifting left { or right } together", 6},
    {"(2)3", "Two numbers stuck together", 7},
    {"2+#", "Invalid character", 8},
    {"2+", "The expression is incorrect", 9},
    {repeated("sin", 48) + "0", "The expression is too complex, causing an internal stack overflow",
     10},
};

TEST(DiagnosticsEndToEnd, OnStandardOutputOrInTheResultFile) {
    for (const diagnostic_case& row : diagnostic_cases) {
        run_outcome outcome = run_fexpr(run_request{{row.expression}});
        EXPECT_EQ(outcome.out, row.message + "\n") << row.expression;
        EXPECT_EQ(outcome.status, row.status) << row.expression;

        outcome = run_fexpr(run_request{{"/f", row.expression}});
        EXPECT_EQ(outcome.out, "") << row.expression;
        EXPECT_EQ(outcome.result_file, row.message + "\n") << row.expression;
        EXPECT_EQ(outcome.status, row.status) << row.expression;
    }
}

struct limit_case {
    const char* name;
    std::vector<std::string> arguments;
    std::string out;
    int status;
};

const limit_case command_limit_cases[] = {
    {"first parameter cut after 16383", {one_of_length(16383) + "+1"}, "1\n", 0},
    {"first parameter of 16383 whole", {one_of_length(16381) + "+1"}, "2\n", 0},
    {"16383 and an expression parameter", {one_of_length(16383), "+1", "x"}, too_long, 12},
    {"16383 and an empty candidate", {one_of_length(16383), ""}, too_long, 12},
    {"16383 and a suffix", {one_of_length(16383), "x"}, "0x0000000000000001\n", 0},
    {"16382 and an empty candidate", {one_of_length(16382), ""}, "1\n", 0},
    {"joined to 16383", {one_of_length(16381), "+1"}, too_long, 12},
    {"joined to 16382", {one_of_length(16380), "+1"}, "2\n", 0},
};

TEST(DiagnosticsEndToEnd, CommandLineLengthLimits) {
    for (const limit_case& row : command_limit_cases) {
        const run_outcome outcome = run_fexpr(run_request{row.arguments});
        EXPECT_EQ(outcome.out, row.out) << row.name;
        EXPECT_EQ(outcome.status, row.status) << row.name;
    }
    const run_outcome outcome = run_fexpr(run_request{{"/f", one_of_length(16381), "+1"}});
    EXPECT_EQ(outcome.result_file, too_long);
    EXPECT_EQ(outcome.status, 12);
}

struct data_limit_case {
    const char* name;
    std::string data;
    std::string out;
    int status;
};

const data_limit_case data_limit_cases[] = {
    {"sum reaches 16383", one_of_length(8190) + "\n" + one_of_length(8190) + "\n", too_long, 12},
    {"sum stays at 16382", one_of_length(8190) + "\n" + one_of_length(8189) + "\n", "2\n", 0},
    {"line longer than 16383", one_of_length(16383) + "+1\n", too_long, 12},
    {"time stamps of 16383", "0:00" + std::string(7996, ' ') + "\n1:00" + std::string(8376, ' '),
     "01:00.000\n", 0},
    {"time stamps beyond 16383",
     "0:00" + std::string(7996, ' ') + "\n1:00" + std::string(8377, ' '), too_long, 12},
};

TEST(DiagnosticsEndToEnd, DataFileLengthLimits) {
    for (const data_limit_case& row : data_limit_cases) {
        run_request request{{"C:\\Data\\data.txt"}};
        request.data_file = row.data;
        const run_outcome outcome = run_fexpr(request);
        EXPECT_EQ(outcome.out, row.out) << row.name;
        EXPECT_EQ(outcome.status, row.status) << row.name;
    }
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
    const std::vector<unwritable_case> cases = {
        {"result", on_full_output({"1+2"}), full_output, 13, {}},
        {"help", on_full_output({"/?"}), full_output, 13, {}},
        {"diagnostic", on_full_output({"2+"}), full_output, 9, {}},
        {"diagnostic into a closed output", closed_diagnostic, closed_output, 6, {}},
        {"diagnostic into a full result file", full_file_diagnostic, full_result_file, 9, {}},
        {"missing data file", missing_data_file, full_output, 11, {}},
        {"dialogue", on_full_output({}, "1\n"), full_output, 13, {}},
        {"dialogue ended by a diagnostic", on_full_output({}, "1\n2+\n"), full_output, 9, {}},
        {"result file unaffected", on_full_output({"/f", "1+2"}), "", 0, "3\n"},
        {"closed output", closed, closed_output, 13, {}},
        {"full result file", full_file, full_result_file, 13, {}},
    };
    expect_unwritable_cases(cases);
}

}  // namespace
}  // namespace fexpr::testing
