#!/usr/bin/env bash
# Makes the Debian packages of a configured build and checks them as a distribution would:
# lintian (no errors), the menu entries, the AppStream metainfo, and a smoke test of the tools
# and manual pages unpacked into a temporary root.
#   check-packages.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" lintian desktop-file-utils appstream dpkg-dev file
build=$(cd "$1" && pwd)

rm -f "$build"/*.deb
cmake --build "$build" --target package >"$build/package.log" 2>&1 || { tail -30 "$build/package.log"; exit 1; }
debs=("$build"/*.deb)
for deb in "${debs[@]}"; do
    echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; $(dpkg-deb -f "$deb" Depends)"
done

lintian --fail-on error "${debs[@]}"
desktop-file-validate "$root"/packaging/*.desktop
appstreamcli validate --no-net "$build"/packaging/*.metainfo.xml

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$unpacked"; done
version=$(dpkg-deb -f "${debs[0]}" Version)
expect() {  # expect TEXT COMMAND...: the command succeeds and prints TEXT
    local text=$1 out
    shift
    out=$("$@") || { echo "failed: $*" >&2; exit 1; }
    grep -qF -- "$text" <<<"$out" || { echo "$* printed no \"$text\":" >&2; echo "$out" >&2; exit 1; }
}
bin=$unpacked/usr/bin
expect "x: 6099167.2394" "$bin/gridwise-cli" point 55 37
expect "y: 7372018.4912" "$bin/gridwise-cli" point 55 37
expect "B2 (ггг/мм/сс.сссссс): 55°00'00.048939\" с.ш." "$bin/datumer-cli" point 55 37 0
expect "gridwise-cli $version" "$bin/gridwise-cli" --version
expect "datumer-cli $version" "$bin/datumer-cli" --version
for page in "$unpacked"/usr/share/man/man1/*.1.gz; do
    name=$(basename "$page" .1.gz)
    sh "$root/packaging/man/check_man_page.sh" "$page" "$name"
done
for program in gridwise datumer; do
    [[ -x "$bin/$program" ]] || { echo "no $program in the packages" >&2; exit 1; }
done
echo "Packages checked: ${#debs[@]}, version $version"
