// The fast series of the converters against the plain GeoToPlane and PlaneToGeo: the same doubles,
// bit for bit, on large random samples over both series, both grids and the whole valid range.

#include "gridwise/geodesy/fast_series.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "common/text.hpp"

#include "gridwise/state.hpp"

namespace gridwise {
namespace {

// Sample sizes; GW_FAST_SERIES_SAMPLES raises them for a longer check.
int Samples(int usual) {
    const char* text = std::getenv("GW_FAST_SERIES_SAMPLES");
    return text != nullptr ? std::atoi(text) : usual;
}

ProjectionSettings Settings(bool kruger, bool utm) {
    ProjectionSettings settings;
    settings.kruger = kruger;
    settings.utm = utm;
    return settings;
}

TEST(FastSeries, ForwardIsBitIdenticalToThePlainProjection) {
    const GridwiseState state = MakeGridwiseState();
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> latitude(-89.9, 89.9), longitude(-180.0, 180.0);
    std::uniform_int_distribution<int> ellipsoid(1, 3), shift(-1, 1);
    const int samples = Samples(100000);
    int compared = 0;
    for (int i = 0; i < samples; ++i) {
        const bool kruger = i % 2 == 1;
        ProjectionSettings settings = Settings(kruger, i % 3 == 0);
        settings.zoneShift = shift(random);
        const TEllConst ell = DeriveEllipsoid(state.Ellipsoids[ellipsoid(random)]);
        const GeoCoords point{latitude(random), longitude(random)};
        bool okPlain = true, okFast = true;
        const PlaneCoords plain = GeoToPlane(point, ell, settings, okPlain);
        const PlaneCoords fast = FastGeoToPlane(point, ell, settings, okFast);
        ASSERT_EQ(okFast, okPlain) << point.B << " " << point.L;
        if (!okPlain) continue;
        ++compared;
        ASSERT_EQ(fast.x, plain.x) << point.B << " " << point.L << " kruger " << kruger;
        ASSERT_EQ(fast.y, plain.y) << point.B << " " << point.L << " kruger " << kruger;
    }
    EXPECT_GT(compared, samples / 4);
}

TEST(FastSeries, InverseIsBitIdenticalToThePlainProjection) {
    const GridwiseState state = MakeGridwiseState();
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> northing(-10500000.0, 10500000.0);
    std::uniform_real_distribution<double> easting(-520000.0, 520000.0);
    std::uniform_int_distribution<int> zone(1, 60), ellipsoid(1, 3);
    const int samples = Samples(20000);
    for (int i = 0; i < samples; ++i) {
        const bool kruger = i % 2 == 1;
        ProjectionSettings settings = Settings(kruger, i % 3 == 0);
        settings.addZoneNumber = i % 5 != 0;
        const TEllConst ell = DeriveEllipsoid(state.Ellipsoids[ellipsoid(random)]);
        const PlaneCoords point{northing(random),
                                zone(random) * 1000000.0 + 500000.0 + easting(random)};
        bool okPlain = true, okFast = true;
        const GeoCoords plain = PlaneToGeo(point, ell, settings, okPlain);
        const GeoCoords fast = FastPlaneToGeo(point, ell, settings, okFast);
        ASSERT_EQ(okFast, okPlain) << point.x << " " << point.y;
        if (!okPlain) continue;
        ASSERT_EQ(fast.B, plain.B) << point.x << " " << point.y << " kruger " << kruger;
        ASSERT_EQ(fast.L, plain.L) << point.x << " " << point.y << " kruger " << kruger;
    }
}

std::string Written(double value, int decimals) {
    return common::FormatFixed(false, 1, true, value, static_cast<std::uint8_t>(decimals), '.');
}

// For a file only the text counts: with the decimals a converter writes, the fast evaluation
// gives the plain one's verdict and text, both directions, both series, both grids.
TEST(FastSeries, WrittenTextIsThatOfThePlainProjection) {
    const GridwiseState state = MakeGridwiseState();
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> latitude(-90.0, 90.0), longitude(-180.0, 180.0);
    std::uniform_int_distribution<int> ellipsoid(1, 3), planeDecimals(2, 4), angleDecimals(7, 10);
    const int samples = Samples(100000);
    int compared = 0;
    for (int i = 0; i < samples; ++i) {
        const bool kruger = i % 2 == 1;
        ProjectionSettings settings = Settings(kruger, i % 3 == 0);
        const TEllConst ell = DeriveEllipsoid(state.Ellipsoids[ellipsoid(random)]);
        GeoCoords point;
        point.B = latitude(random);
        point.L = longitude(random);
        const int plane = planeDecimals(random);
        const int angle = angleDecimals(random);
        bool okPlain = true, okFast = true;
        const PlaneCoords plain = GeoToPlane(point, ell, settings, okPlain);
        const PlaneCoords fast = FastGeoToPlane(point, ell, settings, okFast, plane);
        ASSERT_EQ(okFast, okPlain) << point.B << " " << point.L;
        if (!okPlain) continue;
        ASSERT_EQ(Written(fast.x, plane), Written(plain.x, plane)) << point.B << " " << point.L;
        ASSERT_EQ(Written(fast.y, plane), Written(plain.y, plane)) << point.B << " " << point.L;
        // Back from the written plane coordinates, as a file of them is read.
        const PlaneCoords written{std::stod(Written(plain.x, plane)),
                                  std::stod(Written(plain.y, plane))};
        bool okBack = true, okBackFast = true;
        const GeoCoords back = PlaneToGeo(written, ell, settings, okBack);
        const GeoCoords backFast = FastPlaneToGeo(written, ell, settings, okBackFast, angle);
        ASSERT_EQ(okBackFast, okBack) << written.x << " " << written.y;
        if (!okBack) continue;
        ++compared;
        ASSERT_EQ(Written(backFast.B, angle), Written(back.B, angle))
            << written.x << " " << written.y << " kruger " << kruger;
        ASSERT_EQ(Written(backFast.L, angle), Written(back.L, angle))
            << written.x << " " << written.y << " kruger " << kruger;
    }
    EXPECT_GT(compared, samples / 2);
}

// The kernels for written results against the plain ones: every value within its bound over both
// series, the footpoint found from the digits included (y = 0 gives it alone), with the bounds
// narrow enough that the text decides for nearly every point. The worst observed share of a
// bound is reported.
TEST(WrittenSeries, InverseValuesLieWithinTheirBounds) {
    const GridwiseState state = MakeGridwiseState();
    std::mt19937_64 random(19);
    std::uniform_real_distribution<double> northing(-9800000.0, 9800000.0);
    std::uniform_real_distribution<double> easting(-400000.0, 400000.0);
    std::uniform_int_distribution<int> ellipsoid(1, 3);
    const int samples = Samples(40000);
    long double worst = 0.0L;
    int narrow = 0, compared = 0;
    for (int i = 0; i < samples; ++i) {
        const bool kruger = i % 2 == 1;
        const TEllConst ell = DeriveEllipsoid(state.Ellipsoids[ellipsoid(random)]);
        const long double x = northing(random);
        const long double y = i % 7 == 0 ? 0.0L : easting(random);
        const ZoneGeo plain = PlainSeries(kruger).inverse(ell, x, y);
        const ZoneGeo fast = WrittenSeries(kruger).inverse(ell, x, y);
        if (!(fast.BError < 1e300L) || !(fast.lError < 1e300L)) continue;
        ++compared;
        ASSERT_LE(std::fabs(fast.B - plain.B), fast.BError) << x << " " << y << " " << kruger;
        ASSERT_LE(std::fabs(fast.l - plain.l), fast.lError) << x << " " << y << " " << kruger;
        worst = std::max({worst, std::fabs(fast.B - plain.B) / fast.BError,
                          std::fabs(fast.l - plain.l) / fast.lError});
        // A hundredth of the last digit of 10 decimals of a degree (1.7e-12 rad).
        if (fast.BError < 1.7e-14L && fast.lError < 1.7e-14L) ++narrow;
    }
    EXPECT_GT(compared, samples * 3 / 4);
    EXPECT_GT(narrow, compared * 9 / 10);
    std::printf("worst share of a bound %.3Lg, narrow %d of %d\n", worst, narrow, compared);
}

TEST(FastSeries, FootpointSearchEndsAtTheSameLatitude) {
    const TEllConst ell = DeriveEllipsoid(MakeGridwiseState().Ellipsoids[1]);
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> arc(-10001965.0, 10001965.0);
    const long double quarter = MeridianArcExtended(ell, 1.5707963267948966192L);
    // Edges: the equator, the tolerance, the quarter meridian and beyond, NaN.
    std::vector<long double> xs = {0.0L,    0.0001L,         0.00011L,        -0.00011L,
                                   quarter, quarter - 1e-9L, quarter + 1e-9L, 2.0L * quarter,
                                   3.5e7L,  1e300L};
    for (int i = 0; i < Samples(20000); ++i) xs.push_back(arc(random));
    for (long double X : xs)
        ASSERT_EQ(FastFootpointLatitude(ell, X), FootpointLatitudeExtended(ell, X))
            << static_cast<double>(X);
    EXPECT_TRUE(std::isnan(FastFootpointLatitude(ell, std::nanl(""))));
}

// The fast kernels against the plain ones directly: every value within the bound it carries,
// over both series, the arctangents by series and by the library, and the edges of the bounded
// region; inside the usual region the bounds stay far below the spacing of the doubles, so the
// fast values are used for nearly every point.
TEST(FastSeries, KernelValuesLieWithinTheirBounds) {
    const GridwiseState state = MakeGridwiseState();
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> latitude(-85.0, 85.0), longitude(-25.0, 25.0);
    std::uniform_int_distribution<int> ellipsoid(1, 3);
    constexpr long double kDegree = 3.14159265358979323846264338327950288L / 180.0L;
    const int samples = Samples(100000);
    for (int i = 0; i < samples; ++i) {
        const bool kruger = i % 2 == 1;
        const TEllConst ell = DeriveEllipsoid(state.Ellipsoids[ellipsoid(random)]);
        const long double B = latitude(random), l = longitude(random) * (i % 3 == 0 ? 0.15 : 1.0);
        const ZonePlane plain = PlainSeries(kruger).forward(ell, B * kDegree, l * kDegree);
        const ZonePlane fast = FastSeries(kruger).forward(ell, B * kDegree, l * kDegree);
        const bool bounded = std::fabs(B) <= 80.0L && std::fabs(l) <= 20.0L;
        ASSERT_EQ(std::isfinite(fast.xError) && std::isfinite(fast.yError), bounded)
            << B << " " << l;
        ASSERT_LE(std::fabs(fast.x - plain.x), fast.xError)
            << B << " " << l << " kruger " << kruger;
        ASSERT_LE(std::fabs(fast.y - plain.y), fast.yError)
            << B << " " << l << " kruger " << kruger;
        const ZoneGeo plainGeo = PlainSeries(kruger).inverse(ell, plain.x, plain.y);
        const ZoneGeo fastGeo = FastSeries(kruger).inverse(ell, plain.x, plain.y);
        ASSERT_LE(std::fabs(fastGeo.B - plainGeo.B), fastGeo.BError) << B << " " << l;
        ASSERT_LE(std::fabs(fastGeo.l - plainGeo.l), fastGeo.lError) << B << " " << l;
        if (std::fabs(B) > 70.0L || std::fabs(l) > 4.0L) continue;
        // Doubles of x and y near 1e7 m lie 2e-9 m apart, of B 1.2e-16 rad.
        EXPECT_LT(fast.xError, 5e-11L) << B << " " << l;
        EXPECT_LT(fast.yError, 5e-11L) << B << " " << l;
        EXPECT_LT(fastGeo.BError, 1e-17L) << B << " " << l;
        EXPECT_LT(fastGeo.lError, 1e-17L) << B << " " << l;
    }
}

}  // namespace
}  // namespace gridwise
