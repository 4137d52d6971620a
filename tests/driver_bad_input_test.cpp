// End-to-end cases of hostile input: odd bytes, extreme lengths and nesting, broken line
// ends, missing or unusable files and streams, huge numbers and shift fields out of range.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

namespace fs = std::filesystem;

const std::string data_path = "C:\\Data\\data.txt";
const std::string too_long = "Expression too long(>16384 characters)\n";
const std::string cannot_open = "Cannot open file C:\\Data\\data.txt\n";
const std::string incorrect = "The expression is incorrect\n";
const std::string invalid = "Invalid character\n";
const std::string stuck = "Two numbers stuck together\n";
const std::string unknown = "Unknown function name\n";

// One expression parameter and the line it prints.
run_case command(std::string name, std::string expression, std::string out, int status) {
    return {std::move(name), run_request{{std::move(expression)}}, std::move(out), std::nullopt,
            status};
}

// A dialogue that answers `answers` and then ends with a diagnostic.
std::string session_ended_by(const std::vector<std::string>& answers, const std::string& message) {
    return session(answers) + message;
}

TEST(BadInput, HighBytesAndControlCharacters) {
    expect_runs({
        command("high byte after an operator", "1+\x80", invalid, 8),
        command("high byte alone", "\xff", invalid, 8),
        command("high byte after a number", "1\xe9", stuck, 7),
        command("high byte after a function name", "sin\xe9", invalid, 8),
        command("high byte in a group", "(\x80)", invalid, 8),
        command("control character after a number", "1\x01", stuck, 7),
        command("escape sequence", "\x1b[A", invalid, 8),
        command("newline inside", "1\n+2", stuck, 7),
        command("tabs are blanks", "1\t+\t2", "3\n", 0),
        command("delete", "\x7f", invalid, 8),
        command("Ctrl-Z in a parameter", "2*\x1a", invalid, 8),
        {"high byte in a data-file line", with_data_file("1\n\xfe\n"), invalid, std::nullopt, 8},
        {"high byte at the prompt", run_request{{}, "1+1\n\xff\n"},
         session_ended_by({"2\n"}, invalid), std::nullopt, 8},
        {"control character at the prompt", run_request{{}, "\x02\n"},
         session_ended_by({}, invalid), std::nullopt, 8},
    });
}

TEST(BadInput, DeepNestingAndManyUnitNumbers) {
    expect_runs({
        command("16383 open parentheses", repeated("(", 16383), incorrect, 9),
        command("16382 open parentheses and a number", repeated("(", 16382) + "1", "1\n", 0),
        command("8191 balanced groups", repeated("(", 8191) + "1" + repeated(")", 8191), "1\n", 0),
        command("8191 negated groups", repeated("-(", 8191) + "1", "-1\n", 0),
        command("8191 unit-wrapped numbers multiplied", repeated("1k", 8191), "+INF\n", 0),
        command("8191 unit-wrapped numbers and a digit", repeated("1k", 8191) + "1", stuck, 7),
        command("5461 unit-wrapped divisions", repeated("2K/", 5460) + "2K", "0\n", 0),
        command("8191 unit letters or-ed", repeated("K|", 8191) + "1", "1025\n", 0),
        command("3276 radix literals with units", repeated("0x1k*", 3276) + "1", "+INF\n", 0),
    });
}

TEST(BadInput, OverlongParameter) {
    const std::string sum = repeated("1+", 10000);  // 20000 characters; 16383 of them give 8192
    const std::string blanks = std::string(20000, ' ') + "1";
    expect_runs({
        {"cut after 16383 characters", run_request{{sum}}, "8192\n", std::nullopt, 0},
        {"cut, then a format suffix", run_request{{sum, "x"}}, "0x0000000000002000\n", std::nullopt,
         0},
        {"cut, then more expression", run_request{{sum, "+1", "x"}}, too_long, std::nullopt, 12},
        {"cut, then no suffix", run_request{{sum, "+1"}}, too_long, std::nullopt, 12},
        {"a long second parameter", run_request{{"1", sum, "x"}}, too_long, std::nullopt, 12},
        {"only blanks survive the cut", run_request{{blanks}}, incorrect, std::nullopt, 9},
    });
}

