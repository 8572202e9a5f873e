#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds XVantor and translates the bundled example, then shows the result.
set -euo pipefail
cd "$(dirname "$0")/.."
# A C++ compiler and CMake (with make, which it only recommends) are all that building
# XVantor and the example need.
scripts/setup.sh --only g++ make cmake
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target xvantor >/dev/null
work=$(mktemp -d)
cp examples/hello/hello.cpp "$work/"
cd "$work"
"$OLDPWD/build/driver/xvantor" hello.cpp hello_out.cpp
echo "---- hello_out.cpp ----"
cat hello_out.cpp
g++ -std=c++17 -Wall -Wextra -o hello hello_out.cpp
echo "---- running it ----"
./hello; echo
echo "(files left in $work)"
