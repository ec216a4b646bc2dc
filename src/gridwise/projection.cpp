#include "gridwise/projection.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "gridwise/zones.hpp"

namespace gridwise {

namespace {

using Real = long double;
constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kArcTolerance = 0.0001L;  // metres
// Bounds of the footpoint search: within the quarter meridian it converges in about 40 halvings;
// the caps only stop a search that a non-finite or enormous X could never finish.
constexpr int kMaxBisectionSteps = 400;
constexpr int kMaxRangeDoublings = 64;

Real ToRadians(Real degrees) {
    return kPi * degrees / 180.0L;
}
Real ToDegrees(Real radians) {
    return radians * 180.0L / kPi;
}

Real ThirdFlattening(const TEllConst& ell) {
    const Real a = ell.A;
    const Real b = ell.B;
    return (a - b) / (a + b);
}

// f, e² and n as the Krueger series derive them from a and b, and the rectifying radius.
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

// Scale of lengths and convergence (degrees) from the quantities of the point.
AuxValues AuxAt(Real s, Real c, Real t2, Real eta2, Real l, bool utm) {
    const Real l2 = l * l;
    const Real c2 = c * c;
    Real scale =
        1.0L + l2 * c2 * (1.0L + eta2) / 2.0L + l2 * l2 * c2 * c2 * (5.0L - 4.0L * t2) / 24.0L;
    if (utm) scale *= kUtmScale;
    const Real convergence = l * s + l2 * l * c2 * s * (3.0L * eta2 + 1.0L) / 3.0L;
    return {static_cast<double>(scale), static_cast<double>(ToDegrees(convergence))};
}

ZonePlane ClassicForward(const TEllConst& ell, Real Br, Real l) {
    const Real s = std::sin(Br), c = std::cos(Br), t = std::tan(Br);
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
    const Real x = MeridianArcExtended(ell, Br) + a2 * l2 + a4 * l2 * l2 + a6 * l3 * l3;
    const Real y = b1 * l + b3 * l3 + b5 * l3 * l2;
    return {x, y};
}

ZonePlane KrugerForward(const TEllConst& ell, Real Br, Real l) {
    const KrugerConstants k = MakeKrugerConstants(ell);
    const Real s = std::sin(Br), c = std::cos(Br);
    const Real e2 = k.e2, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const Real s2 = s * s;
    const Real chi = Br - s * c *
                              (e2 + (5.0L * e4 - e6) / 6.0L * s2 +
                               (104.0L * e6 - 45.0L * e8) / 120.0L * s2 * s2 +
                               1237.0L / 1260.0L * e8 * s2 * s2 * s2);
    const Real xiP = std::atan(std::tan(chi) / std::cos(l));
    const Real etaP = std::atanh(std::cos(chi) * std::sin(l));
    const Real n = k.n, n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    const Real beta[4] = {n / 2.0L - 2.0L / 3.0L * n2 + 5.0L / 16.0L * n3 + 41.0L / 180.0L * n4,
                          13.0L / 48.0L * n2 - 3.0L / 5.0L * n3 + 557.0L / 1440.0L * n4,
                          61.0L / 240.0L * n3 - 103.0L / 140.0L * n4, 49561.0L / 161280.0L * n4};
    Real xi = xiP, eta = etaP;
    for (int j = 1; j <= 4; ++j) {
        const Real twoJ = 2.0L * j;
        xi += beta[j - 1] * std::sin(twoJ * xiP) * std::cosh(twoJ * etaP);
        eta += beta[j - 1] * std::cos(twoJ * xiP) * std::sinh(twoJ * etaP);
    }
    return {k.rectifyingRadius * xi, k.rectifyingRadius * eta};
}

ZoneGeo ClassicInverse(const TEllConst& ell, Real x, Real y) {
    const Real B1 = FootpointLatitudeExtended(ell, x);
    const Real s = std::sin(B1), c = std::cos(B1), t = std::tan(B1);
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
    const KrugerConstants k = MakeKrugerConstants(ell);
    const Real xi = x / k.rectifyingRadius, eta = y / k.rectifyingRadius;
    const Real n = k.n, n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    const Real delta[4] = {n / 2.0L - 2.0L / 3.0L * n2 + 37.0L / 96.0L * n3 - 1.0L / 360.0L * n4,
                           1.0L / 48.0L * n2 + 1.0L / 15.0L * n3 - 437.0L / 1440.0L * n4,
                           17.0L / 480.0L * n3 - 37.0L / 840.0L * n4, 4397.0L / 161280.0L * n4};
    Real xiP = xi, etaP = eta;
    for (int j = 1; j <= 4; ++j) {
        const Real twoJ = 2.0L * j;
        xiP -= delta[j - 1] * std::sin(twoJ * xi) * std::cosh(twoJ * eta);
        etaP -= delta[j - 1] * std::cos(twoJ * xi) * std::sinh(twoJ * eta);
    }
    Real phi = std::asin(std::sin(xiP) / std::cosh(etaP));
    // Past the quarter meridian the arcsine would fold the latitude back below the pole onto the
    // wrong meridian; continue it over the pole instead, as the classic footpoint does, so that
    // the range check refuses the point rather than passing a wrong one.
    if (std::cos(xiP) < 0.0L) phi = std::copysign(kPi, xiP) - phi;
    const Real e2 = k.e2, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const Real aStar = e2 + e4 + e6 + e8;
    const Real bStar = -(7.0L * e4 + 17.0L * e6 + 30.0L * e8) / 6.0L;
    const Real cStar = (224.0L * e6 + 889.0L * e8) / 120.0L;
    const Real dStar = -4279.0L * e8 / 1260.0L;
    const Real sp = std::sin(phi), sp2 = sp * sp;
    ZoneGeo r;
    r.B = phi +
          sp * std::cos(phi) * (aStar + bStar * sp2 + cStar * sp2 * sp2 + dStar * sp2 * sp2 * sp2);
    r.l = std::atan(std::sinh(etaP) / std::cos(xiP));
    return r;
}

AuxValues AuxAtLatitude(const TEllConst& ell, Real B, Real l, bool utm) {
    const Real s = std::sin(B), c = std::cos(B), t = std::tan(B);
    return AuxAt(s, c, t * t, static_cast<Real>(ell.Ep2) * c * c, l, utm);
}

// The steps after the series, one axis each: the UTM scale, the range checks and the false
// origin, then the rounding to double. Each is non-decreasing in its value, apart from the
// 180 deg wrap of the longitude, and fails on an interval of it.
double FinishNorthing(Real x, const ProjectionSettings& settings, bool& ok) {
    if (settings.utm) x *= kUtmScale;
    if (!std::isfinite(x) || x > kMaxNorthing) ok = false;
    return static_cast<double>(x + settings.falseNorthing);
}

double FinishEasting(Real y, int zone, const ProjectionSettings& settings, bool& ok) {
    if (settings.utm) y *= kUtmScale;
    if (!std::isfinite(y)) ok = false;
    // Out of range: returned without false easting and zone number.
    if (y < -kOrdinateLimit || y >= kOrdinateLimit) {
        ok = false;
        return static_cast<double>(y);
    }
    y += settings.falseEasting;
    if (settings.addZoneNumber) y += zone * static_cast<Real>(kZoneWeight);
    return static_cast<double>(y);
}

double FinishLatitude(Real B, bool& ok) {
    const double degrees = static_cast<double>(ToDegrees(B));
    if (!std::isfinite(degrees) || std::fabs(degrees) > 90.0) ok = false;
    return degrees;
}

double FinishLongitude(Real l, Real meridian, const ProjectionSettings& settings, bool& ok) {
    Real L = ToDegrees(l);
    if (settings.addZoneNumber || settings.userMeridian) {
        L += meridian;
        if (L > 180.0L) L -= 360.0L;
    }
    const double degrees = static_cast<double>(L);
    if (!std::isfinite(degrees) || std::fabs(degrees) > 180.0) ok = false;
    return degrees;
}

// Finishes a series value known to within `error` of the plain series' value. With both ends of
// the interval giving the same double and verdict, so does every value between them (the steps
// are monotone and fail on intervals far wider than any bound; across the longitude wrap the
// ends differ): the result is stored and true returned. Otherwise nothing is stored.
// The bounds the kernels give keep a margin over the rounding of value +- error.
template <class Finish>
bool FinishWithin(Real value, Real error, Finish finish, double& result, bool& ok) {
    if (error == 0.0L) {
        result = finish(value, ok);
        return true;
    }
    if (!std::isfinite(value) || !(error < std::numeric_limits<Real>::infinity())) return false;
    bool okLow = true, okHigh = true;
    const double low = finish(value - error, okLow);
    const double high = finish(value + error, okHigh);
    if (okLow != okHigh || std::bit_cast<std::uint64_t>(low) != std::bit_cast<std::uint64_t>(high))
        return false;
    if (!okLow) ok = false;
    result = low;
    return true;
}

}  // namespace

ProjectionSettings SettingsFromWork(const TWorkStructure& work, int algorithm) {
    ProjectionSettings s;
    s.addZoneNumber = work.AddZoneNumber;
    s.kruger = algorithm == kKrugerSeries;
    s.utm = work.Utm;
    s.userMeridian = work.UserMeridian;
    s.sk63Zone = work.Sk63Zone;
    s.centralMeridian = work.CentralMeridian;
    s.zoneShift = work.ZoneShift;
    s.falseEasting = work.FalseEasting;
    s.falseNorthing = work.FalseNorthing;
    return s;
}

long double MeridianArcExtended(const TEllConst& ell, long double B) {
    const Real n = ThirdFlattening(ell);
    const Real n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
    const Real a = ell.A;
    return a / (1.0L + n) *
           ((1.0L + n2 / 4.0L + n4 / 64.0L) * B -
            (1.5L * n - 3.0L / 16.0L * n3) * std::sin(2.0L * B) +
            (15.0L / 16.0L * n2 - 15.0L / 64.0L * n4) * std::sin(4.0L * B) -
            35.0L / 48.0L * n3 * std::sin(6.0L * B));
}

double MeridianArc(const TEllConst& ell, double B) {
    return static_cast<double>(MeridianArcExtended(ell, B));
}

long double FootpointLatitudeExtended(const TEllConst& ell, long double X) {
    if (std::isnan(X)) return X;  // no latitude, rather than the 0 the search would stop at
    const bool negative = X < 0.0L;
    X = std::fabs(X);
    Real lo = 0.0L, hi = kPi / 2.0L, mid = 0.0L, M = 0.0L;
    // Beyond the quarter meridian the arc goes on over the pole: widen the range until it holds X.
    if (X >= MeridianArcExtended(ell, hi)) {
        hi = kPi;
        for (int i = 0; i < kMaxRangeDoublings && MeridianArcExtended(ell, hi) < X; ++i) hi *= 2.0L;
    }
    for (int step = 0; step < kMaxBisectionSteps && std::fabs(X - M) > kArcTolerance; ++step) {
        if (X > M)
            lo = mid;
        else
            hi = mid;
        mid = (lo + hi) / 2.0L;
        M = MeridianArcExtended(ell, mid);
    }
    return negative ? -mid : mid;
}

double FootpointLatitude(const TEllConst& ell, double X) {
    return static_cast<double>(FootpointLatitudeExtended(ell, X));
}

const SeriesKernels& PlainSeries(bool kruger) {
    static constexpr SeriesKernels kClassic{ClassicForward, ClassicInverse};
    static constexpr SeriesKernels kKruger{KrugerForward, KrugerInverse};
    return kruger ? kKruger : kClassic;
}

PlaneCoords GeoToPlane(const GeoCoords& point, const TEllConst& ell,
                       const ProjectionSettings& settings, bool& ok, AuxValues* aux) {
    return GeoToPlane(point, ell, settings, ok, PlainSeries(settings.kruger), aux);
}

GeoCoords PlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                     const ProjectionSettings& settings, bool& ok, AuxValues* aux) {
    return PlaneToGeo(point, ell, settings, ok, PlainSeries(settings.kruger), aux);
}

