#include "transform/chain.hpp"

#include <array>

#include "common/text.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/rules/point_rules.hpp"
#include "gridwise/cli/settings_flags.hpp"
#include "gridwise/files/converters.hpp"
#include "gridwise/state.hpp"

namespace transform {

namespace {

struct DatumInfo {
    Datum datum;
    std::string_view key;         // as written on the command line
    std::string_view presetName;  // as the presets name the system
    std::string_view gridSystem;  // gridwise-cli's --system with the same ellipsoid
    int ellipsoid;                // Datumer's ellipsoid of the system
};

constexpr std::array<DatumInfo, 8> kDatums = {{
    {Datum::Sk42, "sk42", "СК42", "sk42", 1},
    {Datum::Sk95, "sk95", "СК95", "sk42", 1},
    {Datum::Pz9001, "pz90", "ПЗ90.01", "pz90", 3},
    {Datum::Pz9002, "pz90.02", "ПЗ90.02", "pz90", 7},
    {Datum::Pz9011, "pz90.11", "ПЗ90.11", "pz90", 7},
    {Datum::Wgs84, "wgs84", "WGS84", "wgs84", 2},
    {Datum::Gsk2011, "gsk2011", "ГСК-2011", "user", 8},
    {Datum::User, "user", datumer::kUserSystemName, "user", 0},
}};

const DatumInfo& InfoOf(Datum datum) {
    for (const DatumInfo& info : kDatums)
        if (info.datum == datum) return info;
    return kDatums.front();
}

// Central meridian of a numbered zone, east positive.
double ZoneMeridian(Form form, int zone) {
    return form == Form::Utm ? 6.0 * zone - 183.0 : 6.0 * zone - 3.0;
}

// The first preset from `from` to `to`, or 0.
int PresetOfPair(const datumer::DatumerState& datums, Datum from, Datum to) {
    for (int i = 1; i <= datumer::kPresetCount; ++i) {
        if (i == datumer::kUserPreset) continue;
        const datumer::TCHSK& preset = datumer::PresetAt(datums, i);
        if (preset.SourceName == InfoOf(from).presetName &&
            preset.TargetName == InfoOf(to).presetName)
            return i;
    }
    return 0;
}

// The Gridwise step of one side: x, y => B, L of the source (toPlane false) or B, L => x, y of the
// target, on `ellipsoid`, through the same settings as gridwise-cli's flags.
std::string PlaneStep(const SystemAndForm& system, const datumer::TELL& ellipsoid, bool toPlane,
                      const ChainOptions& options, gridwise::PrecisionOptions decimals,
                      common::LineFunction& lines) {
    std::vector<std::string> args = {"--direction", toPlane ? "to-plane" : "to-geo"};
    if (system.form == Form::Sk63) {
        if (system.datum != Datum::Sk42 && system.datum != Datum::Sk95)
            return "Зоны СК63 есть только у систем sk42 и sk95";
        args.insert(args.end(), {"--system", "sk63"});
        args.insert(args.end(), options.Sk63Flags.begin(), options.Sk63Flags.end());
    } else {
        args.insert(args.end(), {"--projection", system.form == Form::Utm ? "utm" : "gk",
                                 "--system", std::string(InfoOf(system.datum).gridSystem)});
    }
    gridwise::GridwiseState state = gridwise::MakeGridwiseState();
    const gridwise::cli::SettingsFlagsResult settings =
        gridwise::cli::ParseSettingsFlags(args, state);
    if (!settings.ok) return settings.message;
    state.Algorithm = options.Algorithm;
    // The ellipsoid of the datum step's side, so that both steps work on one surface.
    state.Work.Ell = ellipsoid;
    if (system.zone != 0) {
        // Ordinates without a zone number are those of the zone's own meridian.
        state.Work.UserMeridian = true;
        state.Work.CentralMeridian = ZoneMeridian(system.form, system.zone);
        state.Work.AddZoneNumber = false;
        state.Work.Sk63Zone = 0;
        state.Work.ZoneShift = 0;
    }
    lines = gridwise::PointListLines(state.Work, gridwise::DeriveEllipsoid(state.Work.Ell), toPlane,
                                     state.Algorithm, decimals);
    return {};
}

std::string PresetRefusal(const datumer::DatumerState& datums, int preset,
                          const SystemAndForm& from, const SystemAndForm& to) {
    const datumer::TCHSK& record = datumer::PresetAt(datums, preset);
    const bool fromOk =
        from.datum == Datum::User || record.SourceName == InfoOf(from.datum).presetName;
    const bool toOk = to.datum == Datum::User || record.TargetName == InfoOf(to.datum).presetName;
    if (fromOk && toOk) return {};
    return "Вариант " + std::to_string(preset) + " пересчитывает " + record.SourceName + " => " +
           record.TargetName + ", а не " + std::string(InfoOf(from.datum).presetName) + " => " +
           std::string(InfoOf(to.datum).presetName);
}

}  // namespace

std::optional<SystemAndForm> ParseSystemAndForm(std::string_view text) {
    const std::size_t slash = text.find('/');
    const std::string_view datumKey = text.substr(0, slash);
    SystemAndForm system;
    bool known = false;
    for (const DatumInfo& info : kDatums)
        if (info.key == datumKey) system.datum = info.datum, known = true;
    if (!known) return std::nullopt;
    if (slash == std::string_view::npos) return system;
    std::string_view form = text.substr(slash + 1);
    const std::size_t colon = form.find(':');
    const std::string_view zone = colon == std::string_view::npos ? "" : form.substr(colon + 1);
    form = form.substr(0, colon);
    if (form == "geo")
        system.form = Form::Geodetic;
    else if (form == "gk")
        system.form = Form::GaussKruger;
    else if (form == "utm")
        system.form = Form::Utm;
    else if (form == "sk63")
        system.form = Form::Sk63;
    else
        return std::nullopt;
    if (colon == std::string_view::npos) return system;
    bool ok = true;
    const std::int32_t number = common::ParseUnsignedInt(zone, ok);
    const bool zoned = system.form == Form::GaussKruger || system.form == Form::Utm;
    if (!ok || !zoned || number < 1 || number > 60) return std::nullopt;
    system.zone = number;
    return system;
}

std::string SystemLabel(const SystemAndForm& system) {
    std::string label(InfoOf(system.datum).presetName);
    switch (system.form) {
        case Form::Geodetic:
            return label + " B, L";
        case Form::Sk63:
            return label + " x, y (СК63)";
        case Form::GaussKruger:
            label += " x, y (Гаусса-Крюгера";
            break;
        case Form::Utm:
            label += " x, y (UTM";
            break;
    }
    if (system.zone != 0) label += ", зона " + std::to_string(system.zone);
    return label + ")";
}

common::LineFunction ChainLines(std::vector<common::LineFunction> steps) {
    if (steps.size() == 1) return std::move(steps.front());
    return [steps = std::move(steps), buffers = std::array<std::string, 2>()](
               std::string_view line, std::string& out) mutable {
        std::string_view current = line;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            std::string& next = i + 1 == steps.size() ? out : buffers[i % 2];
            next.clear();
            if (!steps[i](current, next)) {
                if (&next != &out) out = next;  // the reason the step gave
                return false;
            }
            current = next;
        }
        return true;
    };
}

