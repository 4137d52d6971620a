// Every invocation mode against every fault of its streams: what it writes, its status, and
// that it ends (the harness kills a run that does not, and fails the test).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

namespace fs = std::filesystem;

enum class mode { interactive, arguments, result_file, data_file, each, sum };
enum class fault {
    output_full,
    output_closed,
    reader_gone,  // standard output is a pipe nobody reads, SIGPIPE ignored
    read_error,
    nul,
    carriage_return,
    ctrl_z,
    no_final_newline,
};

// The lines each fault gives the modes that read lines. The modes that answer line by line
// get endless input when their output fails: they must stop on their own.
std::string lines_of(fault kind) {
    switch (kind) {
        case fault::nul:
            return std::string("1\n2\0+3\n4\n", 9);
        case fault::carriage_return:
            return "1\r\n2\r+3\r\n";
        case fault::ctrl_z:
            return "1\n2\x1a+3\n4\n";
        case fault::no_final_newline:
            return "1\n2";
        default:
            return "1\n2\n";
    }
}

bool output_fault(fault kind) {
    return kind == fault::output_full || kind == fault::output_closed || kind == fault::reader_gone;
}

run_request request_for(mode how, fault kind) {
    static const std::vector<std::string> arguments[] = {
        {}, {"1+2"}, {"/f", "1+2"}, {"C:\\Data\\data.txt"}, {"--each"}, {"--sum"}};
    run_request request{arguments[static_cast<int>(how)], lines_of(kind)};
    if (how == mode::data_file) {
        request.data_file = request.input;
        request.input = "";
    }
    const bool answers_each_line = how == mode::interactive || how == mode::each;
    if (output_fault(kind) && answers_each_line) {
        request.input = "1\n";
        request.input_form = run_request::input_kind::endless;
    }
    if (kind == fault::output_full && how == mode::result_file) {
        request.result_file_full = true;
    } else if (kind == fault::output_full) {
        request.output = run_request::output_kind::full_device;
    } else if (kind == fault::output_closed) {
        request.output = run_request::output_kind::closed;
    } else if (kind == fault::reader_gone) {
        request.output = run_request::output_kind::broken_pipe;
    }
    if (kind == fault::read_error && how == mode::data_file) {
        // Opens as a regular file; reading it at offset 0 fails (EIO).
        request.prepare_drive = [](const fs::path& drive) {
            fs::remove(drive / "Data" / "data.txt");
            fs::create_symlink("/proc/self/mem", drive / "Data" / "data.txt");
        };
    } else if (kind == fault::read_error) {
        request.input_form = run_request::input_kind::folder;
    }
    return request;
}

struct fault_row {
    mode how;
    fault kind;
    int status;       // -1: ended by SIGPIPE
    std::string out;  // standard output, or the result file for /f
    std::string err;
};

const std::string full = "fexpr: cannot write standard output: No space left on device\n";
const std::string closed = "fexpr: cannot write standard output: Bad file descriptor\n";
const std::string broken = "fexpr: cannot write standard output: Broken pipe\n";
const std::string full_result_file =
    "fexpr: cannot write C:\\Program Files\\Calculator\\result.txt: No space left on device\n";
const std::string folder_input = "fexpr: cannot read standard input: Is a directory\n";
const std::string invalid = "Invalid character\n";

