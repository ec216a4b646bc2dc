#!/usr/bin/env bash
# Times datumer-cli convert on point lists, Polish-format maps and MIF files of 1 000 000 points
# each (POINTS to change), with the preset in force (PRESET, default 1), and prints points per
# second and peak memory. Usage: bench/datumer_bench.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/src/datumer/cli/datumer-cli
points=${POINTS:-1000000}
preset=${PRESET:-1}

if [[ ! -x $cli ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGW_BUILD_UI=OFF >/dev/null
    cmake --build "$build" -j 2 --target datumer-cli >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Points spread over the area the presets serve, from a fixed seed so that runs compare.
awk -v n="$points" 'BEGIN { srand(42); for (i = 1; i <= n; i++)
    printf "P%d,%.10f,%.10f,%.3f,code%d\n", i, 41 + 36 * rand(), 19 + 160 * rand(), 300 * rand(), i % 7 }' \
    >"$work/points.txt"
# Maps: polylines of ten points per data line.
awk -v n="$points" 'BEGIN { srand(42); print "[IMG ID]"; print "ID=1"; print "Datum=W84";
    print "[END-IMG ID]";
    for (i = 0; i < n; i += 10) {
        print "[POLYLINE]"; print "Type=0x1"; line = "Data0=";
        for (k = 0; k < 10 && i + k < n; k++)
            line = line (k ? "," : "") sprintf("(%.5f,%.5f)", 41 + 36 * rand(), 19 + 160 * rand());
        print line; print "[END]"; print "" } }' >"$work/map.mp"
# MIF: regions of 1000 points, longitude first.
awk -v n="$points" 'BEGIN { srand(42); print "Version 300"; print "Charset \"WindowsCyrillic\"";
    print "Delimiter \",\""; print "CoordSys Earth Projection 1, 1001"; print "Columns 1";
    print "  Name Char(20)"; print "Data"; print "";
    for (i = 0; i < n; i += 1000) {
        m = (n - i < 1000) ? n - i : 1000; print "Region 1"; printf "  %d\n", m;
        for (k = 0; k < m; k++) printf "%.8f %.8f\n", 19 + 160 * rand(), 41 + 36 * rand();
        print "    Pen (1,2,0)"; print "    Brush (2,16777215,16777215)" } }' >"$work/map.mif"

# CPU seconds are given beside the wall clock: on a shared machine they are the steadier figure.
printf '%-16s %9s %8s %8s %12s %10s\n' format points wall-s cpu-s points/cpu-s "peak RSS"
run() {
    local format=$1 file=$2 extra=${3:-} label=${4:-$1}
    rm -rf "$work/RECALC"
    # shellcheck disable=SC2086
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
        "$cli" convert --format "$format" --preset "$preset" --no-progress $extra "$work/$file" \
        >"$work/log"
    grep -q 'Создано           : 1 файлов' "$work/log" || { cat "$work/log"; exit 1; }
    read -r wall user system kib <"$work/time"
    awk -v f="$label" -v n="$points" -v w="$wall" -v u="$user" -v s="$system" -v k="$kib" 'BEGIN {
        cpu = u + s;
        printf "%-16s %9d %8.2f %8.2f %12.0f %7.1f MB\n", f, n, w, cpu, (cpu > 0 ? n / cpu : 0), k / 1024 }'
}
run txt points.txt
run txt points.txt "--heights ellipsoidal" "txt ellipsoidal"
run mp map.mp
run mif map.mif
echo "(source sizes: $(du -h "$work/points.txt" "$work/map.mp" "$work/map.mif" | awk '{printf "%s %s  ", $1, $2}' | sed "s|$work/||g"))"
