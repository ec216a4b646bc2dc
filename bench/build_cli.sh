#!/usr/bin/env bash
# Builds one command-line tool in the benchmarks' release folder and prints its path:
#   bench/build_cli.sh gridwise-cli|datumer-cli
# With PLAIN=1 the tool is built with GW_PLAIN_FILE_EVALUATION=ON in a folder of its own: its file
# converters evaluate every point the plain way, the reference of the identity runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=$1
build="$root/build-bench"
plain=OFF
if [ "${PLAIN:-0}" = 1 ]; then
    build="$root/build-bench-plain"
    plain=ON
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGW_BUILD_UI=OFF -DGW_BUILD_TESTS=OFF \
    -DGW_PLAIN_FILE_EVALUATION="$plain" "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target "$target" >/dev/null
echo "$build/src/${target%-cli}/cli/$target"
