// How close the transformation comes to the exact geodetic coordinates: GeographicLib's
// geocentric conversions, exact to a few nanometres, convert the same points between the same
// ellipsoids with no shift, rotation or scale, so that every difference is this system's own
// (the geocentric step and the latitude iteration). The figure the transformation's header
// states is asserted here.

#include <gtest/gtest.h>

#ifdef GW_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geocentric.hpp>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "datumer/geodesy/presets.hpp"
#include "datumer/geodesy/transform.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// The accuracy the header of the transformation states, metres on the ground: the latitude
// iteration stops once a pass changes it by less than 1e-11 rad, 0.064 mm on the ground.
constexpr double kStatedAccuracy = 0.07e-3;

struct EllipsoidPair {
    const char* name;
    int source;  // ellipsoid numbers of the Datumer table
    int target;
};

// Ground distance between two points on the target ellipsoid, metres.
double GroundError(const GeodeticPoint& got, double B, double L, double H, double a) {
    double dL = got.L - L;
    if (dL > 180) dL -= 360;
    if (dL < -180) dL += 360;
    const double north = (got.B - B) * kDegree * a;
    const double east = dL * kDegree * a * std::cos(B * kDegree);
    return std::hypot(north, east, got.H - H);
}

TEST(TransformDatumAccuracy, WithinTheStatedTenthOfAMillimetreOfTheExactConversion) {
    const DatumerState state = MakeDatumerState();
    const EllipsoidPair pairs[] = {{"Krasovsky to Krasovsky", 1, 1},
                                   {"Krasovsky to WGS84", 1, 2},
                                   {"WGS84 to PZ-90.01", 2, 3},
                                   {"PZ-90.01 to GSK-2011", 3, 8}};
    for (const EllipsoidPair& pair : pairs) {
        const TELL& from = EllipsoidAt(state, pair.source);
        const TELL& to = EllipsoidAt(state, pair.target);
        DatumParams params;
        params.a1 = from.A;
        params.f1 = 1.0 / from.InvFlattening;
        params.a2 = to.A;
        params.f2 = 1.0 / to.InvFlattening;
        const GeographicLib::Geocentric source(from.A, params.f1), target(to.A, params.f2);
        double worst = 0.0;
        for (int b = -8995; b <= 8995; b += 37) {
            for (double L : {-179.99, -95.3, 0.0, 37.61, 90.0, 179.99}) {
                for (double H : {-1000.0, 0.0, 3000.0, 10000.0}) {
                    const double B = b / 100.0;
                    double X = 0, Y = 0, Z = 0, B2 = 0, L2 = 0, H2 = 0;
                    source.Forward(B, L, H, X, Y, Z);
                    target.Reverse(X, Y, Z, B2, L2, H2);
                    GeocentricShift shift;
                    GeodeticPoint got;
                    TransformDatum({B, L, H}, params, shift, got);
                    worst = std::max(worst, GroundError(got, B2, L2, H2, to.A));
                }
            }
        }
        EXPECT_LT(worst, kStatedAccuracy) << pair.name;
        RecordProperty(pair.name, std::to_string(worst));
    }
}

}  // namespace
}  // namespace datumer

#endif
