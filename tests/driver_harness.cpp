// The end-to-end harness: fork and exec the built program with files for its streams.
#include "driver_harness.h"

#include "line_ends.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fexpr::testing {
namespace {

namespace fs = std::filesystem;
constexpr auto time_limit = std::chrono::seconds(20);

std::string read_file(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

void write_file(const fs::path& path, const std::string& text) {
    std::ofstream stream(path, std::ios::binary);
    stream << text;
}

fs::path make_work_folder() {
    std::string pattern = (fs::temp_directory_path() / "fexpr-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// Puts an open descriptor in the place of `target`.
void move_descriptor(int descriptor, int target) {
    if (descriptor == target) return;
    dup2(descriptor, target);
    close(descriptor);
}

// A process that writes `text` into a new pipe over and over until nobody reads it; returns
// its id, and the pipe's read end in *read_end.
pid_t start_endless_writer(const std::string& text, int* read_end) {
    int ends[2] = {-1, -1};
    if (text.empty() || pipe(ends) != 0) return -1;
    const pid_t writer = fork();
    if (writer == 0) {
        close(ends[0]);
        signal(SIGPIPE, SIG_DFL);
        while (write(ends[1], text.data(), text.size()) > 0) {
        }
        _exit(0);
    }
    close(ends[1]);
    *read_end = ends[0];
    return writer;
}

// Standard output as a pipe that nobody reads any more, and SIGPIPE ignored, as after
// `trap '' PIPE` in a shell: a write fails with EPIPE.
void wire_broken_pipe() {
    int ends[2] = {-1, -1};
    if (pipe(ends) != 0) _exit(127);
    close(ends[0]);
    move_descriptor(ends[1], 1);
    signal(SIGPIPE, SIG_IGN);
}

// In the child: wires the streams and replaces the process; never returns. `endless_input`
// is the read end of the endless writer's pipe, or -1.
[[noreturn]] void start_child(const run_request& request, const fs::path& folder, int endless_input,
                              std::vector<char*>& argv, std::vector<char*>& envp) {
    using kind = run_request::output_kind;
    if (endless_input >= 0) {
        move_descriptor(endless_input, 0);
    } else if (request.input_form == run_request::input_kind::folder) {
        move_descriptor(open(folder.c_str(), O_RDONLY | O_DIRECTORY), 0);
    } else if (request.input) {
        move_descriptor(open((folder / "in").c_str(), O_RDONLY), 0);
    } else {
        close(0);
    }
    if (request.output == kind::closed) {
        close(1);
    } else if (request.output == kind::broken_pipe) {
        wire_broken_pipe();
    } else if (request.output == kind::full_device) {
        move_descriptor(open("/dev/full", O_WRONLY), 1);
    } else {
        move_descriptor(open((folder / "out").c_str(), O_WRONLY | O_CREAT, 0600), 1);
    }
    if (request.error_closed) {
        close(2);
    } else if (request.output == kind::shared_file) {
        dup2(1, 2);
    } else {
        move_descriptor(open((folder / "err").c_str(), O_WRONLY | O_CREAT, 0600), 2);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
}

const char* windows_program_path() {
    const char* path = std::getenv("FEXPR_TEST_WINDOWS_PROGRAM");
    return path != nullptr && *path != '\0' ? path : nullptr;
}

// Replaces whatever stands at `link` by a link to the folder `target`.
void link_folder(const fs::path& link, const fs::path& target) {
    std::error_code ignored;
    fs::remove_all(link, ignored);
    fs::create_directories(link.parent_path());
    fs::create_directory_symlink(target, link);
}

// Points the Wine prefix's C:\Data and C:\Program Files\Calculator at the run's drive folder
// while it is held; only one run at a time can hold it.
struct windows_drive {
    int lock = -1;
    fs::path drive_c;

    explicit windows_drive(const fs::path& drive) {
        const char* prefix = std::getenv("WINEPREFIX");
        if (prefix == nullptr || *prefix == '\0') {
            ADD_FAILURE() << "FEXPR_TEST_WINDOWS_PROGRAM needs WINEPREFIX";
            return;
        }
        drive_c = fs::path(prefix) / "drive_c";
        fs::create_directories(drive_c);
        lock = open((fs::path(prefix) / "fexpr-drive.lock").c_str(), O_RDWR | O_CREAT, 0600);
        if (lock >= 0) flock(lock, LOCK_EX);
        link_folder(drive_c / "Data", drive / "Data");
        link_folder(drive_c / "Program Files" / "Calculator",
                    drive / "Program Files" / "Calculator");
    }
    ~windows_drive() {
        std::error_code ignored;
        if (!drive_c.empty()) {
            fs::remove(drive_c / "Data", ignored);
            fs::remove(drive_c / "Program Files" / "Calculator", ignored);
        }
        if (lock >= 0) close(lock);
    }
};

// Waits for the child within the time limit; kills it and fails the test beyond that.
int wait_for(pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + time_limit;
    int wait_status = 0;
    while (waitpid(child, &wait_status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &wait_status, 0);
            ADD_FAILURE() << "fexpr did not end within the time limit";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
}

}  // namespace

bool windows_program() {
    return windows_program_path() != nullptr;
}

std::string posix_form(const std::string& text) {
    return windows_program() ? posix_error_line_ends(text) : text;
}

const char* posix_only_reason(const run_request& request) {
    if (!windows_program()) return nullptr;
    if (request.output == run_request::output_kind::full_device || request.result_file_full) {
        return "Wine has no /dev/full";
    }
    if (!request.input || request.output == run_request::output_kind::closed ||
        request.error_closed) {
        return "Wine hands no closed standard stream on to a Windows program";
    }
    if (request.output == run_request::output_kind::broken_pipe) {
        return "Windows has no SIGPIPE to ignore";
    }
    if (request.input_form == run_request::input_kind::folder) {
        return "a folder cannot be the standard input of a Windows program";
    }
    return nullptr;
}

// The program, the shell that runs FEXPR_TEST_WRAPPER's command in front of it, or Wine.
// FEXPR_TEST_PROGRAM names another build to run instead of this one's, such as an aarch64
// build behind FEXPR_TEST_WRAPPER=qemu-aarch64.
std::vector<std::string> command_words() {
    if (const char* program = windows_program_path()) {
        return {FEXPR_SOURCE_DIR "/scripts/wine-run", program};
    }
    const char* other = std::getenv("FEXPR_TEST_PROGRAM");
    const std::string program = other != nullptr && *other != '\0' ? other : FEXPR_BINARY;
    const char* wrapper = std::getenv("FEXPR_TEST_WRAPPER");
    if (wrapper == nullptr || *wrapper == '\0') return {program};
    return {"/bin/sh", "-c", std::string("exec ") + wrapper + " \"$@\"", "fexpr", program};
}

run_outcome run_fexpr(const run_request& request) {
    const fs::path folder = make_work_folder();
    run_outcome outcome;
    if (const char* reason = posix_only_reason(request)) {
        ADD_FAILURE() << "this run cannot be made against a Windows program: " << reason;
        return outcome;
    }
    if (folder.empty()) {
        ADD_FAILURE() << "cannot create a work folder";
        return outcome;
    }
    const fs::path drive = folder / "drive";
    const fs::path result_folder = drive / "Program Files" / "Calculator";
    fs::create_directories(drive / "Data");
    if (request.result_folder) fs::create_directories(result_folder);
    if (request.result_file_full) fs::create_symlink("/dev/full", result_folder / "result.txt");
    if (request.data_file) write_file(drive / "Data" / "data.txt", *request.data_file);
    write_file(folder / "in", request.input.value_or(""));
    if (request.prepare_drive) request.prepare_drive(drive);

    std::vector<std::string> arguments = command_words();
    arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
    // Under the sanitizers a finding ends the program with 98, which no expected status is,
    // so a fault after the last line of output still fails the test.
    std::vector<std::string> environment{
        "FEXPR_DRIVE_C=" + drive.string(), "HOME=" + folder.string(), "PATH=/usr/bin:/bin",
        "ASAN_OPTIONS=exitcode=98", "UBSAN_OPTIONS=exitcode=98:print_stacktrace=1"};
    if (const char* prefix = std::getenv("WINEPREFIX")) {
        environment.push_back(std::string("WINEPREFIX=") + prefix);
    }
    environment.insert(environment.begin(), request.environment.begin(), request.environment.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    {
        std::optional<windows_drive> windows;
        if (windows_program()) windows.emplace(drive);
        int endless_input = -1;
        const pid_t writer = request.input_form == run_request::input_kind::endless
                                 ? start_endless_writer(request.input.value_or(""), &endless_input)
                                 : -1;
        const pid_t child = fork();
        if (child == 0) start_child(request, folder, endless_input, argv, envp);
        if (endless_input >= 0) close(endless_input);
        outcome.status = child > 0 ? wait_for(child) : -1;
        if (writer > 0) {
            kill(writer, SIGKILL);
            waitpid(writer, nullptr, 0);
        }
    }
    outcome.out = read_file(folder / "out");
    outcome.err = read_file(folder / "err");
    if (fs::exists(result_folder / "result.txt") && !request.result_file_full) {
        outcome.result_file = read_file(result_folder / "result.txt");
    }
    fs::remove_all(folder);
    if (windows_program() && !request.line_end_bytes) {
        const bool shared = request.output == run_request::output_kind::shared_file;
        outcome.out = shared ? posix_error_line_ends(outcome.out) : posix_line_ends(outcome.out);
        outcome.err = posix_error_line_ends(outcome.err);
        if (outcome.result_file) outcome.result_file = posix_line_ends(*outcome.result_file);
    }
    return outcome;
}

std::string session(const std::vector<std::string>& answers) {
    std::string text = banner;
    for (const std::string& answer : answers) text += prompt + answer;
    return text + prompt;
}

run_request with_data_file(std::optional<std::string> contents) {
    run_request request{{"C:\\Data\\data.txt"}};
    request.data_file = std::move(contents);
    return request;
}

std::string repeated(const std::string& piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t index = 0; index < count; ++index) text += piece;
    return text;
}

void expect_runs(const std::vector<run_case>& cases) {
    const bool wrapped = std::getenv("FEXPR_TEST_WRAPPER") != nullptr;
    for (const run_case& row : cases) {
        if ((wrapped && row.request.error_closed) || posix_only_reason(row.request) != nullptr) {
            continue;
        }
        const run_outcome outcome = run_fexpr(row.request);
        const std::string label = row.name + " " + ::testing::PrintToString(row.request.arguments);
        if (row.out) {
            EXPECT_EQ(outcome.out, *row.out) << label;
        }
        if (row.err) {
            EXPECT_EQ(outcome.err, *row.err) << label;
        }
        EXPECT_EQ(outcome.status, row.status) << label;
        if (row.result_file.checked) {
            EXPECT_EQ(outcome.result_file, row.result_file.text) << label;
        }
    }
}

}  // namespace fexpr::testing
