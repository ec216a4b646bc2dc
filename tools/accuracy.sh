#!/usr/bin/env bash
# Recomputes the pictures of docs/accuracy.md (docs/accuracy-*.png) and prints its table of the
# largest errors: the classic and Krueger series against GeographicLib's exact transverse
# Mercator. Installs matplotlib (needed for these pictures only).
#   tools/accuracy.sh [BUILD_DIR]      (default build/, the window programs' build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
bash "$root/scripts/install-deps.sh" python3-matplotlib
cmake -S "$root" -B "$dir" >/dev/null
cmake --build "$dir" -j "${JOBS:-$(nproc)}" --target projection_accuracy >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$dir/tools/projection_accuracy" "$work/errors.csv"
# Debian's own Python, the one python3-matplotlib belongs to.
/usr/bin/python3 "$root/tools/plot_accuracy.py" "$work/errors.csv" "$root/docs"
