// gridwise-cli convert: options of the format dialogs as flags, the batch run over files, and
// streaming from stdin to stdout.

#include "gridwise/cli/convert_command.hpp"

#include <unistd.h>  // isatty: progress is shown by default only on a terminal

#include <array>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "common/cli_convert.hpp"
#include "common/cli_point_lists.hpp"
#include "common/text.hpp"
#include "gridwise/cli/settings_flags.hpp"
#include "gridwise/files/formats.hpp"
#include "gridwise/rules/option_rules.hpp"
#include "gridwise/state.hpp"

namespace gridwise::cli {
namespace {

// After "--format " and the format names.
constexpr std::string_view kUsage =
    "\n"
    "                [настройки] [параметры] ФАЙЛ... | -\n"
    "\n"
    "Пересчёт файлов в подкаталог RECALC каталога файлов; \"-\" - поток stdin => stdout.\n"
    "\n"
    "Параметры форматов (по умолчанию - как в диалогах):\n"
    "  --angle-decimals 7..10      точность B, L (txt, по умолчанию 10)\n"
    "  --plane-decimals 2..4       точность x, y (txt, sk42-sk63, sk63-sk42; 3)\n"
    "  --height-decimals 2..4      точность H (txt, sk42-sk63, sk63-sk42; 3)\n"
    "  --scale 1000000|500000|200000|100000|50000|25000|10000\n"
    "                              масштаб номенклатуры (sheets; 25000)\n"
    "  --sk42-zone 1..60           зона СК42, указанная вручную (sk42-sk63; 1)\n"
    "  --zone-in-ordinate          номер зоны СК42 в ординате (sk42-sk63)\n"
    "  --height-change M           изменение высоты -100..100 м (sk42-sk63, sk63-sk42; 0)\n"
    "  --shift-north M             сдвиг на север -1000..1000 м (mp-shift; 0)\n"
    "  --shift-east M              сдвиг на восток -1000..1000 м (mp-shift; 0)\n"
    "  --encoding cp1251|utf-8     кодировка текста, который программа пишет в файлы сама\n"
    "                              (названия листов, sheets; по умолчанию cp1251); исходный\n"
    "                              файл с меткой UTF-8 (BOM) получает UTF-8; имена и хвосты\n"
    "                              строк переносятся байт в байт\n"
    "  --progress | --no-progress  строка хода пересчёта на stderr (по умолчанию на терминале)\n"
    "\n";

// Options that take a value, with the options dialogs they belong to (bit n = FormatOptions n).
struct ValueOption {
    std::string_view name;
    unsigned dialogs;
};
constexpr unsigned Bit(FormatOptions options) {
    return 1u << static_cast<unsigned>(options);
}
constexpr unsigned kDecimalDialogs = Bit(FormatOptions::Precision) |
                                     Bit(FormatOptions::Sk42ToSk63) |
                                     Bit(FormatOptions::PlanePrecision);
// Every format but the map shift reads point lists.
constexpr unsigned kPointListDialogs = kDecimalDialogs | Bit(FormatOptions::Nomenclature);
constexpr std::array<ValueOption, 12> kValueOptions = {{
    {"--format", ~0u},
    {"--encoding", ~0u},
    {common::kOutputOption, ~0u},
    {common::kSkipLinesOption, kPointListDialogs},
    {"--angle-decimals", Bit(FormatOptions::Precision)},
    {"--plane-decimals", kDecimalDialogs},
    {"--height-decimals", kDecimalDialogs},
    {"--scale", Bit(FormatOptions::Nomenclature)},
    {"--sk42-zone", Bit(FormatOptions::Sk42ToSk63)},
    {"--height-change", Bit(FormatOptions::Sk42ToSk63) | Bit(FormatOptions::PlanePrecision)},
    {"--shift-north", Bit(FormatOptions::MapShift)},
    {"--shift-east", Bit(FormatOptions::MapShift)},
}};

constexpr std::array<int, 7> kScaleDenominators = {1000000, 500000, 200000, 100000,
                                                   50000,   25000,  10000};

constexpr std::array<std::string_view, 4> kFlagNames = {
    "--help", "--zone-in-ordinate", common::kPointListFlags[0], common::kPointListFlags[1]};

struct ConvertOptions {
    const GridwiseFormat* format = nullptr;
    common::CommandArguments arguments;
};

const ValueOption* FindValueOption(std::string_view name) {
    for (const ValueOption& option : kValueOptions)
        if (option.name == name) return &option;
    return nullptr;
}

std::string ReadFormat(ConvertOptions& options) {
    for (const auto& [name, value] : options.arguments.Values) {
        if (name != "--format") continue;
        options.format = FindGridwiseFormat(value);
        if (options.format == nullptr) return "Неизвестный формат: " + value;
    }
    if (options.format == nullptr) return "Не указан формат (--format)";
    return {};
}

bool ReadInteger(std::string_view text, int low, int high, int& value) {
    bool ok = true;
    const std::int32_t number = common::ParseUnsignedInt(text, ok);
    if (!ok || number < low || number > high) return false;
    value = number;
    return true;
}

bool ReadDecimals(std::string_view text, bool (*inRange)(int), std::uint8_t& decimals) {
    int value = 0;
    if (!ReadInteger(text, 0, 255, value) || !inRange(value)) return false;
    decimals = static_cast<std::uint8_t>(value);
    return true;
}

bool ReadScaleIndex(std::string_view text, int& index) {
    int denominator = 0;
    if (!ReadInteger(text, 1, 1000000, denominator)) return false;
    for (std::size_t i = 0; i < kScaleDenominators.size(); ++i)
        if (kScaleDenominators[i] == denominator) {
            index = static_cast<int>(i);
            return true;
        }
    return false;
}

bool ReadWithin(std::string_view text, double limit, double& value) {
    const std::optional<double> parsed = ParseWithin(text, limit);
    if (parsed) value = *parsed;
    return parsed.has_value();
}

// The options of every format, with the defaults their dialogs show.
struct FormatChoices {
    PrecisionOptions precision;
    NomenclatureOptions nomenclature;
    SurveyOptions survey;
    MapShiftOptions shift;
    common::TextEncoding encoding = common::TextEncoding::Cp1251;
};

// One option value into the choices; false when the value is out of its range.
bool ReadChoice(std::string_view name, const std::string& text, FormatChoices& choices) {
    PrecisionOptions& precision = choices.precision;
    if (name == "--angle-decimals")
        return ReadDecimals(text, AngleDecimalsInRange, precision.AngleDecimals);
    if (name == "--plane-decimals")
        return ReadDecimals(text, PlaneDecimalsInRange, precision.PlaneDecimals);
    if (name == "--height-decimals")
        return ReadDecimals(text, PlaneDecimalsInRange, precision.HeightDecimals);
    if (name == "--scale") return ReadScaleIndex(text, choices.nomenclature.ListScale);
    if (name == "--sk42-zone") return ReadInteger(text, 1, kSk42ZoneCount, choices.survey.Sk42Zone);
    if (name == "--height-change")
        return ReadWithin(text, kHeightChangeLimit, choices.survey.HeightChange);
    if (name == "--shift-north") return ReadWithin(text, kShiftLimit, choices.shift.ShiftNorth);
    if (name == "--shift-east") return ReadWithin(text, kShiftLimit, choices.shift.ShiftEast);
    if (name == "--encoding") {
        if (text != "cp1251" && text != "utf-8") return false;
        choices.encoding =
            text == "utf-8" ? common::TextEncoding::Utf8 : common::TextEncoding::Cp1251;
    }
    return true;
}

// Writes the options as the format's dialog writes them on OK, before a run.
void ConfirmChoices(FormatOptions dialog, const FormatChoices& choices, GridwiseState& state) {
    switch (dialog) {
        case FormatOptions::Precision:
            ConfirmPrecision(state, choices.precision, true);
            return;
        case FormatOptions::PlanePrecision:
            // The height change of format 4 is the one last confirmed for format 3 in the
            // window; here it is given with the run.
            state.HeightChange = choices.survey.HeightChange;
            ConfirmPrecision(state, choices.precision, false);
            return;
        case FormatOptions::Nomenclature:
            ConfirmNomenclature(state, choices.nomenclature);
            return;
        case FormatOptions::Sk42ToSk63: {
            SurveyOptions survey = choices.survey;
            survey.Decimals = choices.precision;
            ConfirmSurvey(state, survey);
            return;
        }
        case FormatOptions::MapShift:
            ConfirmMapShift(state, choices.shift);
            return;
    }
}

std::string ApplyOptions(const ConvertOptions& options, GridwiseState& state) {
    const FormatOptions dialog = options.format->Options;
    const std::string formatName(options.format->Info.CliName);
    FormatChoices choices;
    bool zoneByHand = false;
    for (const auto& [name, value] : options.arguments.Values) {
        if ((FindValueOption(name)->dialogs & Bit(dialog)) == 0)
            return "Параметр " + name + " не относится к формату " + formatName;
        if (!ReadChoice(name, value, choices))
            return "Недопустимое значение параметра " + name + ": " + value;
        zoneByHand = zoneByHand || name == "--sk42-zone";
    }
    for (const std::string_view flag : common::kPointListFlags)
        if (options.arguments.HasFlag(flag) && (kPointListDialogs & Bit(dialog)) == 0)
            return "Параметр " + std::string(flag) + " не относится к формату " + formatName;
    if (options.arguments.HasFlag("--zone-in-ordinate")) {
        if (dialog != FormatOptions::Sk42ToSk63)
            return "Параметр --zone-in-ordinate не относится к формату " + formatName;
        if (zoneByHand) return "Параметры --sk42-zone и --zone-in-ordinate несовместимы";
        choices.survey.ZoneInOrdinate = true;
    }
    state.FileEncoding = choices.encoding;
    ConfirmChoices(dialog, choices, state);
    return {};
}

}  // namespace

int RunConvertCommand(std::span<const std::string> args, const common::ConvertConsole& console) {
    std::ostream& out = console.Out;
    std::ostream& err = console.Err;
    GridwiseState state = MakeGridwiseState();
    std::array<std::string_view, kValueOptions.size()> valueNames{};
    for (std::size_t i = 0; i < kValueOptions.size(); ++i) valueNames[i] = kValueOptions[i].name;
    const SettingsFlagsResult settings = ParseSettingsFlags(args, state, valueNames);
    ConvertOptions options;
    std::string problem =
        common::SplitCommandArguments(settings.rest, valueNames, kFlagNames, options.arguments);
    if (options.arguments.HasFlag("--help")) {
        out << "Использование: gridwise-cli convert --format ";
        for (const GridwiseFormat& format : GridwiseFormats())
            out << (format.Number > 1 ? "|" : "") << format.Info.CliName;
        out << kUsage << common::PointListChoicesHelp()
            << "  (txt, sheets, sk42-sk63, sk63-sk42)\n\n"
            << "Флаги настроек:\n"
            << SettingsFlagsHelp()
            << common::ConvertHelpTail(
                   "  gridwise-cli convert --format txt --direction to-geo points/*.txt\n"
                   "  gridwise-cli convert --format sheets --scale 100000 - < points.txt\n");
        return 0;
    }
    if (!settings.ok) {
        err << settings.message << '\n';
        return 2;
    }
    if (problem.empty()) problem = ReadFormat(options);
    if (problem.empty()) problem = ApplyOptions(options, state);
    if (problem.empty()) problem = std::string(options.format->Refusal(state));
    common::PointListChoices lists;
    if (problem.empty()) problem = common::ReadPointListChoices(options.arguments, lists);
    std::filesystem::path output;
    if (problem.empty()) problem = common::ReadOutputFolder(options.arguments, output);
    if (problem.empty() && options.arguments.Files.empty()) problem = "Не указаны файлы";
    if (!problem.empty()) {
        err << problem << '\n';
        return 2;
    }
    const bool stream =
        options.arguments.Files.size() == 1 && options.arguments.Files.front() == "-";
    if ((kPointListDialogs & Bit(options.format->Options)) != 0) {
        // Point lists with the choices beyond the batch screen.
        const common::LineFunction lines = MakeLineFunction(*options.format, state);
        if (stream)
            return common::StreamPointList(lines, options.format->Reading(), lists, console);
        const auto skipped = std::make_shared<common::SkippedLines>();
        const bool progress =
            options.arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
        const int code = common::RunBatchCommand(
            options.arguments.Files,
            common::PointListConverter(lines, options.format->Reading(), lists, err, skipped),
            options.format->Summary(state), progress, out, err, console.Signals, output);
        return common::WithSkippedLines(code, *skipped);
    }
    if (stream) {
        const common::ConvertResult result = common::StreamLines(
            console.In, console.Stream, MakeLineFunction(*options.format, state),
            common::StopFlag(console), options.format->Reading());
        return common::StreamExitCode(result, console);
    }
    const bool showProgress =
        options.arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
    return common::RunBatchCommand(options.arguments.Files, MakeConverter(*options.format, state),
                                   options.format->Summary(state), showProgress, out, err,
                                   console.Signals, output);
}

}  // namespace gridwise::cli
