#!/usr/bin/env bash
# Renders the README's window pictures as a user sees them: each window on an 800×600 desktop
# (Xvfb, the openbox window manager, 40 px kept free for a panel), the whole screen captured.
#     tools/desktop_screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
# Needs the dev tools xvfb and openbox (apt-get install xvfb openbox); FONT_DPI=120 renders
# with larger fonts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
out=${2:-$root/docs}
cmake --build "$dir" -j "${JOBS:-2}" --target gridwise_screenshots datumer_screenshots

display=:$((50 + RANDOM % 40))
config=$(mktemp -d)
cat >"$config/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>40</bottom><left>0</left><right>0</right></margins>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme>
</openbox_config>
XML
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
trap 'kill "$wm" "$xvfb" 2>/dev/null; rm -rf "$config"' EXIT
sleep 1
DISPLAY=$display openbox --config-file "$config/rc.xml" &
wm=$!
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb
[[ -n "${FONT_DPI:-}" ]] && export QT_FONT_DPI=$FONT_DPI
"$dir/tools/gridwise_screenshots" "$out"
"$dir/tools/datumer_screenshots" "$out"
