// The line functions of Gridwise's batch converters and the converters built on them.

#include "gridwise/files/converters.hpp"

#include <cmath>

#include "common/cp1251.hpp"
#include "common/line_reasons.hpp"
#include "common/mpdata.hpp"
#include "common/nomenclature.hpp"
#include "common/point_line.hpp"
#include "common/text.hpp"
#include "gridwise/geodesy/fast_series.hpp"
#include "gridwise/geodesy/projection.hpp"

namespace gridwise {
namespace {

// Comparisons are written so that NaN fails them.
bool GeoInRange(double B, double L) {
    return std::fabs(B) <= 90.0 && std::fabs(L) <= 180.0;
}
bool NorthingInRange(double x) {
    return std::fabs(x) <= kMaxNorthing;
}
bool OrdinateHasZonePrefix(double y) {
    return y >= kZoneWeight && y < 61.0 * kZoneWeight;
}
bool OrdinateNearFalseEasting(double y, double falseEasting) {
    const double offset = y - falseEasting;
    return offset >= -kOrdinateLimit && offset < kOrdinateLimit;
}

// Reasons of bad lines (line_reasons.hpp); each returns false so that a line function can end
// with it.
constexpr std::string_view kOutsideProjection =
    "точка вне области проекции (дальше 500 км от осевого меридиана зоны или за 11000 км)";

bool ReadFailure(std::string_view line, bool plane, std::string& out) {
    common::AppendPointLineReason(line, plane ? common::kNorthingName : common::kLatitudeName,
                                  plane ? common::kEastingName : common::kLongitudeName, out);
    return false;
}

bool GeoRangeFailure(double B, double L, std::string& out) {
    if (!(std::fabs(B) <= 90.0))
        common::AppendRangeReason(out, common::kLatitudeName, B, "-90..90");
    else
        common::AppendRangeReason(out, common::kLongitudeName, L, "-180..180");
    return false;
}

bool NorthingFailure(double x, std::string& out) {
    common::AppendRangeReason(out, common::kNorthingName, x, "-11000000..11000000");
    return false;
}

bool ProjectionFailure(std::string& out) {
    out += kOutsideProjection;
    return false;
}

// Name, the two output values, the height and the tail of a point-list line.
void AppendPointLine(std::string& out, const common::PointLine& point, double first, double second,
                     std::uint8_t coordinateDecimals, double height, std::uint8_t heightDecimals) {
    out.append(point.Name);
    out.push_back(',');
    common::AppendFileNumber(out, first, coordinateDecimals);
    out.push_back(',');
    common::AppendFileNumber(out, second, coordinateDecimals);
    out.push_back(',');
    common::AppendFileNumber(out, height, heightDecimals);
    out.append(point.Tail);
}

// x, y -> B, L of a point-list line, after the checks of the plane input. `standardGridPrefix`
// tells whether the ordinate must carry a zone prefix 1..60.
bool PlaneInputToGeo(const common::PointLine& point, const TEllConst& ell,
                     const ProjectionSettings& settings, bool standardGridPrefix, GeoCoords& geo,
                     int writtenDecimals, std::string& out) {
    if (!NorthingInRange(point.First)) return NorthingFailure(point.First, out);
    if (standardGridPrefix && !OrdinateHasZonePrefix(point.Second)) {
        common::AppendRangeReason(out, "y с номером зоны", point.Second, "1000000..61000000");
        return false;
    }
    if (!standardGridPrefix && !OrdinateNearFalseEasting(point.Second, settings.falseEasting)) {
        common::AppendRangeReason(out, "y без номера зоны", point.Second,
                                  common::RangeText(settings.falseEasting - kOrdinateLimit,
                                                    settings.falseEasting + kOrdinateLimit));
        return false;
    }
    bool ok = true;
    geo =
        FastPlaneToGeo(PlaneCoords{point.First, point.Second}, ell, settings, ok, writtenDecimals);
    return ok || ProjectionFailure(out);
}

// The two plane systems of the survey converters, both Gauss-Krueger.
ProjectionSettings Sk42Settings(const TCHSK& sk42System, int algorithm) {
    ProjectionSettings settings;
    settings.addZoneNumber = true;
    settings.kruger = algorithm == kKrugerSeries;
    settings.falseNorthing = sk42System.FalseNorthing;
    settings.falseEasting = sk42System.FalseEasting;
    return settings;
}

ProjectionSettings Sk63Settings(const TWorkStructure& work, int algorithm) {
    ProjectionSettings settings;
    settings.addZoneNumber = work.AddZoneNumber;
    settings.kruger = algorithm == kKrugerSeries;
    settings.userMeridian = true;
    settings.sk63Zone = work.Sk63Zone;
    settings.centralMeridian = work.CentralMeridian;
    settings.falseNorthing = work.FalseNorthing;
    settings.falseEasting = work.FalseEasting;
    return settings;
}

// One point from the source plane system through B, L into the target plane system, then the
// output line with the changed height.
bool ReprojectSurveyPoint(const common::PointLine& point, double sourceOrdinate,
                          const TEllConst& ell, const ProjectionSettings& from,
                          const ProjectionSettings& to, const SurveyOptions& options,
                          std::string& out) {
    bool ok = true;
    const GeoCoords geo = FastPlaneToGeo(PlaneCoords{point.First, sourceOrdinate}, ell, from, ok);
    if (!ok) return ProjectionFailure(out);
    // The plane coordinates are only written; the latitude and longitude feed them and so keep
    // the plain doubles.
    const PlaneCoords plane = FastGeoToPlane(geo, ell, to, ok, options.Decimals.PlaneDecimals);
    if (!ok) return ProjectionFailure(out);
    AppendPointLine(out, point, plane.x, plane.y, options.Decimals.PlaneDecimals,
                    point.Height + options.HeightChange, options.Decimals.HeightDecimals);
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Format 1

common::LineFunction PointListLines(const TWorkStructure& work, const TEllConst& ell,
                                    bool directionToPlane, int algorithm,
                                    PrecisionOptions decimals) {
    const ProjectionSettings settings = SettingsFromWork(work, algorithm);
    const bool standardGridPrefix = work.AddZoneNumber && !work.UserMeridian;
    return [=](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) return ReadFailure(line, !directionToPlane, out);
        if (directionToPlane) {
            if (!GeoInRange(point.First, point.Second))
                return GeoRangeFailure(point.First, point.Second, out);
            const PlaneCoords plane = FastGeoToPlane(GeoCoords{point.First, point.Second}, ell,
                                                     settings, ok, decimals.PlaneDecimals);
            if (!ok) return ProjectionFailure(out);
            AppendPointLine(out, point, plane.x, plane.y, decimals.PlaneDecimals, point.Height,
                            decimals.HeightDecimals);
            return true;
        }
        GeoCoords geo;
        if (!PlaneInputToGeo(point, ell, settings, standardGridPrefix, geo, decimals.AngleDecimals,
                             out))
            return false;
        AppendPointLine(out, point, geo.B, geo.L, decimals.AngleDecimals, point.Height,
                        decimals.HeightDecimals);
        return true;
    };
}

// ---------------------------------------------------------------------------------------------
// Format 2

common::LineFunction NomenclatureListLines(const TWorkStructure& work, const TEllConst& ell,
                                           bool directionToPlane, int algorithm, int listScale,
                                           common::TextEncoding encoding) {
    const ProjectionSettings settings = SettingsFromWork(work, algorithm);
    const bool standardGridPrefix = work.AddZoneNumber;
    return [=, firstLine = true](std::string_view line, std::string& out) mutable {
        if (firstLine && line.starts_with(common::kByteOrderMark))
            encoding = common::TextEncoding::Utf8;
        firstLine = false;
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) return ReadFailure(line, !directionToPlane, out);
        GeoCoords geo{point.First, point.Second};
        if (directionToPlane) {
            if (!GeoInRange(geo.B, geo.L)) return GeoRangeFailure(geo.B, geo.L, out);
            // The sheet edges decide on the plain doubles.
        } else if (!PlaneInputToGeo(point, ell, settings, standardGridPrefix, geo, kDoublesKept,
                                    out)) {
            return false;
        }
        std::string sheet;
        common::SheetNameAtScale(geo.B, geo.L, listScale, sheet);
        out.append(point.Name);
        out.push_back(',');
        out.append(common::EncodeText(sheet, encoding));
        return true;
    };
}

// ---------------------------------------------------------------------------------------------
// Formats 3 and 4

common::LineFunction Sk42ToSk63Lines(const TWorkStructure& work, const TCHSK& sk42System,
                                     const TEllConst& ell, int algorithm,
                                     const SurveyOptions& options) {
    const ProjectionSettings from = Sk42Settings(sk42System, algorithm);
    const ProjectionSettings to = Sk63Settings(work, algorithm);
    return [=](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) return ReadFailure(line, true, out);
        if (!NorthingInRange(point.First)) return NorthingFailure(point.First, out);
        double ordinate = point.Second;
        if (options.ZoneInOrdinate) {
            if (!OrdinateHasZonePrefix(ordinate)) {
                common::AppendRangeReason(out, "y с номером зоны", ordinate, "1000000..61000000");
                return false;
            }
        } else {
            if (!(ordinate >= 0.0 && ordinate < kZoneWeight)) {
                common::AppendRangeReason(out, "y без номера зоны", ordinate, "0..1000000");
                return false;
            }
            ordinate += options.Sk42Zone * kZoneWeight;
        }
        return ReprojectSurveyPoint(point, ordinate, ell, from, to, options, out);
    };
}

