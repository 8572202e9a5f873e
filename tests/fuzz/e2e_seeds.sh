#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes one fuzz_translate seed for every input file of the end-to-end cases into the given
# folder: a first byte that picks the language option by the file's extension (0 C++,
# 1 Java, 2 C#, 3 an option naming no language), then the file's bytes.
# Usage: tests/fuzz/e2e_seeds.sh <out-dir>
set -eu
[ $# -eq 1 ] || { echo "usage: $0 <out-dir>" >&2; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)
cd "$(dirname "$0")/../e2e"
find . -path './*/in/*' -type f ! -name .keep | while IFS= read -r file; do
    case "$file" in
        *.cpp | *.h | *.hxx | *.hpp | *.cc) option=0 ;;
        *.java) option=1 ;;
        *.cs) option=2 ;;
        *) option=3 ;;
    esac
    name=e2e_$(printf '%s' "${file#./}" | tr -c 'A-Za-z0-9._-' '_')
    { printf '%s' "$option"; cat "$file"; } >"$out/$name"
done
