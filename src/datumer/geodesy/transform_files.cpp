// The fast evaluation of the datum transformation for the batch converters, and its bounds.
//
// How far the fast values may lie from the plain ones (u = 2^-53, the unit roundoff of double;
// the plain evaluation works in long double and rounds each stored quantity to double, so it
// errs by about u per stored value and the fast one by a few u per operation):
//
// 1. Geocentric coordinates. B1, L1, e1², e2² and 1 + M are formed exactly as the plain
//    evaluation forms them. N takes about 2 u (sine, square root, quotient), N + H1 one more,
//    and X1, Y1, Z1 two sines or cosines (glibc: within one unit in the last place, 2 u) and two
//    products: at most 11 u of N + |H1| with the plain evaluation's two roundings. The seven
//    parameters add two sums, a product and the shift, 5 u of the result, the rotation
//    multiplying the rest by at most 1 + |WX| + |WY| + |WZ| and the scale by 1 + M. That is 16 u
//    of that size at worst; delta = 32 u of it covers each of X2, Y2, Z2 with a margin of two
//    (the tests observe some 3 u).
// 2. Longitude: atan2 moves by at most delta sqrt 2 / D for coordinates moved by delta; the two
//    functions and the roundings add 6 u |L|. The conversion to degrees is the plain one.
// 3. Latitude. The plain loop is b_k = c + s_k, s_{k+1} = asin(p sin 2b_k / W(b_k)), s_0 = 0,
//    until |s_{k+1} - s_k| < 1e-11, and returns b_k. Its result lies up to about 1e-11 rad from
//    the exact latitude, far more than a written digit of 10 decimals, so the fast evaluation
//    does not take the exact latitude: it follows the same passes, each in double with sin and
//    cos of b from those of c by the angle sum (s is below 0.007, its sine and cosine short
//    series) and the arcsine by its series, and carries the distance of its s_k from the plain
//    one: eps_{k+1} = 2.1 p (eps_c + eps_k + 8 u) + |s_{k+1}| (2 delta / r + 20 u), since the
//    step's derivative in b is at most 2p / W < 2.1 p, and p, r, the series and the roundings
//    contribute relative errors of s. The stop is the plain one unless |s_{k+1} - s_k| lies
//    within eps_k + eps_{k+1} of the tolerance; then the plain evaluation decides. The start
//    c = atan2(Z, D) differs by eps_c = 2.5 delta / r + 2 u + 6 u |c|.
// 4. Height. H = D cos b + Z sin b - a2 W is stationary at the exact latitude, so the distance
//    of the two latitudes from it (up to about 1e-11 rad) and from each other enter only as
//    their product times r; the coordinates enter with 2 delta and the roundings of the three
//    terms with 16 u (D + |Z| + a2).
//
// The tests measure the largest ratio of the observed difference to these bounds on millions of
// points of the whole domain (well below one) and check that fallbacks are rare.

#include "datumer/geodesy/transform_files.hpp"

#include <cmath>
#include <numbers>

#include "common/text.hpp"

