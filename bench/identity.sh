#!/usr/bin/env bash
# N random points per conversion through the tools as built (fast evaluation) and through the
# plain build (GW_PLAIN_FILE_EVALUATION=ON); every output file and log must be identical byte for
# byte. Points cover the whole domain the converters accept: B, L over the globe with 10 decimals,
# heights from -1000 to 10000 m; the inverse projections take the plane coordinates of such points.
#
#   bench/identity.sh [N]        (default 10000000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
n=${1:-10000000}

gridwise=$(bash "$root/bench/build_cli.sh" gridwise-cli)
datumer=$(bash "$root/bench/build_cli.sh" datumer-cli)
gridwise_plain=$(PLAIN=1 bash "$root/bench/build_cli.sh" gridwise-cli)
datumer_plain=$(PLAIN=1 bash "$root/bench/build_cli.sh" datumer-cli)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir fast plain

awk -v n="$n" 'BEGIN { srand(1210);
    for (i = 1; i <= n; i++)
        printf "p%d,%.10f,%.10f,%.3f\n", i, 180 * rand() - 90, 360 * rand() - 180, 11000 * rand() - 1000 }' \
    > geo.txt
# Plane coordinates of the same points (|B| <= 89.9 so that every one converts back), both series.
awk -F, 'BEGIN { OFS = "," } { if ($2 > 89.9) $2 = 89.9; if ($2 < -89.9) $2 = -89.9; print }' geo.txt \
    > geo_inner.txt
"$gridwise_plain" convert --format txt --series 3 --plane-decimals 4 --no-progress geo_inner.txt >/dev/null
mv RECALC/geo_inner.txt plane3.txt
rmdir RECALC
"$gridwise_plain" convert --format txt --series 4 --plane-decimals 4 --no-progress geo_inner.txt >/dev/null
mv RECALC/geo_inner.txt plane4.txt
rmdir RECALC
awk -F, 'BEGIN { srand(1211); print "[IMG ID]"; print "Datum=S42"; print "[END-IMG ID]" }
    { group = sprintf("(%.5f,%.5f)", $2, $3);
      line = (NR % 10 == 1) ? "Data0=" group : line "," group;
      if (NR % 10 == 0) { print "[POLYLINE]"; print line; print "[END]" } }
    END { if (NR % 10 != 0) { print "[POLYLINE]"; print line; print "[END]" } }' geo.txt > map.mp
awk -F, 'BEGIN { print "Version 300"; print "CoordSys Earth Projection 1, 1001"; print "Columns 1";
    print "  Name Char(20)"; print "Data" }
    { if ((NR - 1) % 1000 == 0) { print "Pline 1000" } printf "%s %s\n", $3, $2 }' geo.txt > map.mif
# The last Pline must announce the points it has.
last=$(( (n - 1) % 1000 + 1 ))
if [ "$last" -ne 1000 ]; then
    line=$(grep -n '^Pline' map.mif | tail -1 | cut -d: -f1)
    sed -i "${line}s/.*/Pline $last/" map.mif
fi

failed=0
check() {  # label, source, arguments...
    local label=$1 source=$2
    shift 2
    for side in fast plain; do
        local tool=$gridwise
        case "$label,$side" in
            gridwise*,plain) tool=$gridwise_plain ;;
            datumer*,fast) tool=$datumer ;;
            datumer*,plain) tool=$datumer_plain ;;
        esac
        rm -rf "$side/RECALC" "$side/$source"
        ln -s "$work/$source" "$side/$source"
        "$tool" convert "$@" --no-progress "$side/$source" > "$side/log" 2>&1 || true
        sed -i "s|$work/$side/||g" "$side/log"
    done
    if cmp -s fast/log plain/log && cmp -s "fast/RECALC/$source" "plain/RECALC/$source"; then
        echo "identical: $label ($(wc -l < "fast/RECALC/$source") lines)"
    else
        echo "DIFFERENT: $label" >&2
        failed=1
    fi
}

check "gridwise B,L=>x,y 3-term" geo.txt --format txt --series 3
check "gridwise B,L=>x,y 4-term" geo.txt --format txt --series 4
check "gridwise B,L=>x,y 4-term UTM WGS84" geo.txt --format txt --series 4 --projection utm --system wgs84
check "gridwise x,y=>B,L 3-term" plane3.txt --format txt --direction to-geo --series 3
check "gridwise x,y=>B,L 4-term" plane4.txt --format txt --direction to-geo --series 4
check "datumer TXT preset 1" geo.txt --format txt --preset 1
check "datumer TXT preset 1 ellipsoidal" geo.txt --format txt --preset 1 --heights ellipsoidal
check "datumer TXT preset 6 ellipsoidal 7/2" geo.txt --format txt --preset 6 --heights ellipsoidal \
    --angle-decimals 7 --height-decimals 2
check "datumer MP preset 1" map.mp --format mp --preset 1
check "datumer MIF preset 1" map.mif --format mif --preset 1
exit $failed
