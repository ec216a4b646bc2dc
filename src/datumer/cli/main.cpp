// datumer-cli: Datumer's transformation for scripts. "point" transforms one point as the point
// screen does; "convert" converts files as the batch screen does; "presets" lists the presets.

#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "common/cli_convert.hpp"
#include "common/project_version.hpp"
#include "datumer/cli/convert_command.hpp"
#include "datumer/cli/point_command.hpp"
#include "datumer/cli/preset_flags.hpp"
#include "datumer/cli/presets_command.hpp"
#include "datumer/state.hpp"
#include "transform/transform_command.hpp"

namespace {

constexpr std::string_view kProgram = "datumer-cli";

int RunTransform(std::span<const std::string> args, const common::ConvertConsole& console) {
    return transform::RunTransformCommand(kProgram, args, console);
}

void WriteHelp(std::ostream& out) {
    out << "datumer-cli — пересчёт геодезических координат B1, L1, H1 => B2, L2, H2\n"
           "7-параметрическим преобразованием.\n\n"
        << datumer::cli::PointCommandHelp()
        << "datumer-cli convert [флаги] ... (см. datumer-cli convert --help)\n"
        << transform::TransformCommandLine(kProgram)
        << "datumer-cli presets — варианты с параметрами и конвейером PROJ\n\n"
        << "Флаги варианта преобразования:\n"
        << datumer::cli::PresetFlagsHelp() << '\n'
        << datumer::RotationConventionText() << "\nВарианты:\n";
    const datumer::DatumerState state = datumer::MakeDatumerState();
    for (int i = 1; i <= datumer::kPresetCount; ++i) {
        out << datumer::PresetListText(state, i) << '\n';
    }
    out << "\nКоды завершения: 0 успех, 1 ошибка пересчёта, 2 неверный вызов или значения,\n"
           "130, 143, 141 пересчёт остановлен сигналом SIGINT, SIGTERM, SIGPIPE.\n";
}

int RunCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        WriteHelp(std::cerr);
        return 2;
    }
    const std::string& command = args.front();
    const std::span<const std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h") {
        WriteHelp(std::cout);
        return 0;
    }
    if (command == "--version") {
        std::cout << "datumer-cli " << common::kProjectVersion << '\n';
        return 0;
    }
    if (command == "point") return datumer::cli::RunPointCommand(rest, std::cout, std::cerr);
    if (command == "presets") return datumer::cli::RunPresetsCommand(rest, std::cout, std::cerr);
    if (command == "transform") return common::RunWithStopSignals(RunTransform, rest);
    if (command == "convert") {
        return common::RunWithStopSignals(datumer::cli::RunConvertCommand, rest);
    }
    std::cerr << "Неизвестная команда: " << command << " (см. datumer-cli --help)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Output that did not reach stdout is a failure, also after --help or a point.
    const common::CheckedStandardOutput output;
    return output.ExitCode(RunCommand(args), std::cerr);
}
