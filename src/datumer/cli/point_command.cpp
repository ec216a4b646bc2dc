#include "datumer/cli/point_command.hpp"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "common/text.hpp"
#include "datumer/cli/preset_flags.hpp"
#include "datumer/point_rules.hpp"

namespace datumer::cli {

namespace {

constexpr std::string_view kJsonFlag = "--json";

// An angle typed as signed decimal degrees or as D:M[:S], each with an optional hemisphere
// letter; the parts go into the point screen's degree, minute and second fields.
struct TypedAngle {
    double Deg = 0.0, Min = 0.0, Sec = 0.0;
    bool Negative = false;
};

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t colon = text.find(separator); colon != std::string_view::npos;
         colon = text.find(separator, start)) {
        parts.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// `hemispheres` holds the positive and the negative letter ("NS" or "EW").
std::optional<TypedAngle> ParseAngle(std::string_view text, std::string_view hemispheres) {
    TypedAngle angle;
    bool lettered = false;
    if (!text.empty()) {
        const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
        if (last == hemispheres[0] || last == hemispheres[1]) {
            angle.Negative = last == hemispheres[1];
            lettered = true;
            text.remove_suffix(1);
        }
    }
    bool ok = true;
    if (text.find(':') == std::string_view::npos) {
        if (lettered && !text.empty() && (text[0] == '-' || text[0] == '+')) return std::nullopt;
        const double value = common::ParseSignedReal(text, ok);
        if (!lettered) angle.Negative = std::signbit(value);
        angle.Deg = std::fabs(value);
    } else {
        const std::vector<std::string_view> parts = SplitOn(text, ':');
        if (parts.size() > 3) return std::nullopt;
        // The parsers of the d/m/s fields: whole degrees and minutes, unsigned seconds.
        angle.Deg = common::ParseUnsignedInt(parts[0], ok);
        angle.Min = common::ParseUnsignedInt(parts[1], ok);
        if (parts.size() == 3) angle.Sec = common::ParseUnsignedReal(parts[2], ok);
    }
    if (!ok) return std::nullopt;
    return angle;
}

std::string Json(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::array<std::string_view, 4> SheetFields(const common::TNom& nom) {
    return {nom.Sheet1M, nom.Sheet500k, nom.Sheet200k, nom.Sheet10k};
}

std::string JsonSheets(const common::TNom& nom) {
    std::string list = "[";
    for (const std::string_view name : SheetFields(nom)) {
        if (list.size() > 1) list += ", ";
        list += JsonString(name);
    }
    return list + "]";
}

void WriteJson(const DatumerState& state, std::ostream& out) {
    const PointState& p = state.Point;
    const GeocentricShift& s = state.PointShift;
    out << "{\"B2\": " << Json(p.B2) << ", \"L2\": " << Json(p.L2) << ", \"H2\": " << Json(p.H2)
        << ", \"dX\": " << Json(s.dX) << ", \"dY\": " << Json(s.dY) << ", \"dZ\": " << Json(s.dZ)
        << ", \"source_sheets\": " << JsonSheets(state.SourceNom)
        << ", \"target_sheets\": " << JsonSheets(state.TargetNom) << "}\n";
}

// A screen label such as "1:500 000     :" without its padding and colon.
std::string_view BareLabel(std::string_view label) {
    const std::size_t end = label.find_last_not_of(" :");
    return label.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

void WriteLines(const DatumerState& state, std::ostream& out) {
    const PointState& p = state.Point;
    const TCHSK& preset = PresetAt(state, state.SelectedPreset);
    const ResultTexts dms = ShowResultTexts(p, AngleFormat::DegMinSec, '.');
    const ResultTexts decimal = ShowResultTexts(p, AngleFormat::Decimal, '.');
    out << "Исходная СК: " << preset.SourceName << '\n'
        << "Целевая СК: " << preset.TargetName << '\n'
        << "B2 (ггг/мм/сс.сссссс): " << dms.Edits[0] << "°" << dms.Edits[1] << "'" << dms.Edits[2]
        << "\" " << dms.LatitudeHemisphere << '\n'
        << "B2 (ггг.гггггггггг): " << decimal.Edits[0] << ' ' << decimal.LatitudeHemisphere << '\n'
        << "L2 (ггг/мм/сс.сссссс): " << dms.Edits[3] << "°" << dms.Edits[4] << "'" << dms.Edits[5]
        << "\" " << dms.LongitudeHemisphere << '\n'
        << "L2 (ггг.гггггггггг): " << decimal.Edits[3] << ' ' << decimal.LongitudeHemisphere << '\n'
        << "H2 (м): " << dms.Edits[6] << '\n';
    const auto writeSheets = [&](std::string_view system, const common::TNom& nom) {
        const auto names = SheetFields(nom);
        for (std::size_t i = 0; i < names.size(); ++i) {
            out << system << ' ' << BareLabel(kSheetRowLabels[i]) << ": " << names[i] << '\n';
        }
    };
    writeSheets("Исходная СК", state.SourceNom);
    writeSheets("Целевая СК", state.TargetNom);
    const auto shift = ShiftTexts(state.PointShift, '.');
    for (std::size_t i = 0; i < shift.size(); ++i) {
        out << BareLabel(kShiftRowLabels[i]) << ": " << shift[i] << '\n';
    }
}

bool LooksLikeNumber(std::string_view arg) {
    return arg.size() > 1 && (arg[0] == '-' || arg[0] == '+') &&
           (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.' || arg[1] == ',');
}

}  // namespace

int RunPointCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            out << PointCommandHelp() << PresetFlagsHelp();
            return 0;
        }
    }
    DatumerState state = MakeDatumerState();
    const PresetFlagsResult flags = ParsePresetFlags(args, state);
    if (!flags.ok) {
        err << flags.message << '\n';
        return 2;
    }
    bool json = false;
    bool optionsEnded = false;
    std::vector<std::string_view> values;
    for (const std::string& arg : flags.rest) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == kJsonFlag) {
            json = true;
        } else if (!optionsEnded && arg.starts_with("-") && !LooksLikeNumber(arg)) {
            err << "Неизвестный флаг: " << arg << '\n';
            return 2;
        } else {
            values.push_back(arg);
        }
    }
    if (values.size() != 3) {
        err << "Нужны три значения: B L H (см. datumer-cli --help)\n";
        return 2;
    }
    const std::optional<TypedAngle> b = ParseAngle(values[0], "NS");
    const std::optional<TypedAngle> l = ParseAngle(values[1], "EW");
    if (!b || !l) {
        err << "Некорректная " << (b ? "долгота" : "широта") << ": " << (b ? values[1] : values[0])
            << '\n';
        return 2;
    }
    bool heightOk = true;
    const double height = common::ParseSignedReal(values[2], heightOk);
    if (!heightOk) {
        err << "Некорректная высота: " << values[2] << '\n';
        return 2;
    }
    // Decimal degrees enter as whole-degree parts with zero minutes and seconds, which forms the
    // same value exactly and passes the same checks.
    PointState& p = state.Point;
    p.B1Deg = b->Deg, p.B1Min = b->Min, p.B1Sec = b->Sec;
    p.L1Deg = l->Deg, p.L1Min = l->Min, p.L1Sec = l->Sec;
    p.H1 = height;
    if (const auto message =
            ComputePoint(state, AngleFormat::DegMinSec, b->Negative, l->Negative)) {
        err << *message << '\n';
        return 2;
    }
    if (json) {
        WriteJson(state, out);
    } else {
        WriteLines(state, out);
    }
    return 0;
}

std::string_view PointCommandHelp() {
    return "datumer-cli point [флаги] [--json] [--] B L H\n"
           "  B, L: градусы со знаком (55.75, -33.9) или Г:М[:С] с буквой N/S, E/W (55:45:30N)\n"
           "  H: эллипсоидальная высота, метры (-1000..10000)\n"
           "  --json            все значения полной точности одним объектом JSON\n";
}

}  // namespace datumer::cli
