// End-to-end cases of the line modes: --each answers every line, --sum adds the lines up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

namespace fs = std::filesystem;

const std::string warning =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";
const std::string incorrect = "The expression is incorrect\n";
const std::string too_long = "Expression too long(>16384 characters)\n";

// "1+0+0…" of exactly `length` characters (odd), worth 1.
std::string long_sum(std::size_t length) {
    return "1" + repeated("+0", (length - 1) / 2);
}

TEST(EachMode, OneAnswerLinePerInputLine) {
    expect_runs({
        {"results, a bad line, an empty line",
         {{"--each"}, "1+2\n2^3^2\n\n255 x\n1+\n1/3\n"},
         "3\nMultiplying power ^ or shifting left { or right } together\n\n"
         "0x00000000000000ff\n" +
             incorrect + "0.333333333333333\n",
         "",
         6},
        {"tsv",
         {{"--each=tsv"}, "1+2\n\n1+\n3 .1\n"},
         "0\t3\n0\t\n9\t" + incorrect + "0\t3.0\n",
         "",
         9},
        {"the mode's suffix, and the line's own",
         {{"--each", ".2"}, "1\n1 .4\n1\n,1234567\n1 + 2\n"},
         "1.00\n1.0000\n1.00\n1,234,567.00\n3.00\n",
         "",
         0},
        {"carriage returns dropped, Ctrl-Z ends",
         {{"--each"},
          "1\r\n2\x1a"
          "3\n"},
         "1\n2\n",
         "",
         0},
        {"last line without a newline", {{"--each"}, "1\n2"}, "1\n2\n", "", 0},
        {"no input", {{"--each"}, ""}, "", "", 0},
        {"a line of 16383 characters, then one longer",
         {{"--each"}, long_sum(16383) + "\n" + long_sum(16385) + "\n7\n"},
         "1\n" + too_long + "7\n",
         "",
         12},
        {"the longest line is the last", {{"--each"}, long_sum(16383)}, "1\n", "", 0},
        {"messages on standard error name their line",
         {{"--each"}, "1\nsqrt(0-1)\n2^60 x\n"},
         "1\n+NAN\n0x1000000000000000\n",
         "\r\n2: sqrt: DOMAIN error\r\n3: " + warning,
         0},
        {"after --", {{"--each", "--", "x"}, "255\n"}, "0x00000000000000ff\n", "", 0},
    });
}

TEST(SumMode, AddsTheLinesOneByOne) {
    expect_runs({
        {"standard input", {{"--sum"}, "12.50\n3*4\n0x10\n"}, "40.5\n", "", 0},
        {"- and a suffix", {{"--sum", "-", "x"}, "1\n2\n3*4\n"}, "0x000000000000000f\n", "", 0},
        {"clock readings",
         {{"--sum", "-"}, "08:30:15\n12:02:40\n17:45:00\n"},
         "09:14:45.000\n",
         "",
         0},
        {"clock readings in another layout", {{"--sum", "-", ".0"}, "1:00\n2:30\n"}, "90\n", "", 0},
        {"one clock reading", {{"--sum"}, "08:30\n"}, "0.000\n", "", 0},
        {"blank lines among clock readings",
         {{"--sum"}, "08:00\n \n09:30\n\t\n"},
         "01:30.000\n",
         "",
         0},
        {"a bad clock reading", {{"--sum"}, "08:00\n9+\n10:00\n"}, incorrect, "2: " + incorrect, 9},
        {"digit groups asked for by the first line",
         {{"--sum"}, ",1000\n2000\n"},
         "3,000\n",
         "",
         0},
        {"no input", {{"--sum"}, ""}, "", "", 0},
        {"a bad line", {{"--sum"}, "1\n2+\n3\n"}, incorrect, "2: " + incorrect, 9},
        {"an empty line after the first", {{"--sum"}, "1\n\n3\n"}, incorrect, "2: " + incorrect, 9},
        {"an empty first line adds nothing", {{"--sum"}, "\n2\n3\n"}, "5\n", "", 0},
        {"only an empty line", {{"--sum"}, "\n"}, incorrect, "1: " + incorrect, 9},
        {"a math error names its line",
         {{"--sum"}, "1\nsqrt(0-1)\n"},
         "+NAN\n",
         "\r\n2: sqrt: DOMAIN error\r\n",
         0},
        {"carriage returns dropped, Ctrl-Z ends",
         {{"--sum"},
          "1\r\n2\x1a"
          "9\n"},
         "3\n",
         "",
         0},
        {"a line of 16383 characters", {{"--sum"}, "1\n" + long_sum(16383) + "\n"}, "2\n", "", 0},
        {"a longer line",
         {{"--sum"}, "1\n" + long_sum(16385) + "\n"},
         too_long,
         "2: " + too_long,
         12},
        {"more lines than the data file holds",
         {{"--sum"}, repeated("1\n", 100000)},
         "100000\n",
         "",
         0},
        {"a missing file",
         {{"--sum", "/nonexistent/numbers.txt"}, ""},
         "Cannot open file /nonexistent/numbers.txt\n",
         "",
         11},
        {"a folder", {{"--sum", "/"}, ""}, "Cannot open file /\n", "", 11},
    });
}

