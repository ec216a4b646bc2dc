// ReadPointLine.

#include "common/point_line.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "common/text.hpp"

namespace common {

namespace {

// The field from `position` to the next comma or the end; `position` moves past the comma.
// `hadComma` tells whether a comma ended the field.
std::string_view NextField(std::string_view line, std::size_t& position, bool& hadComma) {
    const std::size_t comma = line.find(',', position);
    hadComma = comma != std::string_view::npos;
    const std::size_t end = hadComma ? comma : line.size();
    const std::string_view field = line.substr(position, end - position);
    position = hadComma ? comma + 1 : line.size();
    return field;
}

// A coordinate field that a comma must follow.
double CoordinateField(std::string_view line, std::size_t& position, bool& ok) {
    bool hadComma = false;
    const double value = ParseSignedReal(NextField(line, position, hadComma), ok);
    if (!hadComma) ok = false;
    return value;
}

}  // namespace

PointLine ReadPointLine(std::string_view line, bool& ok) {
    PointLine point;
    std::size_t position = 0;
    bool hadComma = false;
    point.Name = NextField(line, position, hadComma);
    if (!hadComma) {
        ok = false;
        return point;
    }
    point.First = CoordinateField(line, position, ok);
    if (ok) point.Second = CoordinateField(line, position, ok);
    if (!ok) return point;
    const std::size_t heightStart = position;
    const std::size_t comma = line.find(',', heightStart);
    const std::size_t heightEnd = comma == std::string_view::npos ? line.size() : comma;
    point.Height = ParseSignedReal(line.substr(heightStart, heightEnd - heightStart), ok);
    point.Tail = line.substr(heightEnd);
    return point;
}

}  // namespace common
