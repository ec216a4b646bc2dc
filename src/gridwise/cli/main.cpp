// gridwise-cli: Gridwise's plane coordinate calculation for scripts. "point" computes one point
// as the point screen does; "convert" converts files as the batch screen does.

#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "common/cli_convert.hpp"
#include "common/project_version.hpp"
#include "gridwise/cli/convert_command.hpp"
#include "gridwise/cli/point_command.hpp"
#include "gridwise/cli/settings_flags.hpp"
#include "transform/transform_command.hpp"

namespace {

constexpr std::string_view kProgram = "gridwise-cli";

int RunTransform(std::span<const std::string> args, const common::ConvertConsole& console) {
    return transform::RunTransformCommand(kProgram, args, console);
}

void WriteHelp(std::ostream& out) {
    out << "gridwise-cli — расчёт плоских прямоугольных координат в проекциях Гаусса-Крюгера и "
           "UTM.\n\n"
        << gridwise::cli::PointCommandHelp()
        << "gridwise-cli convert [флаги] ... (см. gridwise-cli convert --help)\n"
        << transform::TransformCommandLine(kProgram) << '\n'
        << "Флаги настроек (как на экране настроек):\n"
        << gridwise::cli::SettingsFlagsHelp()
        << "\nКоды завершения: 0 успех, 1 ошибка расчёта, 2 неверный вызов или значения,\n"
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
        std::cout << "gridwise-cli " << common::kProjectVersion << '\n';
        return 0;
    }
    if (command == "point") return gridwise::cli::RunPointCommand(rest, std::cout, std::cerr);
    if (command == "transform") return common::RunWithStopSignals(RunTransform, rest);
    if (command == "convert") {
        return common::RunWithStopSignals(gridwise::cli::RunConvertCommand, rest);
    }
    std::cerr << "Неизвестная команда: " << command << " (см. gridwise-cli --help)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Output that did not reach stdout is a failure, also after --help or a point.
    const common::CheckedStandardOutput output;
    return output.ExitCode(RunCommand(args), std::cerr);
}
