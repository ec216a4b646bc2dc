#pragma once
// Transverse Mercator projection on a reference ellipsoid, geodetic B, L <-> plane x, y, in two
// variants: the classic Gauss-Krueger power series in the longitude difference (three terms per
// coordinate) and Krueger's series in the third flattening n (four terms). The same operations
// serve Gauss-Krueger (k0 = 1, zones from 0 deg) and UTM (k0 = 0.9996, zones from 180 deg), the
// standard six-degree grid and a user central meridian (SK63).
// Against an exact transverse Mercator (docs/accuracy.md), |l| <= 3 deg: classic 0.11 mm forward,
// 0.4 mm inverse, Krueger 0.013 mm; |l| to 9 deg: classic up to 0.19 m / 0.83 m, Krueger 0.013 mm.
//
// All intermediate arithmetic is in long double; arguments and results are doubles. The
// operations read no process-wide state. Failure clears `ok`, which the caller sets to true
// beforehand; the numbers are still returned.
//
// Deviations kept on purpose:
// - FootpointLatitude is a bisection that stops once the arc is within 0.0001 m of X. The
//   published dSH figures carry that stopping rule, so it is not replaced by an exact inverse.
// - At or beyond the quarter meridian the bisection continues past the pole (the result exceeds
//   90 deg), so the classic inverse returns and reports |B| > 90 as a failure.
// - A non-finite input or result clears ok, so NaN never passes as a valid coordinate.

#include "gridwise/geodesy/coordinates.hpp"
#include "gridwise/geodesy/ellipsoid.hpp"
#include "gridwise/state.hpp"

namespace gridwise {

// Scale of lengths and meridian convergence (signed decimal degrees) at the point.
struct AuxValues {
    double scale = 1.0;
    double convergence = 0.0;
};

// Everything a conversion depends on besides the point and the ellipsoid.
struct ProjectionSettings {
    // GeoToPlane: add zone number x 1 000 000 to y. PlaneToGeo: add the central meridian to L.
    bool addZoneNumber = true;
    bool kruger = false;  // false classic 3-term series, true 4-term Krueger series
    bool utm = false;
    bool userMeridian = false;
    int sk63Zone = 0;              // zone prefix when userMeridian (GeoToPlane only)
    double centralMeridian = 0.0;  // decimal degrees, used when userMeridian
    int zoneShift = 0;             // 0, -1 left, +1 right neighbour zone (GeoToPlane only)
    double falseEasting = 500000.0;
    double falseNorthing = 0.0;
};

// The settings the point screen passes: the fields of Work and the chosen series.
ProjectionSettings SettingsFromWork(const TWorkStructure& work, int algorithm);

// UTM scale on the central meridian.
inline constexpr long double kUtmScale = 0.9996L;
// Largest |x| (after the UTM scale, before the false northing) GeoToPlane accepts.
inline constexpr double kMaxNorthing = 11000000.0;
// Ordinate limits before the false easting: [-500 000, 500 000).
inline constexpr double kOrdinateLimit = 500000.0;
// Weight of the zone number in an ordinate.
inline constexpr double kZoneWeight = 1000000.0;

// Length in metres of the meridian arc from the equator to latitude B (radians), Helmert's
// series.
double MeridianArc(const TEllConst& ell, double B);
long double MeridianArcExtended(const TEllConst& ell, long double B);

// The latitude in radians whose meridian arc equals X (metres), by bisection to 0.0001 m.
// Negative X gives the negated latitude. At or beyond the quarter meridian the result lies
// past the pole (more than pi/2); the search is bounded for any finite X.
double FootpointLatitude(const TEllConst& ell, double X);
long double FootpointLatitudeExtended(const TEllConst& ell, long double X);

// The series of one variant, in the zone and before the UTM scale and the false origin: the
// forward one from latitude Br and longitude difference l (radians) to x, y; the inverse one
// from x, y to latitude B and longitude difference l (radians). Exchangeable for evaluations
// that give the same doubles faster; the plain ones below are the reference.
//
// A kernel may return values that differ from the plain series' by at most the bounds it gives
// with them (0: exactly the plain values). GeoToPlane and PlaneToGeo keep such a result only
// when every value within the bounds ends as the same double with the same verdict, and
// otherwise evaluate the plain series, so the doubles are always those of the plain series.
struct ZonePlane {
    long double x = 0.0L, y = 0.0L;
    long double xError = 0.0L, yError = 0.0L;  // metres
};
struct ZoneGeo {
    long double B = 0.0L, l = 0.0L;
    long double BError = 0.0L, lError = 0.0L;  // radians
};
struct SeriesKernels {
    ZonePlane (*forward)(const TEllConst& ell, long double Br, long double l);
    ZoneGeo (*inverse)(const TEllConst& ell, long double x, long double y);
    // Tried where these kernels' bounds leave the result open, before the plain series.
    const SeriesKernels* next = nullptr;
};
// writtenDecimals of a caller that needs the plain series' doubles themselves.
inline constexpr int kDoublesKept = -1;
// The classic (kruger false) or Krueger series as written.
const SeriesKernels& PlainSeries(bool kruger);

// B, L -> x, y. With `aux` given, also the scale and convergence at the point. Clears ok when
// x exceeds 11 000 000 m, when y lies outside [-500 000, 500 000) before the false easting (y
// is then returned without false easting and zone number), or for a non-finite value.
PlaneCoords GeoToPlane(const GeoCoords& point, const TEllConst& ell,
                       const ProjectionSettings& settings, bool& ok, AuxValues* aux = nullptr);
// The same with the given series instead of the one settings.kruger names.
// With writtenDecimals >= 0 the result is for a file that writes it with that many decimals: a
// kernel's value is then kept when every value within its bounds writes the same text with the
// same verdict (the doubles may differ from the plain ones; the text does not).
PlaneCoords GeoToPlane(const GeoCoords& point, const TEllConst& ell,
                       const ProjectionSettings& settings, bool& ok, const SeriesKernels& kernels,
                       AuxValues* aux = nullptr, int writtenDecimals = kDoublesKept);

// x, y -> B, L. With `aux` given, also the scale and convergence at the result. Clears ok when
// |B| > 90, |L| > 180 or a value is not finite. Without addZoneNumber (and without a user
// meridian) L is the difference from the central meridian.
GeoCoords PlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                     const ProjectionSettings& settings, bool& ok, AuxValues* aux = nullptr);
GeoCoords PlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                     const ProjectionSettings& settings, bool& ok, const SeriesKernels& kernels,
                     AuxValues* aux = nullptr, int writtenDecimals = kDoublesKept);

}  // namespace gridwise
