# Cross-builds fexpr for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu; the tests run
# under qemu-user (package qemu-user):
#   cmake -S . -B build-aarch64 --toolchain cmake/aarch64-linux-gnu.cmake
# There long double is binary128, so the arithmetic is portable_extended's.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(FEXPR_AARCH64_PREFIX aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${FEXPR_AARCH64_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${FEXPR_AARCH64_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${FEXPR_AARCH64_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs are linked against the target's shared C and C++ libraries, which qemu finds
# under the cross sysroot.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${FEXPR_AARCH64_PREFIX})
