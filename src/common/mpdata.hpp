#pragma once
// The data lines of Polish-format ("MP") maps: a key such as Data0=, DATA12= or Origin0= followed
// by coordinate groups (latitude,longitude) in decimal degrees, separated by single commas. The
// map shift of Gridwise and the datum conversion of Datumer read and rewrite them the same way;
// every other line of a map is copied byte for byte.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/pointfile.hpp"

namespace common {

// Length of the key of a data line: blanks, "Data" or its older synonym "Origin" in any case, the
// level number (any count of digits, as real files have levels beyond 9), blanks, "=" and the
// blanks after it. 0 when the line is no data line.
std::size_t DataPrefixLength(std::string_view line);
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

// Decimals of the coordinates of a data line as the programs write them.
inline constexpr std::uint8_t kMapDecimals = 5;

// Appends "(" for the first group of a line or ",(" for the others, the two values with
// 5 decimals (last digit rounded half up, "." as separator), and ")".
void AppendCoordinateGroup(std::string& out, bool firstGroup, double latitude, double longitude);

// Moves one point in place; false when the point cannot be converted (the line is bad).
using PointTransform = std::function<bool(double& latitude, double& longitude)>;

// The line function of a map converter: a line that is not a data line is copied unchanged; a
// data line is written as its prefix and its transformed groups. False for a bad data line. A
// byte-order mark before the line is kept and does not hide the key.
bool ConvertMapLine(std::string_view line, std::string& out, const PointTransform& transform);

// How map files are read: a lone CR ends a line, and a line too long to hold is copied when it is
// no data line.
LineOptions MapLineOptions();

}  // namespace common
