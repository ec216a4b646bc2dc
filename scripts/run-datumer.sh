#!/usr/bin/env bash
# Installs what is missing, builds, and starts Datumer (needs a display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=require-display.sh
source "$root/scripts/require-display.sh" Datumer "$root/build/src/datumer/ui/datumer"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build"
exec "$root/build/src/datumer/ui/datumer"
