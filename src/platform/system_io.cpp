// Descriptor calls of POSIX and Windows behind one set of names.
#include "platform/system_io.h"

#include <cerrno>
#include <climits>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fexpr::platform {
#ifndef _WIN32
namespace {

/*
 * A file opened while standard input, output or error is closed would take that number,
 * and what the program writes there (math error reports, the accuracy warning) would land
 * in the result file, ahead of the buffered result. Files are therefore moved above the
 * three standard descriptors; a closed standard descriptor stays closed, so its reads and
 * writes fail as they would anyway.
 */
int above_standard_descriptors(int descriptor) noexcept {
    if (descriptor < 0 || descriptor > standard_error_descriptor) return descriptor;
    const int moved = ::fcntl(descriptor, F_DUPFD_CLOEXEC, standard_error_descriptor + 1);
    const int saved_errno = errno;
    ::close(descriptor);
    errno = saved_errno;
    return moved;
}

}  // namespace
#endif

bool write_all(int descriptor, const char* text, std::size_t length) noexcept {
    while (length > 0) {
        const std::size_t piece = length < (1u << 30) ? length : (1u << 30);
#ifdef _WIN32
        const int written = _write(descriptor, text, static_cast<unsigned>(piece));
#else
        const ssize_t written = ::write(descriptor, text, piece);
#endif
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

long read_some(int descriptor, char* buffer, std::size_t size) noexcept {
    for (;;) {
#ifdef _WIN32
        const int count = _read(descriptor, buffer, static_cast<unsigned>(size));
#else
        const ssize_t count = ::read(descriptor, buffer, size);
#endif
        if (count < 0 && errno == EINTR) continue;
        return static_cast<long>(count);
    }
}

int open_for_reading(const char* path) noexcept {
#ifdef _WIN32
    const int descriptor = _open(path, _O_RDONLY | _O_BINARY);
#else
    const int descriptor = above_standard_descriptors(::open(path, O_RDONLY | O_CLOEXEC));
#endif
    if (descriptor < 0) return -1;
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || (status.st_mode & S_IFMT) == S_IFDIR) {
        close_descriptor(descriptor);
        errno = EISDIR;
        return -1;
    }
    return descriptor;
}

int open_for_writing(const char* path) noexcept {
#ifdef _WIN32
    // Text mode, as the console's streams: each "\n" is written as CR LF.
    return _open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT, _S_IREAD | _S_IWRITE);
#else
    return above_standard_descriptors(::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
#endif
}

bool close_descriptor(int descriptor) noexcept {
#ifdef _WIN32
    return _close(descriptor) == 0;
#else
    return ::close(descriptor) == 0;
#endif
}

bool is_terminal(int descriptor) noexcept {
#ifdef _WIN32
    return _isatty(descriptor) != 0;
#else
    return ::isatty(descriptor) != 0;
#endif
}

int last_error() noexcept {
    return errno;
}

}  // namespace fexpr::platform
