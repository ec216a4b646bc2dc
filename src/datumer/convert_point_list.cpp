#include <cmath>

#include "common/text.hpp"
#include "datumer/convert_files.hpp"

namespace datumer {

PointListOptions PointListOptionsOf(const DatumerState& state) {
    return {state.HeightMode, state.AnglePrecision, state.HeightPrecision};
}

common::LineFunction PointListDatumLines(const DatumParams& params, PointListOptions options) {
    return [params, options](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok || std::fabs(point.First) > 90.0 || std::fabs(point.Second) > 180.0) return false;

        GeocentricShift shift;
        GeodeticPoint target;
        TransformDatum({point.First, point.Second, point.Height}, params, shift, target);
        // Normal heights go into the target as they were: the datum change moves the
        // ellipsoid, not the geoid.
        const double height = options.HeightMode == kNormalHeights ? point.Height : target.H;

        out += point.Name;
        out += ',';
        out += FileNumber(target.B, options.AnglePrecision);
        out += ',';
        out += FileNumber(target.L, options.AnglePrecision);
        out += ',';
        out += FileNumber(height, options.HeightPrecision);
        out += point.Tail;
        return true;
    };
}

common::ConvertResult ConvertPointListDatum(const common::ConvertJob& job,
                                            const DatumParams& params, PointListOptions options) {
    return common::ConvertFileLines(job, PointListDatumLines(params, options));
}

void AddRefusalReason(common::ConvertResult& result, const RefusalReason& refusal) {
    if (result.ok && !result.message.empty() && refusal && !refusal->empty()) {
        result.message += ": ";
        result.message += *refusal;
    }
}

common::ConvertResult ConvertRefusableLines(const common::ConvertJob& job,
                                            const common::LineFunction& lines,
                                            const RefusalReason& refusal) {
    common::ConvertResult result = common::ConvertFileLines(job, lines);
    AddRefusalReason(result, refusal);
    return result;
}

GeodeticPoint TransformMapPoint(double latitude, double longitude, const DatumParams& params) {
    GeocentricShift shift;
    GeodeticPoint target;
    TransformDatum({latitude, longitude, 0.0}, params, shift, target);
    return target;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view head) {
    if (text.size() < head.size()) return false;
    for (std::size_t i = 0; i < head.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(head[i])) return false;
    }
    return true;
}

std::string FileNumber(double value, std::uint8_t decimals) {
    return common::FormatFixed(false, 1, true, value, decimals, '.');
}

}  // namespace datumer