common::LineFunction Sk63ToSk42Lines(const TWorkStructure& work, const TCHSK& sk42System,
                                     const TEllConst& ell, int algorithm,
                                     const SurveyOptions& options) {
    ProjectionSettings from = Sk63Settings(work, algorithm);
    from.addZoneNumber = true;
    const ProjectionSettings to = Sk42Settings(sk42System, algorithm);
    return [=](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) return ReadFailure(line, true, out);
        if (!NorthingInRange(point.First)) return NorthingFailure(point.First, out);
        const double zone = std::trunc(point.Second / kZoneWeight);
        if (!(point.Second < 21.0 * kZoneWeight) ||
            !OrdinateNearFalseEasting(point.Second - zone * kZoneWeight, work.FalseEasting)) {
            common::AppendRangeReason(out, "y", point.Second, "зоны СК63 1..20");
            return false;
        }
        return ReprojectSurveyPoint(point, point.Second, ell, from, to, options, out);
    };
}

// ---------------------------------------------------------------------------------------------
// Format 5

namespace {

// The value of pi the map shift is defined with.
constexpr long double kShiftPi = 3.141592653589793L;

// Moves one point ShiftNorth metres along its meridian and ShiftEast metres along its parallel.
bool ShiftPoint(double& latitude, double& longitude, double shiftNorth, double shiftEast,
                const TEllConst& ell) {
    if (!GeoInRange(latitude, longitude)) return false;
    long double L = longitude;
    if (L < 0.0L) L += 360.0L;
    const long double B = static_cast<long double>(latitude) * kShiftPi / 180.0L;
    const long double Lr = L * kShiftPi / 180.0L;
    const long double sinB = std::sin(B);
    const long double r =
        static_cast<long double>(ell.A) * std::cos(B) / std::sqrt(1.0L - ell.E2 * sinB * sinB);
    long double shiftedL = (r * Lr + shiftEast) * 180.0L / (kShiftPi * r);
    if (shiftedL > 180.0L) shiftedL -= 360.0L;
    const long double shiftedB =
        FastFootpointLatitude(ell, MeridianArcExtended(ell, B) + shiftNorth) * 180.0L / kShiftPi;
    // Written so that NaN (a pole shifted east) fails as well.
    if (!(std::fabs(shiftedB) <= 90.0L && std::fabs(shiftedL) <= 180.0L)) return false;
    latitude = static_cast<double>(shiftedB);
    longitude = static_cast<double>(shiftedL);
    return true;
}

}  // namespace

common::LineFunction MapShiftLines(double shiftNorth, double shiftEast, const TEllConst& ell) {
    const common::PointTransform shift = [=](double& latitude, double& longitude) {
        return ShiftPoint(latitude, longitude, shiftNorth, shiftEast, ell);
    };
    return [shift](std::string_view line, std::string& out) {
        return common::ConvertMapLine(line, out, shift);
    };
}

}  // namespace gridwise
