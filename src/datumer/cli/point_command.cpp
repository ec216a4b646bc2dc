#include "datumer/cli/point_command.hpp"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "common/cli_args.hpp"
#include "common/cli_convert.hpp"
#include "common/text.hpp"
#include "datumer/cli/preset_flags.hpp"
#include "datumer/rules/point_rules.hpp"

namespace datumer::cli {

namespace {

constexpr std::string_view kJsonFlag = "--json";

std::array<std::string_view, 4> SheetFields(const common::TNom& nom) {
    return {nom.Sheet1M, nom.Sheet500k, nom.Sheet200k, nom.Sheet10k};
}

std::string JsonSheets(const common::TNom& nom) {
    std::string list = "[";
    for (const std::string_view name : SheetFields(nom)) {
        if (list.size() > 1) list += ", ";
        list += common::JsonString(name);
    }
    return list + "]";
}

// The keys both tools share come first: "ok", the point (here the result in the target system),
// its sheets at all seven scales; then Datumer's own values.
void WriteJson(const DatumerState& state, std::ostream& out) {
    const PointState& p = state.Point;
    const GeocentricShift& s = state.PointShift;
    const common::TNom2 target = common::AllSheetNames(p.B2, p.L2, common::kDatumerPolarMessages);
    const common::TNom2 source = common::AllSheetNames(p.B1, p.L1, common::kDatumerPolarMessages);
    out << "{\"ok\": true, \"B\": " << common::JsonNumber(p.B2)
        << ", \"L\": " << common::JsonNumber(p.L2) << ", \"H\": " << common::JsonNumber(p.H2)
        << ", \"sheets\": " << common::JsonSheetObject(target)
        << ", \"B1\": " << common::JsonNumber(p.B1) << ", \"L1\": " << common::JsonNumber(p.L1)
        << ", \"H1\": " << common::JsonNumber(p.H1)
        << ", \"source_sheets_by_scale\": " << common::JsonSheetObject(source)
        << ", \"B2\": " << common::JsonNumber(p.B2) << ", \"L2\": " << common::JsonNumber(p.L2)
        << ", \"H2\": " << common::JsonNumber(p.H2) << ", \"dX\": " << common::JsonNumber(s.dX)
        << ", \"dY\": " << common::JsonNumber(s.dY) << ", \"dZ\": " << common::JsonNumber(s.dZ)
        << ", \"source_sheets\": " << JsonSheets(state.SourceNom)
        << ", \"target_sheets\": " << JsonSheets(state.TargetNom) << "}\n";
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
            out << system << ' ' << common::CaptionLabel(kSheetRowLabels[i]) << ": " << names[i]
                << '\n';
        }
    };
    writeSheets("Исходная СК", state.SourceNom);
    writeSheets("Целевая СК", state.TargetNom);
    const auto shift = ShiftTexts(state.PointShift, '.');
    for (std::size_t i = 0; i < shift.size(); ++i) {
        out << common::CaptionLabel(kShiftRowLabels[i]) << ": " << shift[i] << '\n';
    }
}

}  // namespace

int RunPointCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            out << PointCommandHelp() << PresetFlagsHelp() << '\n'
                << common::PointHelpTail(
                       "  datumer-cli point 55°45'20.5\"N 37°37'06\"E 150\n"
                       "  datumer-cli point --json --preset 20 -33.9 18.4 250\n");
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
        } else if (!optionsEnded && arg.starts_with("-") && !common::LooksLikeNegativeNumber(arg)) {
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
    const auto b = common::ParseAngleArgument(values[0], 'N', 'S');
    const auto l = common::ParseAngleArgument(values[1], 'E', 'W');
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
           "  B, L: градусы со знаком (55.75, -33.9) или градусы, минуты, секунды с буквой N/S,\n"
           "        E/W или без: 55°45'20.5\"N, \"55 45 20.5 N\", 55d45m20.5s, 55:45:20.5N\n"
           "  H: эллипсоидальная высота, метры (-1000..10000)\n"
           "  --json            все значения полной точности одним объектом JSON\n";
}

}  // namespace datumer::cli
