// Errors of the two projection series against GeographicLib's exact transverse Mercator, as
// CSV for tools/plot_accuracy.py: projection_accuracy OUTPUT.csv
//
// For every ellipsoid, series and point of the grid B 0..84 deg, l 0..9 deg (l the longitude
// difference from the central meridian; the projection is symmetric in the sign of both):
// - forward: the distance between the series' x, y and the exact x, y;
// - inverse: the series' B, L from the exact x, y, projected back exactly, as a distance from
//   that x, y, so both directions are in millimetres on the plane.
// The series are evaluated as the program's conversions evaluate them, in the zone and before the
// UTM scale and false origin; also where the program refuses a point (|y| >= 500 km), so that
// the neighbour-zone band is seen whole.

#include <GeographicLib/TransverseMercatorExact.hpp>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "gridwise/geodesy/projection.hpp"
#include "gridwise/state.hpp"

namespace {

constexpr double kLatitudeStep = 0.25;
constexpr double kMaxLatitude = 84.0;
constexpr double kLongitudeStep = 0.1;
constexpr int kLongitudeSteps = 90;  // to 9 degrees

struct Errors {
    double forwardMm = 0.0;
    double inverseMm = 0.0;
};

Errors ErrorsAt(const GeographicLib::TransverseMercatorExact& exact, const gridwise::TEllConst& ell,
                const gridwise::SeriesKernels& series, double B, double l) {
    constexpr long double kRadian = std::numbers::pi_v<long double> / 180.0L;
    double x = 0, y = 0, gamma = 0, k = 0;
    exact.Forward(0.0, B, l, y, x, gamma, k);
    const gridwise::ZonePlane plane = series.forward(ell, B * kRadian, l * kRadian);
    Errors e;
    e.forwardMm = static_cast<double>(std::hypot(plane.x - x, plane.y - y)) * 1000.0;
    const gridwise::ZoneGeo geo = series.inverse(ell, x, y);
    double xBack = 0, yBack = 0;
    exact.Forward(0.0, static_cast<double>(geo.B / kRadian), static_cast<double>(geo.l / kRadian),
                  yBack, xBack, gamma, k);
    e.inverseMm = std::hypot(xBack - x, yBack - y) * 1000.0;
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: projection_accuracy OUTPUT.csv\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "ellipsoid,series,B,l,forward_mm,inverse_mm\n");
    const gridwise::GridwiseState state = gridwise::MakeGridwiseState();
    const struct {
        const char* name;
        int number;
    } ellipsoids[] = {{"krasovsky", 1}, {"wgs84", 2}};
    for (const auto& ellipsoid : ellipsoids) {
        const gridwise::TEll& tell = state.Ellipsoids[ellipsoid.number];
        const GeographicLib::TransverseMercatorExact exact(tell.A, 1.0 / tell.InvFlattening, 1.0);
        const gridwise::TEllConst ell = gridwise::DeriveEllipsoid(tell);
        for (bool kruger : {false, true}) {
            for (int i = 0; i * kLatitudeStep <= kMaxLatitude; ++i) {
                const double B = i * kLatitudeStep;
                for (int j = 0; j <= kLongitudeSteps; ++j) {
                    const double l = j * kLongitudeStep;
                    const Errors e = ErrorsAt(exact, ell, gridwise::PlainSeries(kruger), B, l);
                    std::fprintf(out, "%s,%s,%.2f,%.1f,%.6g,%.6g\n", ellipsoid.name,
                                 kruger ? "kruger" : "classic", B, l, e.forwardMm, e.inverseMm);
                }
            }
        }
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
