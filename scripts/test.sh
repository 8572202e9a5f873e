#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds XVantor with warnings as errors and runs every test.
#   scripts/test.sh             the whole suite in build/
#   scripts/test.sh --sanitize  the whole suite again under AddressSanitizer and
#                               UndefinedBehaviorSanitizer (leak detection on), in build-asan/
#   scripts/test.sh --editor    with the VS Code extension's grammar tests and package as
#                               well (npm and the npm registry), as CI runs it
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
flags=(-DXV_WERROR=ON -DBUILD_TESTING=ON -DXV_EDITOR_TESTS=OFF)
for argument in "$@"; do
    case "$argument" in
    --sanitize)
        build=build-asan
        flags+=(-DXV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        ;;
    --editor) flags+=(-DXV_EDITOR_TESTS=ON) ;;
    *)
        echo "usage: scripts/test.sh [--sanitize] [--editor]" >&2
        exit 2
        ;;
    esac
done
scripts/setup.sh
cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
