#include "gridwise/cli/point_command.hpp"

#include <cmath>
#include <optional>
#include <vector>

#include "common/cli_args.hpp"
#include "common/cli_convert.hpp"
#include "common/text.hpp"
#include "gridwise/cli/settings_flags.hpp"
#include "gridwise/rules/point_rules.hpp"
#include "gridwise/state.hpp"

namespace gridwise::cli {

namespace {

constexpr char kSeparator = '.';

// An angle argument: signed decimal degrees, or D:M[:S] with an optional hemisphere letter.
struct AngleArgument {
    common::TDegMinSec angle;  // unsigned, as the point screen holds it while typing
    bool negative = false;     // south or west
    AngleFormat format = AngleFormat::Decimal;
};

std::optional<AngleArgument> ParseAngleArgument(std::string_view text, char positive,
                                                char negative) {
    const std::optional<common::AngleArgument> parsed =
        common::ParseAngleArgument(text, positive, negative);
    if (!parsed) return std::nullopt;
    AngleArgument result;
    result.negative = parsed->Negative;
    if (parsed->DegMinSec) {
        result.format = AngleFormat::DegMinSec;
        result.angle.Deg = parsed->Deg;
        result.angle.Min = parsed->Min;
        result.angle.Sec = parsed->Sec;
        ComposeDegrees(result.angle);
    } else {
        result.angle.Value = parsed->Deg;
    }
    return result;
}

std::string AngleText(const AngleArgument& a, std::string_view north, std::string_view south) {
    const std::string_view hemisphere = a.negative ? south : north;
    if (a.format == AngleFormat::Decimal)
        return DecimalAngleText(a.angle.Value, kSeparator) + " " + std::string(hemisphere);
    const DmsTexts t = DmsAngleTexts(a.angle, kSeparator);
    return t.deg + "° " + t.min + "' " + t.sec + "\" " + std::string(hemisphere);
}

// The computed point as the result fields show it: degrees-minutes-seconds and hemisphere.
AngleArgument ResultAngle(double value) {
    AngleArgument a;
    a.angle.Value = value;
    common::SplitDegrees(a.angle);
    a.negative = value < 0.0;
    a.format = AngleFormat::DegMinSec;
    return a;
}

void WriteText(std::ostream& out, const PointResult& r, const GridwiseState& state,
               const std::string& bText, const std::string& lText) {
    const PointTexts t =
        FormatPointResult(r, state.DirectionToPlane, state.Work.AddZoneNumber, kSeparator);
    out << "B: " << bText << '\n' << "L: " << lText << '\n';
    if (state.DirectionToPlane) {
        out << "x: " << t.x << '\n' << "y: " << t.y << '\n';
    } else {
        out << "x: " << PlaneCoordinateText(r.PlanePoint.x, kSeparator) << '\n'
            << "y: " << PlaneCoordinateText(r.PlanePoint.y, kSeparator) << '\n';
    }
    for (std::size_t i = 0; i < t.sheets.size(); ++i)
        out << common::CaptionLabel(kSheetCaptions[i]) << ": " << t.sheets[i] << '\n';
    const std::string aux[] = {t.scale, t.convergence, t.dsh, t.areaDistortion};
    for (std::size_t i = 0; i < std::size(aux); ++i)
        out << common::CaptionLabel(kAuxCaptions[i]) << ": " << aux[i] << '\n';
}

void WriteJson(std::ostream& out, const PointResult& r) {
    out << "{\"ok\": " << (r.ok ? "true" : "false")
        << ", \"x\": " << common::JsonNumber(r.PlanePoint.x)
        << ", \"y\": " << common::JsonNumber(r.PlanePoint.y)
        << ", \"B\": " << common::JsonNumber(r.CalcPoint.B)
        << ", \"L\": " << common::JsonNumber(r.CalcPoint.L) << ", \"zone\": " << r.zone
        << ", \"scale\": " << common::JsonNumber(r.LengthScale)
        << ", \"convergence\": " << common::JsonNumber(r.Convergence)
        << ", \"dsh1000\": " << (r.ok ? common::JsonNumber(r.Dsh1000) : "null")
        << ", \"area_distortion\": " << (r.ok ? common::JsonNumber(r.AreaDistortion) : "null")
        << ", \"sheets\": " << common::JsonSheetObject(r.allSheets, r.sheetsKnown) << "}\n";
}

struct PointArguments {
    bool json = false;
    bool help = false;
    std::vector<std::string> values;
};

bool SplitArguments(const std::vector<std::string>& rest, PointArguments& result,
                    std::ostream& err) {
    bool optionsEnded = false;
    for (const std::string& arg : rest) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--json") {
            result.json = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            result.help = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-' &&
                   !common::LooksLikeNegativeNumber(arg)) {
            err << "Неизвестный флаг: " << arg << " (см. gridwise-cli point --help)\n";
            return false;
        } else {
            result.values.push_back(arg);
        }
    }
    return true;
}

