#include "datumer/rules/point_rules.hpp"

#include <cmath>

#include "common/text.hpp"

namespace datumer {

namespace {

using Real = long double;

// Degrees from whole degrees, minutes and seconds, in the order the screen forms them.
double FromParts(double deg, double min, double sec) {
    return static_cast<double>(static_cast<Real>(min) / 60.0L + deg + sec / 3600.0L);
}

double ParseWholeDegrees(std::string_view text, bool& ok) {
    return static_cast<double>(common::ParseUnsignedInt(text, ok));
}

// Whole minutes of an angle as the result field shows them: two digits at least.
std::string TwoDigitWhole(double value) {
    const std::string digits = std::to_string(static_cast<long long>(value));
    return value < 10 ? "0" + digits : digits;
}

void SplitInto(double value, double& deg, double& min, double& sec) {
    common::TDegMinSec angle;
    angle.Value = value;
    common::SplitDegrees(angle);
    deg = angle.Deg;
    min = angle.Min;
    sec = angle.Sec;
}

}  // namespace

void EnterPointScreen(DatumerState& state) {
    state.Params = BuildDatumParams(state, state.SelectedPreset);
    ResetPointState(state);
}

void ResetPointState(DatumerState& state) {
    state.Point = PointState{};
    state.PointInputValid.fill(true);
}

FieldEdit EditPointField(DatumerState& state, int field, AngleFormat format,
                         std::string_view text) {
    if (field < 1 || field > kPointFieldCount) return FieldEdit::Ignored;
    PointState& p = state.Point;
    const bool decimal = format == AngleFormat::Decimal;
    // Fields 2, 3, 5, 6 are not parsed in decimal format: they hold 0 and count as valid.
    std::array<double*, kPointFieldCount> targets{decimal ? &p.B1 : &p.B1Deg,
                                                  &p.B1Min,
                                                  &p.B1Sec,
                                                  decimal ? &p.L1 : &p.L1Deg,
                                                  &p.L1Min,
                                                  &p.L1Sec,
                                                  &p.H1};
    using Parser = double (*)(std::string_view, bool&);
    const Parser whole = &ParseWholeDegrees;
    const Parser real = &common::ParseUnsignedReal;
    const std::array<Parser, kPointFieldCount> parsers{decimal ? real : whole,  whole, real,
                                                       decimal ? real : whole,  whole, real,
                                                       &common::ParseSignedReal};
    const auto index = static_cast<std::size_t>(field - 1);
    const bool unparsed = decimal && field != 1 && field != 4 && field != 7;

    bool ok = true;
    const double value = unparsed ? 0.0 : parsers[index](text, ok);
    state.PointInputValid[index] = ok;
    if (!ok) return FieldEdit::Rejected;
    *targets[index] = value;
    return FieldEdit::Accepted;
}

std::optional<std::string_view> ValidatePoint(const PointState& p) {
    constexpr std::string_view kLatitude = "Широта должна находиться в пределах 0..90 градусов";
    constexpr std::string_view kLongitude = "Долгота должна находиться в пределах 0..180 градусов";
    if (p.B1 > 90) return kLatitude;
    if (p.B1Min > 59) return "Значение минут по широте должно быть менее 60";
    if (p.B1Sec >= 60) return "Значение секунд по широте должно быть менее 60";
    if (p.L1 > 180) return kLongitude;
    if (p.L1Min > 59) return "Значение минут по долготе должно быть менее 60";
    if (p.L1Sec >= 60) return "Значение секунд по долготе должно быть менее 60";
    if (FromParts(p.B1Deg, p.B1Min, p.B1Sec) > 90) return kLatitude;
    if (FromParts(p.L1Deg, p.L1Min, p.L1Sec) > 180) return kLongitude;
    if (p.H1 > 10000 || p.H1 < -1000) {
        return "Высота должна быть указана в пределах -1000...10000 метров";
    }
    return std::nullopt;
}

std::optional<std::string_view> ComputePoint(DatumerState& state, AngleFormat format, bool southern,
                                             bool western) {
    if (auto message = ValidatePoint(state.Point)) return message;
    PointState& p = state.Point;
    if (format == AngleFormat::DegMinSec) {
        p.B1 = FromParts(p.B1Deg, p.B1Min, p.B1Sec);
        p.L1 = FromParts(p.L1Deg, p.L1Min, p.L1Sec);
    }
    if (southern) p.B1 = -p.B1;
    if (western) p.L1 = -p.L1;

    const GeodeticPoint source{p.B1, p.L1, p.H1};
    GeodeticPoint target;
    TransformDatum(source, state.Params, state.PointShift, target);
    p.B2 = target.B;
    p.L2 = target.L;
    p.H2 = target.H;
    state.SourceNom = DatumerSheetNames(source);
    state.TargetNom = DatumerSheetNames(target);
    SplitInto(p.B2, p.B2Deg, p.B2Min, p.B2Sec);
    SplitInto(p.L2, p.L2Deg, p.L2Min, p.L2Sec);
    return std::nullopt;
}

ResultTexts ShowResultTexts(const PointState& p, AngleFormat format, char separator) {
    ResultTexts texts;
    texts.LatitudeHemisphere = p.B2 >= 0 ? "с.ш." : "ю.ш.";
    texts.LongitudeHemisphere = p.L2 >= 0 ? "в.д" : "з.д";
    if (format == AngleFormat::DegMinSec) {
        texts.Edits = {std::to_string(static_cast<long long>(p.B2Deg)),
                       TwoDigitWhole(p.B2Min),
                       common::SecondsText(p.B2Sec, 6, separator),
                       std::to_string(static_cast<long long>(p.L2Deg)),
                       TwoDigitWhole(p.L2Min),
                       common::SecondsText(p.L2Sec, 6, separator),
                       ""};
    } else {
        texts.Edits = {common::RoundedText(std::fabs(p.B2), 10, separator),
                       "-",
                       "-",
                       common::RoundedText(std::fabs(p.L2), 10, separator),
                       "-",
                       "-",
                       ""};
    }
    texts.Edits[6] = common::RoundedText(p.H2, 4, separator);
    return texts;
}

std::array<std::string, 3> ShiftTexts(const GeocentricShift& shift, char separator) {
    return {common::RoundedText(shift.dX, 4, separator),
            common::RoundedText(shift.dY, 4, separator),
            common::RoundedText(shift.dZ, 4, separator)};
}

common::TNom DatumerSheetNames(const GeodeticPoint& point) {
    return common::SheetNames(point, common::kDatumerPolarMessages);
}

}  // namespace datumer
