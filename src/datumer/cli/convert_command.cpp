// datumer-cli convert: the options of the height and precision dialog and the run's choices as
// flags, the batch run over files, and streaming from stdin to stdout.

#include "datumer/cli/convert_command.hpp"

#include <unistd.h>  // isatty: progress is shown by default only on a terminal

#include <array>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/cli_convert.hpp"
#include "common/cli_point_lists.hpp"
#include "common/text.hpp"
#include "datumer/cli/preset_flags.hpp"
#include "datumer/files/formats.hpp"

namespace datumer::cli {

namespace {

// Options that take a value, and whether a format takes them (null: every format).
struct ValueOption {
    std::string_view Name;
    bool DatumerFormat::*TakenBy;
};
// The point list is the one format with the height dialog; the flags for point lists go with it.
constexpr std::array<ValueOption, 7> kValueOptions = {{
    {"--format", nullptr},
    {common::kOutputOption, nullptr},
    {common::kSkipLinesOption, &DatumerFormat::HeightDialog},
    {"--heights", &DatumerFormat::HeightDialog},
    {"--angle-decimals", &DatumerFormat::HeightDialog},
    {"--height-decimals", &DatumerFormat::HeightDialog},
    {"--mif-order", &DatumerFormat::PairOrder},
}};
constexpr std::string_view kKeepLabelFlag = "--keep-datum-label";

// After "--format " and the format names.
constexpr std::string_view kUsage =
    " [флаги варианта] [параметры]\n"
    "                ФАЙЛ... | -\n"
    "\n"
    "Пересчёт файлов в подкаталог RECALC каталога файлов; \"-\" - поток stdin => stdout.\n"
    "\n"
    "Параметры форматов (по умолчанию - как в диалоге):\n"
    "  --heights normal|ellipsoidal  система высот в целевом файле (txt; normal)\n"
    "  --angle-decimals 7..10        точность B2, L2 (txt; 10)\n"
    "  --height-decimals 2..4        точность высоты (txt; 3)\n"
    "  --mif-order lon-lat|lat-lon   порядок чисел пары (mif; lon-lat: x y, как в MapInfo)\n"
    "  --keep-datum-label            оставить метку датума заголовка (Datum=, CoordSys) как\n"
    "                                есть (mp, mif); по умолчанию она заменяется меткой\n"
    "                                целевой системы, а где у формата такой метки нет,\n"
    "                                остаётся прежней с предупреждением\n"
    "  --progress | --no-progress    строка хода пересчёта на stderr (по умолчанию на терминале)\n"
    "\n";

constexpr std::array<std::string_view, 4> kFlagNames = {
    "--help", kKeepLabelFlag, common::kPointListFlags[0], common::kPointListFlags[1]};

struct ConvertOptions {
    const DatumerFormat* Format = nullptr;
    common::CommandArguments Arguments;
};

const ValueOption* FindValueOption(std::string_view name) {
    for (const ValueOption& option : kValueOptions) {
        if (option.Name == name) return &option;
    }
    return nullptr;
}

bool BelongsTo(const ValueOption& option, const DatumerFormat& format) {
    return option.TakenBy == nullptr || format.*option.TakenBy;
}

std::string ReadFormat(ConvertOptions& options) {
    for (const auto& [name, value] : options.Arguments.Values) {
        if (name != "--format") continue;
        options.Format = FindDatumerFormat(value);
        if (options.Format == nullptr) return "Неизвестный формат: " + value;
    }
    if (options.Format == nullptr) return "Не указан формат (--format)";
    return {};
}

std::optional<std::uint8_t> ReadDecimals(std::string_view text, int low, int high) {
    bool ok = true;
    const std::int32_t value = common::ParseUnsignedInt(text, ok);
    if (!ok || value < low || value > high) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

// One option value into the state and the choices of the run; false when it is out of range.
bool ReadChoice(std::string_view name, std::string_view text, DatumerState& state,
                BatchChoices& choices) {
    if (name == "--heights") {
        if (text != "normal" && text != "ellipsoidal") return false;
        state.HeightMode = text == "normal" ? kNormalHeights : kEllipsoidalHeights;
    } else if (name == "--angle-decimals" || name == "--height-decimals") {
        const bool angles = name == "--angle-decimals";
        const std::optional<std::uint8_t> decimals =
            angles ? ReadDecimals(text, 7, 10) : ReadDecimals(text, 2, 4);
        if (!decimals) return false;
        (angles ? state.AnglePrecision : state.HeightPrecision) = *decimals;
    } else if (name == "--mif-order") {
        if (text != "lon-lat" && text != "lat-lon") return false;
        choices.MifOrder = text == "lon-lat" ? MifPairOrder::LonLat : MifPairOrder::LatLon;
    }
    return true;
}

// The options on top of the defaults of the height and precision dialog, which the fresh state
// holds.
std::string ApplyOptions(const ConvertOptions& options, DatumerState& state,
                         BatchChoices& choices) {
    const std::string formatName(options.Format->Info.CliName);
    for (const auto& [name, value] : options.Arguments.Values) {
        if (!BelongsTo(*FindValueOption(name), *options.Format)) {
            return "Параметр " + name + " не относится к формату " + formatName;
        }
        if (!ReadChoice(name, value, state, choices)) {
            return "Недопустимое значение параметра " + name + ": " + value;
        }
    }
    if (options.Arguments.HasFlag(kKeepLabelFlag) && !options.Format->DatumLabel) {
        return "Параметр " + std::string(kKeepLabelFlag) + " не относится к формату " + formatName;
    }
    for (const std::string_view flag : common::kPointListFlags)
        if (options.Arguments.HasFlag(flag) && !options.Format->HeightDialog)
            return "Параметр " + std::string(flag) + " не относится к формату " + formatName;
    choices.KeepDatumLabel = options.Arguments.HasFlag(kKeepLabelFlag);
    return {};
}

int StreamCommand(const DatumerFormat& format, const DatumerState& state,
                  const BatchChoices& choices, const common::ConvertConsole& console) {
    const auto notes = std::make_shared<MapNotes>();
    const FileLines lines = MakeFileLines(format, state, choices, notes);
    common::ConvertResult result = common::StreamLines(console.In, console.Stream, lines.Convert,
                                                       common::StopFlag(console), lines.Read);
    AddNotes(result, *notes);
    for (const std::string& warning : result.Warnings) console.Err << warning << '\n';
    return common::StreamExitCode(result, console);
}

}  // namespace

int RunConvertCommand(std::span<const std::string> args, const common::ConvertConsole& console) {
    std::ostream& out = console.Out;
    std::ostream& err = console.Err;
    DatumerState state = MakeDatumerState();
    std::array<std::string_view, kValueOptions.size()> valueNames{};
    for (std::size_t i = 0; i < kValueOptions.size(); ++i) valueNames[i] = kValueOptions[i].Name;
    const PresetFlagsResult presets = ParsePresetFlags(args, state, valueNames);
    ConvertOptions options;
    std::string problem =
        common::SplitCommandArguments(presets.rest, valueNames, kFlagNames, options.Arguments);
    if (options.Arguments.HasFlag("--help")) {
        out << "Использование: datumer-cli convert --format ";
        for (const DatumerFormat& format : DatumerFormats())
            out << (format.Number > 1 ? "|" : "") << format.Info.CliName;
        out << kUsage << common::PointListChoicesHelp() << "  (txt)\n\n"
            << "Флаги варианта преобразования:\n"
            << PresetFlagsHelp()
            << common::ConvertHelpTail(
                   "  datumer-cli convert --format txt --preset 1 --heights ellipsoidal "
                   "points/*.txt\n"
                   "  datumer-cli convert --format mif --preset 2 - < map.mif > map-sk42.mif\n");
        return 0;
    }
    if (!presets.ok) {
        err << presets.message << '\n';
        return 2;
    }
    BatchChoices choices;
    if (problem.empty()) problem = ReadFormat(options);
    if (problem.empty()) problem = ApplyOptions(options, state, choices);
    common::PointListChoices lists;
    if (problem.empty()) problem = common::ReadPointListChoices(options.Arguments, lists);
    std::filesystem::path output;
    if (problem.empty()) problem = common::ReadOutputFolder(options.Arguments, output);
    if (problem.empty() && options.Arguments.Files.empty()) problem = "Не указаны файлы";
    if (!problem.empty()) {
        err << problem << '\n';
        return 2;
    }
    const bool stream =
        options.Arguments.Files.size() == 1 && options.Arguments.Files.front() == "-";
    if (options.Format->HeightDialog) {
        // Point lists with the choices beyond the batch screen.
        const FileLines lines = MakeFileLines(*options.Format, state, choices);
        if (stream) return common::StreamPointList(lines.Convert, lines.Read, lists, console);
        const auto skipped = std::make_shared<common::SkippedLines>();
        const bool progress =
            options.Arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
        const int code = common::RunBatchCommand(
            options.Arguments.Files,
            common::PointListConverter(lines.Convert, lines.Read, lists, err, skipped),
            SummaryLine(state), progress, out, err, console.Signals, output);
        return common::WithSkippedLines(code, *skipped);
    }
    if (stream) return StreamCommand(*options.Format, state, choices, console);
    const bool showProgress =
        options.Arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
    return common::RunBatchCommand(
        options.Arguments.Files, MakeConverter(*options.Format, state, choices), SummaryLine(state),
        showProgress, out, err, console.Signals, output);
}

}  // namespace datumer::cli
