#include "gridwise/geodesy/zones.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace gridwise {

namespace {

constexpr int kZoneCount = 60;
constexpr long double kZoneWidth = 6.0L;
// Longitudes and ordinates beyond these are not coordinates; their zone count would not fit.
constexpr long double kLongitudeLimit = 1.0e6L;
constexpr long double kOrdinateMagnitudeLimit = 1.0e15L;

// The number of whole zone widths in L, as the zone count of the standard grid: the smallest
// k >= 0 with L - 6k < 6. The quotient in double arithmetic is within one of it and is
// corrected in extended precision, so the count equals subtracting 6 until less than 6
// remains, without a loop over the zones. L is bounded by kLongitudeLimit + 360.
int WholeZoneWidths(long double L) {
    const double quotient = static_cast<double>(L) / 6.0;
    int k = quotient > 0.0 ? static_cast<int>(quotient) : 0;
    if (k > 0 && L - kZoneWidth * k < 0.0L) --k;
    if (L - kZoneWidth * k >= kZoneWidth) ++k;
    return k;
}

}  // namespace

ZoneOfPoint ZoneForLongitude(double longitude, const ProjectionSettings& settings) {
    ZoneOfPoint result;
    long double L = longitude;
    if (!std::isfinite(L) || std::fabs(L) > kLongitudeLimit) {
        result.valid = false;
        result.dL = std::numeric_limits<long double>::quiet_NaN();
        return result;
    }
    if (L < 0.0L) L += 360.0L;
    if (settings.userMeridian) {
        long double meridian = settings.centralMeridian;
        if (meridian < 0.0L) meridian += 360.0L;
        result.zone = settings.sk63Zone;
        result.dL = L - meridian;
        return result;
    }
    // Only the two neighbour zones exist.
    const int shift = settings.zoneShift < 0 ? -1 : (settings.zoneShift > 0 ? 1 : 0);
    const int widths = WholeZoneWidths(L);
    const long double inZone = L - kZoneWidth * widths;
    int zone = 1 + widths;
    if (settings.utm) {
        zone -= 30;
        if (zone <= 0) zone += kZoneCount;
    }
    zone += shift;
    if (zone == 0) zone = kZoneCount;
    if (zone == kZoneCount + 1) zone = 1;
    result.zone = zone;
    result.dL = inZone - 3.0L - kZoneWidth * shift;
    return result;
}

ZoneOfOrdinate ZoneForOrdinate(double y, bool utm) {
    ZoneOfOrdinate result;
    const long double value = y;
    if (!std::isfinite(value) || std::fabs(value) >= kOrdinateMagnitudeLimit) {
        result.valid = false;
        result.yInZone = y;
        return result;
    }
    const long double millions = std::trunc(value / static_cast<long double>(kZoneWeight));
    result.written = static_cast<int>(std::clamp(millions, -2.0e9L, 2.0e9L));
    result.yInZone = static_cast<double>(value - millions * kZoneWeight);
    result.grid = result.written;
    if (utm) {
        result.grid += 30;
        if (result.grid > kZoneCount) result.grid -= kZoneCount;
    }
    return result;
}

double ZoneCentralMeridian(int zone) {
    return (zone - 1) * 6.0 + 3.0;
}

double MeridianArcGain1000(const TEllConst& ell, double B) {
    constexpr long double kArc = 1000.0L;
    const long double phi =
        std::numbers::pi_v<long double> * std::fabs(static_cast<long double>(B)) / 180.0L;
    const long double startArc = MeridianArcExtended(ell, phi) - kArc;
    const long double phi1 = FootpointLatitudeExtended(ell, startArc);
    TEllConst raised = ell;
    raised.A = ell.A + static_cast<double>(kArc);
    raised.B = ell.B + static_cast<double>(kArc);
    const long double raisedArc =
        std::fabs(MeridianArcExtended(raised, phi) - MeridianArcExtended(raised, phi1));
    return static_cast<double>(raisedArc - kArc);
}

}  // namespace gridwise
