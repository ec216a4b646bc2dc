#!/usr/bin/env bash
# Times `gridwise-cli convert --format txt` on a point list of a million lines, B,L => x,y and
# x,y => B,L with both series, beside PROJ's cct on the same points, and prints lines per second,
# the ratio to cct (CPU time of one core, best of several runs, the two alternating) and the
# peak memory.
#
#   bench/gridwise_bench.sh [LINES] [RUNS]        (defaults 1000000 and 3)
#   GRIDWISE_CLI=/path/to/gridwise-cli bench/gridwise_bench.sh
#
# cct (Debian package proj-bin) is needed only here; the script installs it when it is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lines=${1:-1000000}
runs=${2:-3}

if ! command -v cct >/dev/null; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq && $sudo_cmd apt-get install -y -qq proj-bin >/dev/null
fi
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }

cli=${GRIDWISE_CLI:-$(bash "$root/bench/build_cli.sh" gridwise-cli)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Points of Gauss-Krueger zone 7 (36..42 deg E), so that one cct projection serves them all.
awk -v n="$lines" 'BEGIN { srand(20261209);
    for (i = 1; i <= n; i++)
        printf "p%d,%.10f,%.10f,%.3f,code%d\n", i, 40 + 30 * rand(), 36 + 6 * rand(), 100 * rand(), i % 10 }' > geo.txt
awk -F, '{ print $3, $2 }' geo.txt > cct_geo.txt
krasovsky="+a=6378245 +rf=298.3"
zone7="+proj=tmerc $krasovsky +lon_0=39 +k=1 +x_0=7500000 +y_0=0"

# CPU seconds (user + system), wall seconds and peak kB of one run of a command.
time_once() {
    rm -rf RECALC
    /usr/bin/time -f "%U %S %e %M" -o timing "$@" >/dev/null 2>&1
    read -r user sys wall kb < timing
    echo "$(echo "$user + $sys" | bc) $wall $kb"
}

# Best CPU seconds, its wall seconds and the peak kB of a command over $runs runs.
measure() {
    local best_cpu="" best_wall="" peak=0
    for _ in $(seq "$runs"); do
        read -r cpu wall kb < <(time_once "$@")
        if [ -z "$best_cpu" ] || [ "$(echo "$cpu < $best_cpu" | bc)" = 1 ]; then
            best_cpu=$cpu
            best_wall=$wall
        fi
        [ "$kb" -gt "$peak" ] && peak=$kb
    done
    echo "$best_cpu $best_wall $peak"
}

# x,y of every point for the inverse runs, and cct's for comparison.
rm -rf RECALC
"$cli" convert --format txt --plane-decimals 4 geo.txt >/dev/null
mv RECALC/geo.txt plane.txt
awk -F, '{ print $3, $2 }' plane.txt > cct_plane.txt
cct -z 0 -t 0 -d 4 $zone7 cct_geo.txt > cct_plane_out.txt

printf '%-26s %9s %12s %9s %12s %8s %9s\n' "conversion ($lines lines)" "cpu s" "lines/s" "cct s" "cct lines/s" "ratio" "peak kB"
# The two commands alternate run by run, so that both meet the same load on the machine; each
# keeps its best CPU time.
row() {  # label, our command..., --, cct command...
    local label=$1
    shift
    local ours=() theirs=()
    while [ "$1" != "--" ]; do ours+=("$1"); shift; done
    shift
    theirs=("$@")
    local cpu="" ccpu="" peak=0
    for _ in $(seq "$runs"); do
        read -r c _ kb < <(time_once "${ours[@]}")
        read -r cc _ _ < <(time_once "${theirs[@]}")
        if [ -z "$cpu" ] || [ "$(echo "$c < $cpu" | bc)" = 1 ]; then cpu=$c; fi
        if [ -z "$ccpu" ] || [ "$(echo "$cc < $ccpu" | bc)" = 1 ]; then ccpu=$cc; fi
        [ "$kb" -gt "$peak" ] && peak=$kb
    done
    printf '%-26s %9.2f %12.0f %9.2f %12.0f %7.2fx %9d\n' "$label" "$cpu" \
        "$(echo "$lines / $cpu" | bc -l)" "$ccpu" "$(echo "$lines / $ccpu" | bc -l)" \
        "$(echo "$ccpu / $cpu" | bc -l)" "$peak"
}
row "B,L => x,y  3-term" "$cli" convert --format txt --series 3 geo.txt -- cct -z 0 -t 0 -d 4 $zone7 cct_geo.txt
row "B,L => x,y  4-term" "$cli" convert --format txt --series 4 geo.txt -- cct -z 0 -t 0 -d 4 $zone7 cct_geo.txt
row "x,y => B,L  3-term" "$cli" convert --format txt --direction to-geo --series 3 plane.txt -- cct -I -z 0 -t 0 -d 10 $zone7 cct_plane.txt
row "x,y => B,L  4-term" "$cli" convert --format txt --direction to-geo --series 4 plane.txt -- cct -I -z 0 -t 0 -d 10 $zone7 cct_plane.txt

# Memory must not grow with the file: the same run on a tenth of the lines.
head -n $((lines / 10)) geo.txt > small.txt
read -r _ _ small_kb < <(runs=1 measure "$cli" convert --format txt --series 4 small.txt)
read -r _ _ large_kb < <(runs=1 measure "$cli" convert --format txt --series 4 geo.txt)
echo "peak memory: $small_kb kB for $((lines / 10)) lines, $large_kb kB for $lines lines"

# The two agree: largest difference from cct's exact transverse Mercator, millimetres.
paste -d' ' <(cut -d, -f2,3 plane.txt | tr , ' ') cct_plane_out.txt | awk '
    { dx = $1 - $4; dy = $2 - $3; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy;
      if (dx > mx) mx = dx; if (dy > my) my = dy }
    END { printf "largest difference from cct: x %.1f mm, y %.1f mm\n", mx * 1000, my * 1000 }'
