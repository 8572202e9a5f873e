# SPDX-License-Identifier: MIT
# Cross-builds xvantor for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu, statically
# linked, as the NuGet package carries it:
#   cmake -S . -B build-linux-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
#   cmake --build build-linux-arm64 --target xvantor
# The first-stage tool is built for the build machine, so the build runs nothing built for
# ARM; qemu-aarch64-static runs the result on an x64 machine.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(XV_CROSS_PREFIX aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${XV_CROSS_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${XV_CROSS_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${XV_CROSS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No shared library at all, so that the tool runs in any container and on any distribution.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The tests are built and run on the host; this build makes the shipped tool only.
set(BUILD_TESTING OFF CACHE BOOL "Build the tests")
