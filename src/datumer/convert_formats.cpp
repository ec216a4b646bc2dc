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

// A system's datum in the two map formats, where the program knows its name there.
struct DatumNames {
    std::string_view System;
    std::string_view Mif;     // MapInfo datum number
    std::string_view Polish;  // MP Datum= value; empty when unknown
};
constexpr std::array<DatumNames, 2> kDatumNames = {{
    {"WGS84", "104", "W84"},
    {"СК42", "1001", ""},
}};

const DatumNames* FindDatumNames(std::string_view systemName) {
    for (const DatumNames& names : kDatumNames) {
        if (names.System == systemName) return &names;
    }
    return nullptr;
}

}  // namespace

const common::BatchFormatInfo& DatumerBatchFormat(int batchFormat) {
    return Formats()[static_cast<std::size_t>(std::clamp(batchFormat, 1, kBatchFormatCount) - 1)];
}

std::string SummaryLine(const DatumerState& state) {
    if (state.SelectedPreset == kUserPreset) return std::string(kUserParametersSummary);
    return PresetAt(state, state.SelectedPreset).Name;
}

std::string MifDatumName(std::string_view systemName) {
    const DatumNames* names = FindDatumNames(systemName);
    return names ? std::string(names->Mif) : std::string();
}

std::string PolishDatumName(std::string_view systemName) {
    const DatumNames* names = FindDatumNames(systemName);
    return names ? std::string(names->Polish) : std::string();
}

MifOptions MifOptionsOf(const DatumerState& state, const BatchChoices& choices) {
    const std::string& target = PresetAt(state, state.SelectedPreset).TargetName;
    return {choices.MifOrder, {choices.KeepDatumLabel, MifDatumName(target)}};
}

DatumLabelOptions PolishLabelOf(const DatumerState& state, const BatchChoices& choices) {
    const std::string& target = PresetAt(state, state.SelectedPreset).TargetName;
    return {choices.KeepDatumLabel, PolishDatumName(target)};
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
            return [params, label = PolishLabelOf(state, choices)](const common::ConvertJob& job) {
                return ConvertPolishMapDatum(job, params, label);
            };
    }
}

common::LineFunction MakeLineFunction(int batchFormat, const DatumerState& state,
                                      const BatchChoices& choices, RefusalReason refusal) {
    switch (batchFormat) {
        case kFormatPointList:
            return PointListDatumLines(state.Params, PointListOptionsOf(state));
        case kFormatMif:
            return MifDatumLines(state.Params, MifOptionsOf(state, choices), std::move(refusal));
        default:
            return PolishMapDatumLines(state.Params, PolishLabelOf(state, choices),
                                       std::move(refusal));
    }
}

}  // namespace datumer
