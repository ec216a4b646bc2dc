#include "transform/transform_command.hpp"

#include <unistd.h>  // isatty: progress is shown by default only on a terminal

#include <array>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "common/cli_args.hpp"
#include "common/cli_point_lists.hpp"
#include "common/text.hpp"
#include "datumer/cli/preset_flags.hpp"
#include "transform/chain.hpp"

namespace transform {

namespace {

constexpr std::array<std::string_view, 11> kValueNames = {common::kSkipLinesOption,
                                                          common::kOutputOption,
                                                          "--from",
                                                          "--to",
                                                          "--series",
                                                          "--heights",
                                                          "--angle-decimals",
                                                          "--plane-decimals",
                                                          "--height-decimals",
                                                          "--meridian",
                                                          "--sk63-zone"};
constexpr std::array<std::string_view, 4> kFlagNames = {
    "--help", "--point", common::kPointListFlags[0], common::kPointListFlags[1]};

std::string Usage(std::string_view program) {
    const std::string p(program);
    return "Использование: " + p +
           " transform --from СИСТЕМА[/ВИД] --to СИСТЕМА[/ВИД] [параметры]\n"
           "                ФАЙЛ... | -\n"
           "\n"
           "Пересчёт списка точек (имя,X,Y,H[,хвост]) из одной системы в другую за один проход:\n"
           "x,y => B,L на исходном эллипсоиде, 7-параметрическое преобразование датума, B,L => "
           "x,y\n"
           "на целевом. Числа те же, что у цепочки gridwise-cli convert | datumer-cli convert |\n"
           "gridwise-cli convert с 10 знаками углов и 4 знаками высот между шагами. Имена, высоты "
           "и\n"
           "хвосты строк сохраняются.\n"
           "\n"
           "Системы: sk42, sk95, pz90 (ПЗ90.01), pz90.02, pz90.11, wgs84, gsk2011 (ГСК-2011),\n"
           "         user (системы варианта, заданного --preset).\n"
           "Вид:     geo    B, L в десятичных градусах (по умолчанию)\n"
           "         gk     x, y Гаусса-Крюгера, номер зоны в миллионах ординаты\n"
           "         gk:N   x, y зоны N без номера зоны в ординате\n"
           "         utm    x, y UTM, номер зоны UTM в миллионах ординаты\n"
           "         utm:N  x, y зоны UTM N без номера зоны в ординате\n"
           "         sk63   x, y зоны СК63 (только sk42, sk95) с --meridian; на входе ордината\n"
           "                без номера зоны, на выходе с номером --sk63-zone (1)\n"
           "\n"
           "Параметры:\n"
           "  --preset N                 вариант преобразования (по умолчанию выбирается по паре\n"
           "                             систем; для user обязателен; см. " +
           p +
           " --help)\n"
           "  --heights normal|ellipsoidal\n"
           "                             normal (по умолчанию): высоты нормальные и переносятся\n"
           "                             без изменения, как в TXT Datumer; ellipsoidal: высота\n"
           "                             считается эллипсоидальной и пересчитывается на целевой\n"
           "                             эллипсоид\n"
           "  --series 3|4               ряд проекции (по умолчанию 3-членный)\n"
           "  --angle-decimals 7..10     точность B, L результата (10)\n"
           "  --plane-decimals 2..4      точность x, y результата (3)\n"
           "  --height-decimals 2..4     точность высоты результата (3)\n"
           "  --meridian DEG[:MIN]E|W    центральный меридиан зоны СК63\n"
           "  --sk63-zone N              номер зоны СК63 перед ординатой результата (1..20)\n"
           "  --progress | --no-progress строка хода пересчёта на stderr\n"
           "  --point V1 V2 [H]          одна точка вместо файлов: результат \"V1,V2,H\" в "
           "stdout;\n"
           "                             B, L в любой записи (55°45'20.5\"N, 55 45 20.5 N, -33.5)\n"
           "\n" +
           std::string(common::PointListChoicesHelp()) +
           common::ConvertHelpTail("  " + p +
                                   " transform --from sk42/gk --to wgs84 points.txt\n  " + p +
                                   " transform --from sk42/gk --to wgs84/utm - < sk42.txt\n  " + p +
                                   " transform --from wgs84 --to sk42/gk:7 gps.txt\n");
}

bool ReadNumber(std::string_view text, int low, int high, std::uint8_t& value) {
    bool ok = true;
    const std::int32_t number = common::ParseUnsignedInt(text, ok);
    if (!ok || number < low || number > high) return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

// The option values into the chain's options and the two systems.
std::string ReadOptions(const common::CommandArguments& arguments, ChainOptions& options,
                        std::optional<SystemAndForm>& from, std::optional<SystemAndForm>& to) {
    for (const auto& [name, value] : arguments.Values) {
        bool ok = true;
        if (name == "--from" || name == "--to") {
            (name == "--from" ? from : to) = ParseSystemAndForm(value);
            ok = (name == "--from" ? from : to).has_value();
        } else if (name == "--series") {
            ok = value == "3" || value == "4";
            options.Algorithm = value == "4" ? 1 : 0;
        } else if (name == "--heights") {
            ok = value == "normal" || value == "ellipsoidal";
            options.HeightMode =
                value == "normal" ? datumer::kNormalHeights : datumer::kEllipsoidalHeights;
        } else if (name == "--angle-decimals") {
            ok = ReadNumber(value, 7, 10, options.AngleDecimals);
        } else if (name == "--plane-decimals") {
            ok = ReadNumber(value, 2, 4, options.PlaneDecimals);
        } else if (name == "--height-decimals") {
            ok = ReadNumber(value, 2, 4, options.HeightDecimals);
        } else if (name == "--meridian" || name == "--sk63-zone") {
            options.Sk63Flags.insert(options.Sk63Flags.end(), {name, value});
        }
        if (!ok) return "Недопустимое значение параметра " + name + ": " + value;
    }
    if (!from) return "Не указана исходная система (--from)";
    if (!to) return "Не указана целевая система (--to)";
    if (!options.Sk63Flags.empty() && from->form != Form::Sk63 && to->form != Form::Sk63)
        return "Параметры --meridian и --sk63-zone относятся только к виду sk63";
    if (from->form == Form::Sk63 && to->form == Form::Sk63)
        return "Вид sk63 допустим только с одной стороны";
    return {};
}

// A number argument as a field of a list line: "," before the fraction becomes ".".
std::optional<std::string> NumberField(std::string_view text) {
    bool ok = true;
    common::ParseSignedReal(text, ok);
    if (!ok) return std::nullopt;
    std::string field(text);
    for (char& c : field)
        if (c == ',') c = '.';
    return field;
}

// An angle argument in any notation (cli_args.hpp) as a field of a list line.
std::optional<std::string> AngleField(std::string_view text, char positive, char negative) {
    const std::optional<common::AngleArgument> angle =
        common::ParseAngleArgument(text, positive, negative);
    if (!angle || angle->Min >= 60.0 || angle->Sec >= 60.0) return std::nullopt;
    const long double degrees =
        static_cast<long double>(angle->Deg) + angle->Min / 60.0L + angle->Sec / 3600.0L;
    // 12 decimals: what a list line carries at most (ParseSignedReal).
    const std::string magnitude =
        common::FormatFixed(false, 1, true, static_cast<double>(degrees), 12, '.');
    return angle->Negative ? "-" + magnitude : magnitude;
}

// One point given as arguments converted as the line ",V1,V2,H" of a list; prints "V1,V2,H".
int ConvertOnePoint(const SystemAndForm& from, const Chain& chain,
                    const std::vector<std::string>& values, std::ostream& out, std::ostream& err) {
    if (values.size() != 2 && values.size() != 3) {
        err << "Нужны два или три значения: "
            << (from.form == Form::Geodetic ? "B L [H]" : "X Y [H]") << '\n';
        return 2;
    }
    const bool geodetic = from.form == Form::Geodetic;
    const std::optional<std::string> first =
        geodetic ? AngleField(values[0], 'N', 'S') : NumberField(values[0]);
    const std::optional<std::string> second =
        geodetic ? AngleField(values[1], 'E', 'W') : NumberField(values[1]);
    const std::optional<std::string> height = NumberField(values.size() == 3 ? values[2] : "0");
    const std::optional<std::string>* fields[] = {&first, &second, &height};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!fields[i]->has_value()) {
            err << "Недопустимое значение: \"" << values[i] << "\"\n";
            return 2;
        }
    }
    const std::string line = "," + *first + "," + *second + "," + *height;
    std::string result;
    if (!chain.Lines(line, result)) {
        err << "Ошибка расчёта: " << result << '\n';
        return 2;
    }
    out << std::string_view(result).substr(1) << '\n';
    return 0;
}

bool PresetGiven(std::span<const std::string> args) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--preset" || arg.starts_with("--preset=")) return true;
    }
    return false;
}

}  // namespace

