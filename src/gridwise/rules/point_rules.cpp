#include "gridwise/rules/point_rules.hpp"

#include <cmath>

#include "gridwise/geodesy/zones.hpp"

namespace gridwise {

namespace {

// Range checks of "РАСЧЁТ": a check fails when `fails` holds; the first failing one is reported.
struct PointCheck {
    bool fails;
    const char* message;
};

template <std::size_t N>
std::string FirstFailure(const PointCheck (&checks)[N]) {
    for (const PointCheck& check : checks)
        if (check.fails) return check.message;
    return {};
}

// The general text of a whole number held as a double (degrees and minutes of a split angle).
std::string WholeNumberText(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1.0e15) return std::string(kNoValue);
    return std::to_string(static_cast<long long>(value));
}

std::string TwoDigitWholeNumberText(double value) {
    const std::string text = WholeNumberText(value);
    return value < 10.0 ? "0" + text : text;
}

common::TDegMinSec SplitAngle(double value) {
    common::TDegMinSec angle;
    angle.Value = value;
    common::SplitDegrees(angle);
    return angle;
}

// Step 8 of "РАСЧЁТ": sheet names, dSH and area distortion, once the projection succeeded.
void CompleteResult(const TEllConst& ell, bool addZoneNumber, PointResult& result) {
    if (!result.ok) return;
    result.sheetsKnown = addZoneNumber;
    if (result.sheetsKnown) {
        result.sheets = common::SheetNames(result.CalcPoint.B, result.CalcPoint.L);
        result.allSheets = common::AllSheetNames(result.CalcPoint.B, result.CalcPoint.L);
    }
    result.Dsh1000 = MeridianArcGain1000(ell, result.CalcPoint.B) * 1000.0;
    result.AreaDistortion = (result.LengthScale * result.LengthScale - 1.0) * 1000.0;
}

}  // namespace

void ResetPointState(GridwiseState& state) {
    state.Point = PointScreenValues{};
    state.PointValid = state.DefaultValid;
}

bool EditPointField(GridwiseState& state, int field, AngleFormat format, std::string_view text) {
    PointScreenValues& p = state.Point;
    const bool decimal = format == AngleFormat::Decimal;
    bool ok = true;
    switch (field) {
        case kLatitudeDegreesField:
        case kLongitudeDegreesField: {
            common::TDegMinSec& angle = field == kLatitudeDegreesField ? p.PointB : p.PointL;
            if (decimal) {
                const double value = common::ParseUnsignedReal(text, ok);
                if (ok) angle.Value = value;
            } else {
                const std::int32_t value = common::ParseUnsignedInt(text, ok);
                if (ok) angle.Deg = value;
            }
            break;
        }
        case kLatitudeMinutesField:
        case kLongitudeMinutesField: {
            common::TDegMinSec& angle = field == kLatitudeMinutesField ? p.PointB : p.PointL;
            const std::int32_t value = decimal ? 0 : common::ParseUnsignedInt(text, ok);
            if (ok) angle.Min = value;
            break;
        }
        case kLatitudeSecondsField:
        case kLongitudeSecondsField: {
            common::TDegMinSec& angle = field == kLatitudeSecondsField ? p.PointB : p.PointL;
            const double value = decimal ? 0.0 : common::ParseUnsignedReal(text, ok);
            if (ok) angle.Sec = value;
            break;
        }
        case kAbscissaField:
        case kOrdinateField: {
            const double value = common::ParseSignedReal(text, ok);
            if (ok) (field == kAbscissaField ? p.PlanePoint.x : p.PlanePoint.y) = value;
            break;
        }
        default:
            return false;
    }
    state.PointValid[field] = ok;
    return ok;
}

bool PointInputsValid(const GridwiseState& state) {
    return common::AllInputsValid(state.PointValid.items);
}

void ComposeDegrees(common::TDegMinSec& angle) {
    angle.Value = (angle.Min / 60.0 + angle.Deg) + angle.Sec / 3600.0;
}

std::string GeoRangeMessage(const common::TDegMinSec& pointB, const common::TDegMinSec& pointL) {
    // Written as "fails unless in range" so that a value that is not a number fails too.
    const PointCheck checks[] = {
        {!(pointB.Value <= 90.0), "Значение широты должно быть от 0 до 90  "},
        {!(pointL.Value <= 180.0), "Значение долготы должно быть от 0 до 180  "},
        {!(pointB.Deg <= 90.0), "Значение градусов по широте должно быть от 0 до 90  "},
        {!(pointL.Deg <= 180.0), "Значение градусов по долготе должно быть от 0 до 180  "},
        {!(pointB.Min <= 59.0), "Значение минут по широте должно быть от 0 до 59  "},
        {!(pointL.Min <= 59.0), "Значение минут по долготе должно быть от 0 до 59  "},
        {!(pointB.Sec < 60.0), "Значение секунд по широте должно быть менее 60  "},
        {!(pointL.Sec < 60.0), "Значение секунд по долготе должно быть менее 60  "},
    };
    return FirstFailure(checks);
}

std::string CheckGeoInput(common::TDegMinSec& pointB, common::TDegMinSec& pointL,
                          AngleFormat format) {
    if (format == AngleFormat::DegMinSec) {
        ComposeDegrees(pointB);
        ComposeDegrees(pointL);
    }
    return GeoRangeMessage(pointB, pointL);
}

