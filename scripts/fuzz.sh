#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a given time, one after the
# other, on a corpus that starts from the seeds in fuzz/corpus/<target>/.
#   fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 60 seconds, every target)
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_JOBS (parallel fuzzing jobs, default 1).
# A finding stops its target; the input is kept as <build>/artifacts/<target>/crash-* and the
# command ends with exit 1 after the other targets have run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-1}

# clang with its fuzzer runtime; only what is missing is installed.
bash "$root/scripts/install-deps.sh" clang libclang-rt-14-dev

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
build=$(cd "$build" && pwd)
if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(cd "$root/fuzz" && ls ./*_fuzz.cpp | sed 's|^\./||; s|\.cpp$||')
fi
if ! cmake --build "$build" -j "${FUZZ_BUILD_JOBS:-2}" --target "${targets[@]}" >"$build/build.log" 2>&1; then
    tail -30 "$build/build.log"
    exit 2
fi

failed=()
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    artifacts="$build/artifacts/$t"
    mkdir -p "$corpus" "$artifacts"
    if [ -d "$root/fuzz/corpus/$t" ]; then cp -n "$root/fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true; fi
    dict=()
    if [ -f "$root/fuzz/$t.dict" ]; then dict=(-dict="$root/fuzz/$t.dict"); fi
    echo "== $t: $seconds s"
    log="$build/$t.log"
    # Several jobs run as worker processes that log to fuzz-N.log in the working folder.
    parallel=()
    if [ "$jobs" -gt 1 ]; then parallel=(-jobs="$jobs" -workers="$jobs"); fi
    if (cd "$artifacts" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/$t" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 -max_len=65536 "${parallel[@]}" \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1); then
        grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -2 || true
    else
        echo "!! $t found a problem; see $log and $artifacts"
        grep -E 'property failed|ERROR: |SUMMARY' "$log" | head -5 || true
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]}"
    exit 1
fi
echo "No findings."
