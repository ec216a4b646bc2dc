// Datumer's three converters over whole files in memory, with the preset and options chosen by
// the first bytes: the converter contract (see converter_harness.hpp), names and tails of point
// lists carried over, and every line of a Polish-format map that carries no coordinates copied
// byte for byte (the datum label aside).

#include <string>

#include "common/mpdata.hpp"
#include "common/point_line.hpp"
#include "common/text.hpp"
#include "converter_harness.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/formats.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/rules/point_rules.hpp"
#include "datumer/state.hpp"

namespace {

using datumer::kFormatMif;
using datumer::kFormatPointList;
using datumer::kFormatPolishMap;

bool IsLabelLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos &&
           common::StartsWithIgnoringCase(line.substr(start), "Datum");
}

// Point lists keep names and tails; a map keeps every line that has no points and is no label.
// (The MIF object reader has its own target.)
void CheckCarriedBytes(int format, std::string_view source, std::string_view target) {
    const auto in = fuzz::SplitSourceLines(source, format != kFormatPointList);
    const auto out = fuzz::SplitTargetLines(target);
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (format == kFormatPointList) {
            bool ok = true;
            const common::PointLine point = common::ReadPointLine(in[i], ok);
            bool outOk = true;
            const common::PointLine written = common::ReadPointLine(out[i], outOk);
            FUZZ_CHECK(ok && outOk, "point lines in and out");
            FUZZ_CHECK(written.Name == point.Name && written.Tail == point.Tail,
                       "name and tail carried over");
            continue;
        }
        if (format != kFormatPolishMap) continue;
        std::string mark;
        const std::string_view text = common::TakeByteOrderMark(in[i], mark);
        if (!common::IsDataLine(text) && !IsLabelLine(text))
            FUZZ_CHECK(out[i] == in[i], "lines without points copied");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 3) return 0;
    const int format = 1 + data[0] % kFormatMif;
    datumer::DatumerState state = datumer::MakeDatumerState();
    state.SelectedPreset = 1 + data[1] % (datumer::kPresetCount - 1);
    datumer::EnterPointScreen(state);
    state.HeightMode = data[2] & 1 ? datumer::kEllipsoidalHeights : datumer::kNormalHeights;
    state.AnglePrecision = static_cast<std::uint8_t>(7 + (data[2] >> 1) % 4);
    state.HeightPrecision = static_cast<std::uint8_t>(2 + (data[2] >> 3) % 3);
    datumer::BatchChoices choices;
    choices.MifOrder =
        data[2] & 0x20 ? datumer::MifPairOrder::LatLon : datumer::MifPairOrder::LonLat;
    choices.KeepDatumLabel = (data[2] & 0x40) != 0;
    std::string_view file = fuzz::AsText(data + 3, size - 3);
    fuzz::Faults faults = fuzz::TakeFaults(file);
    faults.mapLines = format != kFormatPointList;

    const common::FileConverter convert =
        datumer::MakeConverter(*datumer::FindDatumerFormat(format), state, choices);
    const fuzz::Outcome outcome = fuzz::RunWithFaults(convert, file, faults);
    if (outcome.Converted()) CheckCarriedBytes(format, file, outcome.target);
    return 0;
}
