// The converters' evaluation of the datum transformation against TransformDatum: the written
// text of every point of a large random sample and of the edge rows is the plain one's, the
// bounds cover the differences observed, and the plain evaluation is needed only rarely.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "common/text.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/geodesy/transform.hpp"
#include "datumer/geodesy/transform_files.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

GeodeticPoint Plain(const GeodeticPoint& source, const DatumParams& params) {
    GeocentricShift shift;
    GeodeticPoint target;
    TransformDatum(source, params, shift, target);
    return target;
}

std::string Written(const GeodeticPoint& p, const WrittenDecimals& d) {
    std::string text = common::FormatFixed(false, 1, true, p.B, d.Angle, '.') + ',' +
                       common::FormatFixed(false, 1, true, p.L, d.Angle, '.');
    if (d.HeightWritten) text += ',' + common::FormatFixed(false, 1, true, p.H, d.Height, '.');
    return text;
}

// The decimals the three converters write with: point lists at both ends of their choices,
// maps without heights.
const WrittenDecimals kWritten[] = {{10, 3, true}, {7, 2, true}, {10, 4, true}, {5, 0, false}};

// Largest observed |fast - plain| / bound over a sample, and how many points the fast
// evaluation served.
struct Observed {
    double worstRatio = 0.0;
    long usable = 0;
    long points = 0;
};

void Compare(const GeodeticPoint& source, const DatumParams& params, Observed& observed) {
    const GeodeticPoint plain = Plain(source, params);
    for (const WrittenDecimals& d : kWritten) {
        const FileDatumTransform transform(params, d);
        ASSERT_EQ(Written(transform(source), d), Written(plain, d))
            << source.B << ' ' << source.L << ' ' << source.H;
    }
    const BoundedTarget fast = FileDatumTransform(params, kWritten[0]).Estimate(source);
    ++observed.points;
    if (!fast.usable) return;
    ++observed.usable;
    const double differences[] = {fast.target.B - plain.B, fast.target.L - plain.L,
                                  fast.target.H - plain.H};
    const double bounds[] = {fast.bound.B, fast.bound.L, fast.bound.H};
    for (int i = 0; i < 3; ++i) {
        ASSERT_LE(std::fabs(differences[i]), bounds[i])
            << "value " << i << " of " << source.B << ' ' << source.L << ' ' << source.H;
        observed.worstRatio = std::max(observed.worstRatio, std::fabs(differences[i]) / bounds[i]);
    }
}

TEST(FileDatumTransform, RandomPointsOfEveryPresetWriteThePlainText) {
    const DatumerState state = MakeDatumerState();
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> latitude(-90.0, 90.0);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    std::uniform_real_distribution<double> height(-1000.0, 10000.0);
    Observed observed;
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        const DatumParams params = BuildDatumParams(state, preset);
        for (int i = 0; i < 6000; ++i) {
            GeodeticPoint source;
            source.B = latitude(random);
            source.L = longitude(random);
            source.H = height(random);
            Compare(source, params, observed);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_LT(observed.worstRatio, 0.5);
    EXPECT_GT(observed.usable, observed.points * 99 / 100);
    std::printf("worst ratio %.3g, fast %ld of %ld\n", observed.worstRatio, observed.usable,
                observed.points);
}

// Edge rows: the poles and the axis, the +-180 deg meridian, the equator plane (identity
// parameters keep Z = 0 exactly), heights far from 0 down to the geocentre, NaN. Each writes the
// plain text; the fast evaluation declines where its bounds are not derived.
TEST(FileDatumTransform, EdgeRowsWriteThePlainText) {
    const DatumerState state = MakeDatumerState();
    DatumParams identity;
    identity.a1 = identity.a2 = 6378137.0;
    identity.f1 = identity.f2 = 1.0 / 298.257223563;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<GeodeticPoint> rows = {
        {90.0, 0.0, 0.0},         {-90.0, 45.0, 100.0},        {89.9999999, 10.0, 0.0},
        {-89.99999, -170.0, 5.0}, {55.0, 180.0, 0.0},          {55.0, -180.0, 0.0},
        {0.0, 179.999, 0.0},      {0.0, -179.9999999999, 0.0}, {0.0, 0.0, 0.0},
        {0.0, 37.0, 250.0},       {1e-12, 37.0, 0.0},          {-1e-12, -37.0, 0.0},
        {55.0, 37.0, 1e7},        {55.0, 37.0, -1e6},          {55.0, 37.0, -6.3e6},
        {0.0, 0.0, -6378137.0},   {55.0, 37.0, 1e12},          {nan, 37.0, 0.0},
        {55.0, nan, 0.0},         {55.0, 37.0, nan},           {45.0, 90.0, 0.0},
        {45.0, -90.0, 0.0},       {-33.9, 151.2, 30.0},        {71.0, -8.0, 2000.0},
    };
    std::vector<DatumParams> operands = {identity};
    for (int preset : {1, 2, 6, 7, 13, 30}) operands.push_back(BuildDatumParams(state, preset));
    Observed observed;
    for (const DatumParams& params : operands)
        for (const GeodeticPoint& row : rows) {
            Compare(row, params, observed);
            if (HasFatalFailure()) return;
        }
    EXPECT_LT(observed.worstRatio, 1.0);
}

}  // namespace
}  // namespace datumer
