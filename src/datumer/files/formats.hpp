#pragma once
// Datumer's three batch formats, each described once in one table, and the summary line of a
// run's log.

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "common/batch.hpp"
#include "common/converter.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/state.hpp"

namespace datumer {

// `BatchFormat` numbers, 1-based as in the format list.
inline constexpr int kFormatPolishMap = 1;  // "MP"
inline constexpr int kFormatPointList = 2;  // "TXT"
inline constexpr int kFormatMif = 3;        // "MIF"
inline constexpr int kBatchFormatCount = 3;

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

// One batch format, everything about it in one place: what the list, the open dialog and the
// help box show, its command-line name, the options it takes, and its converter.
struct DatumerFormat {
    int Number;  // `BatchFormat`: the 1-based position in the format list
    common::BatchFormatInfo Info;
    bool HeightDialog;  // the height and precision dialog is shown before a run
    bool PairOrder;     // its pairs may be read latitude first (MifOrder)
    bool DatumLabel;    // its header carries a datum label, replaced or kept (KeepDatumLabel)
    // The converter with a copy of the operand (state.Params) and the options in force.
    common::FileConverter (*Converter)(const DatumerState& state, const BatchChoices& choices);
    // The line function and how its files are read, for streaming without files; `notes`
    // receives the reason when a map is refused for more than a malformed line, and warnings.
    FileLines (*Lines)(const DatumerState& state, const BatchChoices& choices, MapNotesPtr notes);
};

// The formats in list order.
std::span<const DatumerFormat> DatumerFormats();
// The format of a list number or a command-line name; nullptr when there is none.
const DatumerFormat* FindDatumerFormat(int batchFormat);
const DatumerFormat* FindDatumerFormat(std::string_view cliName);

inline common::FileConverter MakeConverter(const DatumerFormat& format, const DatumerState& state,
                                           const BatchChoices& choices = {}) {
    return format.Converter(state, choices);
}
inline FileLines MakeFileLines(const DatumerFormat& format, const DatumerState& state,
                               const BatchChoices& choices = {}, MapNotesPtr notes = {}) {
    return format.Lines(state, choices, std::move(notes));
}

}  // namespace datumer
