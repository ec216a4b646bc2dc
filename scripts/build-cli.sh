#!/usr/bin/env bash
# The command-line tools alone, for a server: installs what is missing without Qt, builds
# gridwise-cli and datumer-cli with GW_BUILD_UI=OFF into build-cli/ and runs their tests.
#   build-cli.sh [extra CMake arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" --no-ui
bash "$root/scripts/build.sh" "$root/build-cli" -DGW_BUILD_UI=OFF "$@"
ctest --test-dir "$root/build-cli" --output-on-failure -j "$(nproc)"
echo "Built: $root/build-cli/src/gridwise/cli/gridwise-cli, $root/build-cli/src/datumer/cli/datumer-cli"
