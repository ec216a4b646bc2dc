#!/usr/bin/env bash
# Peak memory of `gridwise-cli convert --format txt` on a 20 MB and a 2 GB point list: a converter
# holds one line at a time, so the two peaks must stay within a few MB of each other.
#
#   bench/peak_memory.sh [SMALL_MB] [LARGE_MB]     (defaults 20 and 2048)
#   GRIDWISE_CLI=/path/to/gridwise-cli bench/peak_memory.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
small_mb=${1:-20}
large_mb=${2:-2048}
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }

cli=${GRIDWISE_CLI:-$(bash "$root/bench/build_cli.sh" gridwise-cli)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One block of about 0.9 MB of points in zone 7, repeated to the wanted size.
awk 'BEGIN { srand(20261209);
    for (i = 1; i <= 19000; i++)
        printf "p%d,%.10f,%.10f,%.3f,code%d\r\n", i, 40 + 30 * rand(), 36 + 6 * rand(), 100 * rand(), i % 10 }' \
    > "$work/block.txt"

run() {
    local mb=$1 dir="$work/$1"
    mkdir -p "$dir"
    local block repeats
    block=$(stat -c %s "$work/block.txt")
    repeats=$(((mb * 1048576 + block - 1) / block))
    for _ in $(seq "$repeats"); do cat "$work/block.txt"; done > "$dir/points.txt"
    local bytes lines
    bytes=$(stat -c %s "$dir/points.txt")
    lines=$(wc -l < "$dir/points.txt")
    /usr/bin/time -f "%e %M" -o "$dir/timing" "$cli" convert --format txt --no-progress "$dir/points.txt" >/dev/null
    read -r wall kb < "$dir/timing"
    [ "$(wc -l < "$dir/RECALC/points.txt")" -eq "$lines" ] || { echo "output lines differ" >&2; exit 1; }
    printf "%8d MB source  %10d lines  %8.1f s  peak %6d kB\n" $((bytes / 1048576)) "$lines" "$wall" "$kb"
    rm -rf "$dir"
    echo "$kb" > "$work/peak-$mb"
}

run "$small_mb"
run "$large_mb"
small=$(cat "$work/peak-$small_mb")
large=$(cat "$work/peak-$large_mb")
echo "peak memory grows by $((large - small)) kB from ${small_mb} MB to ${large_mb} MB"
