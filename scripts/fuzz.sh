#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz and fuzzes each for the given number of seconds (default 60), starting from a
# copy of its corpus in tests/fuzz/corpus (fuzz_translate also from every input of the
# end-to-end cases, tests/fuzz/e2e_seeds.sh). Exits non-zero on any finding: a crash, a
# sanitizer report, a leak, a timeout, or an oracle mismatch.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [seconds-per-target]"
    exit 2
fi

# clang and its sanitizer and libFuzzer runtimes come with the project's packages.
scripts/setup.sh

build=$root/build-fuzz
targets=(fuzz_translate fuzz_flags fuzz_mstring)
mkdir -p "$build"
# Quiet unless it fails: then the whole build log is shown.
if ! { cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DXV_FUZZ=ON -DXV_SANITIZE=ON -DXV_WERROR=ON -DBUILD_TESTING=OFF &&
        cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"; } >"$build/build.log" 2>&1; then
    cat "$build/build.log"
    echo "fuzz: the fuzz targets did not build"
    exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
summary=()
for target in "${targets[@]}"; do
    work=$build/fuzz-work/$target
    mkdir -p "$work/corpus" "$work/tmp"
    rm -rf "$work/artifacts"
    mkdir -p "$work/artifacts"
    # The kept corpus grows in the build tree; the seeds are refreshed from the source.
    cp "$root/tests/fuzz/corpus/$target/"* "$work/corpus/"
    if [ "$target" = fuzz_translate ]; then
        "$root/tests/fuzz/e2e_seeds.sh" "$work/corpus"
    fi
    options=(-max_len=4096 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048
             -print_final_stats=1 -artifact_prefix="$work/artifacts/")
    # The byte-code of fuzz_mstring has no keywords.
    if [ "$target" != fuzz_mstring ]; then
        options+=(-dict="$root/tests/fuzz/xvantor.dict")
    fi
    log=$work/fuzz.log
    echo "== $target: fuzzing for $seconds s (log: $log)"
    status=0
    started=$SECONDS
    TMPDIR=$work/tmp "$build/tests/fuzz/$target" "${options[@]}" "$work/corpus" >"$log" 2>&1 ||
        status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    elapsed=$((SECONDS - started))
    artifacts=$(find "$work/artifacts" -type f | sort)
    if [ "$status" -ne 0 ] || [ -n "$artifacts" ]; then
        result="FINDING (exit status $status)"
        failed+=("$target")
        grep -E -A12 '^==== FINDING|^==[0-9]+==ERROR|runtime error|^SUMMARY|ERROR: libFuzzer' "$log" |
            head -60 || true
        for artifact in $artifacts; do
            echo "   reproduce: $build/tests/fuzz/$target $artifact"
        done
    else
        result=ok
    fi
    line=$(printf '%-15s executions: %-10s cov: %-6s ft: %-7s time: %ss  %s' "$target" \
        "${runs:-?}" "${cov:-?}" "${ft:-?}" "$elapsed" "$result")
    echo "$line"
    summary+=("$line")
    rm -rf "$work/tmp"
done

echo "== fuzzing summary"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "findings in: ${failed[*]}"
    exit 1
fi
echo "${#targets[@]} passed, 0 failed"
