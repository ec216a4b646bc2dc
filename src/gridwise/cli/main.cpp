// gridwise-cli: Gridwise's plane coordinate calculation for scripts. "point" computes one point
// as the point screen does; "convert" converts files as the batch screen does.

#include <ostream>
#include <span>
#include <string>

#include "common/cli_tool.hpp"
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

constexpr common::ToolCommand kCommands[] = {
    {"point", gridwise::cli::RunPointCommand, nullptr},
    {"convert", nullptr, gridwise::cli::RunConvertCommand},
    {"transform", nullptr, RunTransform},
};

}  // namespace

int main(int argc, char** argv) {
    return common::RunTool({kProgram, common::kProjectVersion, kCommands, WriteHelp}, argc, argv);
}
