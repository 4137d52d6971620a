// The program driven as a co-process through pipes, and the order of its two output streams
// when they share one file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

using clock_type = std::chrono::steady_clock;

// Long enough for a loaded machine; an answer that never comes fails instead of hanging.
constexpr auto answer_limit = std::chrono::seconds(10);

const std::string warning =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";
const std::string sqrt_report = "\r\nsqrt: DOMAIN error\r\n";

// fexpr (in interactive mode, or with `arguments`) with a pipe on each side; standard error
// goes into the output pipe too when `merge_error` is set, to /dev/null otherwise.
struct coprocess {
    pid_t pid = -1;
    int to_child = -1;
    int from_child = -1;

    explicit coprocess(bool merge_error, std::vector<std::string> arguments = {}) {
        std::vector<std::string> words = command_words();
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        signal(SIGPIPE, SIG_IGN);  // a child that died early must fail the test, not kill it
        int input[2];
        int output[2];
        if (pipe(input) != 0 || pipe(output) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(input[0], 0);
            dup2(output[1], 1);
            if (merge_error) {
                dup2(output[1], 2);
            } else {
                dup2(open("/dev/null", O_WRONLY), 2);
            }
            for (int descriptor : {input[0], input[1], output[0], output[1]}) close(descriptor);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(input[0]);
        close(output[1]);
        to_child = input[1];
        from_child = output[0];
    }

    ~coprocess() {
        if (to_child >= 0) close(to_child);
        if (from_child >= 0) close(from_child);
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    bool send(const std::string& text) const {
        return write(to_child, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

    // Reads until `count` characters have come, the pipe ends, or the time limit passes;
    // a Windows program's line ends are counted in their POSIX form.
    std::string receive(std::size_t count) const {
        std::string raw;
        std::string text;
        const auto deadline = clock_type::now() + answer_limit;
        while (text.size() < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_type::now());
            pollfd ready{from_child, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
            char piece[4096];
            const ssize_t got = read(from_child, piece, sizeof piece);
            if (got <= 0) break;
            raw.append(piece, static_cast<std::size_t>(got));
            text = posix_form(raw);
        }
        return text;
    }

    // Closes the input and returns the exit status once the child has ended.
    int finish() {
        close(to_child);
        to_child = -1;
        const auto deadline = clock_type::now() + answer_limit;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (clock_type::now() > deadline) return -1;
            usleep(1000);
        }
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

struct exchange {
    std::string line;    // written without its newline
    std::string answer;  // everything up to the next prompt
};

// Each answer, and the prompt after it, is out before the next line is written: a program
// that kept its answers buffered while it waits for input would stall here.
void converse(bool merge_error, const std::vector<exchange>& exchanges) {
    coprocess child(merge_error);
    ASSERT_GT(child.pid, 0);
    ASSERT_EQ(child.receive(banner.size() + prompt.size()), banner + prompt);
    for (const exchange& e : exchanges) {
        ASSERT_TRUE(child.send(e.line + "\n")) << e.line;
        const std::string expected = e.answer + prompt;
        ASSERT_EQ(child.receive(expected.size()), expected) << "after the line " << e.line;
    }
    ASSERT_TRUE(child.send("\n"));
    EXPECT_EQ(child.receive(1), "");  // nothing more: the empty line ends the session
    EXPECT_EQ(child.finish(), 0);
}

TEST(Coprocess, EveryAnswerArrivesBeforeTheNextLine) {
    converse(false, {{"1+2", "3\n"},
                     {"3 x", "0x0000000000000003\n"},
                     {"1.5 .3", "1.500\n"},
                     {"2^60 x", "0x1000000000000000\n"},
                     {"sqrt(0-1)", "+NAN\n"},
                     {"90061.5 :", "1 01:01:01.500\n"},
                     {",1234567", "1,234,567\n"}});
}

TEST(Coprocess, ErrorsOnTheSamePipeComeInOrder) {
    converse(true, {{"1", "1\n"},
                    {"sqrt(0-1)", sqrt_report + "+NAN\n"},
                    {"2^60 x", "0x1000000000000000\n" + warning},
                    {"2", "2\n"}});
}

// Many short exchanges in a row: none of them may wait for a buffer to fill.
TEST(Coprocess, ManyLinesOneAtATime) {
    std::vector<exchange> exchanges;
    for (int i = 1; i <= 300; ++i) {
        exchanges.push_back({std::to_string(i) + "*2", std::to_string(i * 2) + "\n"});
    }
    converse(false, exchanges);
}

// A diagnostic ends the session; it and every earlier answer are out when the child ends.
TEST(Coprocess, DiagnosticEndsTheSession) {
    coprocess child(false);
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(child.send("7\n1+\n"));
    const std::string expected = banner + prompt + "7\n" + prompt + "The expression is incorrect\n";
    EXPECT_EQ(child.receive(expected.size() + 1), expected);
    EXPECT_EQ(child.finish(), 9);
}

// --each as a co-process: one line sent, its one answer line read, then the next line; a bad
// line is answered and the dialogue goes on; the status is that of the first bad line.
void converse_each(bool merge_error, std::vector<std::string> arguments,
                   const std::vector<exchange>& exchanges, int status) {
    coprocess child(merge_error, std::move(arguments));
    ASSERT_GT(child.pid, 0);
    for (const exchange& e : exchanges) {
        ASSERT_TRUE(child.send(e.line + "\n")) << e.line;
        ASSERT_EQ(child.receive(e.answer.size()), e.answer) << "after the line " << e.line;
    }
    EXPECT_EQ(child.finish(), status);
}

TEST(Coprocess, EachAnswersEveryLineBeforeTheNext) {
    converse_each(false, {"--each"},
                  {{"1+2", "3\n"},
                   {"2^3^2", "Multiplying power ^ or shifting left { or right } together\n"},
                   {"", "\n"},
                   {"3 x", "0x0000000000000003\n"},
                   {"1+", "The expression is incorrect\n"},
                   {"90061.5 :", "1 01:01:01.500\n"}},
                  6);
    converse_each(false, {"--each=tsv", ".2"},
                  {{"1", "0\t1.00\n"}, {"1 x", "0\t0x0000000000000001\n"}, {"2", "0\t2.00\n"}}, 0);
}

TEST(Coprocess, EachNamesTheLineOfAMathError) {
    converse_each(true, {"--each"},
                  {{"1", "1\n"},
                   {"sqrt(0-1)", "\r\n2: sqrt: DOMAIN error\r\n+NAN\n"},
                   {"2^60 x", "0x1000000000000000\n3: " + warning},
                   {"2", "2\n"}},
                  0);
}

TEST(Coprocess, EachManyLinesOneAtATime) {
    std::vector<exchange> exchanges;
    for (int i = 1; i <= 300; ++i) {
        exchanges.push_back(i % 7 == 0
                                ? exchange{"1+", "The expression is incorrect\n"}
                                : exchange{std::to_string(i) + "*2", std::to_string(i * 2) + "\n"});
    }
    converse_each(false, {"--each"}, exchanges, 9);
}

// Standard output and standard error in one file (`fexpr ... >out 2>&1`): the results of
// earlier lines come before a math error line, the error line before its own result, and the
// accuracy warning after its result, however much output was buffered before them.
TEST(MergedStreams, KeepTheirOrderInOneFile) {
    const std::string many_ones = repeated("1\n", 2000);
    std::string many_answers;
    for (int i = 0; i < 2000; ++i) many_answers += prompt + "1\n";
    std::vector<run_case> rows = {
        {"interactive",
         {{}, "1\nsqrt(0-1)\n2^60 x\n"},
         banner + prompt + "1\n" + prompt + sqrt_report + "+NAN\n" + prompt +
             "0x1000000000000000\n" + warning + prompt,
         std::nullopt,
         0},
        {"after a full output buffer",
         {{}, many_ones + "sqrt(0-1)\n"},
         banner + many_answers + prompt + sqrt_report + "+NAN\n" + prompt,
         std::nullopt,
         0},
        {"two reports in one line",
         {{"sqrt(0-1)+ln(0)"}, ""},
         sqrt_report + "\r\nlog: SING error\r\n+NAN\n",
         std::nullopt,
         0},
        {"report before a diagnostic",
         {{"sqrt(0-1)+"}, ""},
         sqrt_report + "The expression is incorrect\n",
         std::nullopt,
         9},
        {"warning after the result",
         {{"2^60", "o"}, ""},
         "0o0001_0000_0000_0000_0000_0000\n" + warning,
         std::nullopt,
         0},
    };
    for (run_case& row : rows) row.request.output = run_request::output_kind::shared_file;
    expect_runs(rows);
}

}  // namespace
}  // namespace fexpr::testing
