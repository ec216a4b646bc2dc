#include "gridwise/geodesy/projection.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "common/text.hpp"
#include "gridwise/geodesy/series_terms.hpp"
#include "gridwise/geodesy/zones.hpp"

namespace gridwise {

namespace {

using Real = long double;
using series::kArcTolerance;
using series::kMaxBisectionSteps;
using series::kMaxRangeDoublings;
using series::kPi;

Real ToRadians(Real degrees) {
    return kPi * degrees / 180.0L;
}
Real ToDegrees(Real radians) {
    return radians * 180.0L / kPi;
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
    return series::ClassicForwardTerms(ell, std::sin(Br), std::cos(Br), std::tan(Br), l,
                                       MeridianArcExtended(ell, Br));
}

ZonePlane KrugerForward(const TEllConst& ell, Real Br, Real l) {
    const series::KrugerConstants& k =
        series::ConstantsFor<series::KrugerConstants, series::MakeKrugerConstants>(ell);
    const Real chi = series::ConformalLatitude(k, Br, std::sin(Br), std::cos(Br));
    const Real xiP = std::atan(std::tan(chi) / std::cos(l));
    const Real etaP = std::atanh(std::cos(chi) * std::sin(l));
    Real xi = xiP, eta = etaP;
    for (int j = 1; j <= 4; ++j) {
        const Real twoJ = 2.0L * j;
        xi += k.beta[j - 1] * std::sin(twoJ * xiP) * std::cosh(twoJ * etaP);
        eta += k.beta[j - 1] * std::cos(twoJ * xiP) * std::sinh(twoJ * etaP);
    }
    return {k.rectifyingRadius * xi, k.rectifyingRadius * eta};
}

ZoneGeo ClassicInverse(const TEllConst& ell, Real x, Real y) {
    const Real B1 = FootpointLatitudeExtended(ell, x);
    return series::ClassicInverseTerms(ell, B1, std::sin(B1), std::cos(B1), std::tan(B1), y);
}

ZoneGeo KrugerInverse(const TEllConst& ell, Real x, Real y) {
    const series::KrugerConstants& k =
        series::ConstantsFor<series::KrugerConstants, series::MakeKrugerConstants>(ell);
    const Real xi = x / k.rectifyingRadius, eta = y / k.rectifyingRadius;
    Real xiP = xi, etaP = eta;
    for (int j = 1; j <= 4; ++j) {
        const Real twoJ = 2.0L * j;
        xiP -= k.delta[j - 1] * std::sin(twoJ * xi) * std::cosh(twoJ * eta);
        etaP -= k.delta[j - 1] * std::cos(twoJ * xi) * std::sinh(twoJ * eta);
    }
    Real phi = std::asin(std::sin(xiP) / std::cosh(etaP));
    // Past the quarter meridian the arcsine would fold the latitude back below the pole onto the
    // wrong meridian; continue it over the pole instead, as the classic footpoint does, so that
    // the range check refuses the point rather than passing a wrong one.
    if (std::cos(xiP) < 0.0L) phi = std::copysign(kPi, xiP) - phi;
    ZoneGeo r;
    r.B = series::LatitudeOfConformal(k, phi, std::sin(phi), std::cos(phi));
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
// the interval giving the same double (or, for a file that writes `decimals` decimals, the same
// text) and verdict, so does every value between them (the steps are monotone and fail on
// intervals far wider than any bound; across the longitude wrap the ends differ): the result is
// stored and true returned. Otherwise nothing is stored.
// The bounds the kernels give keep a margin over the rounding of value +- error.
template <class Finish>
bool FinishWithin(Real value, Real error, Finish finish, double& result, bool& ok, int decimals) {
    if (error == 0.0L) {
        result = finish(value, ok);
        return true;
    }
    if (!std::isfinite(value) || !(error < std::numeric_limits<Real>::infinity())) return false;
    bool okLow = true, okHigh = true;
    const double low = finish(value - error, okLow);
    const double high = finish(value + error, okHigh);
    if (okLow != okHigh) return false;
    if (decimals == kDoublesKept) {
        if (std::bit_cast<std::uint64_t>(low) != std::bit_cast<std::uint64_t>(high)) return false;
    } else {
        // The finished ends as a centre and a half-width that covers them both.
        const double halfWidth = (high - low) / 2.0;
        const double centre = low + halfWidth;
        const double slack = std::fabs(centre) * 0x1p-51 + std::fabs(halfWidth) * 0x1p-51;
        if (!(halfWidth >= 0.0) ||
            !common::SameFixedTextWithin(centre, halfWidth + slack,
                                         static_cast<std::uint8_t>(decimals)))
            return false;
    }
    if (!okLow) ok = false;
    result = low;
    return true;
}

// For a file: an angle known to within `error` radians of the plain series' value, finished once.
// The finishing steps are monotone with slope 180/pi, apart from the wrap at 180 deg, and round
// twice; so the plain value finishes within `bound` of the centre. When that interval stays
// inside `limit` degrees (no verdict and no wrap changes within it) and writes one text, the
// centre is stored and true returned.
template <class Finish>
bool FinishAngleForText(Real value, Real error, Finish finish, double limit, double& result,
                        int decimals) {
    if (!std::isfinite(value) || !(error < std::numeric_limits<Real>::infinity())) return false;
    bool okCentre = true;
    const double centre = finish(value, okCentre);
    const double bound = static_cast<double>(error) * (180.0 / std::numbers::pi) * (1.0 + 0x1p-40) +
                         std::fabs(centre) * 0x1p-50;
    if (!okCentre || !(std::fabs(centre) + bound < limit) ||
        !common::SameFixedTextWithin(centre, bound, static_cast<std::uint8_t>(decimals)))
        return false;
    result = centre;
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
    return series::ArcFromSines(series::ConstantsFor<series::ArcSeries, series::MakeArcSeries>(ell),
                                B, std::sin(2.0L * B), std::sin(4.0L * B), std::sin(6.0L * B));
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
                       AuxValues* aux, int writtenDecimals) {
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
    for (const SeriesKernels* k = &kernels; k != nullptr && aux == nullptr; k = k->next) {
        const ZonePlane p = k->forward(ell, Br, l);
        if (FinishWithin(p.x, p.xError, northing, result.x, ok, writtenDecimals) &&
            FinishWithin(p.y, p.yError, easting, result.y, ok, writtenDecimals))
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
                     AuxValues* aux, int writtenDecimals) {
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
    for (const SeriesKernels* k = &kernels; k != nullptr && aux == nullptr; k = k->next) {
        const ZoneGeo inv = k->inverse(ell, x, y);
        if (writtenDecimals == kDoublesKept
                ? FinishWithin(inv.B, inv.BError, FinishLatitude, g.B, ok, writtenDecimals) &&
                      FinishWithin(inv.l, inv.lError, longitude, g.L, ok, writtenDecimals)
                : FinishAngleForText(inv.B, inv.BError, FinishLatitude, 90.0, g.B,
                                     writtenDecimals) &&
                      FinishAngleForText(inv.l, inv.lError, longitude, 180.0, g.L, writtenDecimals))
            return g;
    }
    const ZoneGeo plain = PlainSeries(settings.kruger).inverse(ell, x, y);
    if (aux != nullptr) *aux = AuxAtLatitude(ell, plain.B, plain.l, settings.utm);
    g.B = FinishLatitude(plain.B, ok);
    g.L = longitude(plain.l, ok);
    return g;
}

}  // namespace gridwise