std::string BuildChain(const SystemAndForm& from, const SystemAndForm& to, bool presetGiven,
                       datumer::DatumerState& datums, const ChainOptions& options, Chain& chain) {
    const bool userSide = from.datum == Datum::User || to.datum == Datum::User;
    if (userSide && !presetGiven) return "Для системы user нужен вариант преобразования (--preset)";
    chain.Preset = 0;
    if (presetGiven) {
        chain.Preset = datums.SelectedPreset;
        if (std::string refusal = PresetRefusal(datums, chain.Preset, from, to); !refusal.empty())
            return refusal;
    } else if (from.datum != to.datum) {
        chain.Preset = PresetOfPair(datums, from.datum, to.datum);
        if (chain.Preset == 0)
            return "Нет варианта преобразования " + std::string(InfoOf(from.datum).presetName) +
                   " => " + std::string(InfoOf(to.datum).presetName) + " (укажите --preset)";
        datums.SelectedPreset = chain.Preset;
        datumer::EnterPointScreen(datums);
    }
    const bool fromPlane = from.form != Form::Geodetic;
    const bool toPlane = to.form != Form::Geodetic;
    if (!fromPlane && !toPlane && chain.Preset == 0)
        return "Системы совпадают: пересчитывать нечего";

    const datumer::TCHSK& preset = datumer::PresetAt(datums, chain.Preset);
    const datumer::TELL& fromEllipsoid = datumer::EllipsoidAt(
        datums, chain.Preset != 0 ? preset.SourceEll : InfoOf(from.datum).ellipsoid);
    const datumer::TELL& toEllipsoid = datumer::EllipsoidAt(
        datums, chain.Preset != 0 ? preset.TargetEll : InfoOf(to.datum).ellipsoid);
    // Between steps the finest decimals both tools write.
    constexpr std::uint8_t kInnerAngle = 10, kInnerHeight = 4;
    std::vector<common::LineFunction> steps;
    if (fromPlane) {
        const bool last = chain.Preset == 0 && !toPlane;
        const gridwise::PrecisionOptions decimals{last ? options.AngleDecimals : kInnerAngle,
                                                  options.PlaneDecimals,
                                                  last ? options.HeightDecimals : kInnerHeight};
        common::LineFunction lines;
        if (std::string problem = PlaneStep(from, fromEllipsoid, false, options, decimals, lines);
            !problem.empty())
            return problem;
        steps.push_back(std::move(lines));
    }
    if (chain.Preset != 0) {
        datumer::PointListOptions datumOptions;
        datumOptions.HeightMode = options.HeightMode;
        datumOptions.AnglePrecision = toPlane ? kInnerAngle : options.AngleDecimals;
        datumOptions.HeightPrecision = toPlane ? kInnerHeight : options.HeightDecimals;
        steps.push_back(datumer::PointListDatumLines(datums.Params, datumOptions));
    }
    if (toPlane) {
        const gridwise::PrecisionOptions decimals{options.AngleDecimals, options.PlaneDecimals,
                                                  options.HeightDecimals};
        common::LineFunction lines;
        if (std::string problem = PlaneStep(to, toEllipsoid, true, options, decimals, lines);
            !problem.empty())
            return problem;
        steps.push_back(std::move(lines));
    }
    chain.Lines = ChainLines(std::move(steps));
    chain.Summary = "Пересчёт " + SystemLabel(from) + " => " + SystemLabel(to);
    if (chain.Preset != 0) chain.Summary += " (вариант " + std::to_string(chain.Preset) + ")";
    return {};
}

}  // namespace transform
