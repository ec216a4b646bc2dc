// The seven-parameter transformation: the published example, round trips of every preset pair,
// the meridian of 180°, the equator, pole and geocentre branches and the ends of the latitude loop.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "datumer/geodesy/presets.hpp"
#include "datumer/geodesy/transform.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

constexpr double kEarthRadius = 6378137.0;
constexpr double kDegree = std::numbers::pi / 180.0;

GeodeticPoint Transform(const GeodeticPoint& source, const DatumParams& params,
                        GeocentricShift* shift = nullptr) {
    GeocentricShift ignored;
    GeodeticPoint target;
    TransformDatum(source, params, shift ? *shift : ignored, target);
    return target;
}

// Distance on the ground between two points, metres, good enough for millimetre checks.
double GroundDistance(const GeodeticPoint& a, const GeodeticPoint& b) {
    double dL = a.L - b.L;
    if (dL > 180) dL -= 360;
    if (dL < -180) dL += 360;
    const double north = (a.B - b.B) * kDegree * kEarthRadius;
    const double east = dL * kDegree * kEarthRadius * std::cos(a.B * kDegree);
    return std::hypot(north, east, a.H - b.H);
}

std::vector<GeodeticPoint> GridOfPoints() {
    std::vector<GeodeticPoint> points;
    for (double b : {-89.5, -60.0, -33.9, -0.0001, 0.0, 10.0, 55.0, 71.0, 89.9})
        for (double l : {-179.9, -120.0, -37.5, 0.0, 37.0, 100.0, 179.999})
            for (double h : {-1000.0, 0.0, 250.0, 10000.0}) points.push_back({b, l, h});
    return points;
}

DatumParams Identity(double a, double invF) {
    DatumParams p;
    p.a1 = p.a2 = a;
    p.f1 = p.f2 = 1.0 / invF;
    return p;
}

TEST(TransformDatum, WorkedExampleKrasovskyToWgs84) {
    const DatumerState state = MakeDatumerState();
    GeocentricShift shift;
    const GeodeticPoint t = Transform({55, 37, 0}, BuildDatumParams(state, 1), &shift);
    EXPECT_NEAR(t.B, 55.00001359438, 1e-10);
    EXPECT_NEAR(t.L, 36.9981568, 5e-8);
    EXPECT_NEAR(t.H, 4.946, 5e-4);
    EXPECT_NEAR(shift.dX, 23.622, 5e-4);
    EXPECT_NEAR(shift.dY, -129.893, 5e-4);
    EXPECT_NEAR(shift.dZ, -86.493, 5e-4);
}

// The first preset of each fixed pair; the row after it is its reverse.
std::vector<int> ForwardPresets() {
    std::vector<int> forward;
    for (int i = 1; i < kUserPreset; i += 2) forward.push_back(i);
    for (int i = kUserPreset + 1; i < kPresetCount; i += 2) forward.push_back(i);
    return forward;
}

// A reverse row holds the negated values, which undo the forward set only to first order; what
// is left over Russia is a few tenths of a millimetre.
TEST(TransformDatum, EveryPresetPairRoundTripsBelowAMillimetre) {
    const DatumerState state = MakeDatumerState();
    for (int forward : ForwardPresets()) {
        const DatumParams there = BuildDatumParams(state, forward);
        const DatumParams back = BuildDatumParams(state, forward + 1);
        for (const GeodeticPoint& p : GridOfPoints()) {
            const GeodeticPoint q = Transform(Transform(p, there), back);
            EXPECT_LT(GroundDistance(p, q), 0.001)
                << "preset " << forward << " at " << p.B << ", " << p.L << ", " << p.H;
        }
    }
}

TEST(TransformDatum, IdentityKeepsPointsNearThePolesAndTheMeridiansOf90) {
    // Within metres of the axis or of the meridians of ±90° an arcsine of a ratio near 1 would
    // keep only a few digits of the angle.
    const DatumParams identity = Identity(6378137, 298.257223563);
    for (const GeodeticPoint& p :
         {GeodeticPoint{89.9999999, 37, 0}, GeodeticPoint{-89.99999999, -120, 50},
          GeodeticPoint{89.999999999, 179.5, 0}, GeodeticPoint{55, 90.0000001, 0},
          GeodeticPoint{-41, -89.99999999, 100}, GeodeticPoint{70, 90, 0}}) {
        const GeodeticPoint q = Transform(p, identity);
        EXPECT_NEAR(q.B, p.B, 1e-11 / kDegree) << p.B << ", " << p.L;
        EXPECT_NEAR(q.L * std::cos(p.B * kDegree), p.L * std::cos(p.B * kDegree), 1e-10)
            << p.B << ", " << p.L;
        EXPECT_NEAR(q.H, p.H, 1e-6) << p.B << ", " << p.L;
    }
}

TEST(TransformDatum, IdentityReturnsTheInput) {
    for (const auto& [a, invF] :
         {std::pair{6378245.0, 298.3}, std::pair{6378137.0, 298.257223563}}) {
        for (const GeodeticPoint& p : GridOfPoints()) {
            const GeodeticPoint q = Transform(p, Identity(a, invF));
            EXPECT_NEAR(q.B, p.B, 1e-11 / kDegree) << p.B << ", " << p.L;
            EXPECT_NEAR(q.L, p.L, 1e-11) << p.B << ", " << p.L;
            EXPECT_NEAR(q.H, p.H, 1e-6) << p.B << ", " << p.L;
        }
    }
}

