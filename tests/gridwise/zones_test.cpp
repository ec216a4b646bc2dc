// Zone numbering of both grids, neighbour zones, the zone of an ordinate and dSH.

#include <gtest/gtest.h>

#include <limits>

#include "gridwise/geodesy/zones.hpp"
#include "gridwise/state.hpp"

namespace gridwise {
namespace {

TEST(ZoneForLongitude, StandardGridBothNumberings) {
    struct Case {
        double L;
        bool utm;
        int shift;
        int zone;
        double dL;
    } cases[] = {
        {37.0, false, 0, 7, -2.0},
        {37.6, false, 0, 7, -1.4},
        {37.6, true, 0, 37, -1.4},
        {-75.0, false, 0, 48, 0.0},
        {-75.0, true, 0, 18, 0.0},
        {-3.0, false, 0, 60, 0.0},
        {-3.0, true, 0, 30, 0.0},
        {0.5, false, -1, 60, 3.5},
        {0.5, false, 1, 2, -8.5},
        {359.5, false, 1, 1, -3.5},
        {180.0, false, 0, 31, -3.0},
        {180.0, true, 0, 1, -3.0},
        {6.0, false, 0, 2, -3.0},
        {5.999999999, false, 0, 1, 2.999999999},
        {-0.000001, false, 0, 60, 2.999999},
    };
    for (const Case& c : cases) {
        ProjectionSettings s;
        s.utm = c.utm;
        s.zoneShift = c.shift;
        const ZoneOfPoint z = ZoneForLongitude(c.L, s);
        EXPECT_TRUE(z.valid);
        EXPECT_EQ(z.zone, c.zone) << c.L << " utm " << c.utm << " shift " << c.shift;
        EXPECT_NEAR(static_cast<double>(z.dL), c.dL, 1e-9) << c.L;
    }
}

TEST(ZoneForLongitude, UserMeridianUsesTheChosenZone) {
    ProjectionSettings s;
    s.userMeridian = true;
    s.sk63Zone = 12;
    s.zoneShift = 1;  // not offered with a user meridian, and ignored
    s.centralMeridian = -75.25;
    const ZoneOfPoint z = ZoneForLongitude(-74.0, s);
    EXPECT_EQ(z.zone, 12);
    EXPECT_NEAR(static_cast<double>(z.dL), 1.25, 1e-12);
}

TEST(ZoneForLongitude, AbsurdLongitudesAreNotZones) {
    for (const double L : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(ZoneForLongitude(L, ProjectionSettings{}).valid) << L;
    }
}

TEST(ZoneForOrdinate, MillionsCarryTheZone) {
    struct Case {
        double y;
        bool utm;
        int written, grid;
        double meridian;
    } cases[] = {
        {7372018.491, false, 7, 7, 39.0},   {37372071.809, true, 37, 7, 39.0},
        {372018.491, false, 0, 0, -3.0},    {372018.491, true, 0, 30, 177.0},
        {60500000.0, false, 60, 60, 357.0}, {-1500000.0, false, -1, -1, -9.0},
    };
    for (const Case& c : cases) {
        const ZoneOfOrdinate z = ZoneForOrdinate(c.y, c.utm);
        EXPECT_TRUE(z.valid);
        EXPECT_EQ(z.written, c.written) << c.y;
        EXPECT_EQ(z.grid, c.grid) << c.y;
        EXPECT_DOUBLE_EQ(ZoneCentralMeridian(z.grid), c.meridian) << c.y;
        EXPECT_DOUBLE_EQ(z.yInZone, c.y - c.written * 1e6) << c.y;
    }
    EXPECT_FALSE(ZoneForOrdinate(1e300, false).valid);
}

// These figures carry the 0.0001 m stopping rule of the footpoint bisection; an exact inverse
// would give 0.157838 m at the equator.
TEST(MeridianArcGain1000, KrasovskyFigures) {
    const TEllConst ell = DeriveEllipsoid(MakeGridwiseState().Ellipsoids[1]);
    struct Case {
        double B, gain;
    } cases[] = {{0.0, 0.157806}, {55.0, 0.156775}, {-55.0, 0.156775}};
    for (const Case& c : cases) EXPECT_NEAR(MeridianArcGain1000(ell, c.B), c.gain, 5e-7) << c.B;
}

}  // namespace
}  // namespace gridwise
