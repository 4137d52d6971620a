# Cross-builds fexpr.exe for 64-bit Windows with Debian's MinGW-w64 (package
# g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
# The posix flavour of the compiler is the one whose C++ runtime has std::thread, which the
# unit tests' GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FEXPR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${FEXPR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FEXPR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${FEXPR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FEXPR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs built here run under Wine (scripts/wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