TEST(SumMode, ReadsANamedFile) {
    const fs::path path = fs::temp_directory_path() / ("fexpr-sum-" + std::to_string(getpid()));
    std::ofstream(path) << "1.5\n2.5\n";
    expect_runs({
        {"a file", {{"--sum", path.string()}, "9\n"}, "4\n", "", 0},
        {"a file and a suffix", {{"--sum", path.string(), ".2"}, ""}, "4.00\n", "", 0},
    });
    fs::remove(path);
}

// Lines of one plain number, perhaps after a '-', add up to what the same numbers add up to
// in groups, which the evaluator reads; a bad line after them is still named by its number.
TEST(SumMode, PlainNumbersAddAsTheirGroups) {
    const std::vector<std::string> numbers = {"-0",
                                              "5.",
                                              ".5",
                                              "0123",
                                              "-5",
                                              "-.5",
                                              "123456789012345",
                                              "-0.000000000000001",
                                              "999999999999999",
                                              "1234567890123456",
                                              "0.1",
                                              "-0.2",
                                              "1e5",
                                              "7",
                                              "+3",
                                              "00000000000000012"};
    std::string plain;
    std::string grouped;
    for (const std::string& number : numbers) {
        plain += number + "\n";
        grouped += "(" + number + ")\n";
    }
    const run_outcome expected = run_fexpr(run_request{{"--sum", "-", "e15"}, grouped});
    ASSERT_EQ(expected.status, 0) << expected.err;
    expect_runs({
        {"plain numbers", {{"--sum", "-", "e15"}, plain}, expected.out, "", 0},
        {"a lone -0", {{"--sum"}, "-0\n"}, "0\n", "", 0},
        {"a bad line after plain ones",
         {{"--sum"}, "1\n-2\n3x\n"},
         incorrect,
         "3: " + incorrect,
         9},
        {"explained",
         {{"--explain", "--sum"}, "1\n-2\n"},
         "-1\n",
         "1: read as: 1\n2: read as: -2\n",
         0},
    });
}

// Within the data file's limit, and for first lines without an operator of the loosest class
// that the next line's '+' could join, --sum gives what the data-file mode gives.
TEST(SumMode, AgreesWithTheDataFile) {
    const std::vector<std::string> files = {
        "12.50\n3*4\n0x10\n",
        "1\n",
        "-1\n2\n",
        "2*3\n4\n",
        "0.1\n0.2\n0.3\n",
        "1e308\n1e308\n",
        "1k\n1K\n",
        "sqrt(0-1)\n1\n",
        ",1234567\n0.891\n",
        "_1234567\n1\n",
        "\n2\n3\n",
        "\n,1234\n",
        "\n_1234567\n1\n",
        std::string("1\n2\0003\n4\n", 8),
        "1\n2\x1a"
        "3\n",
        "1\n\n",
        "1\n2+\n",
        "2^60\n1\n",
        "1\r\n2\r\n",
        "08:30:15\n12:02:40\n17:45:00\n",
        repeated("1.1\n", 1800),
    };
    for (const std::string& file : files) {
        run_request data_file{{"C:\\Data\\data.txt"}};
        data_file.data_file = file;
        const run_outcome expected = run_fexpr(data_file);
        const run_outcome sum = run_fexpr(run_request{{"--sum"}, file});
        EXPECT_EQ(sum.out, expected.out) << file.substr(0, 40);
        EXPECT_EQ(sum.status, expected.status) << file.substr(0, 40);
    }
}

