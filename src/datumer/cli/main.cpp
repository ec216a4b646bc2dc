// datumer-cli: Datumer's transformation for scripts. "point" transforms one point as the point
// screen does; "convert" converts files as the batch screen does; "presets" lists the presets.

#include <ostream>
#include <span>
#include <string>

#include "common/cli_tool.hpp"
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

constexpr common::ToolCommand kCommands[] = {
    {"point", datumer::cli::RunPointCommand, nullptr},
    {"presets", datumer::cli::RunPresetsCommand, nullptr},
    {"convert", nullptr, datumer::cli::RunConvertCommand},
    {"transform", nullptr, RunTransform},
};

}  // namespace

int main(int argc, char** argv) {
    return common::RunTool({kProgram, common::kProjectVersion, kCommands, WriteHelp}, argc, argv);
}