namespace datumer {

namespace {

using Real = long double;
constexpr Real kPi = std::numbers::pi_v<long double>;
constexpr double kU = 0x1p-53;
constexpr double kLatitudeTolerance = 1e-11;
// The long double tolerance of the plain loop lies within 1e-27 of the double one.
constexpr double kToleranceSlack = 1e-26;
constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr int kMaxPasses = 12;
// The plain loop's distance from the exact latitude, radians, with a margin.
constexpr double kLoopDistance = 3e-11;

double ToDegrees(double radians) {
    return static_cast<double>(radians * 180.0L / kPi);
}

// Bound on |f(a) - f(b)| for the conversion to degrees f, rounded in both evaluations, given
// |a - b| <= radians.
double DegreesBound(double radiansBound, double degrees) {
    return radiansBound * kRadiansToDegrees * (1.0 + 1e-12) + 4.0 * kU * std::fabs(degrees);
}

// asin x for |x| < 0.011 by its series to x^7; the next term lies below 1e-19 |x|.
double SmallArcSine(double x) {
    const double x2 = x * x;
    return x + x * x2 * (1.0 / 6.0 + x2 * (3.0 / 40.0 + x2 * (5.0 / 112.0)));
}

}  // namespace

FileDatumTransform::FileDatumTransform(const DatumParams& params, WrittenDecimals decimals)
    : params_(params), decimals_(decimals) {
    e1_ = static_cast<double>(2.0L * params.f1 - static_cast<Real>(params.f1) * params.f1);
    e2_ = static_cast<double>(2.0L * params.f2 - static_cast<Real>(params.f2) * params.f2);
    scale_ = static_cast<double>(1.0L + params.M);
    halfE2A2_ = static_cast<double>(static_cast<Real>(e2_) * params.a2 / 2.0L);
    geocentricSize_ = (1.0 + std::fabs(params.WX) + std::fabs(params.WY) + std::fabs(params.WZ)) *
                      std::fabs(scale_);
}

BoundedTarget FileDatumTransform::Estimate(const GeodeticPoint& source) const {
    BoundedTarget result;
    const DatumParams& t = params_;
    const double B1 = static_cast<double>(kPi * source.B / 180.0L);
    const double L1 = static_cast<double>(kPi * source.L / 180.0L);
    const double H1 = source.H;
    if (!(std::fabs(B1) <= 2.0 && std::fabs(L1) <= 4.0 && std::fabs(H1) <= 1e9)) return result;

    // 1. Geocentric coordinates, before and after the seven parameters.
    const double sB = std::sin(B1), cB = std::cos(B1);
    const double sL = std::sin(L1), cL = std::cos(L1);
    const double N = t.a1 / std::sqrt(1.0 - e1_ * sB * sB);
    const double X1 = (N + H1) * cB * cL;
    const double Y1 = (N + H1) * cB * sL;
    const double Z1 = ((1.0 - e1_) * N + H1) * sB;
    const double X = scale_ * (X1 + t.WZ * Y1 - t.WY * Z1) + t.DX;
    const double Y = scale_ * (-t.WZ * X1 + Y1 + t.WX * Z1) + t.DY;
    const double Z = scale_ * (t.WY * X1 - t.WX * Y1 + Z1) + t.DZ;
    const double delta = 32.0 * kU *
                         (geocentricSize_ * (t.a1 + std::fabs(H1)) + std::fabs(t.DX) +
                          std::fabs(t.DY) + std::fabs(t.DZ));
    const double D = std::sqrt(X * X + Y * Y);
    const double r = std::sqrt(D * D + Z * Z);
    // Near the geocentre the loop may not contract, near the axis the longitude and near the
    // equator plane the branch the plain evaluation takes are open: it decides there.
    if (!(r >= 0.5 * t.a2 && r <= 1e3 * t.a2 && D >= 1e-6 * r && std::fabs(Z) > 4.0 * delta))
        return result;

    // 2. Longitude.
    const double Lr = std::atan2(Y, X);
    const double LrBound = 1.5 * delta / D + 6.0 * kU * std::fabs(Lr);
    result.target.L = ToDegrees(Lr);
    result.bound.L = DegreesBound(LrBound, result.target.L);
    // At +-180 deg the two may lie on either side of the meridian, and -180 is written as 180.
    if (!(std::fabs(result.target.L) + result.bound.L < 180.0 - 1e-9)) return result;

    // 3. Latitude by the plain loop's passes.
    const double c = std::atan2(Z, D);
    const double sc = Z / r, cc = D / r;
    const double cBound = 2.5 * delta / r + 2.0 * kU + 6.0 * kU * std::fabs(c);
    const double p = halfE2A2_ / r;
    if (!(p < 0.011)) return result;
    const double pRelative = 2.0 * delta / r + 20.0 * kU;
    double s1 = 0.0, s1Bound = 0.0;
    double b = c, sb = sc, cb = cc, W = 0.0;
    bool stopped = false;
    for (int pass = 0; pass < kMaxPasses && !stopped; ++pass) {
        b = c + s1;
        const double s2_ = s1 * s1;
        const double sinS = s1 - s1 * s2_ * (1.0 / 6.0 - s2_ / 120.0);
        const double cosS = 1.0 - s2_ * (0.5 - s2_ * (1.0 / 24.0 - s2_ / 720.0));
        sb = sc * cosS + cc * sinS;
        cb = cc * cosS - sc * sinS;
        W = std::sqrt(1.0 - e2_ * sb * sb);
        const double s2 = SmallArcSine(p * (2.0 * sb * cb) / W);
        const double s2Bound = 2.1 * p * (cBound + s1Bound + 8.0 * kU) + std::fabs(s2) * pRelative;
        const double change = std::fabs(s2 - s1);
        const double margin = s1Bound + s2Bound + kU * change + kToleranceSlack;
        if (change + margin < kLatitudeTolerance) {
            stopped = true;
        } else if (change - margin >= kLatitudeTolerance) {
            s1 = s2;
            s1Bound = s2Bound;
        } else {
            return result;  // the plain loop's stop is open
        }
    }
    if (!stopped) return result;
    const double bBound = cBound + s1Bound + 4.0 * kU * std::fabs(b);
    result.target.B = ToDegrees(b);
    result.bound.B = DegreesBound(bBound, result.target.B);
    if (!(std::fabs(result.target.B) + result.bound.B < 90.0)) return result;

    // 4. Height at the latitude found.
    result.target.H = D * cb + Z * sb - t.a2 * W;
    result.bound.H = 2.0 * delta + 2.0 * kU * r + 16.0 * kU * (D + std::fabs(Z) + t.a2) +
                     2.0 * kU * std::fabs(result.target.H) + r * (kLoopDistance + bBound) * bBound;
    result.usable = std::isfinite(result.target.H);
    return result;
}

GeodeticPoint FileDatumTransform::operator()(const GeodeticPoint& source) const {
#ifndef DATUMER_PLAIN_FILES
    const BoundedTarget fast = Estimate(source);
    if (fast.usable && common::SameFixedTextWithin(fast.target.B, fast.bound.B, decimals_.Angle) &&
        common::SameFixedTextWithin(fast.target.L, fast.bound.L, decimals_.Angle) &&
        (!decimals_.HeightWritten ||
         common::SameFixedTextWithin(fast.target.H, fast.bound.H, decimals_.Height)))
        return fast.target;
#endif
    GeocentricShift shift;
    GeodeticPoint target;
    TransformDatum(source, params_, shift, target);
    return target;
}

}  // namespace datumer
