// The projection against its published figures, against itself (round trips, the two series)
// and, where GeographicLib is installed, against an exact transverse Mercator.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "gridwise/geodesy/projection.hpp"
#include "gridwise/geodesy/zones.hpp"
#include "gridwise/state.hpp"

#ifdef GW_HAVE_GEOGRAPHICLIB
#include <GeographicLib/TransverseMercatorExact.hpp>
#endif

namespace gridwise {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

TEllConst Ellipsoid(int number) {
    return DeriveEllipsoid(MakeGridwiseState().Ellipsoids[number]);
}

ProjectionSettings Gk(bool kruger) {
    ProjectionSettings s;
    s.kruger = kruger;
    return s;
}

// The published worked examples, one named row each: the plane point to the millimetre, and the
// way back to the geodetic point within the inverse series' accuracy on the ground.
struct WorkedExample {
    const char* name;  // the row's name in the test list
    int ellipsoid;
    ProjectionSettings settings;
    GeoCoords point;
    bool ok;
    double x, y;  // metres; x is not published for a neighbour zone
};

ProjectionSettings Variant(bool kruger, bool addZoneNumber, int zoneShift, bool utm) {
    ProjectionSettings s = Gk(kruger);
    s.addZoneNumber = addZoneNumber;
    s.zoneShift = zoneShift;
    s.utm = utm;
    return s;
}

const WorkedExample kWorkedExamples[] = {
    {"55N37E_Classic", 1, Gk(false), {55, 37}, true, 6099167.239, 7372018.491},
    {"55N37E_Kruger", 1, Gk(true), {55, 37}, true, 6099167.239, 7372018.491},
    {"55N37E_NoZoneNumber",
     1,
     Variant(false, false, 0, false),
     {55, 37},
     true,
     6099167.239,
     372018.491},
    {"55N37E_LeftZone", 1, Variant(false, true, -1, false), {55, 37}, true, 0, 6755909.650},
    {"55N37E_RightZoneFails", 1, Variant(false, true, 1, false), {55, 37}, false, 0, -511388.927},
    {"55N37E_Wgs84UtmKruger",
     2,
     Variant(true, true, 0, true),
     {55, 37},
     true,
     6096620.706,
     37372071.809},
    {"55N39E_CentralMeridian", 1, Gk(false), {55, 39}, true, 6097337.192, 7500000.000},
};

// Published figures are given to the millimetre.
constexpr double kPublishedRounding = 0.0006;  // metres
// The classic inverse series on the ground: within its zone, and four degrees out in a
// neighbour zone (its truncation, confirmed against an exact inverse).
constexpr double kInverseInZone = 0.0002;         // metres
constexpr double kInverseFourDegreesOut = 0.012;  // metres

// The distance on the ground, metres, between two nearby points.
double GroundDistance(const GeoCoords& a, const GeoCoords& b) {
    constexpr double kMetresPerDegree = 111195.0;
    const double dL = std::remainder(a.L - b.L, 360.0) * std::cos(a.B * kDeg);
    return std::hypot(a.B - b.B, dL) * kMetresPerDegree;
}

class WorkedExampleTest : public testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExampleTest, PlanePointAndBack) {
    const WorkedExample& c = GetParam();
    bool ok = true;
    const PlaneCoords p = GeoToPlane(c.point, Ellipsoid(c.ellipsoid), c.settings, ok);
    EXPECT_EQ(ok, c.ok);
    if (c.settings.zoneShift == 0) {
        EXPECT_NEAR(p.x, c.x, kPublishedRounding);
    }
    EXPECT_NEAR(p.y, c.y, kPublishedRounding);
    if (!ok) return;
    bool backOk = true;
    const GeoCoords g = PlaneToGeo(p, Ellipsoid(c.ellipsoid), c.settings, backOk);
    EXPECT_TRUE(backOk);
    const GeoCoords expected{c.point.B, c.settings.addZoneNumber ? c.point.L : c.point.L - 39.0};
    EXPECT_LT(GroundDistance(g, expected),
              c.settings.zoneShift != 0 ? kInverseFourDegreesOut : kInverseInZone);
}

INSTANTIATE_TEST_SUITE_P(GeoToPlane, WorkedExampleTest, testing::ValuesIn(kWorkedExamples),
                         [](const testing::TestParamInfo<WorkedExample>& info) {
                             return std::string("WorkedExample_") + info.param.name;
                         });

