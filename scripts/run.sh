#!/usr/bin/env bash
# Installs what is missing, builds, and starts Gridwise's window program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display found: start Gridwise from a desktop session, or under X virtual frame" \
         "buffer with: xvfb-run $root/build/src/gridwise/ui/gridwise" >&2
fi
exec "$root/build/src/gridwise/ui/gridwise"