int Finish(const PointResult& r, const GridwiseState& state, bool json, const std::string& bText,
           const std::string& lText, std::ostream& out, std::ostream& err) {
    if (json)
        WriteJson(out, r);
    else
        WriteText(out, r, state, bText, lText);
    if (r.ok) return 0;
    err << kCalculationError << '\n';
    return 1;
}

int ComputeToPlanePoint(const GridwiseState& state, const PointArguments& a, std::ostream& out,
                        std::ostream& err) {
    const auto b = ParseAngleArgument(a.values[0], 'N', 'S');
    const auto l = ParseAngleArgument(a.values[1], 'E', 'W');
    if (!b || !l) {
        err << "Недопустимое значение " << (!b ? "широты" : "долготы") << ": \""
            << a.values[!b ? 0 : 1] << "\"\n";
        return 2;
    }
    const std::string message = GeoRangeMessage(b->angle, l->angle);
    if (!message.empty()) {
        err << message << '\n';
        return 2;
    }
    const PointResult r = ComputeToPlane(
        state, SignedPoint(b->angle.Value, l->angle.Value, b->negative, l->negative));
    return Finish(r, state, a.json, AngleText(*b, kNorth, kSouth), AngleText(*l, kEast, kWest), out,
                  err);
}

int ComputeToGeoPoint(const GridwiseState& state, const PointArguments& a, std::ostream& out,
                      std::ostream& err) {
    bool xOk = true, yOk = true;
    const PlaneCoords point{common::ParseSignedReal(a.values[0], xOk),
                            common::ParseSignedReal(a.values[1], yOk)};
    if (!xOk || !yOk) {
        err << "Недопустимое значение " << (!xOk ? "x" : "y") << ": \"" << a.values[!xOk ? 0 : 1]
            << "\"\n";
        return 2;
    }
    const std::string message = CheckPlaneInput(point, state.Work);
    if (!message.empty()) {
        err << message << '\n';
        return 2;
    }
    const PointResult r = ComputeToGeo(state, point);
    const std::string error(kCalculationError);
    const std::string bText = r.ok ? AngleText(ResultAngle(r.CalcPoint.B), kNorth, kSouth) : error;
    const std::string lText = r.ok ? AngleText(ResultAngle(r.CalcPoint.L), kEast, kWest) : error;
    return Finish(r, state, a.json, bText, lText, out, err);
}

}  // namespace

int RunPointCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    GridwiseState state = MakeGridwiseState();
    const SettingsFlagsResult settings = ParseSettingsFlags(args, state);
    PointArguments a;
    if (!SplitArguments(settings.rest, a, err)) return 2;
    if (a.help) {
        out << PointCommandHelp() << "\nФлаги настроек:\n"
            << SettingsFlagsHelp() << '\n'
            << common::PointHelpTail(
                   "  gridwise-cli point 55°45'20.5\"N 37°37'06\"E\n"
                   "  gridwise-cli point --direction to-geo 6099167.2394 7372018.4912\n"
                   "  gridwise-cli point --json --projection utm --system wgs84 -33.5 18.4\n");
        return 0;
    }
    if (!settings.ok) {
        err << settings.message << '\n';
        return 2;
    }
    if (a.values.size() != 2) {
        err << "Нужны два значения: " << (state.DirectionToPlane ? "B L" : "X Y")
            << " (см. gridwise-cli point --help)\n";
        return 2;
    }
    return state.DirectionToPlane ? ComputeToPlanePoint(state, a, out, err)
                                  : ComputeToGeoPoint(state, a, out, err);
}

std::string_view PointCommandHelp() {
    return "gridwise-cli point [флаги] [--json] [--] B L      (B,L => x,y)\n"
           "gridwise-cli point --direction to-geo [флаги] [--json] [--] X Y\n"
           "  B, L: десятичные градусы со знаком (55.75, -37,5) или градусы, минуты, секунды\n"
           "        с буквой N/S/E/W или без: 55°45'20.5\"N, \"55 45 20.5 N\", 55d45m20.5s,\n"
           "        55:45:20.5N; \",\" или \".\" перед долями.\n"
           "  --json  один объект JSON со всеми значениями полной точности\n";
}

}  // namespace gridwise::cli