PlaneCoords GeoToPlane(const GeoCoords& point, const TEllConst& ell,
                       const ProjectionSettings& settings, bool& ok, const SeriesKernels& kernels,
                       AuxValues* aux) {
    const Real Br = ToRadians(point.B);
    const ZoneOfPoint zone = ZoneForLongitude(point.L, settings);
    const Real l = ToRadians(zone.dL);
    if (!zone.valid) ok = false;
    const auto northing = [&](Real x, bool& okAxis) { return FinishNorthing(x, settings, okAxis); };
    const auto easting = [&](Real y, bool& okAxis) {
        return FinishEasting(y, zone.zone, settings, okAxis);
    };
    PlaneCoords result;
    // The auxiliary values come from the plain series only.
    if (aux == nullptr) {
        const ZonePlane p = kernels.forward(ell, Br, l);
        if (FinishWithin(p.x, p.xError, northing, result.x, ok) &&
            FinishWithin(p.y, p.yError, easting, result.y, ok))
            return result;
    }
    const ZonePlane plain = PlainSeries(settings.kruger).forward(ell, Br, l);
    if (aux != nullptr) *aux = AuxAtLatitude(ell, Br, l, settings.utm);
    result.x = northing(plain.x, ok);
    result.y = easting(plain.y, ok);
    return result;
}

