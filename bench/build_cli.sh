#!/usr/bin/env bash
# Builds one command-line tool in the benchmarks' release folder and prints its path:
#   bench/build_cli.sh gridwise-cli|datumer-cli
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=$1
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGW_BUILD_UI=OFF -DGW_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target "$target" >/dev/null
echo "$build/src/${target%-cli}/cli/$target"