std::string CheckPlaneInput(const PlaneCoords& point, const TWorkStructure& work) {
    const double y = point.y;
    const double yOffset = y - work.FalseEasting;
    const PointCheck checks[] = {
        {!(std::fabs(point.x) <= 11000000.0), "Значение абсциссы не должно превышать 11000 км  "},
        {!work.UserMeridian && work.AddZoneNumber && !(y >= 1000000.0 && y < 61000000.0),
         "Значение ординаты должно быть в пределах 1000 - 61000 км  "},
        // Without the zone number the ordinate must lie within one zone of the false easting:
        // the projection would otherwise take its millions for a zone and drop them.
        {!work.AddZoneNumber && !(yOffset > -kOrdinateLimit && yOffset < kOrdinateLimit),
         "Разность ординаты и False Easting должна быть менее 500 км  "},
    };
    return FirstFailure(checks);
}

GeoCoords SignedPoint(double latitude, double longitude, bool south, bool west) {
    return {south ? -latitude : latitude, west ? -longitude : longitude};
}

PointResult ComputeToPlane(const GridwiseState& state, const GeoCoords& calcPoint) {
    const TEllConst ell = DeriveEllipsoid(state.Work.Ell);
    const ProjectionSettings settings = SettingsFromWork(state.Work, state.Algorithm);
    PointResult result;
    result.CalcPoint = calcPoint;
    AuxValues aux;
    result.PlanePoint = GeoToPlane(calcPoint, ell, settings, result.ok, &aux);
    result.zone = ZoneForLongitude(calcPoint.L, settings).zone;
    result.LengthScale = aux.scale;
    result.Convergence = aux.convergence;
    CompleteResult(ell, state.Work.AddZoneNumber, result);
    return result;
}

PointResult ComputeToGeo(const GridwiseState& state, const PlaneCoords& planePoint) {
    const TEllConst ell = DeriveEllipsoid(state.Work.Ell);
    const ProjectionSettings settings = SettingsFromWork(state.Work, state.Algorithm);
    PointResult result;
    result.PlanePoint = planePoint;
    AuxValues aux;
    result.CalcPoint = PlaneToGeo(planePoint, ell, settings, result.ok, &aux);
    result.zone = ZoneForOrdinate(planePoint.y, settings.utm).written;
    result.LengthScale = aux.scale;
    result.Convergence = aux.convergence;
    CompleteResult(ell, state.Work.AddZoneNumber, result);
    return result;
}

std::string ComputePoint(GridwiseState& state, AngleFormat format, bool south, bool west,
                         PointResult& result) {
    PointScreenValues& p = state.Point;
    if (state.DirectionToPlane) {
        std::string message = CheckGeoInput(p.PointB, p.PointL, format);
        if (!message.empty()) return message;
        p.CalcPoint = SignedPoint(p.PointB.Value, p.PointL.Value, south, west);
        result = ComputeToPlane(state, p.CalcPoint);
        p.PlanePoint = result.PlanePoint;
    } else {
        std::string message = CheckPlaneInput(p.PlanePoint, state.Work);
        if (!message.empty()) return message;
        result = ComputeToGeo(state, p.PlanePoint);
        p.CalcPoint = result.CalcPoint;
        if (result.ok) {
            p.PointB = SplitAngle(result.CalcPoint.B);
            p.PointL = SplitAngle(result.CalcPoint.L);
            p.ResultShown = true;
        }
    }
    p.ConvergenceDms.Value = result.Convergence;
    p.LengthScale = result.LengthScale;
    p.Dsh1000 = result.Dsh1000;
    p.AreaDistortion = result.AreaDistortion;
    return {};
}

std::string PlaneCoordinateText(double value, char separator) {
    return common::RoundedText(value, 4, separator);
}

std::string ScaleText(double scale, char separator) {
    return common::RoundedText(scale, 6, separator);
}

std::string ConvergenceText(double degrees, char separator) {
    const common::TDegMinSec angle = SplitAngle(degrees);
    return std::string(angle.Value < 0.0 ? "-" : "+") + WholeNumberText(angle.Deg) + "° " +
           TwoDigitWholeNumberText(angle.Min) + "' " +
           common::SecondsText(angle.Sec, 2, separator) + "\"";
}

std::string DshText(double dsh1000, char separator) {
    return common::RoundedText(dsh1000, 2, separator) + " мм/км2";
}

std::string AreaDistortionText(double distortion, char separator) {
    return common::RoundedText(distortion, 6, separator) + " ‰";
}

PointTexts FormatPointResult(const PointResult& result, bool directionToPlane, bool addZoneNumber,
                             char separator) {
    PointTexts texts;
    texts.sheets.fill(std::string(kNoValue));
    texts.scale = texts.convergence = texts.dsh = texts.areaDistortion = std::string(kNoValue);
    if (directionToPlane) {
        texts.x = result.ok ? PlaneCoordinateText(result.PlanePoint.x, separator)
                            : std::string(kCalculationError);
        texts.y = result.ok ? PlaneCoordinateText(result.PlanePoint.y, separator)
                            : std::string(kCalculationError);
    }
    if (!result.ok) return texts;
    if (addZoneNumber) {
        texts.sheets = {result.sheets.Sheet1M, result.sheets.Sheet500k, result.sheets.Sheet200k,
                        result.sheets.Sheet10k};
    } else if (!directionToPlane) {
        texts.sheets[0] = std::string(kZoneUnknown);
    }
    texts.scale = ScaleText(result.LengthScale, separator);
    texts.convergence = ConvergenceText(result.Convergence, separator);
    texts.dsh = DshText(result.Dsh1000, separator);
    texts.areaDistortion = AreaDistortionText(result.AreaDistortion, separator);
    return texts;
}

DmsTexts DmsAngleTexts(const common::TDegMinSec& angle, char separator) {
    return {WholeNumberText(angle.Deg), TwoDigitWholeNumberText(angle.Min),
            common::SecondsText(angle.Sec, 6, separator)};
}

std::string DecimalAngleText(double value, char separator) {
    return common::RoundedText(std::fabs(value), 10, separator);
}

}  // namespace gridwise
