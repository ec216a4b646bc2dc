// Pieces the three Datumer converters share: refused files, datum labels, map points, numbers.

#include "common/text.hpp"
#include "datumer/convert_files.hpp"

namespace datumer {

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

bool WriteDatumLabel(std::string_view line, std::size_t begin, std::size_t end,
                     const DatumLabelOptions& label, const RefusalReason& refusal,
                     std::string& out) {
    if (label.KeepSourceLabel) {
        out += line;
        return true;
    }
    if (label.TargetLabel.empty()) {
        if (refusal) *refusal = kTargetDatumUnnamed;
        return false;
    }
    out += line.substr(0, begin);
    out += label.TargetLabel;
    out += line.substr(end);
    return true;
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
