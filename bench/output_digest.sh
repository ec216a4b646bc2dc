#!/usr/bin/env bash
# Converts a fixed set of generated files with every batch format of both tools and prints one
# SHA-256 per conversion, so that a change meant to keep every output byte can be checked:
#   bench/output_digest.sh BUILD_DIR [LINES] > before.txt   (then after the change: diff)
# The files are drawn from fixed seeds; LINES (default 200000) points each.
set -euo pipefail
build=$(cd "$1" && pwd)
lines=${2:-200000}
gw=$build/src/gridwise/cli/gridwise-cli
dm=$build/src/datumer/cli/datumer-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Geodetic points over the whole Earth the projections accept, and over Russia's zones.
awk -v n="$lines" 'BEGIN { srand(7); for (i = 1; i <= n; i++)
    printf "p%d,%.10f,%.10f,%.3f,code%d\n", i, -80 + 164 * rand(), -180 + 360 * rand(), 9000 * rand() - 500, i % 9 }' >world.txt
awk -v n="$lines" 'BEGIN { srand(11); for (i = 1; i <= n; i++)
    printf "p%d,%.10f,%.10f,%.3f\n", i, 41 + 36 * rand(), 19 + 160 * rand(), 300 * rand() }' >russia.txt
# SK42 plane points in zone 9 with the zone in the ordinate, for the SK63 exports.
awk -v n="$lines" 'BEGIN { srand(13); for (i = 1; i <= n; i++)
    printf "N%d,%.3f,%.3f,%.3f,c\n", i, 5800000 + 300000 * rand(), 9400000 + 200000 * rand(), 200 * rand() }' >sk42.txt
awk -v n="$lines" 'BEGIN { srand(17); print "[IMG ID]"; print "ID=1"; print "Datum=W84"; print "[END-IMG ID]";
    for (i = 0; i < n; i += 10) { print "[POLYLINE]"; print "Type=0x1"; line = "Data0=";
        for (k = 0; k < 10; k++) line = line (k ? "," : "") sprintf("(%.5f,%.5f)", 41 + 36 * rand(), 19 + 160 * rand());
        print line; print "[END]"; print "" } }' >map.mp
awk -v n="$lines" 'BEGIN { srand(19); print "Version 300"; print "Charset \"WindowsCyrillic\"";
    print "Delimiter \",\""; print "CoordSys Earth Projection 1, 1001"; print "Columns 1";
    print "  Name Char(20)"; print "Data"; print "";
    for (i = 0; i < n; i += 1000) { print "Pline 1000";
        for (k = 0; k < 1000; k++) printf "%.8f %.8f\n", 19 + 160 * rand(), 41 + 36 * rand();
        print "    Pen (1,2,0)" } }' >map.mif
printf 'Version 300\nCharset "WindowsCyrillic"\nDelimiter ","\nColumns 1\n  Name Char(20)\nData\n' >map.mid

digest() {  # name, then the command that writes the result on stdout
    local name=$1
    shift
    local rc=0
    "$@" >out 2>err || rc=$?
    printf '%-40s %s rc=%d %s\n' "$name" "$(sha256sum <out | cut -c1-16)" "$rc" "$(sha256sum <err | cut -c1-8)"
}
digest gw-txt-to-plane-3 "$gw" convert --format txt --no-progress - <world.txt
"$gw" convert --format txt --no-progress - <russia.txt >plane.txt
# Points within two degrees of zone 8's central meridian, which the left zone still takes.
awk -F, '$3 > 42.2 && $3 < 44' russia.txt >plane-zone.txt
digest gw-txt-to-plane-4-utm "$gw" convert --format txt --series 4 --projection utm --system wgs84 --no-progress - <world.txt
digest gw-txt-to-plane-left "$gw" convert --format txt --zone left --plane-decimals 2 --no-progress - <plane-zone.txt
digest gw-txt-to-geo-3 "$gw" convert --format txt --direction to-geo --no-progress - <plane.txt
digest gw-txt-to-geo-4 "$gw" convert --format txt --direction to-geo --series 4 --angle-decimals 7 --no-progress - <plane.txt
for scale in 1000000 100000 10000; do
    digest "gw-sheets-$scale" "$gw" convert --format sheets --scale "$scale" --no-progress - <russia.txt
done
sk63=(--system sk63 --meridian 50:30E --sk63-zone 3)
digest gw-sk42-sk63 "$gw" convert --format sk42-sk63 "${sk63[@]}" --zone-in-ordinate --height-change 1.5 --no-progress - <sk42.txt
"$gw" convert --format sk42-sk63 "${sk63[@]}" --zone-in-ordinate --no-progress - <sk42.txt >sk63.txt
digest gw-sk63-sk42 "$gw" convert --format sk63-sk42 "${sk63[@]}" --no-progress - <sk63.txt
digest gw-mp-shift "$gw" convert --format mp-shift --shift-north 12.5 --shift-east -7 --no-progress - <map.mp
for preset in 1 5 13 30; do
    digest "dm-txt-$preset" "$dm" convert --format txt --preset "$preset" --no-progress - <russia.txt
    digest "dm-txt-ell-$preset" "$dm" convert --format txt --heights ellipsoidal --angle-decimals 8 --preset "$preset" --no-progress - <world.txt
    digest "dm-mp-$preset" "$dm" convert --format mp --preset "$preset" --no-progress - <map.mp
done
awk '/^[0-9-]/ && NF == 2 { print $2, $1; next } { print }' map.mif >map-lat-lon.mif
for order in lon-lat lat-lon; do
    mkdir -p "mif-$order" && cp map.mid "mif-$order/"
    cp "$([ "$order" = lon-lat ] && echo map.mif || echo map-lat-lon.mif)" "mif-$order/map.mif"
    "$dm" convert --format mif --mif-order "$order" --preset 1 --no-progress "mif-$order/map.mif" >log
    digest "dm-mif-$order" cat "mif-$order/RECALC/map.mif" log
done
