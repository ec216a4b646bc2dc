#include "datumer/cli/presets_command.hpp"

#include "common/cli_convert.hpp"
#include "datumer/geodesy/proj_pipeline.hpp"
#include "datumer/rules/setup_rules.hpp"

namespace datumer::cli {

namespace {

std::string Number(double value) {
    return SetupFieldText(value, '.');
}

std::string EllipsoidText(const TELL& e) {
    return e.Name + " (A " + Number(e.A) + " м, 1/F " + Number(e.InvFlattening) + ")";
}

void WritePreset(const DatumerState& state, int i, std::ostream& out) {
    const TCHSK& p = PresetAt(state, i);
    out << PresetListText(state, i) << '\n'
        << "    DX DY DZ (м): " << Number(p.DX) << ' ' << Number(p.DY) << ' ' << Number(p.DZ)
        << '\n'
        << "    WX WY WZ (секунды): " << Number(p.WX) << ' ' << Number(p.WY) << ' ' << Number(p.WZ)
        << '\n'
        << "    M (*0,000001): " << Number(p.M) << '\n'
        << "    Эллипсоиды: " << EllipsoidText(EllipsoidAt(state, p.SourceEll)) << " => "
        << EllipsoidText(EllipsoidAt(state, p.TargetEll)) << '\n';
    const std::string_view records = PresetEpsgRecords(i);
    if (!records.empty()) out << "    EPSG: " << records << '\n';
    out << "    PROJ: " << ProjPipeline(state, i) << "\n\n";
}

}  // namespace

int RunPresetsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        out << "datumer-cli presets — все варианты преобразования с параметрами, записями EPSG,\n"
               "из которых они складываются (\"-N\": запись N в обратную сторону), и конвейером\n"
               "PROJ для проверки (cct).\n\n"
            << RotationConventionText() << '\n'
            << common::PointHelpTail("  datumer-cli presets | grep -A9 '^ 20\\.'\n");
        return 0;
    }
    if (!args.empty()) {
        err << "Команда presets не принимает аргументов: " << args.front() << '\n';
        return 2;
    }
    out << RotationConventionText() << '\n';
    const DatumerState state = MakeDatumerState();
    for (int i = 1; i <= kPresetCount; ++i) WritePreset(state, i, out);
    return 0;
}

}  // namespace datumer::cli
