# Cross-builds fexpr for 64-bit ARM Linux with Debian's cross compiler (package
# g++-aarch64-linux-gnu); the programs built here run under qemu-user (package qemu-user):
#   cmake -S . -B build-aarch64 --toolchain cmake/aarch64-linux-gnu.cmake
# There long double is IEEE binary128, so the arithmetic takes the portable 64-bit path.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(FEXPR_CROSS_PREFIX aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${FEXPR_CROSS_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${FEXPR_CROSS_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${FEXPR_CROSS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs built here run under qemu-user; the library path serves a dynamic build.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${FEXPR_CROSS_PREFIX})
