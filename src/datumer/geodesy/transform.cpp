#include "datumer/geodesy/transform.hpp"

#include <cmath>
#include <numbers>

namespace datumer {

namespace {

using Real = long double;
constexpr Real kPi = std::numbers::pi_v<long double>;
constexpr Real kLatitudeTolerance = 1e-11L;  // radians

// Arcsine as the two-argument arctangent of x and sqrt(1 - x^2), as the standard prescribes.
Real ArcSin(Real x) {
    return std::atan2(x, std::sqrt(1.0L - x * x));
}

// sqrt(1 - e^2 sin^2 b), the common factor of the radii of curvature.
Real CurvatureRoot(Real eccentricitySquared, Real b) {
    const Real s = std::sin(b);
    return std::sqrt(1.0L - eccentricitySquared * s * s);
}

struct Geocentric {
    double X = 0.0, Y = 0.0, Z = 0.0;
};

Geocentric GeodeticToGeocentric(double B, double L, double H, double a, double e2) {
    const double N = static_cast<double>(a / CurvatureRoot(e2, B));
    const Real cosB = std::cos(static_cast<Real>(B));
    return Geocentric{
        static_cast<double>((static_cast<Real>(N) + H) * cosB * std::cos(static_cast<Real>(L))),
        static_cast<double>((static_cast<Real>(N) + H) * cosB * std::sin(static_cast<Real>(L))),
        static_cast<double>(((1.0L - e2) * N + H) * std::sin(static_cast<Real>(B)))};
}

// Rotation matrix [[1, WZ, -WY], [-WZ, 1, WX], [WY, -WX, 1]], then the scale, then the shifts.
Geocentric SevenParameter(const Geocentric& p, const DatumParams& t) {
    const double k = static_cast<double>(1.0L + t.M);
    const Real X = p.X, Y = p.Y, Z = p.Z;
    return Geocentric{static_cast<double>(k * (X + t.WZ * Y - t.WY * Z) + t.DX),
                      static_cast<double>(k * (-t.WZ * X + Y + t.WX * Z) + t.DY),
                      static_cast<double>(k * (t.WY * X - t.WX * Y + Z) + t.DZ)};
}

// Longitude in radians from X and Y, not both 0. The arcsine of Y / D that the standard writes
// loses all but a few digits where |Y| comes near D (longitudes near ±90°): the rounding of D
// alone moved a point there by up to a decimetre. The arctangent of Y and X is the same angle
// without that loss; Y = -0 on the western half of the equator plane still gives +180°.
double LongitudeOf(double X, double Y) {
    if (Y == 0 && X < 0) return static_cast<double>(kPi);
    return static_cast<double>(std::atan2(static_cast<Real>(Y), static_cast<Real>(X)));
}

// The iterative latitude of the standard for Z != 0. The loop has a pass limit and ends on a NaN,
// so that no input can hold it. Its start c is taken as the arctangent of Z and D rather than the
// arcsine of Z / r, which loses its digits near the poles (up to a decimetre near the axis).
double IterateLatitude(const Geocentric& p, double D, double a2, double e2) {
    const Real X = p.X, Y = p.Y, Z = p.Z;
    const double r = static_cast<double>(std::sqrt(X * X + Y * Y + Z * Z));
    const double c = static_cast<double>(std::atan2(Z, static_cast<Real>(D)));
    const double q = static_cast<double>(e2 * a2 / (2.0L * r));
    double s1 = 0.0;
    double b = c;
    for (int pass = 0; pass < kMaxLatitudePasses; ++pass) {
        b = static_cast<double>(static_cast<Real>(c) + s1);
        const double s2 =
            static_cast<double>(ArcSin(q * std::sin(2.0L * b) / CurvatureRoot(e2, b)));
        const Real change = std::fabs(static_cast<Real>(s2) - s1);
        if (change < kLatitudeTolerance || std::isnan(change)) break;
        s1 = s2;
    }
    return b;
}

double HeightAbove(double D, double Z, double B, double a2, double e2) {
    const Real b = B;
    return static_cast<double>(D * std::cos(b) + Z * std::sin(b) - a2 * CurvatureRoot(e2, b));
}

double ToDegrees(double radians) {
    return static_cast<double>(radians * 180.0L / kPi);
}

}  // namespace

void TransformDatum(const GeodeticPoint& source, const DatumParams& params, GeocentricShift& shift,
                    GeodeticPoint& target) {
    const double B1 = static_cast<double>(kPi * source.B / 180.0L);
    const double L1 = static_cast<double>(kPi * source.L / 180.0L);
    const double e1 =
        static_cast<double>(2.0L * params.f1 - static_cast<Real>(params.f1) * params.f1);
    const double e2 =
        static_cast<double>(2.0L * params.f2 - static_cast<Real>(params.f2) * params.f2);

    const Geocentric p1 = GeodeticToGeocentric(B1, L1, source.H, params.a1, e1);
    const Geocentric p2 = SevenParameter(p1, params);
    const Real X2 = p2.X, Y2 = p2.Y;
    const double D = static_cast<double>(std::sqrt(X2 * X2 + Y2 * Y2));

    // On the axis (D = 0) the longitude is 0. The provisional pole latitude and height that the
    // standard forms there are always replaced below: by the iteration when Z2 != 0, and by the
    // equator branch at the geocentre, which thus gives B2 = 0, H2 = -a2.
    const double L2 = D == 0 ? 0.0 : LongitudeOf(p2.X, p2.Y);
    double B2 = 0.0, H2 = 0.0;
    if (p2.Z == 0) {
        B2 = 0.0;
        H2 = static_cast<double>(static_cast<Real>(D) - params.a2);
    } else {
        B2 = IterateLatitude(p2, D, params.a2, e2);
        H2 = HeightAbove(D, p2.Z, B2, params.a2, e2);
    }

    shift.dX = static_cast<double>(static_cast<Real>(p2.X) - p1.X);
    shift.dY = static_cast<double>(static_cast<Real>(p2.Y) - p1.Y);
    shift.dZ = static_cast<double>(static_cast<Real>(p2.Z) - p1.Z);

    // Only an ellipsoid far from the Earth's, which the set-up checks refuse, can leave the loop
    // unsettled beyond a pole; the latitude then stays a latitude.
    target.B = ToDegrees(B2);
    if (target.B > 90.0) target.B = 90.0;
    if (target.B < -90.0) target.B = -90.0;
    target.L = ToDegrees(L2);
    // The arithmetic can round a longitude just east of -180 onto -180; it names the meridian
    // the interface gives as +180.
    if (target.L <= -180.0) target.L = 180.0;
    target.H = H2;
}

}  // namespace datumer