GeoCoords PlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                     const ProjectionSettings& settings, bool& ok, const SeriesKernels& kernels,
                     AuxValues* aux) {
    Real y = point.y;
    Real meridian = settings.centralMeridian;
    if (!settings.userMeridian) {
        const ZoneOfOrdinate zone = ZoneForOrdinate(point.y, settings.utm);
        if (!zone.valid) ok = false;
        y = zone.yInZone;
        meridian = ZoneCentralMeridian(zone.grid);
    } else if (y >= kZoneWeight) {
        y = ZoneForOrdinate(point.y, false).yInZone;
    }
    Real x = static_cast<Real>(point.x) - settings.falseNorthing;
    y -= settings.falseEasting;
    if (settings.utm) {
        x /= kUtmScale;
        y /= kUtmScale;
    }
    const auto longitude = [&](Real l, bool& okAxis) {
        return FinishLongitude(l, meridian, settings, okAxis);
    };
    GeoCoords g;
    if (aux == nullptr) {
        const ZoneGeo inv = kernels.inverse(ell, x, y);
        if (FinishWithin(inv.B, inv.BError, FinishLatitude, g.B, ok) &&
            FinishWithin(inv.l, inv.lError, longitude, g.L, ok))
            return g;
    }
    const ZoneGeo plain = PlainSeries(settings.kruger).inverse(ell, x, y);
    if (aux != nullptr) *aux = AuxAtLatitude(ell, plain.B, plain.l, settings.utm);
    g.B = FinishLatitude(plain.B, ok);
    g.L = longitude(plain.l, ok);
    return g;
}

}  // namespace gridwise
