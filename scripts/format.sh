#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Formats the tracked C++ sources; with --check, only reports what would change.
# The shipped support texts and test fixtures are data and keep their bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' -t files < <(git ls-files -z '*.cpp' '*.h' | grep -z -v -e '^core/mstring\.h$' \
    -e '^support/mvantor\.h$' -e '^support/texts/' -e '^tests/e2e/' -e '^tests/compiled/' \
    -e '^examples/' -e '^tests/install/' -e '^tests/fuzz/corpus/' -e '^tests/windows/e2e/')
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
    echo "format: ${#files[@]} files clean"
else
    clang-format -i "${files[@]}"
fi
