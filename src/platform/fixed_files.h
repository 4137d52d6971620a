// The system's two fixed files, named by their Windows paths everywhere.
//
// On Windows the paths are used as they stand. Elsewhere the drive "C:" is the folder named by
// the environment variable FEXPR_DRIVE_C (default $HOME/.fexpr/drive_c) and the rest of the
// path maps under it with '/' for '\'.
#pragma once

#include <cstddef>

#include "platform/output_stream.h"
#include "platform/text_input.h"

namespace fexpr::platform {

constexpr char data_file_path[] = "C:\\Data\\data.txt";
constexpr char result_file_path[] = "C:\\Program Files\\Calculator\\result.txt";

// Opens the data file for reading as text; false when it cannot be opened or is no regular
// file (a folder, say).
bool open_data_file(text_reader& reader) noexcept;

// Creates or truncates the result file; nullptr when that fails.
output_stream* open_result_file() noexcept;

// Flushes and closes the result file when it is open; false when its text could not be
// written. Its failure stays recorded for the end of the process.
bool close_result_file() noexcept;

// The error number of the result file's first failed write or close, 0 when none failed.
int result_file_error() noexcept;

// Maps a Windows path of drive C: to the local file system; false when it does not fit.
bool map_drive_path(const char* windows_path, char* out, std::size_t size) noexcept;

}  // namespace fexpr::platform