TEST(GeoToPlane, AuxiliaryValuesOfTheWorkedExamples) {
    struct Case {
        int ellipsoid;
        bool utm;
        double scale, convergence;
    } cases[] = {{1, false, 1.00020086, -1.6385245}, {2, true, 0.99980078, -1.6385245}};
    for (const Case& c : cases) {
        ProjectionSettings s = Gk(true);
        s.utm = c.utm;
        bool ok = true;
        AuxValues aux;
        GeoToPlane({55, 37}, Ellipsoid(c.ellipsoid), s, ok, &aux);
        EXPECT_NEAR(aux.scale, c.scale, 5e-9);
        EXPECT_NEAR(aux.convergence, c.convergence, 5e-8);
    }
}

TEST(MeridianArc, FiftyFiveDegreesOnKrasovsky) {
    EXPECT_NEAR(MeridianArc(Ellipsoid(1), 55 * kDeg), 6097337.192, 0.0005);
    EXPECT_NEAR(MeridianArc(Ellipsoid(1), std::numbers::pi / 2), 10002137.5, 0.05);
}

TEST(PlaneToGeo, WithoutZoneNumberGivesTheDifferenceFromTheCentralMeridian) {
    ProjectionSettings s = Gk(false);
    s.addZoneNumber = false;
    bool ok = true;
    const GeoCoords g = PlaneToGeo({6099167.239, 372018.491}, Ellipsoid(1), s, ok);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(g.B, 55.0, 1e-7);
    EXPECT_NEAR(g.L, -2.0, 1e-7);
}

// A settings variant of the round-trip grid: the longitudes it covers and the ground distance
// a round trip may be off. The classic series loses accuracy far from the central meridian, so
// its neighbour-zone variants (up to 9 degrees out) get a looser bound.
struct RoundTripVariant {
    std::string name;
    ProjectionSettings settings;
    int ellipsoid;
    double fromL, toL;
    double tolerance;  // metres on the ground
};

std::vector<RoundTripVariant> RoundTripVariants() {
    std::vector<RoundTripVariant> variants;
    for (bool kruger : {false, true}) {
        const std::string series = kruger ? "kruger " : "classic ";
        for (int shift : {0, -1, 1}) {
            for (bool utm : {false, true}) {
                ProjectionSettings s = Gk(kruger);
                s.utm = utm;
                s.zoneShift = shift;
                const double tolerance = shift == 0 || kruger ? 0.001 : 1.0;
                variants.push_back(
                    {series + (utm ? "utm" : "gk") + " shift " + std::to_string(shift), s,
                     utm ? 2 : 1, -179.0, 179.0, tolerance});
            }
        }
        ProjectionSettings sk63 = Gk(kruger);
        sk63.userMeridian = true;
        sk63.sk63Zone = 7;
        sk63.falseEasting = 250000;
        // Within 2 degrees the ordinate stays above the false easting of 250 km can absorb, so
        // the zone prefix in its millions reads back unchanged.
        for (double meridian : {38.5, -75.25, 179.5}) {
            sk63.centralMeridian = meridian;
            variants.push_back({series + "sk63 " + std::to_string(meridian), sk63, 1,
                                meridian - 2.0, meridian + 2.0, 0.001});
        }
    }
    return variants;
}

TEST(Projection, RoundTripsOverAGrid) {
    for (const RoundTripVariant& v : RoundTripVariants()) {
        SCOPED_TRACE(v.name);
        const TEllConst ell = Ellipsoid(v.ellipsoid);
        int converted = 0;
        for (double B = -80.0; B <= 80.0; B += 8.0) {
            for (double L = v.fromL; L <= v.toL; L += 1.3) {
                bool ok = true;
                const PlaneCoords p = GeoToPlane({B, L}, ell, v.settings, ok);
                if (!ok) continue;
                ++converted;
                bool backOk = true;
                const GeoCoords g = PlaneToGeo(p, ell, v.settings, backOk);
                EXPECT_TRUE(backOk) << B << " " << L;
                const double error = GroundDistance(g, {B, L});
                EXPECT_LT(error, v.tolerance) << B << " " << L;
            }
        }
        EXPECT_GT(converted, 40);
    }
}

