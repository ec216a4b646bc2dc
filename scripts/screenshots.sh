#!/usr/bin/env bash
# Builds the screenshot renderers and writes the window pictures of the README into docs/,
# on Qt's offscreen platform (no display needed): screenshots.sh [BUILD_DIR].
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
tools=()
for source in "$root"/tools/*_screenshots.cpp; do
    [[ -e "$source" ]] && tools+=("$(basename "$source" .cpp)")
done
cmake --build "$dir" -j "${JOBS:-$(nproc)}" --target "${tools[@]}"
export QT_QPA_PLATFORM=offscreen
for tool in "${tools[@]}"; do
    "$dir/tools/$tool" "$root/docs"
done