std::string TransformCommandLine(std::string_view program) {
    return std::string(program) +
           " transform --from СИСТЕМА[/ВИД] --to СИСТЕМА[/ВИД] ... (пересчёт между системами за\n"
           "  один шаг, см. " +
           std::string(program) + " transform --help)\n";
}

int RunTransformCommand(std::string_view program, std::span<const std::string> args,
                        const common::ConvertConsole& console) {
    std::ostream& out = console.Out;
    std::ostream& err = console.Err;
    datumer::DatumerState datums = datumer::MakeDatumerState();
    const datumer::cli::PresetFlagsResult presets =
        datumer::cli::ParsePresetFlags(args, datums, kValueNames);
    common::CommandArguments arguments;
    std::string problem =
        common::SplitCommandArguments(presets.rest, kValueNames, kFlagNames, arguments);
    if (arguments.HasFlag("--help")) {
        out << Usage(program);
        return 0;
    }
    if (!presets.ok) {
        err << presets.message << '\n';
        return 2;
    }
    ChainOptions options;
    std::optional<SystemAndForm> from, to;
    if (problem.empty()) problem = ReadOptions(arguments, options, from, to);
    Chain chain;
    if (problem.empty())
        problem = BuildChain(*from, *to, PresetGiven(args), datums, options, chain);
    if (problem.empty() && arguments.Files.empty() && !arguments.HasFlag("--point"))
        problem = "Не указаны файлы";
    if (!problem.empty()) {
        err << problem << '\n';
        return 2;
    }
    if (arguments.HasFlag("--point"))
        return ConvertOnePoint(*from, chain, arguments.Files, out, err);
    common::PointListChoices lists;
    std::filesystem::path output;
    std::string bad = common::ReadPointListChoices(arguments, lists);
    if (bad.empty()) bad = common::ReadOutputFolder(arguments, output);
    if (!bad.empty()) {
        err << bad << '\n';
        return 2;
    }
    if (arguments.Files.size() == 1 && arguments.Files.front() == "-")
        return common::StreamPointList(chain.Lines, {}, lists, console);
    const bool showProgress =
        arguments.Progress().value_or(&err == &std::cerr && isatty(STDERR_FILENO) != 0);
    const auto skipped = std::make_shared<common::SkippedLines>();
    const int code = common::RunBatchCommand(
        arguments.Files, common::PointListConverter(chain.Lines, {}, lists, err, skipped),
        chain.Summary, showProgress, out, err, console.Signals, output);
    return common::WithSkippedLines(code, *skipped);
}

}  // namespace transform