TEST(Projection, TheTwoSeriesAgreeWithinAZone) {
    const TEllConst ell = Ellipsoid(1);
    for (double B = -80.0; B <= 84.0; B += 4.0) {
        for (double dL = -3.0; dL <= 3.0; dL += 0.5) {
            bool ok = true;
            const GeoCoords point{B, 39.0 + dL};
            const PlaneCoords classic = GeoToPlane(point, ell, Gk(false), ok);
            const PlaneCoords kruger = GeoToPlane(point, ell, Gk(true), ok);
            ASSERT_TRUE(ok);
            EXPECT_NEAR(classic.x, kruger.x, 0.01) << B << " " << dL;
            EXPECT_NEAR(classic.y, kruger.y, 0.01) << B << " " << dL;
            const GeoCoords back1 = PlaneToGeo(classic, ell, Gk(false), ok);
            const GeoCoords back2 = PlaneToGeo(classic, ell, Gk(true), ok);
            EXPECT_NEAR(back1.B, back2.B, 1e-8);
            EXPECT_NEAR(back1.L, back2.L, 1e-8);
        }
    }
}

#ifdef GW_HAVE_GEOGRAPHICLIB
TEST(Projection, AgreesWithAnExactTransverseMercator) {
    const TEll krasovsky = MakeGridwiseState().Ellipsoids[1];
    const GeographicLib::TransverseMercatorExact exact(krasovsky.A, 1.0 / krasovsky.InvFlattening,
                                                       1.0);
    const TEllConst ell = Ellipsoid(1);
    for (bool kruger : {false, true}) {
        SCOPED_TRACE(kruger ? "kruger" : "classic");
        ProjectionSettings s = Gk(kruger);
        s.addZoneNumber = false;
        s.falseEasting = 0.0;
        for (double B = -84.0; B <= 84.0; B += 6.0) {
            for (double dL = -3.0; dL < 3.0; dL += 0.75) {
                double x = 0, y = 0, gamma = 0, k = 0;
                exact.Forward(39.0, B, 39.0 + dL, y, x, gamma, k);
                bool ok = true;
                AuxValues aux;
                const PlaneCoords p = GeoToPlane({B, 39.0 + dL}, ell, s, ok, &aux);
                ASSERT_TRUE(ok);
                const double tolerance = kruger ? 0.001 : 0.01;
                EXPECT_NEAR(p.x, x, tolerance) << B << " " << dL;
                EXPECT_NEAR(p.y, y, tolerance) << B << " " << dL;
                EXPECT_NEAR(aux.scale, k, 1e-6) << B << " " << dL;
                EXPECT_NEAR(aux.convergence, gamma, 1e-5) << B << " " << dL;
            }
        }
    }
}

// The figures docs/accuracy.md and the projection header give, with a margin: inside the zone
// both series within half a millimetre, and Krueger's also over the neighbour band to 9 deg,
// forward and inverse (the inverse measured back on the plane), on both ellipsoids.
TEST(Projection, SeriesStayWithinTheirStatedAccuracy) {
    struct Case {
        const char* name;
        int ellipsoid;
        bool kruger;
        double maxL;  // degrees from the central meridian
        double limitMm;
    } cases[] = {{"classic, zone, Krasovsky", 1, false, 3.0, 0.5},
                 {"classic, zone, WGS84", 2, false, 3.0, 0.5},
                 {"kruger, band, Krasovsky", 1, true, 9.0, 0.02},
                 {"kruger, band, WGS84", 2, true, 9.0, 0.02}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TEll tell = MakeGridwiseState().Ellipsoids[c.ellipsoid];
        const GeographicLib::TransverseMercatorExact exact(tell.A, 1.0 / tell.InvFlattening, 1.0);
        const TEllConst ell = Ellipsoid(c.ellipsoid);
        const SeriesKernels& series = PlainSeries(c.kruger);
        for (double B = 0.0; B <= 84.0; B += 7.0) {
            for (double l = 0.0; l <= c.maxL + 1e-9; l += c.maxL / 6.0) {
                double x = 0, y = 0, gamma = 0, k = 0;
                exact.Forward(0.0, B, l, y, x, gamma, k);
                const ZonePlane plane = series.forward(ell, B * kDeg, l * kDeg);
                EXPECT_LT(
                    std::hypot(static_cast<double>(plane.x) - x, static_cast<double>(plane.y) - y) *
                        1000.0,
                    c.limitMm)
                    << B << " " << l;
                const ZoneGeo geo = series.inverse(ell, x, y);
                double xBack = 0, yBack = 0;
                exact.Forward(0.0, static_cast<double>(geo.B) / kDeg,
                              static_cast<double>(geo.l) / kDeg, yBack, xBack, gamma, k);
                EXPECT_LT(std::hypot(xBack - x, yBack - y) * 1000.0, c.limitMm) << B << " " << l;
            }
        }
    }
}
#endif

