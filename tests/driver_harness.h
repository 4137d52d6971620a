// Runs the built fexpr as a child process under a fresh drive folder and collects what it did.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fexpr::testing {

struct run_request {
    run_request(std::vector<std::string> given_arguments,
                std::optional<std::string> given_input = std::string())
        : arguments(std::move(given_arguments)), input(std::move(given_input)) {}

    std::vector<std::string> arguments;
    // Standard input; nullopt closes it in the child.
    std::optional<std::string> input;
    // How standard input carries `input`: a file of it, a folder (every read fails), or a pipe
    // that repeats it without end.
    enum class input_kind { file, folder, endless } input_form = input_kind::file;
    // Contents of C:\Data\data.txt; nullopt leaves the file out.
    std::optional<std::string> data_file;
    // Creates the folder C:\Program Files\Calculator so the result file can be written.
    bool result_folder = true;
    // Standard output in a file of its own, in one file with standard error, on /dev/full
    // (every write fails), closed, or a pipe whose reader is gone, with SIGPIPE ignored.
    enum class output_kind {
        file,
        shared_file,
        full_device,
        closed,
        broken_pipe
    } output = output_kind::file;
    // The result file is a link to /dev/full, like a file on a full disk.
    bool result_file_full = false;
    // Standard error closed in the child.
    bool error_closed = false;
    // More environment entries ("NAME=value"); they come first, so they win over the drive
    // folder, HOME and PATH that the harness sets.
    std::vector<std::string> environment;
    // Runs last before the program starts, with the drive folder, to shape it further.
    std::function<void(const std::filesystem::path& drive)> prepare_drive;
    // The row tests line ends by bytes: a Windows program's CR LF are handed back as they came
    // instead of in the POSIX form (see run_fexpr).
    bool line_end_bytes = false;
};

struct run_outcome {
    std::string out;
    std::string err;
    int status = -1;  // exit status; -1 when the child did not exit normally
    std::optional<std::string> result_file;
};

// Runs the program with a time limit; a run that hits the limit is killed and reported
// through a test failure. When the environment variable FEXPR_TEST_WRAPPER is set, its words
// are put in front of the program, e.g. "valgrind --error-exitcode=99 -q".
//
// When FEXPR_TEST_WINDOWS_PROGRAM names a Windows build (fexpr.exe), that program runs
// instead, under Wine through scripts/wine-run, in the prefix that WINEPREFIX names. Its
// drive C: is the prefix's drive_c, whose Data and Program Files\Calculator folders are
// made links to the run's drive folder (runs take turns through a lock file in the prefix).
// Unless the request asks for line_end_bytes, its text-mode line ends are given back in the
// POSIX form: every CR LF becomes LF, except the CR LF around a math error line, which both
// systems write.
run_outcome run_fexpr(const run_request& request);

// True when the tests run a Windows program (FEXPR_TEST_WINDOWS_PROGRAM is set).
bool windows_program();
// Why a request cannot run against a Windows program, nullptr when it can: Wine has no
// /dev/full and no SIGPIPE, closed standard streams are not handed on to a Windows process,
// and a folder cannot be its standard input.
const char* posix_only_reason(const run_request& request);
// Output of the program under test in the POSIX form (see run_fexpr): unchanged unless a
// Windows program wrote it.
std::string posix_form(const std::string& text);
// The words that start the program under test: the program itself, or the program behind
// FEXPR_TEST_WRAPPER's words, or scripts/wine-run and the Windows program.
std::vector<std::string> command_words();

// What a row expects of the result file: nothing (the default: not checked), that there is
// none (`no_file`), or its text.
struct expected_file {
    expected_file() = default;
    expected_file(std::string given) : checked(true), text(std::move(given)) {}
    expected_file(const char* given) : expected_file(std::string(given)) {}
    bool checked = false;
    std::optional<std::string> text;
};

inline const expected_file no_file = [] {
    expected_file none;
    none.checked = true;
    return none;
}();

// One end-to-end row: a run and what it must leave. A stream text left as nullopt is not
// checked; the status always is.
struct run_case {
    run_case(std::string given_name, run_request given_request,
             std::optional<std::string> given_out, std::optional<std::string> given_err,
             int given_status = 0, expected_file given_result_file = {})
        : name(std::move(given_name)),
          request(std::move(given_request)),
          out(std::move(given_out)),
          err(std::move(given_err)),
          status(given_status),
          result_file(std::move(given_result_file)) {}

    std::string name;  // shown, with the parameters, when the row fails
    run_request request;
    std::optional<std::string> out;
    std::optional<std::string> err;
    int status;
    expected_file result_file;
};

// Runs every row and checks what it sets. Rows that close standard error are skipped behind
// FEXPR_TEST_WRAPPER: memcheck keeps descriptor 2 for itself; rows that cannot run against a
// Windows program (posix_only_reason) are skipped there.
void expect_runs(const std::vector<run_case>& cases);

// The console texts of the interactive mode.
inline const std::string banner =
    "Calculate the value of a function expression.\n"
    "Support (),+,-,*,x,/,%,^,&,|,@,{,},Pi,sin,cos,tan,sqrt,arcsin,arccos,arctan,lg,ln,exp,ceil,"
    "floor,round,sign,abs,d2r,r2d,k,m,g,t,p,K,M,G,T,P,shift{l|a|r}{l|r}{ss}{ee|lnn}{sh}\n";
inline const std::string prompt = "Please input a function expression:\n";

// The standard output of a dialogue that answers each line and then ends at an empty line
// or the end of the input: the banner, a prompt before each answer, and a last prompt.
std::string session(const std::vector<std::string>& answers);

// A run of the data-file mode with `contents` as C:\Data\data.txt (nullopt: no such file).
run_request with_data_file(std::optional<std::string> contents);

// A text of `count` copies of `piece`.
std::string repeated(const std::string& piece, std::size_t count);

}  // namespace fexpr::testing
