#include "datumer/convert_formats.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include "common/batch_texts.hpp"
#include "datumer/presets.hpp"

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

const std::array<common::BatchFormatInfo, kBatchFormatCount>& Formats() {
    static const std::array<common::BatchFormatInfo, kBatchFormatCount> formats = {{
        {"MP", common::kPolishMapFilter, PolishMapHelp()},
        {"TXT",
         common::kPointListFilter,
         {common::PointListHelp().begin(), common::PointListHelp().end()}},
        {"MIF", kMifFilter, {kMifHelp.begin(), kMifHelp.end()}},
    }};
    return formats;
}

}  // namespace

const common::BatchFormatInfo& DatumerBatchFormat(int batchFormat) {
    return Formats()[static_cast<std::size_t>(std::clamp(batchFormat, 1, kBatchFormatCount) - 1)];
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

common::FileConverter MakeConverter(int batchFormat, const DatumerState& state,
                                    const BatchChoices& choices) {
    const DatumParams params = state.Params;
    switch (batchFormat) {
        case kFormatPointList:
            return [params, options = PointListOptionsOf(state)](const common::ConvertJob& job) {
                return ConvertPointListDatum(job, params, options);
            };
        case kFormatMif:
            return [params, options = MifOptionsOf(state, choices)](const common::ConvertJob& job) {
                return ConvertMifDatum(job, params, options);
            };
        default:
            return [params, label = LabelOptionsOf(state, choices)](const common::ConvertJob& job) {
                return ConvertPolishMapDatum(job, params, label);
            };
    }
}

FileLines MakeFileLines(int batchFormat, const DatumerState& state, const BatchChoices& choices,
                        MapNotesPtr notes) {
    switch (batchFormat) {
        case kFormatPointList:
            return {PointListDatumLines(state.Params, PointListOptionsOf(state)),
                    common::PointListLineOptions()};
        case kFormatMif:
            return MifDatumLines(state.Params, MifOptionsOf(state, choices), std::move(notes));
        default:
            return PolishMapDatumLines(state.Params, LabelOptionsOf(state, choices),
                                       std::move(notes));
    }
}

}  // namespace datumer