TEST(BadInput, OverlongLines) {
    const std::string line_16382 = repeated("1+", 8190) + "11";  // 8190 + 11
    const std::string line_16383 = "1" + std::string(16382, ' ');
    const std::string console_line = repeated("1+", 9000) + "1";  // pieces of 8192 and 809
    expect_runs({
        {"data line of 16382 and its newline", with_data_file(line_16382 + "\n"), "8201\n",
         std::nullopt, 0},
        {"data line of 16383 at the end of the file", with_data_file(line_16383), "1\n",
         std::nullopt, 0},
        {"data line of 16383 leaves its newline as a line", with_data_file(line_16383 + "\n"),
         too_long, std::nullopt, 12},
        {"data line of 20000", with_data_file(repeated("1+", 10000) + "1\n"), too_long,
         std::nullopt, 12},
        {"console line of 18001", run_request{{}, console_line + "\n"},
         session({"8192\n", "809\n"}), std::nullopt, 0},
        {"console line of 16382", run_request{{}, line_16382 + "\n5\n"}, session({"8201\n", "5\n"}),
         std::nullopt, 0},
    });
}

TEST(BadInput, CarriageReturnsAndCtrlZ) {
    expect_runs({
        {"CRLF data file", with_data_file("1\r\n2\r\n3\r\n"), "6\n", std::nullopt, 0},
        {"carriage returns inside a line", with_data_file("1\r+\r2\r\n"), "3\n", std::nullopt, 0},
        {"CRLF empty line", with_data_file("1\r\n\r\n"), incorrect, std::nullopt, 9},
        {"Ctrl-Z ends the data file", with_data_file("1\n2\x1a\n3\n"), "3\n", std::nullopt, 0},
        {"Ctrl-Z first makes it empty",
         with_data_file("\x1a"
                        "1\n2\n"),
         "", std::nullopt, 0},
        {"CRLF console", run_request{{}, "1+1\r\n2 x\r\n"},
         session({"2\n", "0x0000000000000002\n"}), std::nullopt, 0},
        {"Ctrl-Z ends the console input",
         run_request{{},
                     "1+1\n3\x1a"
                     "4\n5\n"},
         session({"2\n", "3\n"}), std::nullopt, 0},
        {"a lone carriage return is an empty line", run_request{{}, "\r\n1\n"}, session({}),
         std::nullopt, 0},
    });
}

TEST(BadInput, EmptyOrAbsentStandardInput) {
    expect_runs({
        {"empty", run_request{{}, ""}, session({}), std::nullopt, 0},
        {"closed", run_request{{}, std::nullopt}, session({}),
         "fexpr: cannot read standard input: Bad file descriptor\n", 11},
        {"one empty line", run_request{{}, "\n7\n"}, session({}), std::nullopt, 0},
        {"only blanks", run_request{{}, "   \n"}, session_ended_by({}, incorrect), std::nullopt, 9},
        {"no newline at the end", run_request{{}, "6*7"}, session({"42\n"}), std::nullopt, 0},
    });
}

run_request with_data_path(std::function<void(const fs::path& data)> shape,
                           std::vector<std::string> arguments = {data_path}) {
    run_request request{std::move(arguments)};
    request.prepare_drive = [shape](const fs::path& drive) { shape(drive / "Data" / "data.txt"); };
    return request;
}

