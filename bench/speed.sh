#!/usr/bin/env bash
# Every conversion of both programs beside PROJ's cct on the same points: Gridwise point lists
# B,L => x,y and x,y => B,L with both series (cct: tmerc), Datumer point lists (preset 1, normal
# heights kept), Polish-format maps and MIF files (cct: cart / helmert / inverse cart). Runs
# alternate with cct on one core (taskset -c 0 when present); each side keeps its best CPU time
# (user + system) of RUNS runs. Prints lines per CPU second, the ratio to cct and the peak memory,
# then compares every output file byte for byte with the plain evaluation's (a second build with
# GW_PLAIN_FILE_EVALUATION=ON).
#
#   bench/speed.sh [LINES] [RUNS]        (defaults 1000000 and 5)
#
# cct (Debian package proj-bin) and GNU time are needed; the script installs proj-bin when missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lines=${1:-1000000}
runs=${2:-5}

if ! command -v cct >/dev/null; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq && $sudo_cmd apt-get install -y -qq proj-bin >/dev/null
fi
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

gridwise=$(bash "$root/bench/build_cli.sh" gridwise-cli)
datumer=$(bash "$root/bench/build_cli.sh" datumer-cli)
gridwise_plain=$(PLAIN=1 bash "$root/bench/build_cli.sh" gridwise-cli)
datumer_plain=$(PLAIN=1 bash "$root/bench/build_cli.sh" datumer-cli)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Gridwise: points of Gauss-Krueger zone 7 (36..42 deg E), so that one cct projection serves all.
awk -v n="$lines" 'BEGIN { srand(20261209);
    for (i = 1; i <= n; i++)
        printf "p%d,%.10f,%.10f,%.3f,code%d\n", i, 40 + 30 * rand(), 36 + 6 * rand(), 100 * rand(), i % 10 }' > geo.txt
awk -F, '{ print $3, $2 }' geo.txt > cct_geo.txt
"$gridwise" convert --format txt --plane-decimals 4 --no-progress geo.txt >/dev/null
mv RECALC/geo.txt plane.txt
rmdir RECALC
awk -F, '{ print $3, $2 }' plane.txt > cct_plane.txt
zone7="+proj=tmerc +a=6378245 +rf=298.3 +lon_0=39 +k=1 +x_0=7500000 +y_0=0"

# Datumer: points over the area the presets serve; maps of ten points per data line; MIF regions
# of 1000 points, longitude first.
awk -v n="$lines" 'BEGIN { srand(42); for (i = 1; i <= n; i++)
    printf "P%d,%.10f,%.10f,%.3f,code%d\n", i, 41 + 36 * rand(), 19 + 160 * rand(), 300 * rand(), i % 7 }' \
    > points.txt
awk -F, '{ print $3, $2, $4 }' points.txt > cct_points.txt
awk -v n="$lines" 'BEGIN { srand(43); print "[IMG ID]"; print "ID=1"; print "Datum=W84";
    print "[END-IMG ID]";
    for (i = 0; i < n; i += 10) {
        print "[POLYLINE]"; print "Type=0x1"; line = "Data0=";
        for (k = 0; k < 10 && i + k < n; k++)
            line = line (k ? "," : "") sprintf("(%.5f,%.5f)", 41 + 36 * rand(), 19 + 160 * rand());
        print line; print "[END]"; print "" } }' > map.mp
grep '^Data0=' map.mp | sed 's/^Data0=//; s/),(/\n/g; s/[()]//g' | awk -F, '{ print $2, $1, 0 }' \
    > cct_map.txt
awk -v n="$lines" 'BEGIN { srand(44); print "Version 300"; print "Charset \"WindowsCyrillic\"";
    print "Delimiter \",\""; print "CoordSys Earth Projection 1, 1001"; print "Columns 1";
    print "  Name Char(20)"; print "Data"; print "";
    for (i = 0; i < n; i += 1000) {
        m = (n - i < 1000) ? n - i : 1000; print "Region 1"; printf "  %d\n", m;
        for (k = 0; k < m; k++) printf "%.8f %.8f\n", 19 + 160 * rand(), 41 + 36 * rand();
        print "    Pen (1,2,0)"; print "    Brush (2,16777215,16777215)" } }' > map.mif
awk 'NF == 2 && $1 ~ /^[0-9]/ { print $1, $2, 0 }' map.mif > cct_mif.txt
preset1=$("$datumer" presets | grep -m1 'PROJ:' | sed 's/^ *PROJ: //')

# CPU seconds (user + system) and peak kB of one run.
time_once() {
    rm -rf RECALC
    /usr/bin/time -f "%U %S %M" -o timing "${pin[@]}" "$@" >/dev/null 2>&1
    read -r user sys kb < timing
    echo "$(echo "$user + $sys" | bc) $kb"
}

