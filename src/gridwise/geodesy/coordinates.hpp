#pragma once
// The two kinds of point Gridwise converts between.

namespace gridwise {

// Geodetic latitude and longitude, decimal degrees, north and east positive.
struct GeoCoords {
    double B = 0.0;
    double L = 0.0;
};

// Plane coordinates, metres: x northing, y easting (the zone number may stand in its millions).
struct PlaneCoords {
    double x = 0.0;
    double y = 0.0;
};

}  // namespace gridwise
