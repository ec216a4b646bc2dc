#pragma once
// The terms of the two projection series in extended precision, shared by the plain evaluation
// (projection.cpp) and the fast one of the batch converters, which differ only in how they obtain
// the sines, cosines and arcs they feed in. One formula, in one order of operations, serves both,
// so the two can only differ where their inputs do.

#include <cmath>
#include <numbers>

#include "gridwise/geodesy/ellipsoid.hpp"
#include "gridwise/geodesy/projection.hpp"

namespace gridwise::series {

using Real = long double;
inline constexpr Real kPi = std::numbers::pi_v<Real>;

// The footpoint search stops once the arc is within this of X (metres).
inline constexpr Real kArcTolerance = 0.0001L;
// Bounds of the footpoint search: within the quarter meridian it converges in about 40 halvings;
// the caps only stop a search that a non-finite or enormous X could never finish.
inline constexpr int kMaxBisectionSteps = 400;
inline constexpr int kMaxRangeDoublings = 64;

// The constants `Make` derives from an ellipsoid, formed once per ellipsoid: a conversion, and a
// file's every line, uses one ellipsoid, so the last one seen is kept (per thread).
template <class Constants, Constants (*Make)(const TEllConst&)>
const Constants& ConstantsFor(const TEllConst& ell) {
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

// Helmert's series of the meridian arc: its scale a / (1 + n) and the coefficients of B and of
// sin 2B, sin 4B, sin 6B.
struct ArcSeries {
    Real scale = 0, c0 = 0, c2 = 0, c4 = 0, c6 = 0;
};
inline ArcSeries MakeArcSeries(const TEllConst& ell) {
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
inline Real ArcFromSines(const ArcSeries& k, Real B, Real s2, Real s4, Real s6) {
    return k.scale * (k.c0 * B - k.c2 * s2 + k.c4 * s4 - k.c6 * s6);
}

// Classic series, B, L -> x, y: the terms in l around the arc, from sin, cos and tan of B.
inline ZonePlane ClassicForwardTerms(const TEllConst& ell, Real s, Real c, Real t, Real l,
                                     Real arc) {
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
    ZonePlane p;
    p.x = arc + a2 * l2 + a4 * l2 * l2 + a6 * l3 * l3;
    p.y = b1 * l + b3 * l3 + b5 * l3 * l2;
    return p;
}

// Classic series, x, y -> B, L: the terms in y around the footpoint latitude B1, from its sin,
// cos and tan, in the arithmetic of T (long double for the plain series, double for the
// converters' text evaluation).
template <class T>
ZoneGeo ClassicInverseTermsIn(const TEllConst& ell, T B1, T s, T c, T t, T y) {
    const T invN = std::sqrt(T(1) - static_cast<T>(ell.E2) * s * s) / static_cast<T>(ell.A);
    const T eta2 = static_cast<T>(ell.Ep2) * c * c;
    const T t2 = t * t, t4 = t2 * t2;
    const T invN2 = invN * invN, invN3 = invN2 * invN, invN4 = invN2 * invN2;
    const T invN5 = invN4 * invN, invN6 = invN3 * invN3;
    const T y2 = y * y, y3 = y2 * y, y4 = y2 * y2, y5 = y4 * y, y6 = y3 * y3;
    ZoneGeo r;
    r.B = B1 - t * (T(1) + eta2) / T(2) * invN2 * y2 +
          t * (T(5) + T(3) * t2 + T(6) * eta2 - T(6) * eta2 * t2) / T(24) * invN4 * y4 -
          t * (T(61) + T(90) * t2 + T(45) * t4) / T(720) * invN6 * y6;
    r.l = y * invN / c - (T(1) + T(2) * t2 + eta2) / (T(6) * c) * invN3 * y3 +
          (T(5) + T(28) * t2 + T(24) * t4 + T(6) * eta2 + T(8) * eta2 * t2) / (T(120) * c) * invN5 *
              y5;
    return r;
}
inline ZoneGeo ClassicInverseTerms(const TEllConst& ell, Real B1, Real s, Real c, Real t, Real y) {
    return ClassicInverseTermsIn<Real>(ell, B1, s, c, t, y);
}

// Krueger series: e², n and the rectifying radius derived from a and b, the coefficients of the
// forward (beta) and inverse (delta) sums, and those of the latitude from the conformal one.
struct KrugerConstants {
    Real e2 = 0, n = 0, rectifyingRadius = 0;
    Real beta[4] = {}, delta[4] = {};
    Real aStar = 0, bStar = 0, cStar = 0, dStar = 0;
};
inline KrugerConstants MakeKrugerConstants(const TEllConst& ell) {
    const Real a = ell.A;
    const Real f = (a - static_cast<Real>(ell.B)) / a;
    KrugerConstants k;
    k.e2 = (2.0L - f) * f;
    k.n = f / (2.0L - f);
    const Real n = k.n, n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    k.rectifyingRadius = a / (1.0L + n) * (1.0L + n2 / 4.0L + n4 / 64.0L);
    k.beta[0] = n / 2.0L - 2.0L / 3.0L * n2 + 5.0L / 16.0L * n3 + 41.0L / 180.0L * n4;
    k.beta[1] = 13.0L / 48.0L * n2 - 3.0L / 5.0L * n3 + 557.0L / 1440.0L * n4;
    k.beta[2] = 61.0L / 240.0L * n3 - 103.0L / 140.0L * n4;
    k.beta[3] = 49561.0L / 161280.0L * n4;
    k.delta[0] = n / 2.0L - 2.0L / 3.0L * n2 + 37.0L / 96.0L * n3 - 1.0L / 360.0L * n4;
    k.delta[1] = 1.0L / 48.0L * n2 + 1.0L / 15.0L * n3 - 437.0L / 1440.0L * n4;
    k.delta[2] = 17.0L / 480.0L * n3 - 37.0L / 840.0L * n4;
    k.delta[3] = 4397.0L / 161280.0L * n4;
    const Real e2 = k.e2, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    k.aStar = e2 + e4 + e6 + e8;
    k.bStar = -(7.0L * e4 + 17.0L * e6 + 30.0L * e8) / 6.0L;
    k.cStar = (224.0L * e6 + 889.0L * e8) / 120.0L;
    k.dStar = -4279.0L * e8 / 1260.0L;
    return k;
}

// The conformal latitude chi of latitude Br, from sin and cos of Br.
inline Real ConformalLatitude(const KrugerConstants& k, Real Br, Real s, Real c) {
    const Real e2 = k.e2, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const Real s2 = s * s;
    return Br -
           s * c *
               (e2 + (5.0L * e4 - e6) / 6.0L * s2 + (104.0L * e6 - 45.0L * e8) / 120.0L * s2 * s2 +
                1237.0L / 1260.0L * e8 * s2 * s2 * s2);
}

// The latitude whose conformal latitude is phi, from sin and cos of phi, in the arithmetic of T.
template <class T>
T LatitudeOfConformalIn(const KrugerConstants& k, T phi, T sp, T cp) {
    const T sp2 = sp * sp;
    return phi +
           sp * cp *
               (static_cast<T>(k.aStar) + static_cast<T>(k.bStar) * sp2 +
                static_cast<T>(k.cStar) * sp2 * sp2 + static_cast<T>(k.dStar) * sp2 * sp2 * sp2);
}
inline Real LatitudeOfConformal(const KrugerConstants& k, Real phi, Real sp, Real cp) {
    return LatitudeOfConformalIn<Real>(k, phi, sp, cp);
}

}  // namespace gridwise::series