TEST(BadInput, DataFileThatCannotBeRead) {
    std::vector<run_case> cases = {
        {"absent", run_request{{data_path}}, cannot_open, std::nullopt, 11},
        {"a folder", with_data_path([](const fs::path& data) { fs::create_directory(data); }),
         cannot_open, std::nullopt, 11},
        {"a link to a folder", with_data_path([](const fs::path& data) {
             fs::create_directory_symlink(data.parent_path(), data);
         }),
         cannot_open, std::nullopt, 11},
        {"a dangling link", with_data_path([](const fs::path& data) {
             fs::create_symlink(data.string() + "x", data);
         }),
         cannot_open, std::nullopt, 11},
        {"a link to itself",
         with_data_path([](const fs::path& data) { fs::create_symlink(data, data); }), cannot_open,
         std::nullopt, 11},
    };
    // Permissions do not keep the superuser out.
    if (geteuid() != 0) {
        cases.push_back({"unreadable", with_data_path([](const fs::path& data) {
                             std::ofstream(data) << "1\n";
                             fs::permissions(data, fs::perms::none);
                         }),
                         cannot_open, std::nullopt, 11});
    }
    expect_runs(cases);

    run_request into_result_file =
        with_data_path([](const fs::path& data) { fs::create_directory(data); }, {"/f", data_path});
    const run_outcome outcome = run_fexpr(into_result_file);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.result_file, cannot_open);
    EXPECT_EQ(outcome.status, 11);
}

run_request with_result_folder(std::function<void(const fs::path& folder)> shape,
                               std::vector<std::string> arguments) {
    run_request request{std::move(arguments)};
    request.result_folder = false;
    request.prepare_drive = [shape](const fs::path& drive) {
        shape(drive / "Program Files" / "Calculator");
    };
    return request;
}

// The result file cannot be created: results and diagnostics go to standard output, silently.
TEST(BadInput, ResultFolderMissingOrReadOnly) {
    const auto missing = [](const fs::path&) {};
    const auto plain_file = [](const fs::path& folder) {
        fs::create_directories(folder.parent_path());
        std::ofstream(folder) << "not a folder\n";
    };
    const auto result_is_folder = [](const fs::path& folder) {
        fs::create_directories(folder / "result.txt");
    };
    std::vector<run_case> cases = {
        {"missing", with_result_folder(missing, {"/f", "1+1"}), "2\n", std::nullopt, 0},
        {"missing, diagnostic", with_result_folder(missing, {"/f", "2+"}), incorrect, std::nullopt,
         9},
        {"missing, data file", with_result_folder(missing, {"/f", data_path}), cannot_open,
         std::nullopt, 11},
        {"a file in its place", with_result_folder(plain_file, {"/f", "1+1"}), "2\n", std::nullopt,
         0},
        {"result file is a folder", with_result_folder(result_is_folder, {"/f", "1+1"}), "2\n",
         std::nullopt, 0},
    };
    if (geteuid() != 0) {
        const auto read_only = [](const fs::path& folder) {
            fs::create_directories(folder);
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        };
        cases.push_back(
            {"read-only", with_result_folder(read_only, {"/f", "1+1"}), "2\n", std::nullopt, 0});
    }
    expect_runs(cases);
}

run_request with_output(run_request request, run_request::output_kind kind) {
    request.output = kind;
    return request;
}

// Every result that cannot be written is reported and ends with status 13; a closed standard
// stream never lets a message into the result file.
TEST(BadInput, FullOrClosedStandardStreams) {
    using kind = run_request::output_kind;
    const std::string full = "fexpr: cannot write standard output: No space left on device\n";
    const std::string closed = "fexpr: cannot write standard output: Bad file descriptor\n";
    const std::string warning =
        "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";
    run_request data_file = with_data_file("1\n2\n");
    run_request warning_closed_error{{"/f", "2^60", "x"}};
    warning_closed_error.error_closed = true;
    run_request math_error_closed_error{{"/f", "sqrt(-1)"}};
    math_error_closed_error.error_closed = true;
    const std::vector<run_case> cases = {
        {"data file on a full disk", with_output(data_file, kind::full_device), std::nullopt, full,
         13, no_file},
        {"warning before the failure", with_output(run_request{{"2^60", "x"}}, kind::full_device),
         std::nullopt, warning + full, 13, no_file},
        {"dialogue into a closed output", with_output(run_request{{}, "1\n2\n"}, kind::closed),
         std::nullopt, closed, 13, no_file},
        {"result file with a closed output", with_output(run_request{{"/f", "1+1"}}, kind::closed),
         std::nullopt, "", 0, "2\n"},
        {"warning with a closed error stream", warning_closed_error, std::nullopt, "", 0,
         "0x1000000000000000\n"},
        {"math error with a closed error stream", math_error_closed_error, std::nullopt, "", 0,
         "+NAN\n"},
    };
    expect_runs(cases);
}

