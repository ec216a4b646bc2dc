// The MIF line machine over a whole input: every role it gives fits the line (a point line is a
// "Point" keyword line, a coordinate line begins with a digit), and the MIF line function copies
// byte for byte every line the machine calls copied, the CoordSys header aside; it ends at the
// first line it refuses, as the line loop does.

#include <string>

#include "converter_harness.hpp"
#include "datumer/convert_files.hpp"
#include "datumer/convert_mif_objects.hpp"
#include "datumer/point_rules.hpp"
#include "datumer/state.hpp"

namespace {

bool IsCoordSysLine(std::string_view line) {
    const auto start = line.find_first_not_of(" \t");
    return start != std::string_view::npos &&
           datumer::StartsWithIgnoringCase(line.substr(start), "CoordSys");
}

}  // namespace

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
    options.Label.TargetLabel = data[0] & 4 ? "104" : "";
    const common::LineFunction convert = datumer::MifDatumLines(state.Params, options);

    datumer::MifObjectState machine;
    std::string out;
    for (std::string_view line : fuzz::SplitLines(fuzz::AsText(data + 1, size - 1))) {
        const datumer::MifLineRole role = datumer::NextMifLine(machine, line);
        if (role == datumer::MifLineRole::PointLine) {
            FUZZ_CHECK(datumer::IsPointLine(line), "a point line is a Point keyword line");
        }
        if (role == datumer::MifLineRole::Coordinate) {
            FUZZ_CHECK(datumer::IsMifCoordinateLine(line), "a coordinate line begins with a digit");
        }
        out.clear();
        if (!convert(line, out)) break;
        if (role == datumer::MifLineRole::Copied && !IsCoordSysLine(line)) {
            FUZZ_CHECK(out == line, "copied lines stay byte for byte");
        }
    }
    return 0;
}
