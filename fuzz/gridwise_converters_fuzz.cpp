// Gridwise's five converters over whole files in memory, with the settings and options chosen
// by the first bytes: the converter contract (see converter_harness.hpp), and per format the
// bytes it must carry over: point names and tails of point lists and survey exports, the name
// before each sheet name, every line of a map that is not a data line.

#include <string>

#include "common/cp1251.hpp"
#include "common/mpdata.hpp"
#include "common/point_line.hpp"
#include "converter_harness.hpp"
#include "gridwise/files/formats.hpp"
#include "gridwise/rules/setup_rules.hpp"
#include "gridwise/state.hpp"

namespace {

constexpr int kSystems[] = {gridwise::kSystemSk42, gridwise::kSystemWgs84, gridwise::kSystemPz90,
                            gridwise::kSystemSk63};

// Settings from two bytes; false when the set-up screen would not let the run start.
bool ChooseSettings(gridwise::GridwiseState& state, int format, unsigned char a, unsigned char b) {
    const bool survey =
        format == gridwise::kFormatSk42ToSk63 || format == gridwise::kFormatSk63ToSk42;
    const int system = survey ? gridwise::kSystemSk63 : kSystems[a % 4];
    gridwise::OpenSetupScreen(state);
    gridwise::ChooseDirection(state, (a & 0x10) != 0);
    gridwise::ChooseSystem(state, state.Systems[system].ListPosition);
    if (survey) gridwise::EditMeridianDegrees(state, std::to_string(21 + b % 40));
    gridwise::ChooseAlgorithm(state, (a >> 5) & 1);
    if (!gridwise::ProceedFromSetup(state, false).empty()) return false;
    state.ListScale = b % 7;
    state.Sk42Zone = 1 + b % 60;
    state.ZoneInOrdinate = (b & 0x80) != 0;
    state.HeightChange = static_cast<signed char>(b) / 1.28;
    state.ShiftNorth = static_cast<signed char>(a) * 7.8;
    state.ShiftEast = static_cast<signed char>(b) * 7.8;
    state.AngleDecimals = static_cast<std::uint8_t>(7 + a % 4);
    state.PlaneDecimals = static_cast<std::uint8_t>(2 + b % 3);
    state.HeightDecimals = static_cast<std::uint8_t>(2 + a % 3);
    state.OptionsConfirmed = true;
    return gridwise::SelectEnabled(*gridwise::FindGridwiseFormat(format), state);
}

void CheckCarriedBytes(int format, std::string_view source, std::string_view target) {
    const auto in = fuzz::SplitSourceLines(source, format == gridwise::kFormatMapShift);
    const auto out = fuzz::SplitTargetLines(target);
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (format == gridwise::kFormatMapShift) {
            std::string mark;
            const std::size_t key =
                common::DataPrefixLength(common::TakeByteOrderMark(in[i], mark));
            if (key == 0)
                FUZZ_CHECK(out[i] == in[i], "map lines copied");
            else
                FUZZ_CHECK(
                    out[i].substr(0, mark.size() + key) == in[i].substr(0, mark.size() + key),
                    "data prefix kept");
            continue;
        }
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(in[i], ok);
        FUZZ_CHECK(ok, "a converted file has only well-formed lines");
        if (format == gridwise::kFormatNomenclature) {
            const std::string head = std::string(point.Name) + ",";
            FUZZ_CHECK(out[i].rfind(head, 0) == 0, "the name before its sheet");
            FUZZ_CHECK(out[i].find('\n') == std::string_view::npos, "one line per point");
            continue;
        }
        bool outOk = true;
        const common::PointLine written = common::ReadPointLine(out[i], outOk);
        FUZZ_CHECK(outOk, "output lines are point lines");
        FUZZ_CHECK(written.Name == point.Name && written.Tail == point.Tail,
                   "name and tail carried over");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 3) return 0;
    const int format = 1 + data[0] % gridwise::kBatchFormatCount;
    gridwise::GridwiseState state = gridwise::MakeGridwiseState();
    if (!ChooseSettings(state, format, data[1], data[2])) return 0;
    std::string_view file = fuzz::AsText(data + 3, size - 3);
    fuzz::Faults faults = fuzz::TakeFaults(file);
    faults.mapLines = format == gridwise::kFormatMapShift;

    const common::FileConverter convert =
        gridwise::MakeConverter(*gridwise::FindGridwiseFormat(format), state);
    const fuzz::Outcome outcome = fuzz::RunWithFaults(convert, file, faults);
    if (outcome.Converted()) CheckCarriedBytes(format, file, outcome.target);
    return 0;
}
