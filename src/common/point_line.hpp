#pragma once
// The point-list line of both programs: name, two coordinates, height, optional tail,
// comma-separated.

#include <string_view>

namespace common {

// The point-list line: name, two coordinates, height, optional tail, comma-separated.

struct PointLine {
    std::string_view Name;  // any bytes except a comma, possibly empty
    double First = 0.0;     // B (degrees) or x (metres)
    double Second = 0.0;    // L (degrees) or y (metres)
    double Height = 0.0;    // H (metres), required
    std::string_view Tail;  // from the comma after the height to the end, or empty
};

// Splits and parses one line (without its line end). Name and Tail view `line`, so they are
// valid while `line` is. Clears `ok` when the line is empty, lacks a required comma or has a
// numeric field that `ParseSignedReal` refuses.
PointLine ReadPointLine(std::string_view line, bool& ok);

}  // namespace common
