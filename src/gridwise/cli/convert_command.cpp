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
#include "gridwise/convert_formats.hpp"
#include "gridwise/option_rules.hpp"
#include "gridwise/state.hpp"

namespace gridwise::cli {
namespace {

constexpr std::string_view kUsage =
    "Использование: gridwise-cli convert --format txt|sheets|sk42-sk63|sk63-sk42|mp-shift\n"
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

constexpr std::array<std::string_view, kBatchFormatCount> kFormatNames = {
    "txt", "sheets", "sk42-sk63", "sk63-sk42", "mp-shift"};

// Options that take a value, with the formats they belong to (bit n = format n).
struct ValueOption {
    std::string_view name;
    unsigned formats;
};
constexpr unsigned Bit(int format) {
    return 1u << format;
}
constexpr unsigned kPointListFormats = Bit(kFormatPointList) | Bit(kFormatNomenclature) |
                                       Bit(kFormatSk42ToSk63) | Bit(kFormatSk63ToSk42);
constexpr std::array<ValueOption, 12> kValueOptions = {{
    {"--format", ~0u},
    {"--encoding", ~0u},
    {common::kOutputOption, ~0u},
    {common::kSkipLinesOption, kPointListFormats},
    {"--angle-decimals", Bit(kFormatPointList)},
    {"--plane-decimals", Bit(kFormatPointList) | Bit(kFormatSk42ToSk63) | Bit(kFormatSk63ToSk42)},
    {"--height-decimals", Bit(kFormatPointList) | Bit(kFormatSk42ToSk63) | Bit(kFormatSk63ToSk42)},
    {"--scale", Bit(kFormatNomenclature)},
    {"--sk42-zone", Bit(kFormatSk42ToSk63)},
    {"--height-change", Bit(kFormatSk42ToSk63) | Bit(kFormatSk63ToSk42)},
    {"--shift-north", Bit(kFormatMapShift)},
    {"--shift-east", Bit(kFormatMapShift)},
}};

constexpr std::array<int, 7> kScaleDenominators = {1000000, 500000, 200000, 100000,
                                                   50000,   25000,  10000};

constexpr std::array<std::string_view, 5> kFlagNames = {
    "--help", "--zone-in-ordinate", common::kPointListFlags[0], common::kPointListFlags[1],
    common::kPointListFlags[2]};

struct ConvertOptions {
    int format = 0;
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
        for (std::size_t i = 0; i < kFormatNames.size(); ++i)
            if (kFormatNames[i] == value) options.format = static_cast<int>(i) + 1;
        if (options.format == 0) return "Неизвестный формат: " + value;
    }
    if (options.format == 0) return "Не указан формат (--format)";
    return {};
}

bool ReadInteger(std::string_view text, int low, int high, int& value) {
    bool ok = true;
    const std::int32_t number = common::ParseUnsignedInt(text, ok);
    if (!ok || number < low || number > high) return false;
    value = number;
    return true;
}

// The list position of a decimals value: 10 - value for B, L, 4 - value for x, y and H.
bool ReadDecimalsIndex(std::string_view text, int low, int high, int& index) {
    int decimals = 0;
    if (!ReadInteger(text, low, high, decimals)) return false;
    index = high - decimals;
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

// The choices of a format dialog, at the positions the dialog shows when it opens.
struct DialogChoices {
    int angleIndex = kDefaultAngleDecimalIndex;
    int planeIndex = kDefaultPlaneDecimalIndex;
    int heightIndex = kDefaultPlaneDecimalIndex;
    int scaleIndex = kDefaultListScaleIndex;
    int zoneIndex = 0;  // zone 1
    bool manualZone = true;
    std::optional<std::string> heightChange, shiftNorth, shiftEast;
    common::TextEncoding encoding = common::TextEncoding::Cp1251;
};

// One option value into the choices; false when the value is out of its range.
bool ReadChoice(std::string_view name, const std::string& text, DialogChoices& choices) {
    if (name == "--angle-decimals") return ReadDecimalsIndex(text, 7, 10, choices.angleIndex);
    if (name == "--plane-decimals") return ReadDecimalsIndex(text, 2, 4, choices.planeIndex);
    if (name == "--height-decimals") return ReadDecimalsIndex(text, 2, 4, choices.heightIndex);
    if (name == "--scale") return ReadScaleIndex(text, choices.scaleIndex);
    if (name == "--sk42-zone") {
        int zone = 0;
        if (!ReadInteger(text, 1, kSk42ZoneCount, zone)) return false;
        choices.zoneIndex = zone - 1;
    } else if (name == "--height-change") {
        choices.heightChange = text;
    } else if (name == "--shift-north") {
        choices.shiftNorth = text;
    } else if (name == "--shift-east") {
        choices.shiftEast = text;
    } else if (name == "--encoding") {
        if (text != "cp1251" && text != "utf-8") return false;
        choices.encoding =
            text == "utf-8" ? common::TextEncoding::Utf8 : common::TextEncoding::Cp1251;
    }
    return true;
}

// Shows the format's dialog on the state, makes the choices and confirms it, as the batch screen
// does before a run. Returns the option whose typed value the dialog refuses, or empty.
std::string_view ConfirmDialog(int format, const DialogChoices& choices, GridwiseState& state) {
    const auto heightChange = [&]() {
        if (!choices.heightChange) return true;
        ClickHeightChange(state, true);
        return EditHeightChange(state, *choices.heightChange);
    };
    switch (format) {
        case kFormatPointList:
        case kFormatSk63ToSk42: {
            const bool withAngles = format == kFormatPointList;
            ShowPrecisionDialog(state, withAngles);
            if (!withAngles && !heightChange()) return "--height-change";
            ConfirmPrecision(state, choices.angleIndex, choices.planeIndex, choices.heightIndex,
                             withAngles);
            break;
        }
        case kFormatNomenclature:
            ConfirmNomenclature(state, choices.scaleIndex);
            break;
        case kFormatSk42ToSk63:
            ShowExtraParamsDialog(state);
            ClickManualZone(state, choices.manualZone);
            if (!heightChange()) return "--height-change";
            ConfirmExtraParams(state, choices.planeIndex, choices.heightIndex);
            CloseExtraParams(state, choices.zoneIndex);
            break;
        default:
            ShowMapShiftDialog(state);
            if (choices.shiftNorth && !EditShiftNorth(state, *choices.shiftNorth))
                return "--shift-north";
            if (choices.shiftEast && !EditShiftEast(state, *choices.shiftEast))
                return "--shift-east";
            ConfirmMapShift(state);
            break;
    }
    return {};
}

std::string ApplyOptions(const ConvertOptions& options, GridwiseState& state) {
    const std::string formatName(kFormatNames[static_cast<std::size_t>(options.format - 1)]);
    DialogChoices choices;
    bool zoneByHand = false;
    for (const auto& [name, value] : options.arguments.Values) {
        if ((FindValueOption(name)->formats & Bit(options.format)) == 0)
            return "Параметр " + name + " не относится к формату " + formatName;
        if (!ReadChoice(name, value, choices))
            return "Недопустимое значение параметра " + name + ": " + value;
        zoneByHand = zoneByHand || name == "--sk42-zone";
    }
    for (const std::string_view flag : common::kPointListFlags)
        if (options.arguments.HasFlag(flag) && (kPointListFormats & Bit(options.format)) == 0)
            return "Параметр " + std::string(flag) + " не относится к формату " + formatName;
    if (options.arguments.HasFlag("--zone-in-ordinate")) {
        if (options.format != kFormatSk42ToSk63)
            return "Параметр --zone-in-ordinate не относится к формату " + formatName;
        if (zoneByHand) return "Параметры --sk42-zone и --zone-in-ordinate несовместимы";
        choices.manualZone = false;
    }
    state.FileEncoding = choices.encoding;
    const std::string_view refused = ConfirmDialog(options.format, choices, state);
    if (!refused.empty()) {
        const std::string refusedName(refused);
        for (const auto& [name, value] : options.arguments.Values)
            if (name == refusedName)
                return "Недопустимое значение параметра " + name + ": " + value;
    }
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
    if (problem.empty()) problem = std::string(SelectRefusal(options.format, state));
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
    if (lists.Any()) {
        // Point lists with the choices beyond the batch screen.
        const common::LineFunction lines = MakeLineFunction(options.format, state);
        if (stream)
            return common::StreamPointList(lines, LineOptionsOf(options.format), lists, console);
        const auto skipped = std::make_shared<common::SkippedLines>();
        const bool progress =
            options.arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
        const int code = common::RunBatchCommand(
            options.arguments.Files,
            common::PointListConverter(lines, LineOptionsOf(options.format), lists, err, skipped),
            SummaryLine(options.format, state), progress, out, err, console.Signals, output);
        return common::WithSkippedLines(code, *skipped);
    }
    if (stream) {
        const common::ConvertResult result =
            common::StreamLines(console.In, console.Stream, MakeLineFunction(options.format, state),
                                common::StopFlag(console), LineOptionsOf(options.format));
        return common::StreamExitCode(result, console);
    }
    const bool showProgress =
        options.arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
    return common::RunBatchCommand(options.arguments.Files, MakeConverter(options.format, state),
                                   SummaryLine(options.format, state), showProgress, out, err,
                                   console.Signals, output);
}

}  // namespace gridwise::cli