TEST(FootpointLatitude, BeyondTheQuarterMeridianContinuesPastThePole) {
    const TEllConst ell = Ellipsoid(1);
    const double quarter = MeridianArc(ell, std::numbers::pi / 2);
    struct Case {
        double X;
        double minDegrees, maxDegrees;
    } cases[] = {{quarter, 89.9999, 90.0001},
                 {11000000.0, 90.5, 99.5},
                 {21000000.0, 180.5, 200.0},
                 {-11000000.0, -99.5, -90.5},
                 {1.0e30, 1.0e6, std::numeric_limits<double>::max()}};
    for (const Case& c : cases) {
        const double B = FootpointLatitude(ell, c.X) / kDeg;
        EXPECT_GE(B, c.minDegrees) << c.X;
        EXPECT_LE(B, c.maxDegrees) << c.X;
    }
    // Continued past the pole the arc is still inverted: the arc of the result gives X back.
    EXPECT_NEAR(MeridianArc(ell, FootpointLatitude(ell, 11000000.0)), 11000000.0, 0.0001);
}

TEST(PlaneToGeo, AnAbscissaBeyondThePoleFailsInBothSeries) {
    ProjectionSettings s = Gk(false);
    for (bool kruger : {false, true}) {
        s.kruger = kruger;
        for (const PlaneCoords p :
             {PlaneCoords{11000000.0, 7500000.0}, PlaneCoords{-11000000.0, 7400000.0},
              PlaneCoords{10100000.0, 7600000.0}}) {
            bool ok = true;
            const GeoCoords g = PlaneToGeo(p, Ellipsoid(1), s, ok);
            EXPECT_FALSE(ok) << kruger << " " << p.x;
            EXPECT_GT(std::fabs(g.B), 90.0) << kruger << " " << p.x;
        }
        bool ok = true;
        PlaneToGeo({9990000.0, 7500000.0}, Ellipsoid(1), s, ok);
        EXPECT_TRUE(ok) << "just below the pole";
    }
}

TEST(Projection, NonFiniteInputsNeverPassAsValid) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TEllConst ell = Ellipsoid(1);
    for (bool kruger : {false, true}) {
        const ProjectionSettings s = Gk(kruger);
        for (const GeoCoords g :
             {GeoCoords{nan, 37}, GeoCoords{55, nan}, GeoCoords{55, inf}, GeoCoords{55, 1e300}}) {
            bool ok = true;
            GeoToPlane(g, ell, s, ok);
            EXPECT_FALSE(ok) << g.B << " " << g.L;
        }
        for (const PlaneCoords p : {PlaneCoords{nan, 7372018.0}, PlaneCoords{6e6, nan},
                                    PlaneCoords{6e6, inf}, PlaneCoords{6e6, 1e300}}) {
            bool ok = true;
            PlaneToGeo(p, ell, s, ok);
            EXPECT_FALSE(ok) << p.x << " " << p.y;
        }
    }
}

// Kernels that shift the plain series' values by a set amount and claim a set bound, to show
// what the projection does with a bounded result.
struct ShiftedKernel {
    static inline long double shift = 0.0L, bound = 0.0L;
    static ZonePlane Forward(const TEllConst& ell, long double Br, long double l) {
        ZonePlane p = PlainSeries(true).forward(ell, Br, l);
        return {p.x + shift, p.y + shift, bound, bound};
    }
    static ZoneGeo Inverse(const TEllConst& ell, long double x, long double y) {
        ZoneGeo g = PlainSeries(true).inverse(ell, x, y);
        return {g.B + shift, g.l + shift, bound, bound};
    }
};
constexpr SeriesKernels kShifted{ShiftedKernel::Forward, ShiftedKernel::Inverse};