TEST(BadInput, HugeExponentsAndDigitRuns) {
    expect_runs({
        command("huge exponent", "1e999999999", "+INF\n", 0),
        command("huge negative exponent", "1e-999999999", "0\n", 0),
        command("negated huge exponent", "-1e999999999", "-INF\n", 0),
        command("exponent of 16381 digits", "1e" + std::string(16381, '9'), "+INF\n", 0),
        command("400 nines", std::string(400, '9'), "+INF\n", 0),
        command("301 digits", "1" + std::string(300, '0'), "1e+300\n", 0),
        command("400 fraction digits", "0." + std::string(400, '1'), "0.111111111111111\n", 0),
        command("400 zeros", std::string(400, '0'), "0\n", 0),
        command("16 hex digits", "0x" + std::string(16, 'f'), "-1\n", 0),
        command("17 hex digits saturate", "0x" + std::string(17, 'f'), "9.22337203685478e+18\n", 0),
        command("18 hex digits: the last is a name", "0x" + std::string(18, 'f'), unknown, 4),
        command("64 binary digits", "0b1" + std::string(63, '0'), "-9.22337203685478e+18\n", 0),
        command("65 binary digits", "0b" + std::string(65, '1'), stuck, 7),
        command("24 octal digits", "0o" + std::string(24, '7'), "-1\n", 0),
        command("25 octal digits", "0o" + std::string(25, '7'), stuck, 7),
        {"saturated hex in hexadecimal", run_request{{"0x" + std::string(17, 'f'), "x"}},
         "0x8000000000000000\n", std::nullopt, 0},
    });
}

// Fields of "shift%1[lar]%1[lr]%2d%2d%2d" and "shift%1[lar]%1[lr]%2dl%2d%2d" at their
// bounds and one beyond, with signs; each applied to 1.
TEST(BadInput, ShiftFieldsAtAndBeyondTheirBounds) {
    const struct {
        const char* shift_text;
        const char* out;
        int status;
    } rows[] = {
        {"shiftll006301", "2\n", 0}, {"shiftll626301", "1\n", 0},  {"shiftll636301", "", 4},
        {"shiftll-10701", "", 4},    {"shiftll+00701", "2\n", 0},  {"shiftll000001", "", 4},
        {"shiftll006401", "", 4},    {"shiftll00+701", "2\n", 0},  {"shiftll000700", "", 4},
        {"shiftll000708", "0\n", 0}, {"shiftll000709", "", 4},     {"shiftll0007-1", "", 4},
        {"shiftll0007+1", "2\n", 0}, {"shiftrr006364", "1\n", 0},  {"shiftll0l6401", "2\n", 0},
        {"shiftll1l6401", "", 4},    {"shiftll62l0201", "1\n", 0}, {"shiftll63l0101", "", 4},
        {"shiftll0l0101", "", 4},    {"shiftll0l0201", "2\n", 0},  {"shiftll0l-201", "", 4},
        {"shiftll0l+201", "2\n", 0}, {"shiftll-1l0201", "", 4},    {"shiftll-0l0201", "2\n", 0},
        {"shiftll0l0202", "0\n", 0}, {"shiftll0l0203", "", 4},     {"shiftll0l0200", "", 4},
        {"shiftll0l02-1", "", 4},    {"shiftll99l9999", "", 4},    {"shiftll0701", "", 4},
        {"shiftxl000701", "", 4},    {"shiftlx000701", "", 4},     {"shift", "", 4},
    };
    std::vector<run_case> cases;
    for (const auto& row : rows) {
        cases.push_back(command("", std::string(row.shift_text) + "(1)",
                                row.status == 4 ? unknown : row.out, row.status));
    }
    expect_runs(cases);
}

}  // namespace
}  // namespace fexpr::testing
