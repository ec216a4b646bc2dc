#include "gridwise/cli/settings_flags.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "common/cli_args.hpp"
#include "common/text.hpp"
#include "gridwise/rules/setup_rules.hpp"

namespace gridwise::cli {

namespace {

// The settings as given on the command line, before they are applied.
struct GivenFlags {
    std::optional<std::string> direction, projection, system, series, zone, sk63Zone, meridian;
    std::optional<std::string> falseNorthing, falseEasting, semiMajorAxis, invFlattening;
    bool noZoneNumber = false;
};

struct ValueFlag {
    std::string_view name;
    std::optional<std::string> GivenFlags::*field;
};

constexpr std::array<ValueFlag, 11> kValueFlags = {{
    {"--direction", &GivenFlags::direction},
    {"--projection", &GivenFlags::projection},
    {"--system", &GivenFlags::system},
    {"--series", &GivenFlags::series},
    {"--zone", &GivenFlags::zone},
    {"--sk63-zone", &GivenFlags::sk63Zone},
    {"--meridian", &GivenFlags::meridian},
    {"--false-northing", &GivenFlags::falseNorthing},
    {"--false-easting", &GivenFlags::falseEasting},
    {"--a", &GivenFlags::semiMajorAxis},
    {"--inv-f", &GivenFlags::invFlattening},
}};

constexpr std::array<std::string_view, 5> kSystemNames = {"sk42", "wgs84", "pz90", "sk63", "user"};

std::string BadValue(std::string_view flag, std::string_view value) {
    return "Недопустимое значение " + std::string(flag) + ": \"" + std::string(value) + "\"";
}

std::string Refused(std::string_view flag, const GridwiseState& state, std::string_view why) {
    return "Флаг " + std::string(flag) + " недоступен для системы \"" +
           state.CurrentSystemRecord().Name + "\"" + std::string(why);
}

constexpr std::string_view kNoZoneNumber = "--no-zone-number";

// Reads the flags into `given`; other arguments go to `rest`.
bool CollectFlags(std::span<const std::string> args, std::span<const std::string_view> valueOptions,
                  GivenFlags& given, SettingsFlagsResult& result) {
    std::array<std::string_view, kValueFlags.size()> names{};
    for (std::size_t i = 0; i < kValueFlags.size(); ++i) names[i] = kValueFlags[i].name;
    const std::array<std::string_view, 1> switches = {kNoZoneNumber};
    common::TakenFlags taken = common::TakeFlags(args, names, switches, valueOptions);
    result.rest = std::move(taken.Rest);
    result.message = std::move(taken.Problem);
    for (const auto& [name, value] : taken.Values) {
        if (name == kNoZoneNumber) {
            given.noZoneNumber = true;
            continue;
        }
        for (const ValueFlag& flag : kValueFlags)
            if (flag.name == name) given.*(flag.field) = value;
    }
    return result.message.empty();
}

// The choices of the set-up screen, in the order the screen takes them.
std::string ApplyChoices(const GivenFlags& given, GridwiseState& state) {
    if (given.projection) {
        if (*given.projection != "gk" && *given.projection != "utm")
            return BadValue("--projection", *given.projection);
        ChooseProjection(state, *given.projection == "utm");
    }
    if (given.system) {
        const auto name = std::find(kSystemNames.begin(), kSystemNames.end(), *given.system);
        if (name == kSystemNames.end()) return BadValue("--system", *given.system);
        const int number = static_cast<int>(name - kSystemNames.begin()) + 1;
        const int position = state.Systems[number].ListPosition;
        if (position == 0)
            return "Система \"" + state.Systems[number].Name +
                   "\" не предлагается для проекции UTM";
        ChooseSystem(state, position);
    }
    if (given.direction) {
        if (*given.direction != "to-plane" && *given.direction != "to-geo")
            return BadValue("--direction", *given.direction);
        ChooseDirection(state, *given.direction == "to-plane");
    }
    const SetupControls controls = DescribeSetupControls(state);
    if (given.noZoneNumber) {
        if (!controls.zoneCheckEnabled)
            return Refused("--no-zone-number", state,
                           ": долгота центрального меридиана добавляется всегда");
        ClickZoneCheckBox(state, false);
    }
    if (given.zone) {
        constexpr std::array<std::string_view, 3> kZones = {"current", "left", "right"};
        const auto zone = std::find(kZones.begin(), kZones.end(), *given.zone);
        if (zone == kZones.end()) return BadValue("--zone", *given.zone);
        if (zone != kZones.begin() && !controls.zoneChoiceEnabled)
            return Refused("--zone", state, " в этом направлении расчёта");
        ChooseZoneItem(state, static_cast<int>(zone - kZones.begin()));
    }
    if (given.sk63Zone) {
        if (!DescribeSetupControls(state).sk63ZoneListEnabled) {
            const TCHSK& system = state.CurrentSystemRecord();
            return Refused("--sk63-zone", state,
                           !system.Sk63ZoneChoice ? ""
                           : !state.DirectionToPlane ? " в этом направлении расчёта"
                                                     : " без номера зоны в ординате");
        }
        bool ok = true;
        const std::int32_t zone = common::ParseUnsignedInt(*given.sk63Zone, ok);
        if (!ok || zone < 1 || zone > kSk63ZoneCount)
            return "Номер зоны СК63 должен быть в пределах 1-20";
        ChooseSk63ZoneItem(state, zone - 1);
    }
    if (given.series) {
        if (*given.series != "3" && *given.series != "4")
            return BadValue("--series", *given.series);
        ChooseAlgorithm(state, *given.series == "4" ? kKrugerSeries : kClassicSeries);
    }
    return {};
}

// The text fields, through the screen's change events.
std::string ApplyFields(const GivenFlags& given, GridwiseState& state, bool& western) {
    const SetupControls controls = DescribeSetupControls(state);
    struct Field {
        const std::optional<std::string>& value;
        std::string_view flag;
        bool editable;
        bool (*edit)(GridwiseState&, std::string_view);
    };
    const Field fields[] = {
        {given.falseEasting, "--false-easting", controls.falseOriginEditable, EditFalseEasting},
        {given.falseNorthing, "--false-northing", controls.falseOriginEditable, EditFalseNorthing},
        {given.semiMajorAxis, "--a", controls.ellipsoidEditable, EditSemiMajorAxis},
        {given.invFlattening, "--inv-f", controls.ellipsoidEditable, EditInvFlattening},
    };
    for (const Field& field : fields) {
        if (!field.value) continue;
        if (!field.editable) return Refused(field.flag, state, "");
        if (!field.edit(state, *field.value)) return BadValue(field.flag, *field.value);
    }
    western = false;
    if (given.meridian) {
        if (!controls.meridianEditable) return Refused("--meridian", state, "");
        std::string_view text = *given.meridian;
        const char hemisphere = text.empty() ? '\0' : text.back();
        if (hemisphere != 'E' && hemisphere != 'W' && hemisphere != 'e' && hemisphere != 'w')
            return BadValue("--meridian", *given.meridian);
        western = hemisphere == 'W' || hemisphere == 'w';
        text.remove_suffix(1);
        const std::size_t colon = text.find(':');
        const std::string_view degrees = text.substr(0, colon);
        const std::string_view minutes =
            colon == std::string_view::npos ? "0" : text.substr(colon + 1);
        if (!EditMeridianDegrees(state, degrees) || !EditMeridianMinutes(state, minutes))
            return BadValue("--meridian", *given.meridian);
    }
    return {};
}

}  // namespace

SettingsFlagsResult ParseSettingsFlags(std::span<const std::string> args, GridwiseState& state,
                                       std::span<const std::string_view> valueOptions) {
    SettingsFlagsResult result;
    GivenFlags given;
    bool western = false;
    OpenSetupScreen(state);
    if (!CollectFlags(args, valueOptions, given, result)) {
        result.ok = false;
        return result;
    }
    result.message = ApplyChoices(given, state);
    if (result.message.empty()) result.message = ApplyFields(given, state, western);
    if (result.message.empty()) result.message = ProceedFromSetup(state, western);
    result.ok = result.message.empty();
    return result;
}

std::string_view SettingsFlagsHelp() {
    return "  --direction to-plane|to-geo    B,L => x,y (по умолчанию) или x,y => B,L\n"
           "  --projection gk|utm            Гаусса-Крюгера (по умолчанию) или UTM\n"
           "  --system sk42|wgs84|pz90|sk63|user\n"
           "                                 система координат (по умолчанию sk42)\n"
           "  --series 3|4                   3-членный (по умолчанию) или 4-членный ряд\n"
           "  --zone current|left|right      расчёт для текущей, левой или правой зоны\n"
           "  --no-zone-number               не добавлять номер зоны к ординате (x,y => B,L:\n"
           "                                 не добавлять долготу центрального меридиана)\n"
           "  --sk63-zone N                  номер зоны СК63, 1..20 (по умолчанию 1)\n"
           "  --meridian DEG[:MIN]E|W        долгота центрального меридиана зоны СК63\n"
           "  --false-northing M             False Northing, м (sk63, user)\n"
           "  --false-easting M              False Easting, м (sk63, user)\n"
           "  --a M                          большая полуось, м (user)\n"
           "  --inv-f F                      обратное сжатие (user)\n";
}

}  // namespace gridwise::cli
