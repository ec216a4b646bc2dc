// Data lines of Polish-format maps: recognition, the coordinate groups, and their rewriting.

#include "common/mpdata.hpp"

#include <cmath>

#include "common/text.hpp"

namespace common {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(std::string_view line, std::size_t position) {
    while (position < line.size() && IsBlank(line[position])) ++position;
    return position;
}

}  // namespace

std::size_t DataPrefixLength(std::string_view line) {
    std::size_t position = SkipBlanks(line, 0);
    const std::string_view rest = line.substr(position);
    if (StartsWithIgnoringCase(rest, "data"))
        position += 4;
    else if (StartsWithIgnoringCase(rest, "origin"))
        position += 6;
    else
        return 0;
    while (position < line.size() && IsDigitChar(line[position])) ++position;
    position = SkipBlanks(line, position);
    if (position == line.size() || line[position] != '=') return 0;
    return SkipBlanks(line, position + 1);
}

bool IsDataLine(std::string_view line) {
    return DataPrefixLength(line) != 0;
}

CoordinateGroupReader::CoordinateGroupReader(std::string_view rest) : rest_(rest) {}

bool CoordinateGroupReader::Fail() {
    failed_ = true;
    return false;
}

bool CoordinateGroupReader::Next(double& latitude, double& longitude) {
    if (failed_) return false;
    if (!started_) {
        started_ = true;
        if (rest_.empty()) return Fail();
    } else {
        if (position_ == rest_.size()) return false;
        if (rest_[position_] != ',') return Fail();
        ++position_;
        if (position_ == rest_.size()) return false;  // one trailing comma is tolerated
    }
    if (rest_[position_] != '(') return Fail();
    const std::size_t close = rest_.find(')', position_ + 1);
    if (close == std::string_view::npos) return Fail();
    const std::string_view content = rest_.substr(position_ + 1, close - position_ - 1);
    const std::size_t comma = content.find(',');
    if (content.size() < 3 || comma == std::string_view::npos || comma == 0 ||
        comma + 1 == content.size())
        return Fail();
    const std::string_view afterComma = content.substr(comma + 1);
    const std::string_view longitudeText = afterComma.substr(0, afterComma.find(','));
    bool ok = true;
    const double B = ParseSignedReal(content.substr(0, comma), ok);
    const double L = ParseSignedReal(longitudeText, ok);
    if (!ok || std::fabs(B) > 90.0 || std::fabs(L) > 180.0) return Fail();
    latitude = B;
    longitude = L;
    position_ = close + 1;
    return true;
}

void AppendCoordinateGroup(std::string& out, bool firstGroup, double latitude, double longitude) {
    out.append(firstGroup ? "(" : ",(");
    AppendFixed(out, false, 1, true, latitude, kMapDecimals, '.');
    out.push_back(',');
    AppendFixed(out, false, 1, true, longitude, kMapDecimals, '.');
    out.push_back(')');
}

bool ConvertMapLine(std::string_view line, std::string& out, const PointTransform& transform) {
    line = TakeByteOrderMark(line, out);
    const std::size_t prefix = DataPrefixLength(line);
    if (prefix == 0) {
        out.append(line);
        return true;
    }
    out.append(line.substr(0, prefix));
    CoordinateGroupReader groups(line.substr(prefix));
    double latitude = 0.0;
    double longitude = 0.0;
    bool first = true;
    while (groups.Next(latitude, longitude)) {
        if (!transform(latitude, longitude)) return false;
        AppendCoordinateGroup(out, first, latitude, longitude);
        first = false;
    }
    return !groups.Failed();
}

LineOptions MapLineOptions() {
    LineOptions options;
    options.LoneCrEndsLine = true;
    options.LongLineHead = [](std::string_view head, std::string& out) {
        std::string mark;
        if (IsDataLine(TakeByteOrderMark(head, mark))) return false;
        out.append(head);
        return true;
    };
    return options;
}

}  // namespace common
