#!/bin/sh
# SPDX-License-Identifier: MIT
# Configures XVantor as packagers do (BUILD_TESTING=OFF) and inside a project that adds it with
# add_subdirectory, both without GoogleTest and Python: each must configure and register no
# test of XVantor's.
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
    echo "$name: configures without GoogleTest and Python, no tests"
}
check packager -S "$source" -B "$work/packager" -DBUILD_TESTING=OFF
check subdirectory -S "$(dirname "$0")/consumer_subdirectory" -B "$work/subdirectory" \
    -DXVANTOR_SOURCE_DIR="$source"
