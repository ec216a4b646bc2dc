// Fast evaluation of the projection series for the batch converters; see the header for how it
// differs from the plain evaluation and why the results are the same.

#include "gridwise/geodesy/fast_series.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "gridwise/geodesy/series_terms.hpp"

namespace gridwise {
namespace {

using Real = long double;
using series::ArcFromSines;
using series::ArcSeries;
using series::ConstantsFor;
using series::kArcTolerance;
using series::kMaxBisectionSteps;
using series::kMaxRangeDoublings;
using series::kPi;
using series::KrugerConstants;
using series::MakeArcSeries;
using series::MakeKrugerConstants;

// The kernels and their bounds count on the x87 extended format (64-bit significand, units of
// 2^-64) and on glibc's extended functions; built anywhere else, the converters take the plain
// series, which hold on any format.
constexpr bool kExtendedFormat =
    std::numeric_limits<Real>::digits == 64 && std::numeric_limits<Real>::max_exponent == 16384;

// The benchmarks' reference build (GW_PLAIN_FILE_EVALUATION) and any other format take the plain
// series.
#ifdef GRIDWISE_PLAIN_FILES
constexpr bool kPlainFiles = true;
#elif defined(__GLIBC__)
constexpr bool kPlainFiles = !kExtendedFormat;
#else
constexpr bool kPlainFiles = true;
#endif

// Bound on the difference between the cheap trial arc and the exact extended-precision arc,
// metres. The cheap arc errs by less than 1e-10 m for latitudes up to kCheapArcLimit; the bound
// keeps a margin of four orders of magnitude.
constexpr Real kCheapArcError = 1.0e-6L;
constexpr Real kCheapArcLimit = 8.0L;  // radians; beyond it the double argument loses digits

// sin and cos of one argument with one reduction: the values sinl and cosl give.
struct SinCos {
    Real s = 0, c = 0;
};
SinCos SinCosOf(Real x) {
    SinCos r;
#if defined(__GLIBC__)
    sincosl(x, &r.s, &r.c);
#else
    r.s = std::sin(x);
    r.c = std::cos(x);
#endif
    return r;
}

// Bounds on how far the values below may lie from those of the plain series assume, as the C
// library documents for its goal, that each of its extended functions errs by a few units in
// the last place; they count four, in the plain and in this evaluation alike. A unit below is
// 2^-64, the relative spacing of long double values.
constexpr Real kUnit = 0x1p-64L;

// Where the bounds hold: latitudes and conformal latitudes within 80 deg, longitude
// differences within 20 deg. Elsewhere the plain series decides.
constexpr Real kBoundedLatitude = 1.3962634015954636616L;    // 80 deg
constexpr Real kBoundedLongitude = 0.34906585039886591538L;  // 20 deg
constexpr Real kUnbounded = std::numeric_limits<Real>::infinity();
// Within this longitude difference the Krueger forward series takes its arctangents by series.
constexpr Real kSeriesLongitude = 0.069813170079773183077L;  // 4 deg

// pi/2 in two parts: the long double nearest to it and the remainder.
constexpr Real kHalfPi = kPi / 2.0L;
constexpr Real kHalfPiRemainder = -2.50827880633416601178e-20L;

// The Taylor coefficients of sin and cos after their leading terms, (-1)^k / (2k+1)! for
// k = 1..9 and (-1)^k / (2k)! for k = 1..10, each rounded once: n! itself is exact in long
// double that far, its odd part having fewer than 64 bits.
struct TaylorCoefficients {
    std::array<Real, 9> sin{};
    std::array<Real, 10> cos{};
};
constexpr TaylorCoefficients kTaylor = [] {
    TaylorCoefficients t;
    Real factorial = 1.0L;
    for (int n = 1; n <= 20; ++n) {
        factorial *= n;
        const int k = n / 2;
        const Real term = (k % 2 == 0 ? 1.0L : -1.0L) / factorial;
        if (n % 2 == 1 && k >= 1) t.sin[k - 1] = term;
        if (n % 2 == 0) t.cos[k - 1] = term;
    }
    return t;
}();

// sum of c[i] z^i, as two interleaved Horner chains in z^2 so that the latency is halved.
template <std::size_t N>
Real Polynomial(const std::array<Real, N>& c, Real z) {
    const Real z2 = z * z;
    constexpr std::size_t last = N - 1;
    Real even = c[last % 2 == 0 ? last : last - 1];
    Real odd = c[last % 2 == 1 ? last : last - 1];
    for (std::size_t i = (last % 2 == 0 ? last : last - 1); i >= 2; i -= 2)
        even = c[i - 2] + z2 * even;
    for (std::size_t i = (last % 2 == 1 ? last : last - 1); i >= 3; i -= 2)
        odd = c[i - 2] + z2 * odd;
    return even + z * odd;
}

// sin and cos of |y| <= pi/4: the Taylor series to the 19th and 20th powers (the remainders lie
// below a hundredth of a unit), the leading term added last so that it carries no rounding;
// within one unit in the last place of the true values.
struct SinVersine {
    Real s = 0, versine = 0;  // sin y and 1 - cos y, the latter without cancellation
};
SinVersine SinVersineWithinQuarter(Real y) {
    const Real y2 = y * y;
    return {y + y * (y2 * Polynomial(kTaylor.sin, y2)), -(y2 * Polynomial(kTaylor.cos, y2))};
}
SinCos SinCosWithinQuarter(Real y) {
    const SinVersine v = SinVersineWithinQuarter(y);
    return {v.s, 1.0L - v.versine};
}

// The Taylor coefficients of atanh after its leading term, 1 / (2k+1) for k = 1..9: enough for
// |u| <= sin kSeriesLongitude, where the next term lies below a hundredth of a unit.
constexpr std::array<Real, 9> kAtanhTaylor = [] {
    std::array<Real, 9> c{};
    for (std::size_t k = 1; k <= c.size(); ++k) c[k - 1] = 1.0L / static_cast<Real>(2 * k + 1);
    return c;
}();
Real AtanhBySeries(Real u) {
    const Real u2 = u * u;
    return u + u * (u2 * Polynomial(kAtanhTaylor, u2));
}

// sin and cos of x for |x| < 5 pi/4. Beyond pi/4 one subtraction of pi/2 or pi brings the
// argument within the quarter: the subtraction of the long double nearest to it is exact there
// (x lies within a factor of two of what is subtracted), so the reduced argument errs by half a
// unit of its own size only. Farther out the library reduces.
SinCos SinCosReduced(Real x) {
    constexpr Real kQuarter = kPi / 4.0L;
    const Real magnitude = std::fabs(x);
    if (magnitude <= kQuarter) return SinCosWithinQuarter(x);
    if (magnitude >= 5.0L * kQuarter) return SinCosOf(x);
    const Real sign = x > 0.0L ? 1.0L : -1.0L;
    if (magnitude < 3.0L * kQuarter) {
        const Real y = (magnitude - kHalfPi) - kHalfPiRemainder;
        const SinCos r = SinCosWithinQuarter(y);
        return {sign * r.c, -r.s};
    }
    const Real y = (magnitude - kPi) - 2.0L * kHalfPiRemainder;
    const SinCos r = SinCosWithinQuarter(y);
    return {-sign * r.s, -r.c};
}

// The arc with sin 2B reduced as above and sin 4B, sin 6B from the double-angle identities.
Real ArcWithReducedSines(const ArcSeries& k, Real B) {
    const SinCos two = SinCosReduced(2.0L * B);
    const Real s4 = 2.0L * two.s * two.c;
    const Real c4 = two.c * two.c - two.s * two.s;
    const Real s6 = s4 * two.c + c4 * two.s;
    return ArcFromSines(k, B, two.s, s4, s6);
}

// A trial arc of the bisection, with double-precision sines; within kCheapArcError of the exact
// arc for |B| <= kCheapArcLimit.
// The arc from sin 2B and cos 2B in double, sin 4B and sin 6B by the double-angle identities.
Real ArcFromDoubleAngle(const ArcSeries& k, Real B, double s2, double c2) {
    const double s4 = 2.0 * s2 * c2;
    const double c4 = c2 * c2 - s2 * s2;
    const double s6 = s4 * c2 + c4 * s2;
    return ArcFromSines(k, B, s2, s4, s6);
}
Real CheapArc(const ArcSeries& k, Real B) {
    const double twoB = static_cast<double>(2.0L * B);
    return ArcFromDoubleAngle(k, B, std::sin(twoB), std::cos(twoB));
}

// --- Krueger series -------------------------------------------------------------------------
//
// The plain evaluation spends most of its time in the general argument reduction of sinl, cosl
// and tanl (every latitude above 45 deg needs it) and in extended-precision functions of small
// quantities. Here the large quantities stay in extended precision with one subtraction of pi/2
// for the reduction, and the periodic sums, a few hundred metres at most, are taken in double.
// The result is then within a bound of the plain series' value rather than equal to it, and the
// projection keeps it only when the bound cannot change the double it rounds to.
//
// The four terms of a Krueger sum, sum_j c_j sin(2j u) cosh(2j v) and
// sum_j c_j cos(2j u) sinh(2j v), in double, with the first term kept in extended precision
// around its double factors. sin 2u and cos 2u take the residual of 2u as a first-order
// correction, so they err by the double function's own rounding; cosh and sinh of 2v come from
// one expm1, cosh as 1 + (cosh - 1) so that its small part keeps its digits.
struct KrugerSums {
    Real alongU = 0, alongV = 0;
};
KrugerSums SumsInDouble(const Real (&coefficient)[4], Real u, Real v) {
    const Real twoU = 2.0L * u;
    const double argument = static_cast<double>(twoU);
    const double residual = static_cast<double>(twoU - argument);
    const double sinD = std::sin(argument), cosD = std::cos(argument);
    const double s1 = sinD + cosD * residual, c1 = cosD - sinD * residual;
    const double e = std::expm1(static_cast<double>(2.0L * v));
    const double coshMinusOne = e * e / (2.0 * (e + 1.0));
    const double sh1 = e * (e + 2.0) / (2.0 * (e + 1.0)), ch1 = 1.0 + coshMinusOne;
    double s = s1, c = c1, sh = sh1, ch = ch1;
    double restU = 0.0, restV = 0.0;
    for (int j = 1; j < 4; ++j) {
        const double sNext = s * c1 + c * s1, cNext = c * c1 - s * s1;
        const double shNext = sh * ch1 + ch * sh1, chNext = ch * ch1 + sh * sh1;
        s = sNext, c = cNext, sh = shNext, ch = chNext;
        restU += static_cast<double>(coefficient[j]) * s * ch;
        restV += static_cast<double>(coefficient[j]) * c * sh;
    }
    KrugerSums sums;
    sums.alongU =
        coefficient[0] * (static_cast<Real>(s1) + static_cast<Real>(s1) * coshMinusOne) + restU;
    sums.alongV = coefficient[0] * static_cast<Real>(c1) * static_cast<Real>(sh1) + restV;
    return sums;
}

ZonePlane KrugerForward(const TEllConst& ell, Real Br, Real l) {
    const KrugerConstants& k = ConstantsFor<KrugerConstants, MakeKrugerConstants>(ell);
    const SinCos sc = SinCosReduced(Br);
    const Real s = sc.s, c = sc.c;
    const Real chi = series::ConformalLatitude(k, Br, s, c);
    const SinCos conformal = SinCosReduced(chi);
    // Within kSeriesLongitude of the central meridian xi' = chi + delta with
    // tan delta = sin chi cos chi (1 - cos l) / (1 - cos^2 chi (1 - cos l)), at most 0.0013, whose
    // arctangent three terms give; eta' = atanh(cos chi sin l) by its series. Farther out the
    // library's atan2 and atanh.
    const bool bySeries = std::fabs(l) <= kSeriesLongitude;
    Real xiP = 0, etaP = 0;
    if (bySeries) {
        const SinVersine lon = SinVersineWithinQuarter(l);
        const Real cc = conformal.c * conformal.c;
        const Real tanDelta = conformal.s * conformal.c * lon.versine / (1.0L - cc * lon.versine);
        const Real tan2 = tanDelta * tanDelta;
        xiP = chi + tanDelta * (1.0L - tan2 * (1.0L / 3.0L - tan2 / 5.0L));
        etaP = AtanhBySeries(conformal.c * lon.s);
    } else {
        const SinCos lon = SinCosReduced(l);
        xiP = std::atan2(conformal.s, conformal.c * lon.c);
        etaP = std::atanh(conformal.c * lon.s);
    }
    const KrugerSums sums = SumsInDouble(k.beta, xiP, etaP);
    ZonePlane p{k.rectifyingRadius * (xiP + sums.alongU), k.rectifyingRadius * (etaP + sums.alongV),
                kUnbounded, kUnbounded};
    if (std::fabs(Br) <= kBoundedLatitude && std::fabs(l) <= kBoundedLongitude) {
        // xi carries the errors of tan, cos and atan of the plain evaluation, about 20 units of a
        // value below 1.4, those of this one (a few units by the series, 20 by the library), the
        // roundings of chi and of the sums, about 15, and the double sums 2^-53 of their first
        // coefficient, two units. eta carries relative errors of about 90 units, the difference
        // in chi entering through cos chi with its condition tan chi.
        p.xError = k.rectifyingRadius * kUnit * ((bySeries ? 40.0L : 64.0L) + 1.0L / c);
        p.yError = k.rectifyingRadius * kUnit * (8.0L + std::fabs(etaP) * (90.0L + 3.0L * s / c));
    }
    return p;
}

ZonePlane ClassicForward(const TEllConst& ell, Real Br, Real l) {
    const SinCos sc = SinCosReduced(Br);
    const Real s = sc.s, c = sc.c;
    const Real arc = ArcWithReducedSines(ConstantsFor<ArcSeries, MakeArcSeries>(ell), Br);
    ZonePlane p = series::ClassicForwardTerms(ell, s, c, s / c, l, arc);
    p.xError = p.yError = kUnbounded;
    if (std::fabs(Br) <= kBoundedLatitude && std::fabs(l) <= kBoundedLongitude) {
        // x: the sines of the arc enter with coefficients of 1/400 and below; what remains are
        // the roundings of the sums, some two dozen units of the arc and of x, both below 1.6 a. y:
        // cos B and the roundings of its three terms, about 30 units of y, the reduction adding a
        // little as cos B grows small.
        p.xError = kUnit * 32.0L * static_cast<Real>(ell.A);
        p.yError = kUnit * (std::fabs(p.y) * (40.0L + 1.0L / c) + 1.0L);
    }
    return p;
}

ZoneGeo ClassicInverse(const TEllConst& ell, Real x, Real y) {
    const Real B1 = FastFootpointLatitude(ell, x);
    const SinCos sc = SinCosReduced(B1);
    const Real c = sc.c;
    ZoneGeo r = series::ClassicInverseTerms(ell, B1, sc.s, c, sc.s / c, y);
    r.BError = r.lError = kUnbounded;
    if (std::fabs(B1) <= kBoundedLatitude) {
        // The footpoint latitude is the plain one; tan B1 and cos B1 differ by some 20 units,
        // which the corrections carry, and the roundings of the sums add a few units of B and l.
        r.BError = kUnit * (12.0L + std::fabs(r.B - B1) * (30.0L + 1.0L / c));
        r.lError = kUnit * (1.0L + std::fabs(r.l) * (30.0L + 1.0L / c));
    }
    return r;
}

ZoneGeo KrugerInverse(const TEllConst& ell, Real x, Real y) {
    const KrugerConstants& k = ConstantsFor<KrugerConstants, MakeKrugerConstants>(ell);
    const Real xi = x / k.rectifyingRadius, eta = y / k.rectifyingRadius;
    const KrugerSums sums = SumsInDouble(k.delta, xi, eta);
    const Real xiP = xi - sums.alongU, etaP = eta - sums.alongV;
    const SinCos primed = SinCosReduced(xiP);
    // sinh and cosh of eta' from one expm1, as in the sums.
    const Real e = std::expm1(etaP);
    const Real sinhP = e * (e + 2.0L) / (2.0L * (e + 1.0L));
    const Real coshP = 1.0L + e * e / (2.0L * (e + 1.0L));
    // sin phi = sin xi' / cosh eta'; cos phi follows without the arcsine's loss near the pole.
    const Real q = std::sqrt(sinhP * sinhP + primed.c * primed.c);
    const Real phi = std::atan2(primed.s, q);
    const Real sp = primed.s / coshP, cp = q / coshP;
    ZoneGeo r;
    r.B = series::LatitudeOfConformal(k, phi, sp, cp);
    r.l = std::atan2(sinhP, primed.c);
    r.BError = r.lError = kUnbounded;
    if (std::fabs(phi) <= kBoundedLatitude && primed.c > 0.0L) {
        // The plain arcsine multiplies the relative errors of sin xi' and cosh eta' (about 20
        // units) by tan phi; the rest, both evaluations and the double sums together, stays
        // within about 70 units, the reduction adding a little as cos xi' grows small. The
        // longitude carries about 60 units of itself and the error of xi' times its tangent.
        const Real tanPhi = std::fabs(sp / cp);
        r.BError = kUnit * (48.0L + 18.0L * tanPhi + 1.0L / primed.c);
        r.lError = kUnit * (4.0L + std::fabs(r.l) * (84.0L + 8.0L * tanPhi + 1.0L / primed.c));
    }
    return r;
}

// A trial arc of the bisection: cheap with its error bound, or exact.
struct TrialArc {
    Real value = 0;
    bool exact = true;
};

TrialArc Trial(const TEllConst& ell, const ArcSeries& k, Real B) {
    if (std::fabs(B) <= kCheapArcLimit) return {CheapArc(k, B), false};
    return {MeridianArcExtended(ell, B), true};
}

// The sign of X minus the arc at B, as the exact arc decides it.
int CompareWithArc(const TEllConst& ell, const ArcSeries& k, Real X, Real B) {
    TrialArc arc = Trial(ell, k, B);
    if (!arc.exact && X < arc.value - kCheapArcError) return -1;
    if (!arc.exact && X > arc.value + kCheapArcError) return 1;
    if (!arc.exact) arc = {MeridianArcExtended(ell, B), true};
    return X < arc.value ? -1 : (X > arc.value ? 1 : 0);
}

// Where the bisection needs no arc at all: a close estimate of the latitude whose arc is X, and
// how near to it a trial latitude must come before its arc is worth computing. M grows with the
// latitude at least as fast as the meridian radius at the equator, a (1 - e²), so a trial farther
// than kNoArcMargin from the root has an arc more than twice the tolerance from X, on the side
// the estimate tells.
struct RootEstimate {
    bool usable = false;
    Real latitude = 0;
    Real margin = 0;
    // The estimate again in double, with sin 2B, cos 2B and sin B there: trial latitudes near it
    // take their sines from these.
    double start = 0, sin2 = 0, cos2 = 1, sin1 = 0;
};

// Error bound of the estimate, radians; the series below and its roundings err by less than 5e-15.
constexpr Real kRootEstimateError = 1.0e-12L;

// What the estimate takes from the ellipsoid alone, formed once per ellipsoid: the latitude as a
// series in sin 2k mu of the rectifying latitude mu = X / (a / (1 + n) (1 + n²/4 + n⁴/64)), the
// reversion to n^5 of the arc series as the plain evaluation truncates it (without Helmert's
// n⁴ sin 8B term, hence 353/128 rather than the usual 1097/512). Its terms beyond n^5 stay below
// 2e-15 rad (checked against a 40-digit root of the arc for Krasovsky's n), far within
// kRootEstimateError.
struct RootSeries {
    double inverseScale = 0;
    double b2 = 0, b4 = 0, b6 = 0, b8 = 0, b10 = 0;
    Real margin = 0;
    bool usable = false;
};
RootSeries MakeRootSeries(const TEllConst& ell) {
    RootSeries r;
    const ArcSeries k = MakeArcSeries(ell);
    const double n = static_cast<double>((static_cast<Real>(ell.A) - ell.B) /
                                         (static_cast<Real>(ell.A) + ell.B));
    const double n2 = n * n, n3 = n2 * n, n4 = n2 * n2, n5 = n4 * n;
    r.inverseScale = static_cast<double>(1.0L / (k.scale * k.c0));
    r.b2 = 1.5 * n - 27.0 / 32.0 * n3 + 281.0 / 512.0 * n5;
    r.b4 = 21.0 / 16.0 * n2 - 55.0 / 32.0 * n4;
    r.b6 = 151.0 / 96.0 * n3 - 17813.0 / 3072.0 * n5;
    r.b8 = 353.0 / 128.0 * n4;
    r.b10 = 7375.0 / 1024.0 * n5;
    const Real slowestGrowth = static_cast<Real>(ell.A) * (1.0L - ell.E2);
    r.usable = slowestGrowth > 0.0L;
    r.margin = kRootEstimateError + 2.0L * kArcTolerance / slowestGrowth;
    return r;
}

RootEstimate EstimateRoot(const TEllConst& ell, const ArcSeries&, Real X) {
    const RootSeries& series = ConstantsFor<RootSeries, MakeRootSeries>(ell);
    RootEstimate estimate;
    const double mu = static_cast<double>(X) * series.inverseScale;
    const double s2 = std::sin(2.0 * mu), c2 = std::cos(2.0 * mu);
    const double s4 = 2.0 * s2 * c2, c4 = c2 * c2 - s2 * s2;
    const double s6 = s4 * c2 + c4 * s2;
    const double s8 = 2.0 * s4 * c4, c8 = c4 * c4 - s4 * s4;
    const double s10 = s8 * c2 + c8 * s2;
    const double phi =
        mu + series.b2 * s2 + series.b4 * s4 + series.b6 * s6 + series.b8 * s8 + series.b10 * s10;
    estimate.start = phi;
    estimate.sin1 = std::sin(phi);
    estimate.sin2 = std::sin(2.0 * phi);
    estimate.cos2 = std::cos(2.0 * phi);
    estimate.usable = std::isfinite(phi) && series.usable;
    estimate.latitude = phi;
    estimate.margin = series.margin;
    return estimate;
}

}  // namespace

long double FastFootpointLatitude(const TEllConst& ell, long double X) {
    if (kPlainFiles) return FootpointLatitudeExtended(ell, X);
    if (std::isnan(X)) return X;
    const ArcSeries& k = ConstantsFor<ArcSeries, MakeArcSeries>(ell);
    const bool negative = X < 0.0L;
    X = std::fabs(X);
    Real lo = 0.0L, hi = kPi / 2.0L, mid = 0.0L;
    if (CompareWithArc(ell, k, X, hi) >= 0) {
        hi = kPi;
        for (int i = 0; i < kMaxRangeDoublings && CompareWithArc(ell, k, X, hi) > 0; ++i)
            hi *= 2.0L;
    }
    // Within the quarter meridian the root lies in [0, pi/2], where the estimate decides the trial
    // latitudes far from it without an arc.
    const bool withinQuarter = hi == kPi / 2.0L;
    const RootEstimate root = withinQuarter ? EstimateRoot(ell, k, X) : RootEstimate{};
    TrialArc M{0.0L, true};
    bool decidedAbove = false;  // the side of X when the estimate alone decides it
    bool decided = false;
    for (int step = 0; step < kMaxBisectionSteps; ++step) {
        bool above = decidedAbove;
        if (!decided) {
            Real distance = std::fabs(X - M.value);
            if (!M.exact) {
                // Decided by the bound, or else by the exact arc.
                if (distance < kArcTolerance - kCheapArcError) break;
                if (!(distance > kArcTolerance + kCheapArcError)) {
                    M = {MeridianArcExtended(ell, mid), true};
                    distance = std::fabs(X - M.value);
                }
            }
            if (M.exact && !(distance > kArcTolerance)) break;
            // |X - M| exceeds the tolerance, so the side of X is that of the trial arc.
            above = X > M.value;
        }
        // Selected rather than branched on: the side is a coin toss for the branch predictor.
        lo = above ? mid : lo;
        hi = above ? hi : mid;
        mid = (lo + hi) / 2.0L;
        decided = root.usable && std::fabs(mid - root.latitude) > root.margin;
        decidedAbove = mid < root.latitude;
        if (!decided) M = Trial(ell, k, mid);
    }
    return negative ? -mid : mid;
}

namespace {

// --- The inverse series for a file that writes B and L ----------------------------------------
//
// A file holds B and L as text of 7 to 10 decimals of a degree (units of 1.7e-12 rad at the
// finest); these kernels evaluate in double, with bounds some hundred units of 2^-53 wide, and
// the projection keeps their values where the text cannot differ.
constexpr double kU = 0x1p-53;

// The footpoint latitude of the bisection without its forty halvings. While a trial latitude
// lies farther from the root than the estimate's margin its side is known, so the trial
// latitudes are the dyadic points of [0, pi/2] along the binary digits of root / (pi/2): at level
// k, (2P + 1) 2^-k (pi/2) with P the first k - 1 digits. Only the levels within the margin need
// an arc; the search stops at the first whose arc is within the tolerance, as the plain one does.
// The plain bisection forms its trial latitudes by rounded sums, each within a unit of the
// dyadic point, so the latitude found lies within kFootpointDeviation of the plain one. A root
// within the estimate's error of a trial latitude stops the search there (its arc lies within
// 1e-5 m of X), so the digits of the estimate and of the root never lead elsewhere.
constexpr Real kFootpointDeviation = 0x1p-57L;  // radians
// Bound on the cheap arc's distance from the plain search's arc at its trial latitude: the cheap
// arc's own error (its sines of 2B err by 1e-16, their coefficients are below 2e4 m: some 1e-11
// m) and the arc over kFootpointDeviation (5e-11 m), with a margin of two orders.
constexpr Real kTrialArcError = 1e-8L;
// 2^-k for the trial latitudes of level k.
constexpr std::array<Real, 64> kNegativePowersOfTwo = [] {
    std::array<Real, 64> powers{};
    Real power = 1.0L;
    for (Real& p : powers) {
        p = power;
        power /= 2.0L;
    }
    return powers;
}();

struct FootpointByDigits {
    Real latitude = 0;
    double sine = 0, cosine = 1;  // of the latitude, from the estimate's by the angle sum
    bool usable = false;
};

// sin and cos of a + d from those of a for |d| below 1e-8, where the next terms lie below 1e-25.
struct SineCosine {
    double s = 0, c = 1;
};
SineCosine AngleSum(double s, double c, double d) {
    const double half = d * d / 2.0;
    return {s + c * d - s * half, c - s * d - c * half};
}

FootpointByDigits FootpointFromDigits(const TEllConst& ell, Real X) {
    FootpointByDigits result;
    const ArcSeries& k = ConstantsFor<ArcSeries, MakeArcSeries>(ell);
    const bool negative = X < 0.0L;
    X = std::fabs(X);
    const Real halfPi = kPi / 2.0L;
    // Small arcs take trial latitudes in binades of their own, arcs near the quarter meridian
    // the range doubling: the plain search decides there.
    if (!(X > 1000.0L && X < k.scale * k.c0 * halfPi - 1.0L)) return result;
    const RootEstimate root = EstimateRoot(ell, k, X);
    if (!root.usable) return result;
    constexpr Real kInverseHalfPi = 2.0L / kPi;
    const Real tau = root.latitude * kInverseHalfPi;
    if (!(tau > 0.0L && tau < 1.0L)) return result;
    // tau and the margin in units of 2^-62; the truncation adds a unit.
    const auto digits = static_cast<std::uint64_t>(tau * 0x1p62L);
    // Multiplied rather than divided: a unit of 2^-64 more, which the margin's 4 units cover.
    const auto margin = static_cast<std::uint64_t>(root.margin * kInverseHalfPi * 0x1p62L) + 4;
    // A level whose digit sits at position p (= 62 - level) is within the margin only when the
    // digits below it down to the margin's width all differ from it: only the one just above the
    // last run of equal digits, and those below the margin's width. The levels before the first
    // of them are decided and skipped.
    const int marginBits = std::bit_width(margin);
    const std::uint64_t above = digits >> marginBits;
    const int run = (above & 1) != 0 ? std::countr_one(above) : std::countr_zero(above);
    const int first = std::max(1, 62 - (marginBits + run));
    for (int level = first; level <= 62; ++level) {
        const int below = 63 - level;
        const std::uint64_t rest = digits & ((std::uint64_t{1} << below) - 1);
        const std::uint64_t half = std::uint64_t{1} << (below - 1);
        const std::uint64_t distance = rest > half ? rest - half : half - rest;
        if (distance > margin) continue;  // decided by the estimate, no arc
        const std::uint64_t odd = 2 * (digits >> below) + 1;
        const Real mid = halfPi * static_cast<Real>(odd) * kNegativePowersOfTwo[level];
        const double offset = static_cast<double>(mid - root.start);
        if (!(std::fabs(offset) < 1e-8)) return result;
        const SineCosine twice = AngleSum(root.sin2, root.cos2, 2.0 * offset);
        const Real gap = std::fabs(X - ArcFromDoubleAngle(k, mid, twice.s, twice.c));
        if (gap < kArcTolerance - kTrialArcError) {
            // cos of the start from cos 2B: within 10 u up to 80 deg.
            const double cosStart = std::sqrt((1.0 + root.cos2) / 2.0);
            const SineCosine once = AngleSum(root.sin1, cosStart, offset);
            result.latitude = negative ? -mid : mid;
            result.sine = negative ? -once.s : once.s;
            result.cosine = once.c;
            result.usable = true;
            return result;
        }
        if (!(gap > kArcTolerance + kTrialArcError)) return result;  // open: the plain decides
    }
    return result;
}

// Classic inverse from the footpoint by digits, the terms in double. Bounds: the footpoint lies
// within kFootpointDeviation of the plain one and is rounded to double (2^-53 rad); its sin and
// cos (within 12 u, from the estimate's) and the terms' roundings give the corrections a relative
// error of some 40 u in both evaluations, and the footpoint's error reaches them through tan and
// cos with a factor 2 / cos.
ZoneGeo ClassicInverseWritten(const TEllConst& ell, Real x, Real y) {
    const FootpointByDigits footpoint = FootpointFromDigits(ell, x);
    if (!footpoint.usable || !(std::fabs(footpoint.latitude) <= kBoundedLatitude))
        return ClassicInverse(ell, x, y);
    const double B1 = static_cast<double>(footpoint.latitude);
    const double s = footpoint.sine, c = footpoint.cosine;
    ZoneGeo r = series::ClassicInverseTermsIn<double>(ell, B1, s, c, s / c, static_cast<double>(y));
    const double B1Error = static_cast<double>(kFootpointDeviation) + kU;
    const double reach = 2.0 * B1Error / c;
    const double B = static_cast<double>(r.B), l = static_cast<double>(r.l);
    r.BError = B1Error + std::fabs(B - B1) * (64.0 * kU + reach) + 4.0 * kU * std::fabs(B);
    r.lError = std::fabs(l) * (64.0 * kU + reach * std::fabs(s)) + 1e-300;
    return r;
}

// Krueger inverse in double. Bounds: xi and eta and the sums carry a few u of xi' and eta';
// sin, cos, expm1, the square root and the two arctangents are each within a unit in the last
// place, some 20 u of phi together in both evaluations; the plain arcsine multiplies the relative
// errors of its argument by tan phi, and the reduction of xi' by 1 / cos xi'. The longitude
// carries the same relative errors.
ZoneGeo KrugerInverseWritten(const TEllConst& ell, Real x, Real y) {
    const KrugerConstants& k = ConstantsFor<KrugerConstants, MakeKrugerConstants>(ell);
    const Real xi = x / k.rectifyingRadius, eta = y / k.rectifyingRadius;
    if (!(std::fabs(xi) <= kBoundedLatitude && std::fabs(eta) <= kBoundedLongitude))
        return KrugerInverse(ell, x, y);
    const KrugerSums sums = SumsInDouble(k.delta, xi, eta);
    const double xiP = static_cast<double>(xi - sums.alongU);
    const double etaP = static_cast<double>(eta - sums.alongV);
    const double sinXi = std::sin(xiP), cosXi = std::cos(xiP);
    const double e = std::expm1(etaP);
    const double sinhP = e * (e + 2.0) / (2.0 * (e + 1.0));
    const double coshP = 1.0 + e * e / (2.0 * (e + 1.0));
    const double q = std::sqrt(sinhP * sinhP + cosXi * cosXi);
    const double phi = std::atan2(sinXi, q);
    const double sp = sinXi / coshP, cp = q / coshP;
    ZoneGeo r;
    r.B = series::LatitudeOfConformalIn<double>(k, phi, sp, cp);
    r.l = std::atan2(sinhP, cosXi);
    r.BError = r.lError = kUnbounded;
    if (std::fabs(phi) <= static_cast<double>(kBoundedLatitude) && cosXi > 0.0) {
        const Real tanPhi = std::fabs(sp / cp);
        r.BError = kU * (64.0L + 32.0L * tanPhi + 4.0L / cosXi);
        r.lError = kU * (8.0L + std::fabs(r.l) * (64.0L + 16.0L * tanPhi + 4.0L / cosXi));
    }
    return r;
}

// The kernels of both kinds; where a written result's bounds leave its text open, the kernels
// with the plain doubles' bounds are tried before the plain series.
constexpr SeriesKernels kFastClassic{ClassicForward, ClassicInverse};
constexpr SeriesKernels kFastKruger{KrugerForward, KrugerInverse};
constexpr SeriesKernels kWrittenClassic{ClassicForward, ClassicInverseWritten, &kFastClassic};
constexpr SeriesKernels kWrittenKruger{KrugerForward, KrugerInverseWritten, &kFastKruger};

}  // namespace

const SeriesKernels& WrittenSeries(bool kruger) {
    return kruger ? kWrittenKruger : kWrittenClassic;
}

const SeriesKernels& FastSeries(bool kruger) {
    return kruger ? kFastKruger : kFastClassic;
}

PlaneCoords FastGeoToPlane(const GeoCoords& point, const TEllConst& ell,
                           const ProjectionSettings& settings, bool& ok, int writtenDecimals) {
    if (kPlainFiles) return GeoToPlane(point, ell, settings, ok);
    return GeoToPlane(point, ell, settings, ok, FastSeries(settings.kruger), nullptr,
                      writtenDecimals);
}

GeoCoords FastPlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                         const ProjectionSettings& settings, bool& ok, int writtenDecimals) {
    if (kPlainFiles) return PlaneToGeo(point, ell, settings, ok);
    const SeriesKernels& kernels = writtenDecimals == kDoublesKept ? FastSeries(settings.kruger)
                                                                   : WrittenSeries(settings.kruger);
    return PlaneToGeo(point, ell, settings, ok, kernels, nullptr, writtenDecimals);
}

}  // namespace gridwise
