#pragma once
// Datumer's three batch formats: what the format list, the open dialog and the help box show, the
// summary line of the log, and the converter a run calls with the operand of the selected preset
// and the options in force.

#include <string>
#include <string_view>

#include "common/batch.hpp"
#include "common/pointfile.hpp"
#include "datumer/convert_files.hpp"
#include "datumer/state.hpp"

namespace datumer {

// `BatchFormat` numbers, 1-based as in the format list.
inline constexpr int kFormatPolishMap = 1;  // "MP"
inline constexpr int kFormatPointList = 2;  // "TXT"
inline constexpr int kFormatMif = 3;        // "MIF"
inline constexpr int kBatchFormatCount = 3;

// List item, filter and help of a format; a number outside 1..3 falls to the nearest end.
const common::BatchFormatInfo& DatumerBatchFormat(int batchFormat);

// The line under the banner of the summary: the name of the selected preset, or
// "Пользовательские параметры пересчёта" for the user preset.
std::string SummaryLine(const DatumerState& state);

// Choices of a run beyond the state: the MIF pair order and whether datum labels are kept.
struct BatchChoices {
    MifPairOrder MifOrder = MifPairOrder::LonLat;
    bool KeepDatumLabel = false;
};

// The converter options of the state in force: the systems of the selected preset.
MifOptions MifOptionsOf(const DatumerState& state, const BatchChoices& choices);
DatumLabelOptions LabelOptionsOf(const DatumerState& state, const BatchChoices& choices);

// The format's converter with a copy of the operand (state.Params) and the options in force.
common::FileConverter MakeConverter(int batchFormat, const DatumerState& state,
                                    const BatchChoices& choices = {});
// The format's line function and how its files are read, for streaming without files; `notes`
// receives the reason when a map is refused for more than a malformed line, and its warnings.
FileLines MakeFileLines(int batchFormat, const DatumerState& state,
                        const BatchChoices& choices = {}, MapNotesPtr notes = {});

}  // namespace datumer
