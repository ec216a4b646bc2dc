#include "datumer/convert_mif_objects.hpp"

#include "common/text.hpp"

namespace datumer {

namespace {

bool StartsWith(std::string_view line, std::string_view head) {
    return line.substr(0, head.size()) == head;
}

bool InObject(const MifObjectState& state) {
    return state.inRegion || state.inPlineMultiple || state.inPline || state.textBox;
}

MifLineRole KeywordLine(MifObjectState& state, std::string_view line) {
    if (IsRegionLine(line)) {
        state.inRegion = true;
        return MifLineRole::Copied;
    }
    if (IsPlineLine(line)) {
        state.inPline = true;
        return MifLineRole::Copied;
    }
    if (IsPlineMultipleLine(line)) {
        state.inPlineMultiple = true;
        return MifLineRole::Copied;
    }
    if (IsPointLine(line)) return MifLineRole::PointLine;
    if (state.afterText) {
        // The line that carries the text string itself; the bounding box comes next.
        state.textBox = true;
        state.afterText = false;
        return MifLineRole::Copied;
    }
    // A text whose quoted string stands on its keyword line has its bounding box on the next line.
    if (IsTextLine(line) && line.find('"') != std::string_view::npos) {
        state.textBox = true;
        return MifLineRole::Copied;
    }
    state.afterText = IsTextLine(line);
    return MifLineRole::Copied;
}

bool IsObjectKeyword(std::string_view line) {
    return IsRegionLine(line) || IsPlineLine(line) || IsPlineMultipleLine(line) ||
           IsPointLine(line) || IsTextLine(line);
}

// A keyword line that ends a block opens the next object, which would otherwise be copied with
// its coordinates still in the source datum.
MifLineRole EndBlock(MifObjectState& state, std::string_view line) {
    state.inRegion = false;
    state.inPlineMultiple = false;
    state.inPline = false;
    return IsObjectKeyword(line) ? KeywordLine(state, line) : MifLineRole::Copied;
}

MifLineRole ObjectLine(MifObjectState& state, std::string_view line) {
    if (state.inRegion || state.inPlineMultiple) {
        if (IsMifCoordinateLine(line)) return MifLineRole::Coordinate;
        return IsCountLine(line) ? MifLineRole::Copied : EndBlock(state, line);
    }
    if (state.inPline) {
        if (IsMifCoordinateLine(line)) return MifLineRole::Coordinate;
        return EndBlock(state, line);
    }
    state.textBox = false;
    return MifLineRole::TextBox;
}

}  // namespace

bool IsRegionLine(std::string_view line) {
    return StartsWith(line, "Region");
}

bool IsPlineLine(std::string_view line) {
    return line.size() >= 7 && StartsWith(line, "Pline ") && common::IsDigitChar(line[6]);
}

bool IsPlineMultipleLine(std::string_view line) {
    return StartsWith(line, "Pline Multiple");
}

bool IsPointLine(std::string_view line) {
    return StartsWith(line, "Point");
}

bool IsTextLine(std::string_view line) {
    return StartsWith(line, "Text");
}

bool IsCountLine(std::string_view line) {
    return line.size() >= 3 && StartsWith(line, "  ") && common::IsDigitChar(line[2]);
}

// A minus sign opens a coordinate line too: western longitudes and southern latitudes are
// coordinates like any other, not the end of a block.
bool IsMifCoordinateLine(std::string_view line) {
    if (line.size() >= 2 && line[0] == '-') return common::IsDigitChar(line[1]);
    return !line.empty() && common::IsDigitChar(line[0]);
}

MifLineRole NextMifLine(MifObjectState& state, std::string_view line) {
    return InObject(state) ? ObjectLine(state, line) : KeywordLine(state, line);
}

}  // namespace datumer
