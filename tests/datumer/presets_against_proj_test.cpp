// Every fixed preset against PROJ: our transformation and the PROJ pipeline that datumer-cli
// prints for the preset (run by cct, PROJ's own implementation of the coordinate frame rotation)
// give the same point over Russia, across the meridian of 180° and at the poles.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../common/test_folder.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/geodesy/proj_pipeline.hpp"
#include "datumer/geodesy/transform.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

constexpr double kAngleTolerance = 1e-9;   // degrees
constexpr double kHeightTolerance = 1e-3;  // metres

std::vector<GeodeticPoint> PointsOverRussia() {
    std::vector<GeodeticPoint> points;
    for (double b : {41.0, 47.5, 55.75, 62.0, 69.3, 76.0, 82.0})
        for (double l : {19.0, 37.6, 60.5, 92.0, 131.9, 158.6, 170.0, 179.9999, 180.0, -180.0,
                         -179.9999, -175.0, -169.0})
            for (double h : {-150.0, 0.0, 4500.0}) points.push_back({b, l, h});
    for (double l : {0.0, 37.0, 180.0, -120.0})
        for (double b : {90.0, -90.0}) points.push_back({b, l, 100.0});
    return points;
}

// Runs cct on the points (longitude first, as PROJ takes them); the results in the same order.
std::vector<GeodeticPoint> RunCct(const std::string& pipeline,
                                  const std::vector<GeodeticPoint>& points) {
    testfiles::TempFolder folder;
    {
        std::ofstream in(folder / "in.txt");
        in.precision(17);
        for (const GeodeticPoint& p : points) in << p.L << ' ' << p.B << ' ' << p.H << '\n';
    }
    const std::string command = "cct -d 12 " + pipeline + " '" + (folder / "in.txt").string() +
                                "' >'" + (folder / "out.txt").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0)
        << "cct (PROJ) is needed by this test: scripts/install-deps.sh installs it";
    std::vector<GeodeticPoint> results;
    std::ifstream out(folder / "out.txt");
    std::string line;
    while (std::getline(out, line)) {
        std::istringstream fields(line);
        GeodeticPoint p;
        if (fields >> p.L >> p.B >> p.H) results.push_back(p);
    }
    return results;
}

double LongitudeDifference(double a, double b) {
    return std::remainder(a - b, 360.0);
}

TEST(PresetsAgainstProj, EveryFixedPresetAgreesWithItsPipeline) {
    const DatumerState state = MakeDatumerState();
    const std::vector<GeodeticPoint> points = PointsOverRussia();
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        if (preset == kUserPreset) continue;
        SCOPED_TRACE(PresetListText(state, preset));
        const std::vector<GeodeticPoint> expected = RunCct(ProjPipeline(state, preset), points);
        ASSERT_EQ(expected.size(), points.size());
        const DatumParams params = BuildDatumParams(state, preset);
        for (std::size_t i = 0; i < points.size(); ++i) {
            GeocentricShift shift;
            GeodeticPoint ours;
            TransformDatum(points[i], params, shift, ours);
            const GeodeticPoint& proj = expected[i];
            const auto where = ::testing::Message() << "at " << points[i].B << ", " << points[i].L
                                                    << ", " << points[i].H;
            EXPECT_NEAR(ours.B, proj.B, kAngleTolerance) << where;
            EXPECT_NEAR(LongitudeDifference(ours.L, proj.L), 0.0, kAngleTolerance) << where;
            EXPECT_NEAR(ours.H, proj.H, kHeightTolerance) << where;
        }
    }
}

TEST(PresetsAgainstProj, PipelineNamesTheConventionAndBothEllipsoids) {
    const DatumerState state = MakeDatumerState();
    EXPECT_EQ(ProjPipeline(state, 26),
              "+proj=pipeline +step +proj=cart +a=6378136.5 +rf=298.2564151 +step +proj=helmert "
              "+x=0 +y=0.014 +z=-0.008 +rx=-0.000562 +ry=-0.000019 +rz=0.000053 +s=-0.0006 "
              "+convention=coordinate_frame +step +inv +proj=cart +a=6378136 +rf=298.257839303");
}

}  // namespace
}  // namespace datumer
