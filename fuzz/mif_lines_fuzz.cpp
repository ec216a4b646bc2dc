// The MIF data section over a whole input, read by the object reader and written by the MIF line
// function side by side: a line the reader copies is written byte for byte, a line with pairs
// keeps the bytes before its first number and holds one or two pairs of the line's own numbers,
// a refused line refuses the file; the function ends at the first line it refuses, as the line
// loop does.

#include <string>

#include "converter_harness.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/mif_objects.hpp"
#include "datumer/rules/point_rules.hpp"
#include "datumer/state.hpp"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 1) return 0;
    static datumer::DatumerState state = [] {
        datumer::DatumerState s = datumer::MakeDatumerState();
        datumer::EnterPointScreen(s);
        return s;
    }();
    datumer::MifOptions options;
    options.Order = data[0] & 1 ? datumer::MifPairOrder::LatLon : datumer::MifPairOrder::LonLat;
    options.Label.KeepSourceLabel = (data[0] & 2) != 0;
    options.Label.TargetSystem = data[0] & 4 ? "WGS84" : "СК42";
    const auto notes = std::make_shared<datumer::MapNotes>();
    const common::LineFunction convert =
        datumer::MifDatumLines(state.Params, options, notes).Convert;

    std::string out;
    FUZZ_CHECK(convert("Data", out) && out == "Data", "the header ends at its Data line");
    datumer::MifObjectReader reader;
    for (std::string_view line : fuzz::SplitMapLines(fuzz::AsText(data + 1, size - 1))) {
        std::string mark;
        const std::string_view text = common::TakeByteOrderMark(line, mark);
        const datumer::MifLine plan = reader.Next(text);
        out.clear();
        const bool ok = convert(line, out);
        if (plan.kind == datumer::MifLine::Kind::Bad) {
            FUZZ_CHECK(!ok && out == plan.reason,
                       "a refused line refuses the file with its reason");
            break;
        }
        if (plan.kind == datumer::MifLine::Kind::Copied) {
            FUZZ_CHECK(ok && out == line, "copied lines stay byte for byte");
            continue;
        }
        FUZZ_CHECK(plan.numberCount == 2 || plan.numberCount == 4, "one or two pairs");
        for (std::size_t i = 0; i < plan.numberCount; ++i) {
            const std::string_view number = plan.numbers[i];
            FUZZ_CHECK(number.data() >= text.data() + plan.prefixEnd &&
                           number.data() + number.size() <= text.data() + text.size(),
                       "the numbers are the line's own, after its prefix");
        }
        if (!ok) break;  // a number that does not parse or is out of range
        FUZZ_CHECK(out.starts_with(std::string(mark) + std::string(text.substr(0, plan.prefixEnd))),
                   "the bytes before the first number are kept");
    }
    return 0;
}
