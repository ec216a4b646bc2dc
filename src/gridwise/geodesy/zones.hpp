#pragma once
// Zones of the transverse Mercator grid and the lengthening of a 1000 m meridian arc.
//
// Standard grid: six-degree zones, zone n spanning 6(n-1)..6n deg east of Greenwich counted in
// [0, 360); UTM numbers the same strips from 180 deg (n - 30, plus 60 when 0 or less). A zone
// shift of -1 or +1 projects the point in the western or eastern neighbour zone (0 becomes 60,
// 61 becomes 1). SK63 and other user meridians carry a zone number chosen by the user instead.

#include "gridwise/geodesy/ellipsoid.hpp"
#include "gridwise/geodesy/projection.hpp"

namespace gridwise {

// The zone of a point and the longitude difference from the central meridian used for it.
struct ZoneOfPoint {
    int zone = 0;           // standard grid: 1..60 (the prefix when addZoneNumber)
    long double dL = 0.0L;  // longitude difference, degrees
    bool valid = true;      // false for a non-finite or absurdly large longitude
};

// B,L -> x,y: the zone and longitude difference GeoToPlane uses. With userMeridian the zone is
// sk63Zone and dL = L - centralMeridian, both longitudes taken into [0, 360) when negative.
ZoneOfPoint ZoneForLongitude(double L, const ProjectionSettings& settings);

// The zone of a standard grid ordinate: the integer part of y / 1 000 000 (toward zero), plus
// 30 for UTM (minus 60 above 60). An ordinate below 1 000 000 is zone 0 (UTM: 30).
struct ZoneOfOrdinate {
    int written = 0;       // the number in the millions of y, as the projection numbers zones
    int grid = 0;          // the Gauss-Krueger number of the same strip (UTM: written + 30)
    double yInZone = 0.0;  // y with the millions of the zone removed
    bool valid = true;     // false for a non-finite or absurdly large ordinate
};
ZoneOfOrdinate ZoneForOrdinate(double y, bool utm);

// Central meridian of Gauss-Krueger zone n, degrees: 6n - 3 (for a UTM zone pass the grid
// number ZoneForOrdinate returns). Zone 0 gives -3.
double ZoneCentralMeridian(int zone);

// The lengthening in metres of a 1000 m meridian arc ending at latitude B (degrees) when a and
// b are raised by 1000 m. Shown, times 1000, as "dSH (1000 м)".
double MeridianArcGain1000(const TEllConst& ell, double B);

}  // namespace gridwise