TEST(LineModes, UnwritableOutput) {
    if (windows_program()) GTEST_SKIP() << "Wine has no /dev/full";
    const std::pair<run_request::output_kind, const char*> outputs[] = {
        {run_request::output_kind::full_device,
         "fexpr: cannot write standard output: No space left on device\n"},
        {run_request::output_kind::closed,
         "fexpr: cannot write standard output: Bad file descriptor\n"},
    };
    std::vector<run_case> cases;
    for (const char* mode : {"--each", "--sum"}) {
        for (const auto& [output, err] : outputs) {
            cases.push_back({mode, {{mode}, "1\n2\n"}, std::nullopt, err, 13});
            cases.back().request.output = output;
        }
    }
    // A failed line keeps its status: 13 only when nothing else failed.
    cases.push_back({"failed line", {{"--each"}, "1\n2+\n3\n"}, std::nullopt, std::nullopt, 9});
    cases.push_back({"failed sum", {{"--sum"}, "1\n2+\n"}, std::nullopt, std::nullopt, 9});
    for (std::size_t row = cases.size() - 2; row < cases.size(); ++row) {
        cases[row].request.output = run_request::output_kind::full_device;
    }
    expect_runs(cases);
}

// The output of a shell command line, run by bash with the program as $1.
std::string shell_output(const std::string& script) {
    const std::string command = "bash -c '" + script + "' fexpr " + FEXPR_BINARY + " 2>&1";
    std::string text;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    char piece[4096];
    for (std::size_t got; (got = std::fread(piece, 1, sizeof piece, pipe)) > 0;) {
        text.append(piece, got);
    }
    pclose(pipe);
    return text;
}

// A filter whose reader has seen enough ends by SIGPIPE, quietly: the shell reports 141.
// The input is a file, so that only fexpr writes into the pipe that closes.
TEST(LineModes, EndQuietlyWhenTheReaderLeaves) {
    const std::string numbers =
        (fs::temp_directory_path() / ("fexpr-numbers-" + std::to_string(getpid()))).string();
    {
        std::ofstream file(numbers);
        for (int i = 1; i <= 300000; ++i) file << i << '\n';
    }
    const std::string input = " < " + numbers;
    EXPECT_EQ(shell_output("\"$1\" --each" + input + " | head -1; echo \"${PIPESTATUS[0]}\""),
              "1\n141\n");
    EXPECT_EQ(shell_output("\"$1\" --each=tsv x" + input + " | head -1; echo \"${PIPESTATUS[0]}\""),
              "0\t0x0000000000000001\n141\n");
    // --sum writes its one line at the end, which head reads as usual.
    EXPECT_EQ(shell_output("\"$1\" --sum" + input + " | head -1; echo \"${PIPESTATUS[0]}\""),
              "45000150000\n0\n");
    fs::remove(numbers);
}

// The same with a reader that is gone before the first write, and a parent that ignores
// SIGPIPE: the program still ends by the signal and writes nothing on standard error.
TEST(LineModes, EndBySigpipeEvenWhenItWasIgnored) {
    const fs::path error_file =
        fs::temp_directory_path() / ("fexpr-sigpipe-" + std::to_string(getpid()));
    const fs::path input_file = error_file.string() + ".in";
    std::ofstream(input_file) << "1\n2\n";
    for (const char* mode : {"--each", "--sum"}) {
        int pipe_ends[2];
        ASSERT_EQ(pipe(pipe_ends), 0);
        close(pipe_ends[0]);
        const auto saved = signal(SIGPIPE, SIG_IGN);
        const pid_t child = fork();
        if (child == 0) {
            dup2(open(input_file.c_str(), O_RDONLY), 0);
            dup2(pipe_ends[1], 1);
            dup2(open(error_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            execl(FEXPR_BINARY, "fexpr", mode, static_cast<char*>(nullptr));
            _exit(127);
        }
        signal(SIGPIPE, saved);
        close(pipe_ends[1]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << mode << " " << status;
        EXPECT_EQ(fs::file_size(error_file), 0u) << mode;
    }
    fs::remove(error_file);
    fs::remove(input_file);
}

}  // namespace
}  // namespace fexpr::testing