TEST(TransformDatum, CrossesTheMeridianOf180AndNeverGivesMinus180) {
    const DatumerState state = MakeDatumerState();
    EXPECT_NEAR(Transform({45, 179.999, 0}, BuildDatumParams(state, 1)).L, -179.99898, 5e-6);
    // -180 on the source side lands on the same meridian, which is named +180.
    EXPECT_EQ(Transform({50, -180, 0}, Identity(6378245, 298.3)).L, 180.0);
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        for (double l = 179.99; l <= 180.0; l += 0.0005) {
            for (double sign : {1.0, -1.0}) {
                const double L2 = Transform({45, sign * l, 0}, BuildDatumParams(state, preset)).L;
                EXPECT_GT(L2, -180.0) << preset << " " << sign * l;
                EXPECT_LE(L2, 180.0) << preset << " " << sign * l;
            }
        }
    }
}

TEST(TransformDatum, SameEllipsoidPresetsMoveThePointSlightly) {
    const DatumerState state = MakeDatumerState();
    for (int preset : {7, 8}) {
        for (const GeodeticPoint& p :
             {GeodeticPoint{55, 37, 0}, GeodeticPoint{43, 131, 500}, GeodeticPoint{68, 33, 100}}) {
            const GeodeticPoint q = Transform(p, BuildDatumParams(state, preset));
            const double dB = std::fabs(q.B - p.B) * 3600, dL = std::fabs(q.L - p.L) * 3600;
            // Ten metres of shift and two thirds of a second of rotation: tenths of a second.
            EXPECT_LT(dB, 1.0) << preset;
            EXPECT_LT(dL, 1.0) << preset;
            EXPECT_GT(dB + dL, 0.01) << preset;
            EXPECT_LT(std::fabs(q.H - p.H), 10.0) << preset;
        }
    }
}

TEST(TransformDatum, UserPresetAtStartTransformsLikePresetOne) {
    const DatumerState state = MakeDatumerState();
    for (const GeodeticPoint& p : GridOfPoints()) {
        const GeodeticPoint a = Transform(p, BuildDatumParams(state, 1));
        const GeodeticPoint b = Transform(p, BuildDatumParams(state, kUserPreset));
        EXPECT_EQ(a.B, b.B);
        EXPECT_EQ(a.L, b.L);
        EXPECT_EQ(a.H, b.H);
    }
}

TEST(TransformDatum, EquatorTakesTheDirectBranch) {
    const DatumParams p = Identity(6378245, 298.3);
    const GeodeticPoint q = Transform({0, 37, 123.456}, p);
    EXPECT_EQ(q.B, 0.0);
    EXPECT_NEAR(q.L, 37.0, 1e-12);
    EXPECT_NEAR(q.H, 123.456, 1e-8);
}

// A spherical source with H = -a puts the point exactly at the geocentre; a shift along Z then
// leaves it exactly on the axis.
DatumParams FromGeocentre(double dz) {
    DatumParams p;
    p.a1 = 6378245;
    p.f1 = 0;
    p.a2 = 6378137;
    p.f2 = 1 / 298.257223563;
    p.DZ = dz;
    return p;
}

TEST(TransformDatum, PointsOnTheAxisGetAPole) {
    const double semiMinor = 6378137 * (1 - 1 / 298.257223563);
    for (double dz : {1000.0, -1000.0}) {
        GeocentricShift shift;
        const GeodeticPoint q = Transform({45, 10, -6378245}, FromGeocentre(dz), &shift);
        EXPECT_NEAR(q.B, dz > 0 ? 90.0 : -90.0, 1e-9);
        EXPECT_EQ(q.L, 0.0);
        EXPECT_NEAR(q.H, 1000.0 - semiMinor, 1e-6);
        EXPECT_EQ(shift.dZ, dz);
    }
}

TEST(TransformDatum, GeocentreGivesZeroLatitudeLongitudeAndMinusA) {
    const GeodeticPoint q = Transform({45, 10, -6378245}, FromGeocentre(0));
    EXPECT_EQ(q.B, 0.0);
    EXPECT_EQ(q.L, 0.0);
    EXPECT_EQ(q.H, -6378137.0);
}

TEST(TransformDatum, LatitudeLoopEndsForEveryInput) {
    // An ellipsoid far outside the accepted ones makes the iteration oscillate without settling.
    DatumParams wild = Identity(6378137, 298.257223563);
    wild.f2 = 0.9;
    const GeodeticPoint q = Transform({45, 10, 0}, wild);
    EXPECT_GE(q.B, -90.0);
    EXPECT_LE(q.B, 90.0);

    const GeodeticPoint nan = Transform({std::nan(""), 10, 0}, Identity(6378137, 298.257223563));
    EXPECT_TRUE(std::isnan(nan.B));
}

}  // namespace
}  // namespace datumer
