// Fast evaluation of the projection series for the batch converters; see the header for how it
// differs from the plain evaluation and why the results are the same.

#include "gridwise/convert_fast_series.hpp"

#include <cmath>
#include <numbers>

namespace gridwise {
namespace {

using Real = long double;
constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kArcTolerance = 0.0001L;
constexpr int kMaxBisectionSteps = 400;
constexpr int kMaxRangeDoublings = 64;

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
    sincosl(x, &r.s, &r.c);
    return r;
}

// Helmert's series with its coefficients computed as MeridianArcExtended computes them.
struct ArcSeries {
    Real scale = 0, c0 = 0, c2 = 0, c4 = 0, c6 = 0;
};
ArcSeries MakeArcSeries(const TEllConst& ell) {
    const Real a = ell.A;
    const Real b = ell.B;
    const Real n = (a - b) / (a + b);
    const Real n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    ArcSeries k;
    k.scale = a / (1.0L + n);
    k.c0 = 1.0L + n2 / 4.0L + n4 / 64.0L;
    k.c2 = 1.5L * n - 3.0L / 16.0L * n3;
    k.c4 = 15.0L / 16.0L * n2 - 15.0L / 64.0L * n4;
    k.c6 = 35.0L / 48.0L * n3;
    return k;
}

Real ArcFromSines(const ArcSeries& k, Real B, Real s2, Real s4, Real s6) {
    return k.scale * (k.c0 * B - k.c2 * s2 + k.c4 * s4 - k.c6 * s6);
}

// The arc with sin 2B from the library and sin 4B, sin 6B from the double-angle identities.
Real ArcWithExactFirstTerm(const ArcSeries& k, Real B) {
    const SinCos two = SinCosOf(2.0L * B);
    const Real s4 = 2.0L * two.s * two.c;
    const Real c4 = two.c * two.c - two.s * two.s;
    const Real s6 = s4 * two.c + c4 * two.s;
    return ArcFromSines(k, B, two.s, s4, s6);
}

// A trial arc of the bisection, with double-precision sines; within kCheapArcError of the exact
// arc for |B| <= kCheapArcLimit.
Real CheapArc(const ArcSeries& k, Real B) {
    const double twoB = static_cast<double>(2.0L * B);
    const double s2 = std::sin(twoB), c2 = std::cos(twoB);
    const double s4 = 2.0 * s2 * c2;
    const double c4 = c2 * c2 - s2 * s2;
    const double s6 = s4 * c2 + c4 * s2;
    return ArcFromSines(k, B, s2, s4, s6);
}

// The constants of the last ellipsoid seen: a converter uses one ellipsoid for all its lines.
template <class Constants, Constants (*Make)(const TEllConst&)>
const Constants& CachedFor(const TEllConst& ell) {
    thread_local bool filled = false;
    thread_local TEllConst key{};
    thread_local Constants constants{};
    if (!filled || ell.A != key.A || ell.B != key.B) {
        filled = true;
        key = ell;
        constants = Make(ell);
    }
    return constants;
}

// f, e², n and the rectifying radius as the Krueger series derive them.
struct KrugerConstants {
    Real e2 = 0, n = 0, rectifyingRadius = 0;
};
KrugerConstants MakeKrugerConstants(const TEllConst& ell) {
    const Real a = ell.A;
    const Real f = (a - static_cast<Real>(ell.B)) / a;
    KrugerConstants k;
    k.e2 = (2.0L - f) * f;
    k.n = f / (2.0L - f);
    const Real n2 = k.n * k.n;
    k.rectifyingRadius = a / (1.0L + k.n) * (1.0L + n2 / 4.0L + n2 * n2 / 64.0L);
    return k;
}

// sin(2j u) and cos(2j u), cosh(2j v) and sinh(2j v) for j = 1..4, the first from the library,
// the others by the multiple-angle identities.
struct MultipleAngles {
    Real sin[4], cos[4], cosh[4], sinh[4];
};
MultipleAngles MakeMultipleAngles(Real u, Real v) {
    MultipleAngles m;
    const SinCos first = SinCosOf(2.0L * u);
    m.sin[0] = first.s;
    m.cos[0] = first.c;
    m.cosh[0] = std::cosh(2.0L * v);
    m.sinh[0] = std::sinh(2.0L * v);
    for (int j = 1; j < 4; ++j) {
        m.sin[j] = m.sin[j - 1] * m.cos[0] + m.cos[j - 1] * m.sin[0];
        m.cos[j] = m.cos[j - 1] * m.cos[0] - m.sin[j - 1] * m.sin[0];
        m.cosh[j] = m.cosh[j - 1] * m.cosh[0] + m.sinh[j - 1] * m.sinh[0];
        m.sinh[j] = m.sinh[j - 1] * m.cosh[0] + m.cosh[j - 1] * m.sinh[0];
    }
    return m;
}

ZonePlane ClassicForward(const TEllConst& ell, Real Br, Real l) {
    const SinCos sc = SinCosOf(Br);
    const Real s = sc.s, c = sc.c, t = s / c;
    const Real a = ell.A;
    const Real N = a / std::sqrt(1.0L - static_cast<Real>(ell.E2) * s * s);
    const Real eta2 = static_cast<Real>(ell.Ep2) * c * c;
    const Real t2 = t * t, t4 = t2 * t2;
    const Real c2 = c * c, c4 = c2 * c2;
    const Real l2 = l * l, l3 = l2 * l;
    const Real a2 = N * s * c / 2.0L;
    const Real a4 = N * s * c * c2 * (5.0L - t2 + 9.0L * eta2 + 4.0L * eta2 * eta2) / 24.0L;
    const Real a6 = N * s * c * c4 * (61.0L - 58.0L * t2 + t4) / 720.0L;
    const Real b1 = N * c;
    const Real b3 = N * c * c2 * (1.0L - t2 + eta2) / 6.0L;
    const Real b5 =
        N * c * c4 * (5.0L - 18.0L * t2 + t4 + 14.0L * eta2 - 58.0L * t2 * eta2) / 120.0L;
    const Real arc = ArcWithExactFirstTerm(CachedFor<ArcSeries, MakeArcSeries>(ell), Br);
    const Real x = arc + a2 * l2 + a4 * l2 * l2 + a6 * l3 * l3;
    const Real y = b1 * l + b3 * l3 + b5 * l3 * l2;
    return {x, y};
}

ZonePlane KrugerForward(const TEllConst& ell, Real Br, Real l) {
    const KrugerConstants& k = CachedFor<KrugerConstants, MakeKrugerConstants>(ell);
    const SinCos sc = SinCosOf(Br);
    const Real s = sc.s, c = sc.c;
    const Real e2 = k.e2, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const Real s2 = s * s;
    const Real chi = Br - s * c *
                              (e2 + (5.0L * e4 - e6) / 6.0L * s2 +
                               (104.0L * e6 - 45.0L * e8) / 120.0L * s2 * s2 +
                               1237.0L / 1260.0L * e8 * s2 * s2 * s2);
    const SinCos lon = SinCosOf(l);
    const Real xiP = std::atan(std::tan(chi) / lon.c);
    const Real etaP = std::atanh(std::cos(chi) * lon.s);
    const Real n = k.n, n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    const Real beta[4] = {n / 2.0L - 2.0L / 3.0L * n2 + 5.0L / 16.0L * n3 + 41.0L / 180.0L * n4,
                          13.0L / 48.0L * n2 - 3.0L / 5.0L * n3 + 557.0L / 1440.0L * n4,
                          61.0L / 240.0L * n3 - 103.0L / 140.0L * n4, 49561.0L / 161280.0L * n4};
    const MultipleAngles m = MakeMultipleAngles(xiP, etaP);
    Real xi = xiP, eta = etaP;
    for (int j = 0; j < 4; ++j) {
        xi += beta[j] * m.sin[j] * m.cosh[j];
        eta += beta[j] * m.cos[j] * m.sinh[j];
    }
    return {k.rectifyingRadius * xi, k.rectifyingRadius * eta};
}

ZoneGeo ClassicInverse(const TEllConst& ell, Real x, Real y) {
    const Real B1 = FastFootpointLatitude(ell, x);
    const SinCos sc = SinCosOf(B1);
    const Real s = sc.s, c = sc.c, t = std::tan(B1);
    const Real invN =
        std::sqrt(1.0L - static_cast<Real>(ell.E2) * s * s) / static_cast<Real>(ell.A);
    const Real eta2 = static_cast<Real>(ell.Ep2) * c * c;
    const Real t2 = t * t, t4 = t2 * t2;
    const Real invN2 = invN * invN, invN3 = invN2 * invN, invN4 = invN2 * invN2;
    const Real invN5 = invN4 * invN, invN6 = invN3 * invN3;
    const Real y2 = y * y, y3 = y2 * y, y4 = y2 * y2, y5 = y4 * y, y6 = y3 * y3;
    ZoneGeo r;
    r.B = B1 - t * (1.0L + eta2) / 2.0L * invN2 * y2 +
          t * (5.0L + 3.0L * t2 + 6.0L * eta2 - 6.0L * eta2 * t2) / 24.0L * invN4 * y4 -
          t * (61.0L + 90.0L * t2 + 45.0L * t4) / 720.0L * invN6 * y6;
    r.l = y * invN / c - (1.0L + 2.0L * t2 + eta2) / (6.0L * c) * invN3 * y3 +
          (5.0L + 28.0L * t2 + 24.0L * t4 + 6.0L * eta2 + 8.0L * eta2 * t2) / (120.0L * c) * invN5 *
              y5;
    return r;
}

ZoneGeo KrugerInverse(const TEllConst& ell, Real x, Real y) {
    const KrugerConstants& k = CachedFor<KrugerConstants, MakeKrugerConstants>(ell);
    const Real xi = x / k.rectifyingRadius, eta = y / k.rectifyingRadius;
    const Real n = k.n, n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    const Real delta[4] = {n / 2.0L - 2.0L / 3.0L * n2 + 37.0L / 96.0L * n3 - 1.0L / 360.0L * n4,
                           1.0L / 48.0L * n2 + 1.0L / 15.0L * n3 - 437.0L / 1440.0L * n4,
                           17.0L / 480.0L * n3 - 37.0L / 840.0L * n4, 4397.0L / 161280.0L * n4};
    const MultipleAngles m = MakeMultipleAngles(xi, eta);
    Real xiP = xi, etaP = eta;
    for (int j = 0; j < 4; ++j) {
        xiP -= delta[j] * m.sin[j] * m.cosh[j];
        etaP -= delta[j] * m.cos[j] * m.sinh[j];
    }
    const SinCos primed = SinCosOf(xiP);
    Real phi = std::asin(primed.s / std::cosh(etaP));
    // Past the quarter meridian the latitude goes on over the pole, as in the plain series.
    if (primed.c < 0.0L) phi = std::copysign(kPi, xiP) - phi;
    const Real e2 = k.e2, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const Real aStar = e2 + e4 + e6 + e8;
    const Real bStar = -(7.0L * e4 + 17.0L * e6 + 30.0L * e8) / 6.0L;
    const Real cStar = (224.0L * e6 + 889.0L * e8) / 120.0L;
    const Real dStar = -4279.0L * e8 / 1260.0L;
    const SinCos p = SinCosOf(phi);
    const Real sp = p.s, sp2 = sp * sp;
    ZoneGeo r;
    r.B = phi + sp * p.c * (aStar + bStar * sp2 + cStar * sp2 * sp2 + dStar * sp2 * sp2 * sp2);
    r.l = std::atan(std::sinh(etaP) / primed.c);
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
};

// Error bound of the estimate, radians; the series and Newton step below err by less than 1e-15.
constexpr Real kRootEstimateError = 1.0e-12L;

RootEstimate EstimateRoot(const TEllConst& ell, const ArcSeries& k, Real X) {
    RootEstimate estimate;
    const double n = static_cast<double>((static_cast<Real>(ell.A) - ell.B) /
                                         (static_cast<Real>(ell.A) + ell.B));
    const double n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    const double mu = static_cast<double>(X / (k.scale * k.c0));
    const double s2 = std::sin(2.0 * mu), c2 = std::cos(2.0 * mu);
    const double s4 = 2.0 * s2 * c2, c4 = c2 * c2 - s2 * s2;
    const double s6 = s4 * c2 + c4 * s2, s8 = 2.0 * s4 * c4;
    double phi = mu + (1.5 * n - 27.0 / 32.0 * n3) * s2 +
                 (21.0 / 16.0 * n2 - 55.0 / 32.0 * n4) * s4 + 151.0 / 96.0 * n3 * s6 +
                 1097.0 / 512.0 * n4 * s8;
    // One Newton step on the arc with the meridian radius as its derivative.
    const double s = std::sin(phi);
    const double w = 1.0 - ell.E2 * s * s;
    const double radius = ell.A * (1.0 - ell.E2) / (w * std::sqrt(w));
    phi += static_cast<double>((X - CheapArc(k, phi)) / radius);
    const Real slowestGrowth = static_cast<Real>(ell.A) * (1.0L - ell.E2);
    estimate.usable = std::isfinite(phi) && slowestGrowth > 0.0L;
    estimate.latitude = phi;
    estimate.margin = kRootEstimateError + 2.0L * kArcTolerance / slowestGrowth;
    return estimate;
}

}  // namespace

long double FastFootpointLatitude(const TEllConst& ell, long double X) {
    if (std::isnan(X)) return X;
    const ArcSeries& k = CachedFor<ArcSeries, MakeArcSeries>(ell);
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

const SeriesKernels& FastSeries(bool kruger) {
    static constexpr SeriesKernels kClassic{ClassicForward, ClassicInverse};
    static constexpr SeriesKernels kKruger{KrugerForward, KrugerInverse};
    return kruger ? kKruger : kClassic;
}

PlaneCoords FastGeoToPlane(const GeoCoords& point, const TEllConst& ell,
                           const ProjectionSettings& settings, bool& ok) {
    return GeoToPlane(point, ell, settings, ok, FastSeries(settings.kruger));
}

GeoCoords FastPlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                         const ProjectionSettings& settings, bool& ok) {
    return PlaneToGeo(point, ell, settings, ok, FastSeries(settings.kruger));
}

}  // namespace gridwise
