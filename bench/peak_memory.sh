#!/usr/bin/env bash
# Peak memory of `gridwise-cli convert --format txt` (B,L => x,y and back) and of
# `datumer-cli convert --format txt` on a 20 MB and a 2 GB point list: a converter holds one line
# at a time, so the peaks must stay within a few MB of each other (and under 16 MB).
#
#   bench/peak_memory.sh [SMALL_MB] [LARGE_MB]     (defaults 20 and 2048)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
small_mb=${1:-20}
large_mb=${2:-2048}
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }

gridwise=$(bash "$root/bench/build_cli.sh" gridwise-cli)
datumer=$(bash "$root/bench/build_cli.sh" datumer-cli)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One block of about 0.9 MB of points in zone 7, repeated to the wanted size.
awk 'BEGIN { srand(20261209);
    for (i = 1; i <= 19000; i++)
        printf "p%d,%.10f,%.10f,%.3f,code%d\r\n", i, 40 + 30 * rand(), 36 + 6 * rand(), 100 * rand(), i % 10 }' \
    > "$work/block.txt"

run() {  # size in MB, label, command...
    local mb=$1 label=$2 dir="$work/$1"
    shift 2
    local bytes lines
    bytes=$(stat -c %s "$dir/points.txt")
    lines=$(wc -l < "$dir/points.txt")
    rm -rf "$dir/RECALC"
    /usr/bin/time -f "%e %M" -o "$dir/timing" "$@" --no-progress "$dir/points.txt" >/dev/null
    read -r wall kb < "$dir/timing"
    [ "$(wc -l < "$dir/RECALC/points.txt")" -eq "$lines" ] || { echo "output lines differ" >&2; exit 1; }
    printf "%-18s %8d MB source  %10d lines  %8.1f s  peak %6d kB\n" "$label" $((bytes / 1048576)) \
        "$lines" "$wall" "$kb"
    echo "$kb" > "$work/peak-$label-$mb"
}

for mb in "$small_mb" "$large_mb"; do
    dir="$work/$mb"
    mkdir -p "$dir"
    block=$(stat -c %s "$work/block.txt")
    repeats=$(((mb * 1048576 + block - 1) / block))
    for _ in $(seq "$repeats"); do cat "$work/block.txt"; done > "$dir/points.txt"
    run "$mb" "gridwise B,L=>x,y" "$gridwise" convert --format txt
    mv "$dir/RECALC/points.txt" "$dir/plane.txt"
    rm -rf "$dir/RECALC"
    run "$mb" "datumer TXT" "$datumer" convert --format txt --preset 1
    rm -rf "$dir/RECALC"
    mv "$dir/plane.txt" "$dir/points.txt"
    run "$mb" "gridwise x,y=>B,L" "$gridwise" convert --format txt --direction to-geo
    rm -rf "$dir"
done
for label in "gridwise B,L=>x,y" "datumer TXT" "gridwise x,y=>B,L"; do
    small=$(cat "$work/peak-$label-$small_mb")
    large=$(cat "$work/peak-$label-$large_mb")
    echo "$label: peak memory grows by $((large - small)) kB from ${small_mb} MB to ${large_mb} MB"
done
