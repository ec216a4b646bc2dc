#pragma once
// The data lines of Polish-format ("MP") maps: Data0= .. Data9= followed by coordinate groups
// (latitude,longitude) in decimal degrees, separated by single commas. The map shift of Gridwise
// and the datum conversion of Datumer read and rewrite them the same way; every other line of a
// map is copied byte for byte.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace common {

// Characters "Data", one digit and "=" at the start of a data line.
inline constexpr std::size_t kDataPrefixLength = 6;

// True for a line longer than 5 characters that starts with "Data", a digit 0-9 and "=".
bool IsDataLine(std::string_view line);

// Reads the coordinate groups of a data line's rest (the text after the prefix) one after
// another. The syntax is  group { "," group } [ "," ]  with  group = "(" lat "," lon [ "," any ]
// ")", no blanks; numbers by ParseSignedReal; -90 <= lat <= 90 and -180 <= lon <= 180. An empty
// rest is malformed.
class CoordinateGroupReader {
  public:
    explicit CoordinateGroupReader(std::string_view rest);
    // The next pair; false at the end of the rest or at the first violation (then Failed()).
    bool Next(double& latitude, double& longitude);
    bool Failed() const { return failed_; }

  private:
    bool Fail();

    std::string_view rest_;
    std::size_t position_ = 0;
    bool started_ = false;
    bool failed_ = false;
};

// Appends "(" for the first group of a line or ",(" for the others, the two values with
// 5 decimals (last digit rounded half up, "." as separator), and ")".
void AppendCoordinateGroup(std::string& out, bool firstGroup, double latitude, double longitude);

// Moves one point in place; false when the point cannot be converted (the line is bad).
using PointTransform = std::function<bool(double& latitude, double& longitude)>;

// The line function of a map converter: a line that is not a data line is copied unchanged; a
// data line is written as its prefix and its transformed groups. False for a bad data line.
bool ConvertMapLine(std::string_view line, std::string& out, const PointTransform& transform);

}  // namespace common
