#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those missing.
#   install-deps.sh [--no-ui] [PACKAGE...]
# --no-ui leaves out Qt (the command-line tools only); further package names are installed the
# same way (the fuzz, bench, CI and docs scripts).
set -euo pipefail
# For the tests only: proj-bin (cct), proj-data and sqlite3 check every Datumer preset and the map
# converters against PROJ and the EPSG records of its proj.db; gdal-bin (ogrinfo, ogr2ogr) reads
# the datum labels the map converters write; man-db checks the manual pages.
packages=(cmake g++ make man-db libgtest-dev libgeographiclib-dev proj-bin proj-data sqlite3 gdal-bin)
if [[ "${1:-}" == "--no-ui" ]]; then
    shift
else
    packages+=(qt6-base-dev libgl-dev fonts-dejavu-core qt6-translations-l10n)
fi
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
