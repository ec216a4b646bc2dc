#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice:
# once as shipped, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
bash "$root/scripts/build.sh" "$root/build" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
bash "$root/scripts/build.sh" "$root/build-asan" -DGW_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$(nproc)"
