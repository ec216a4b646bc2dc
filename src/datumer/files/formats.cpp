#include "datumer/files/formats.hpp"

#include <array>
#include <vector>

#include "common/batch_texts.hpp"
#include "datumer/geodesy/presets.hpp"

namespace datumer {

namespace {

constexpr std::string_view kMifFilter = "Карты MapInfo MIF (*.mif)|*.mif";
constexpr std::string_view kUserParametersSummary = "Пользовательские параметры пересчёта";

// Lines after the common head of the Polish-format map help.
constexpr std::array<std::string_view, 8> kPolishMapHelpTail = {
    "",
    "Обменные файлы MP легко редактируются и",
    "затем, как правило, конвертируются в",
    "векторные карты *.IMG для GPS-навигаторов.",
    "",
    "Высота точек в исходной СК принимается равной",
    "нулю. Пересчитанные значения выводятся с",
    "округлением последнего дробного разряда.",
};

constexpr std::array<std::string_view, 10> kMifHelp = {
    "Файл MIF (*.mif) - текстовый файл векторной",
    "карты, обменный формат MapInfo.",
    "",
    "Файлы MIF обычно идут вместе с одноимёнными",
    "файлами *.mid, *.tab, которые после пересчёта",
    "необходимо скопировать в подкаталог \\RECALC.",
    "",
    "Высота точек в исходной СК принимается равной",
    "нулю. Пересчитанные значения выводятся с",
    "округлением последнего дробного разряда.",
};

std::vector<std::string_view> PolishMapHelp() {
    std::vector<std::string_view> help(common::PolishMapHelpHead().begin(),
                                       common::PolishMapHelpHead().end());
    help.insert(help.end(), kPolishMapHelpTail.begin(), kPolishMapHelpTail.end());
    return help;
}

common::FileConverter PolishMapConverter(const DatumerState& state, const BatchChoices& choices) {
    return [params = state.Params, label = LabelOptionsOf(state, choices)](
               const common::ConvertJob& job) { return ConvertPolishMapDatum(job, params, label); };
}

common::FileConverter PointListConverter(const DatumerState& state, const BatchChoices&) {
    return [params = state.Params,
            options = PointListOptionsOf(state)](const common::ConvertJob& job) {
        return ConvertPointListDatum(job, params, options);
    };
}

common::FileConverter MifConverter(const DatumerState& state, const BatchChoices& choices) {
    return [params = state.Params, options = MifOptionsOf(state, choices)](
               const common::ConvertJob& job) { return ConvertMifDatum(job, params, options); };
}

FileLines PolishMapLines(const DatumerState& state, const BatchChoices& choices,
                         MapNotesPtr notes) {
    return PolishMapDatumLines(state.Params, LabelOptionsOf(state, choices), std::move(notes));
}

FileLines PointListLines(const DatumerState& state, const BatchChoices&, MapNotesPtr) {
    return {PointListDatumLines(state.Params, PointListOptionsOf(state)),
            common::PointListLineOptions()};
}

FileLines MifLines(const DatumerState& state, const BatchChoices& choices, MapNotesPtr notes) {
    return MifDatumLines(state.Params, MifOptionsOf(state, choices), std::move(notes));
}

const std::array<DatumerFormat, kBatchFormatCount>& Formats() {
    static const std::array<DatumerFormat, kBatchFormatCount> formats = {{
        {kFormatPolishMap,
         {"MP", common::kPolishMapFilter, PolishMapHelp(), "mp"},
         false,
         false,
         true,
         PolishMapConverter,
         PolishMapLines},
        {kFormatPointList,
         {"TXT",
          common::kPointListFilter,
          {common::PointListHelp().begin(), common::PointListHelp().end()},
          "txt"},
         true,
         false,
         false,
         PointListConverter,
         PointListLines},
        {kFormatMif,
         {"MIF", kMifFilter, {kMifHelp.begin(), kMifHelp.end()}, "mif"},
         false,
         true,
         true,
         MifConverter,
         MifLines},
    }};
    return formats;
}

}  // namespace

std::span<const DatumerFormat> DatumerFormats() {
    return Formats();
}

const DatumerFormat* FindDatumerFormat(int batchFormat) {
    for (const DatumerFormat& format : Formats())
        if (format.Number == batchFormat) return &format;
    return nullptr;
}

const DatumerFormat* FindDatumerFormat(std::string_view cliName) {
    for (const DatumerFormat& format : Formats())
        if (format.Info.CliName == cliName) return &format;
    return nullptr;
}

std::string SummaryLine(const DatumerState& state) {
    if (state.SelectedPreset == kUserPreset) return std::string(kUserParametersSummary);
    return PresetAt(state, state.SelectedPreset).Name;
}

DatumLabelOptions LabelOptionsOf(const DatumerState& state, const BatchChoices& choices) {
    const TCHSK& preset = PresetAt(state, state.SelectedPreset);
    return {choices.KeepDatumLabel, preset.SourceName, preset.TargetName};
}

MifOptions MifOptionsOf(const DatumerState& state, const BatchChoices& choices) {
    return {choices.MifOrder, LabelOptionsOf(state, choices)};
}

}  // namespace datumer
