// Where the help sends its reader for the whole reference: the manual page, or on Windows the
// page rendered as text in the zip beside fexpr.exe.
#pragma once

namespace fexpr::platform {

#ifdef _WIN32
constexpr char manual_pointer_text[] =
    "See fexpr-manual.txt, beside fexpr.exe, for the language, the layouts and the\n"
    "exit statuses.\n";
#else
constexpr char manual_pointer_text[] =
    "See the manual page fexpr(1) for the language, the layouts and the exit statuses.\n";
#endif

}  // namespace fexpr::platform
