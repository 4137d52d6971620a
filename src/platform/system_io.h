// Thin wrappers over the operating system's descriptor calls, so the rest of the platform
// layer reads the same on POSIX and Windows.
#pragma once

#include <cstddef>

namespace fexpr::platform {

constexpr int standard_input_descriptor = 0;
constexpr int standard_output_descriptor = 1;
constexpr int standard_error_descriptor = 2;

// Writes all of text, retrying after interruptions and short writes; false on failure.
bool write_all(int descriptor, const char* text, std::size_t length) noexcept;
// One read; returns the count, 0 at end of file, -1 on error.
long read_some(int descriptor, char* buffer, std::size_t size) noexcept;
// Opens an existing regular file for reading in binary mode; -1 on failure.
int open_for_reading(const char* path) noexcept;
// Creates or truncates a file for writing, in text mode on Windows (CR LF line ends); -1 on
// failure.
int open_for_writing(const char* path) noexcept;
// Closes a descriptor; false on failure.
bool close_descriptor(int descriptor) noexcept;
bool is_terminal(int descriptor) noexcept;
// The current errno.
int last_error() noexcept;

}  // namespace fexpr::platform