TEST(Projection, ABoundedKernelResultIsKeptOnlyWhenItsBoundCannotChangeTheDouble) {
    const TEllConst ell = Ellipsoid(1);
    const ProjectionSettings settings = Gk(true);
    const GeoCoords point{55.0, 37.0};
    bool ok = true;
    const PlaneCoords plain = GeoToPlane(point, ell, settings, ok);
    const GeoCoords plainGeo = PlaneToGeo(plain, ell, settings, ok);
    ASSERT_TRUE(ok);
    // A quarter metre (or a millionth of a radian) off with a tiny bound: kept as it is.
    ShiftedKernel::shift = 0.25L;
    ShiftedKernel::bound = 1e-11L;
    bool okKept = true;
    EXPECT_NEAR(GeoToPlane(point, ell, settings, okKept, kShifted).x, plain.x + 0.25, 1e-6);
    ShiftedKernel::shift = 1e-6L;
    ShiftedKernel::bound = 1e-20L;
    EXPECT_NEAR(PlaneToGeo(plain, ell, settings, okKept, kShifted).B, plainGeo.B + 1e-6 / kDeg,
                1e-9);
    EXPECT_TRUE(okKept);
    // The same values with a bound that spans several doubles: the plain series decides.
    ShiftedKernel::shift = 0.25L;
    ShiftedKernel::bound = 1.0L;
    bool okPlain = true;
    const PlaneCoords decided = GeoToPlane(point, ell, settings, okPlain, kShifted);
    EXPECT_EQ(decided.x, plain.x);
    EXPECT_EQ(decided.y, plain.y);
    ShiftedKernel::shift = 1e-6L;
    ShiftedKernel::bound = 1e-5L;
    const GeoCoords decidedGeo = PlaneToGeo(plain, ell, settings, okPlain, kShifted);
    EXPECT_EQ(decidedGeo.B, plainGeo.B);
    EXPECT_EQ(decidedGeo.L, plainGeo.L);
    EXPECT_TRUE(okPlain);
    // An infinite bound, or a value that is not finite, always leaves it to the plain series.
    ShiftedKernel::shift = 0.0L;
    ShiftedKernel::bound = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(GeoToPlane(point, ell, settings, okPlain, kShifted).x, plain.x);
    ShiftedKernel::shift = std::numeric_limits<long double>::quiet_NaN();
    ShiftedKernel::bound = 1e-9L;
    EXPECT_EQ(GeoToPlane(point, ell, settings, okPlain, kShifted).x, plain.x);
    EXPECT_TRUE(okPlain);
}

TEST(Projection, ABoundAcrossALimitLeavesTheVerdictToThePlainSeries) {
    const TEllConst ell = Ellipsoid(1);
    ProjectionSettings settings = Gk(true);
    // y just inside the ordinate limit in the western neighbour zone, its bound reaching past
    // it: the plain verdict (valid).
    settings.zoneShift = -1;
    GeoCoords edge{0.5, 7.4};
    bool okPlain = true;
    PlaneCoords plain{};
    for (GeoCoords next = edge; GeoToPlane(next, ell, settings, okPlain), okPlain; next.L += 1e-4) {
        edge = next;
        plain = GeoToPlane(edge, ell, settings, okPlain);
    }
    okPlain = true;
    ASSERT_GT(plain.y, 1000000.0 + 500000.0 + 499000.0);
    ShiftedKernel::shift = 0.0L;
    ShiftedKernel::bound = 2000000.0L - plain.y + 1.0L;
    bool ok = true;
    const PlaneCoords decided = GeoToPlane(edge, ell, settings, ok, kShifted);
    EXPECT_TRUE(ok);
    EXPECT_EQ(decided.y, plain.y);
    // A longitude a hair below 180 deg whose bound crosses the wrap: the plain longitude.
    ProjectionSettings wrap = Gk(true);
    const GeoCoords nearWrap{60.0, 179.9999999};
    bool okWrap = true;
    const PlaneCoords planeNearWrap = GeoToPlane(nearWrap, ell, wrap, okWrap);
    const GeoCoords plainGeo = PlaneToGeo(planeNearWrap, ell, wrap, okWrap);
    ASSERT_TRUE(okWrap);
    ShiftedKernel::bound = 1e-8L;
    const GeoCoords decidedGeo = PlaneToGeo(planeNearWrap, ell, wrap, okWrap, kShifted);
    EXPECT_TRUE(okWrap);
    EXPECT_EQ(decidedGeo.L, plainGeo.L);
    EXPECT_GT(decidedGeo.L, 179.0);
}

}  // namespace
}  // namespace gridwise
