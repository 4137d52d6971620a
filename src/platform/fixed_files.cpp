// The data file and the result file, at their Windows paths or under FEXPR_DRIVE_C.
#include "platform/fixed_files.h"

#include <cstdlib>
#include <cstring>

#include "platform/system_io.h"
#include "platform/text_builder.h"

namespace fexpr::platform {
namespace {

constexpr std::size_t path_capacity = 4096;

// Zero-initialised (in .bss); open_result_file fills it in.
output_stream result_stream_storage;
// Until the result file is first opened nothing reads result_stream_storage, so a run without
// one never touches its pages.
enum class result_file_state : unsigned char { never_opened, open, closed };
result_file_state result_state = result_file_state::never_opened;

// Appends a whole piece of a path; false when it does not fit.
bool append(text_builder& path, const char* text) noexcept {
    append_text(path, text);
    return !path.cut;
}

}  // namespace

bool map_drive_path(const char* windows_path, char* out, std::size_t size) noexcept {
    if (size == 0) return false;
    text_builder path = make_builder(out, size);
#ifdef _WIN32
    return append(path, windows_path);
#else
    if ((windows_path[0] != 'C' && windows_path[0] != 'c') || windows_path[1] != ':') return false;
    const char* drive = std::getenv("FEXPR_DRIVE_C");
    if (drive != nullptr && drive[0] != '\0') {
        if (!append(path, drive)) return false;
    } else {
        const char* home = std::getenv("HOME");
        if (!append(path, home != nullptr ? home : "") || !append(path, "/.fexpr/drive_c")) {
            return false;
        }
    }
    const std::size_t drive_length = path.length;
    if (!append(path, windows_path + 2)) return false;
    for (char* cursor = out + drive_length; *cursor != '\0'; ++cursor) {
        if (*cursor == '\\') *cursor = '/';
    }
    return true;
#endif
}

bool open_data_file(text_reader& reader) noexcept {
    char path[path_capacity];
    const int descriptor =
        map_drive_path(data_file_path, path, path_capacity) ? open_for_reading(path) : -1;
    open_descriptor(reader, descriptor, data_file_path);
    return descriptor >= 0;
}

output_stream* open_result_file() noexcept {
    char path[path_capacity];
    if (result_state == result_file_state::open ||
        !map_drive_path(result_file_path, path, path_capacity)) {
        return nullptr;
    }
    const int descriptor = open_for_writing(path);
    if (descriptor < 0) return nullptr;
    result_stream_storage.descriptor = descriptor;
    result_stream_storage.name = result_file_path;
    result_stream_storage.write_through = false;
    result_stream_storage.failed = false;
    result_stream_storage.error_number = 0;
    result_stream_storage.length = 0;
    result_state = result_file_state::open;
    return &result_stream_storage;
}

bool close_result_file() noexcept {
    if (result_state == result_file_state::never_opened) return true;
    if (result_state == result_file_state::closed) return !result_stream_storage.failed;
    result_state = result_file_state::closed;
    return close_stream(&result_stream_storage);
}

int result_file_error() noexcept {
    if (result_state == result_file_state::never_opened) return 0;
    return result_stream_storage.failed ? result_stream_storage.error_number : 0;
}

}  // namespace fexpr::platform
