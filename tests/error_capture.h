// Sends standard error into a temporary file while a test looks at what is written there.
#pragma once

#include <cstdio>
#include <string>

#include "line_ends.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>

#include <filesystem>
#define dup _dup
#define dup2 _dup2
#define close _close
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace fexpr::testing {

#ifdef _WIN32
// msvcrt's tmpfile() takes names from a counter of its own in the root of the drive, so test
// processes that ctest runs side by side can meet on one name and one of them gets no file
// (its standard error then goes to the console uncaptured). A name with the process id in
// the temporary folder cannot meet another process's; "D" deletes the file when it closes.
inline std::FILE* temporary_file() {
    static int serial = 0;
    const std::string name =
        "fexpr-capture-" + std::to_string(_getpid()) + "-" + std::to_string(++serial);
    return std::fopen((std::filesystem::temp_directory_path() / name).string().c_str(), "w+bD");
}
#else
inline std::FILE* temporary_file() {
    return std::tmpfile();
}
#endif

// Between start() and finish() the standard-error descriptor writes into a temporary file;
// finish() puts it back and returns what was written, in the POSIX form (line_ends.h).
struct error_capture {
    int saved = -1;
    std::FILE* file = nullptr;

    void start() {
        std::fflush(stderr);
        file = temporary_file();
        if (file == nullptr) return;
        saved = dup(2);
        dup2(fileno(file), 2);
#ifdef _WIN32
        // As a console's standard error: each "\n" written becomes CR LF (finish() gives
        // the text back in the POSIX form).
        _setmode(2, _O_TEXT);
#endif
    }
    std::string finish() {
        if (file == nullptr) return {};
        dup2(saved, 2);
        close(saved);
        std::string text;
        std::rewind(file);
        char chunk[256];
        std::size_t count = 0;
        while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
        std::fclose(file);
        file = nullptr;
#ifdef _WIN32
        return posix_error_line_ends(text);
#else
        return text;
#endif
    }
};

// Runs `action` with standard error captured and returns everything written there.
template <typename Action>
std::string capture_standard_error(Action action) {
    error_capture capture;
    capture.start();
    if (capture.file == nullptr) return "<no temporary file>";
    action();
    return capture.finish();
}

}  // namespace fexpr::testing