const std::vector<fault_row> rows = {
    {mode::interactive, fault::output_full, 13, "", full},
    {mode::interactive, fault::output_closed, 13, "", closed},
    {mode::interactive, fault::reader_gone, 13, "", broken},
    {mode::interactive, fault::read_error, 11, session({}), folder_input},
    {mode::interactive, fault::nul, 8, session({"1\n"}) + invalid, ""},
    {mode::interactive, fault::carriage_return, 0, session({"1\n", "5\n"}), ""},
    {mode::interactive, fault::ctrl_z, 0, session({"1\n", "2\n"}), ""},
    {mode::interactive, fault::no_final_newline, 0, session({"1\n", "2\n"}), ""},

    {mode::arguments, fault::output_full, 13, "", full},
    {mode::arguments, fault::output_closed, 13, "", closed},
    {mode::arguments, fault::reader_gone, 13, "", broken},
    {mode::arguments, fault::read_error, 0, "3\n", ""},
    {mode::arguments, fault::nul, 0, "3\n", ""},
    {mode::arguments, fault::carriage_return, 0, "3\n", ""},
    {mode::arguments, fault::ctrl_z, 0, "3\n", ""},
    {mode::arguments, fault::no_final_newline, 0, "3\n", ""},

    {mode::result_file, fault::output_full, 13, "", full_result_file},
    {mode::result_file, fault::output_closed, 0, "3\n", ""},
    {mode::result_file, fault::reader_gone, 0, "3\n", ""},
    {mode::result_file, fault::read_error, 0, "3\n", ""},
    {mode::result_file, fault::nul, 0, "3\n", ""},
    {mode::result_file, fault::carriage_return, 0, "3\n", ""},
    {mode::result_file, fault::ctrl_z, 0, "3\n", ""},
    {mode::result_file, fault::no_final_newline, 0, "3\n", ""},

    {mode::data_file, fault::output_full, 13, "", full},
    {mode::data_file, fault::output_closed, 13, "", closed},
    {mode::data_file, fault::reader_gone, 13, "", broken},
    {mode::data_file, fault::read_error, 11, "",
     "fexpr: cannot read C:\\Data\\data.txt: Input/output error\n"},
    {mode::data_file, fault::nul, 8, invalid, ""},
    {mode::data_file, fault::carriage_return, 0, "6\n", ""},
    {mode::data_file, fault::ctrl_z, 0, "3\n", ""},
    {mode::data_file, fault::no_final_newline, 0, "3\n", ""},

    {mode::each, fault::output_full, 13, "", full},
    {mode::each, fault::output_closed, 13, "", closed},
    {mode::each, fault::reader_gone, -1, "", ""},
    {mode::each, fault::read_error, 11, "", folder_input},
    {mode::each, fault::nul, 8, "1\n" + invalid + "4\n", ""},
    {mode::each, fault::carriage_return, 0, "1\n5\n", ""},
    {mode::each, fault::ctrl_z, 0, "1\n2\n", ""},
    {mode::each, fault::no_final_newline, 0, "1\n2\n", ""},

    {mode::sum, fault::output_full, 13, "", full},
    {mode::sum, fault::output_closed, 13, "", closed},
    {mode::sum, fault::reader_gone, -1, "", ""},
    {mode::sum, fault::read_error, 11, "", folder_input},
    {mode::sum, fault::nul, 8, invalid, "2: " + invalid},
    {mode::sum, fault::carriage_return, 0, "6\n", ""},
    {mode::sum, fault::ctrl_z, 0, "3\n", ""},
    {mode::sum, fault::no_final_newline, 0, "3\n", ""},
};

TEST(StreamFaults, EveryModeAgainstEveryFault) {
    for (const fault_row& row : rows) {
        const run_request request = request_for(row.how, row.kind);
        // The data file's read error needs Linux's /proc, the other faults' POSIX streams.
        const bool posix_only = row.kind == fault::read_error && row.how == mode::data_file;
        if (posix_only_reason(request) != nullptr || (posix_only && windows_program())) continue;
        const run_outcome outcome = run_fexpr(request);
        const std::string label = "mode " + std::to_string(static_cast<int>(row.how)) + ", fault " +
                                  std::to_string(static_cast<int>(row.kind));
        const bool into_file = row.how == mode::result_file;
        EXPECT_EQ(into_file ? outcome.result_file.value_or("") : outcome.out, row.out) << label;
        EXPECT_EQ(outcome.err, row.err) << label;
        EXPECT_EQ(outcome.status, row.status) << label;
    }
}

}  // namespace
}  // namespace fexpr::testing
