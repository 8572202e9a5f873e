#!/bin/sh
# SPDX-License-Identifier: MIT
# Cross-builds xvantor.exe with MinGW-w64 with no wine on the PATH: the build runs only
# programs built for this machine. Skips (77) without MinGW-w64.
# Usage: check_cross_build.sh <cmake> <generator> <xvantor-source-dir>
set -eu
[ $# -eq 3 ] || { echo "usage: $0 <cmake> <generator> <xvantor-source-dir>"; exit 2; }
cmake=$1 generator=$2 source=$3
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
    echo "skipped: x86_64-w64-mingw32-g++-posix is not installed"
    exit 77
fi
path=
for folder in $(echo "$PATH" | tr ':' ' '); do
    [ -e "$folder/wine" ] || [ -e "$folder/wine64" ] || path=${path:+$path:}$folder
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! PATH=$path "$cmake" -S "$source" -B "$work/build" -G "$generator" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/toolchains/mingw-w64-x86_64.cmake" >"$work/log" 2>&1 ||
    ! PATH=$path "$cmake" --build "$work/build" --target xvantor >>"$work/log" 2>&1; then
    cat "$work/log"
    echo "FAILED: the cross build with no wine on the PATH"
    exit 1
fi
[ -f "$work/build/driver/xvantor.exe" ] || { echo "FAILED: no driver/xvantor.exe"; exit 1; }
echo "passed: xvantor.exe built with no wine on the PATH"
