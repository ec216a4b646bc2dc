// The line functions of Gridwise's batch converters and the converters built on them.

#include "gridwise/convert_files.hpp"

#include <cmath>

#include "common/cp1251.hpp"
#include "common/mpdata.hpp"
#include "common/nomenclature.hpp"
#include "common/text.hpp"
#include "gridwise/convert_fast_series.hpp"
#include "gridwise/projection.hpp"

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

void AppendNumber(std::string& out, double value, std::uint8_t decimals) {
    common::AppendFixed(out, false, 1, true, value, decimals, '.');
}

// Name, the two output values, the height and the tail of a point-list line.
void AppendPointLine(std::string& out, const common::PointLine& point, double first, double second,
                     std::uint8_t coordinateDecimals, double height, std::uint8_t heightDecimals) {
    out.append(point.Name);
    out.push_back(',');
    AppendNumber(out, first, coordinateDecimals);
    out.push_back(',');
    AppendNumber(out, second, coordinateDecimals);
    out.push_back(',');
    AppendNumber(out, height, heightDecimals);
    out.append(point.Tail);
}

// x, y -> B, L of a point-list line, after the checks of the plane input. `standardGridPrefix`
// tells whether the ordinate must carry a zone prefix 1..60.
bool PlaneInputToGeo(const common::PointLine& point, const TEllConst& ell,
                     const ProjectionSettings& settings, bool standardGridPrefix, GeoCoords& geo,
                     int writtenDecimals) {
    if (!NorthingInRange(point.First)) return false;
    if (standardGridPrefix ? !OrdinateHasZonePrefix(point.Second)
                           : !OrdinateNearFalseEasting(point.Second, settings.falseEasting))
        return false;
    bool ok = true;
    geo =
        FastPlaneToGeo(PlaneCoords{point.First, point.Second}, ell, settings, ok, writtenDecimals);
    return ok;
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
    if (!ok) return false;
    // The plane coordinates are only written; the latitude and longitude feed them and so keep
    // the plain doubles.
    const PlaneCoords plane = FastGeoToPlane(geo, ell, to, ok, options.Decimals.Plane);
    if (!ok) return false;
    AppendPointLine(out, point, plane.x, plane.y, options.Decimals.Plane,
                    point.Height + options.HeightChange, options.Decimals.Height);
    return true;
}

}  // namespace

OutputDecimals DecimalsOf(const GridwiseState& state) {
    return OutputDecimals{state.AngleDecimals, state.PlaneDecimals, state.HeightDecimals};
}

SurveyOptions SurveyOptionsOf(const GridwiseState& state) {
    return SurveyOptions{state.ZoneInOrdinate, state.Sk42Zone, state.HeightChange,
                         DecimalsOf(state)};
}

// ---------------------------------------------------------------------------------------------
// Format 1

common::LineFunction PointListLines(const TWorkStructure& work, const TEllConst& ell,
                                    bool directionToPlane, int algorithm, OutputDecimals decimals) {
    const ProjectionSettings settings = SettingsFromWork(work, algorithm);
    const bool standardGridPrefix = work.AddZoneNumber && !work.UserMeridian;
    return [=](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) return false;
        if (directionToPlane) {
            if (!GeoInRange(point.First, point.Second)) return false;
            const PlaneCoords plane = FastGeoToPlane(GeoCoords{point.First, point.Second}, ell,
                                                     settings, ok, decimals.Plane);
            if (!ok) return false;
            AppendPointLine(out, point, plane.x, plane.y, decimals.Plane, point.Height,
                            decimals.Height);
            return true;
        }
        GeoCoords geo;
        if (!PlaneInputToGeo(point, ell, settings, standardGridPrefix, geo, decimals.Angle))
            return false;
        AppendPointLine(out, point, geo.B, geo.L, decimals.Angle, point.Height, decimals.Height);
        return true;
    };
}

common::ConvertResult ConvertPointList(const common::ConvertJob& job, const TWorkStructure& work,
                                       const TEllConst& ell, const GridwiseState& state) {
    return common::ConvertFileLines(
        job, PointListLines(work, ell, state.DirectionToPlane, state.Algorithm, DecimalsOf(state)));
}

// ---------------------------------------------------------------------------------------------
// Format 2

common::LineFunction NomenclatureListLines(const TWorkStructure& work, const TEllConst& ell,
                                           bool directionToPlane, int algorithm, int listScale) {
    const ProjectionSettings settings = SettingsFromWork(work, algorithm);
    const bool standardGridPrefix = work.AddZoneNumber;
    return [=](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) return false;
        GeoCoords geo{point.First, point.Second};
        if (directionToPlane) {
            if (!GeoInRange(geo.B, geo.L)) return false;
        } else if (!PlaneInputToGeo(point, ell, settings, standardGridPrefix, geo, kDoublesKept)) {
            // The sheet edges decide on the plain doubles.
            return false;
        }
        std::string sheet;
        common::SheetNameAtScale(geo.B, geo.L, listScale, sheet);
        out.append(point.Name);
        out.push_back(',');
        out.append(common::Utf8ToCp1251(sheet));
        return true;
    };
}

common::ConvertResult ConvertNomenclatureList(const common::ConvertJob& job,
                                              const TWorkStructure& work, const TEllConst& ell,
                                              int listScale, const GridwiseState& state) {
    return common::ConvertFileLines(
        job, NomenclatureListLines(work, ell, state.DirectionToPlane, state.Algorithm, listScale));
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
        if (!ok || !NorthingInRange(point.First)) return false;
        double ordinate = point.Second;
        if (options.ZoneInOrdinate) {
            if (!OrdinateHasZonePrefix(ordinate)) return false;
        } else {
            if (!(ordinate >= 0.0 && ordinate < kZoneWeight)) return false;
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
        if (!ok || !NorthingInRange(point.First) || !(point.Second < 21.0 * kZoneWeight))
            return false;
        const double zone = std::trunc(point.Second / kZoneWeight);
        if (!OrdinateNearFalseEasting(point.Second - zone * kZoneWeight, work.FalseEasting))
            return false;
        return ReprojectSurveyPoint(point, point.Second, ell, from, to, options, out);
    };
}

common::ConvertResult ConvertSk42ToSk63(const common::ConvertJob& job, const TWorkStructure& work,
                                        const TEllConst& ell, const GridwiseState& state) {
    return common::ConvertFileLines(job, Sk42ToSk63Lines(work, state.Systems[kSystemSk42], ell,
                                                         state.Algorithm, SurveyOptionsOf(state)));
}

common::ConvertResult ConvertSk63ToSk42(const common::ConvertJob& job, const TWorkStructure& work,
                                        const TEllConst& ell, const GridwiseState& state) {
    return common::ConvertFileLines(job, Sk63ToSk42Lines(work, state.Systems[kSystemSk42], ell,
                                                         state.Algorithm, SurveyOptionsOf(state)));
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

common::ConvertResult ShiftPolishMap(const common::ConvertJob& job, double shiftNorth,
                                     double shiftEast, const TWorkStructure& /*work*/,
                                     const TEllConst& ell) {
    return common::ConvertFileLines(job, MapShiftLines(shiftNorth, shiftEast, ell),
                                    common::MapLineOptions());
}

}  // namespace gridwise
