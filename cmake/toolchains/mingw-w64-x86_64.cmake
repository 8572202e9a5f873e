# SPDX-License-Identifier: MIT
# Cross-builds xvantor.exe for 64-bit Windows with Debian's MinGW-w64 (posix threads):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
#   cmake --build build-windows
# The build's first-stage tool is built for and run on the build machine, with its C++
# compiler: the build needs no emulator. wine only runs the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(XV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${XV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${XV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${XV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${XV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file to copy: the C++ runtime and the threads library are linked in, and only
# system DLLs are left to load.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The tests are built and run on the host; this build makes the shipped tool only.
set(BUILD_TESTING OFF CACHE BOOL "Build the tests")
