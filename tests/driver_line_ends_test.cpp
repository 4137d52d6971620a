// The line ends of every stream, by bytes: LF on POSIX; on Windows CR LF, as text mode writes
// them, and the math error line exactly CR LF, the message, CR LF on both.
#include <gtest/gtest.h>

#include <string>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

// A text as this system writes it in text mode: every LF as CR LF on Windows.
std::string text_mode(const std::string& text) {
    if (!windows_program()) return text;
    std::string written;
    for (const char character : text) {
        if (character == '\n') written += '\r';
        written += character;
    }
    return written;
}

run_request bytes_of(std::vector<std::string> arguments, std::string input = "") {
    run_request request{std::move(arguments), std::move(input)};
    request.line_end_bytes = true;
    return request;
}

TEST(LineEnds, EachStreamByBytes) {
    const std::string warning =
        "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";
    const std::string sqrt_line = "\r\nsqrt: DOMAIN error\r\n";
    run_request data_file = bytes_of({"/f", "C:\\Data\\data.txt"});
    data_file.data_file = "1\r\n2\n";
    // The help in its POSIX form, whatever the program's text is.
    const std::string help = run_fexpr(run_request{{"/?"}}).out;
    expect_runs({
        {"result on standard output", bytes_of({"1+2"}), text_mode("3\n"), "", 0, no_file},
        {"result file", bytes_of({"/f", "1+2"}), "", "", 0, text_mode("3\n")},
        {"diagnostic in the result file", bytes_of({"/f", "2+"}), "", "", 9,
         text_mode("The expression is incorrect\n")},
        {"data file into the result file", data_file, "", "", 0, text_mode("3\n")},
        {"math error line", bytes_of({"sqrt(-1)"}), text_mode("+NAN\n"), sqrt_line, 0, no_file},
        {"two math error lines", bytes_of({"sqrt(-1)+ln(0)"}), text_mode("+NAN\n"),
         sqrt_line + "\r\nlog: SING error\r\n", 0, no_file},
        {"math error line beside the result file", bytes_of({"/f", "sqrt(-1)"}), "", sqrt_line, 0,
         text_mode("+NAN\n")},
        {"accuracy warning", bytes_of({"2^60", "x"}), text_mode("0x1000000000000000\n"),
         text_mode(warning), 0, no_file},
        {"dialogue", bytes_of({}, "1\r\n2 x\n"),
         text_mode(session({"1\n", "0x0000000000000002\n"})), "", 0, no_file},
        {"help", bytes_of({"/?"}), text_mode(help), "", 0, no_file},
    });
}

}  // namespace
}  // namespace fexpr::testing
