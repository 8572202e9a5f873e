# SPDX-License-Identifier: MIT
# Builds xvantor for x64 Linux with the machine's own compiler, statically linked, as the
# NuGet package carries it (the Debian package keeps the shared C and C++ libraries):
#   cmake -S . -B build-linux-x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-linux-static.cmake
#   cmake --build build-linux-x64 --target xvantor
# No shared library at all, so that the tool runs in any container and on any distribution.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The tests are built and run with the ordinary build; this build makes the shipped tool only.
set(BUILD_TESTING OFF CACHE BOOL "Build the tests")