printf '%-22s %9s %7s %12s %7s %12s %7s %8s\n' conversion lines "cpu s" "lines/cpu-s" "cct s" \
    "cct l/s" ratio "peak MB"
# label, output file, our command..., --, cct command... Runs alternate so that both sides meet
# the same load; each keeps its best.
declare -a outputs=()
row() {
    local label=$1 output=$2
    shift 2
    local ours=() theirs=()
    while [ "$1" != "--" ]; do ours+=("$1"); shift; done
    shift
    theirs=("$@")
    local cpu="" ccpu="" peak=0
    for _ in $(seq "$runs"); do
        read -r c kb < <(time_once "${ours[@]}")
        read -r cc _ < <(time_once "${theirs[@]}")
        if [ -z "$cpu" ] || [ "$(echo "$c < $cpu" | bc)" = 1 ]; then cpu=$c; fi
        if [ -z "$ccpu" ] || [ "$(echo "$cc < $ccpu" | bc)" = 1 ]; then ccpu=$cc; fi
        [ "$kb" -gt "$peak" ] && peak=$kb
    done
    # Keep the output of this row for the comparison with the plain evaluation.
    time_once "${ours[@]}" >/dev/null
    cp "RECALC/$output" "fast-$label.out"
    outputs+=("$label")
    printf '%-22s %9d %7.2f %12.0f %7.2f %12.0f %6.2fx %8.1f\n' "$label" "$lines" "$cpu" \
        "$(echo "$lines / $cpu" | bc -l)" "$ccpu" "$(echo "$lines / $ccpu" | bc -l)" \
        "$(echo "$ccpu / $cpu" | bc -l)" "$(echo "$peak / 1024" | bc -l)"
}

g=(convert --format txt --no-progress)
d=(convert --preset 1 --no-progress)
row "B,L=>x,y 3-term" geo.txt "$gridwise" "${g[@]}" --series 3 geo.txt -- \
    cct -z 0 -t 0 -d 4 $zone7 cct_geo.txt
row "B,L=>x,y 4-term" geo.txt "$gridwise" "${g[@]}" --series 4 geo.txt -- \
    cct -z 0 -t 0 -d 4 $zone7 cct_geo.txt
row "x,y=>B,L 3-term" plane.txt "$gridwise" "${g[@]}" --direction to-geo --series 3 plane.txt -- \
    cct -I -z 0 -t 0 -d 10 $zone7 cct_plane.txt
row "x,y=>B,L 4-term" plane.txt "$gridwise" "${g[@]}" --direction to-geo --series 4 plane.txt -- \
    cct -I -z 0 -t 0 -d 10 $zone7 cct_plane.txt
# shellcheck disable=SC2086
row "Datumer TXT" points.txt "$datumer" "${d[@]}" --format txt points.txt -- \
    cct -t 0 -d 10 $preset1 cct_points.txt
# shellcheck disable=SC2086
row "Datumer MP" map.mp "$datumer" "${d[@]}" --format mp map.mp -- \
    cct -t 0 -d 5 $preset1 cct_map.txt
# shellcheck disable=SC2086
row "Datumer MIF" map.mif "$datumer" "${d[@]}" --format mif map.mif -- \
    cct -t 0 -d 10 $preset1 cct_mif.txt
echo "(one core, best of $runs runs each, CPU seconds; peak MB of our runs)"

# The same files through the plain evaluation: no byte may differ.
plain() {
    local label=$1 output=$2
    shift 2
    rm -rf RECALC
    "$@" >/dev/null 2>&1 || true
    if cmp -s "RECALC/$output" "fast-$label.out"; then
        echo "identical to the plain evaluation: $label"
    else
        echo "DIFFERS from the plain evaluation: $label" >&2
        exit 1
    fi
}
plain "B,L=>x,y 3-term" geo.txt "$gridwise_plain" "${g[@]}" --series 3 geo.txt
plain "B,L=>x,y 4-term" geo.txt "$gridwise_plain" "${g[@]}" --series 4 geo.txt
plain "x,y=>B,L 3-term" plane.txt "$gridwise_plain" "${g[@]}" --direction to-geo --series 3 plane.txt
plain "x,y=>B,L 4-term" plane.txt "$gridwise_plain" "${g[@]}" --direction to-geo --series 4 plane.txt
plain "Datumer TXT" points.txt "$datumer_plain" "${d[@]}" --format txt points.txt
plain "Datumer MP" map.mp "$datumer_plain" "${d[@]}" --format mp map.mp
plain "Datumer MIF" map.mif "$datumer_plain" "${d[@]}" --format mif map.mif
