#pragma once
// The seven-parameter datum transformation: geodetic coordinates on the source ellipsoid to
// geocentric rectangular coordinates, three shifts, three small rotations and one scale
// difference after ГОСТ Р 51794-2001, and back to geodetic coordinates on the target ellipsoid by
// the iterative latitude procedure of the same standard. Arithmetic is carried in long double.
//
// Accuracy: the iteration stops once a pass changes the latitude by less than 1e-11 rad and keeps
// the latitude of the pass before, so a result lies within 0.07 mm on the ground of the exact
// conversion between the two ellipsoids (heights -1 to 10 km, every latitude and longitude;
// measured against GeographicLib's geocentric conversions by the accuracy test).

namespace datumer {

// A geodetic point: B, L in decimal degrees (north, east positive), H in metres above the
// ellipsoid.
struct GeodeticPoint {
    double B = 0.0;
    double L = 0.0;
    double H = 0.0;
};

// The operand of the transformation, built from a preset by BuildDatumParams.
struct DatumParams {
    double DX = 0.0;  // shift along X, m
    double DY = 0.0;  // shift along Y, m
    double DZ = 0.0;  // shift along Z, m
    double WX = 0.0;  // rotation about X, radians
    double WY = 0.0;  // rotation about Y, radians
    double WZ = 0.0;  // rotation about Z, radians
    double M = 0.0;   // scale difference; the scale factor is 1 + M
    double a1 = 0.0;  // semi-major axis of the source ellipsoid, m
    double f1 = 0.0;  // flattening of the source ellipsoid (f, not 1/f)
    double a2 = 0.0;  // semi-major axis of the target ellipsoid, m
    double f2 = 0.0;  // flattening of the target ellipsoid
};

// Geocentric coordinates of a point after the transformation minus those before, m: the local
// three-parameter equivalent (dX, dY, dZ) of the transformation at that point.
struct GeocentricShift {
    double dX = 0.0;
    double dY = 0.0;
    double dZ = 0.0;
};

// The latitude loop stops after this many passes even when it has not settled (Earth-sized
// ellipsoids settle in three to five); a NaN input stops it at once.
inline constexpr int kMaxLatitudePasses = 100;

// Pure function, never fails; both outputs are always written. target.L lies in (-180, 180],
// target.B in [-90, 90]. The geocentre gives B = 0, L = 0, H = -a2. Input ranges are the
// caller's (the point screen admits |B| <= 90, |L| <= 180, -1000 <= H <= 10000).
void TransformDatum(const GeodeticPoint& source, const DatumParams& params, GeocentricShift& shift,
                    GeodeticPoint& target);

}  // namespace datumer
