#!/bin/sh
# SPDX-License-Identifier: MIT
# Configures XVantor as the README's installation section does (no options), as packagers do
# (BUILD_TESTING=OFF) and inside a project that adds it with add_subdirectory, each without
# GoogleTest and Python: each must configure, register no test of XVantor's and not look for
# npm.
# Usage: check_no_tests.sh <cmake> <ctest> <generator> <xvantor-source-dir>
set -eu
[ $# -eq 4 ] || { echo "usage: $0 <cmake> <ctest> <generator> <xvantor-source-dir>"; exit 2; }
cmake=$1 ctest=$2 generator=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
without="-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_Python3=ON"
check() {
    name=$1
    shift
    # shellcheck disable=SC2086
    if ! "$cmake" -G "$generator" "$@" $without >"$work/$name.log" 2>&1; then
        cat "$work/$name.log"
        echo "FAILED: $name does not configure"
        exit 1
    fi
    tests=$("$ctest" --test-dir "$work/$name" -N | sed -n 's/^Total Tests: //p')
    if [ "$tests" != 0 ]; then
        echo "FAILED: $name registers $tests tests"
        exit 1
    fi
    if grep -q '^XV_NPM:' "$work/$name/CMakeCache.txt"; then
        echo "FAILED: $name looks for npm"
        exit 1
    fi
    echo "$name: configures without GoogleTest, Python and npm, no tests"
}
check default -S "$source" -B "$work/default"
check packager -S "$source" -B "$work/packager" -DBUILD_TESTING=OFF
check subdirectory -S "$(dirname "$0")/consumer_subdirectory" -B "$work/subdirectory" \
    -DXVANTOR_SOURCE_DIR="$source"
