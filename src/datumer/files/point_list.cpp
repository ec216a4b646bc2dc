#include <cmath>

#include "common/line_reasons.hpp"
#include "common/point_line.hpp"
#include "common/text.hpp"
#include "datumer/files/converters.hpp"

namespace datumer {

PointListOptions PointListOptionsOf(const DatumerState& state) {
    return {state.HeightMode, state.AnglePrecision, state.HeightPrecision};
}

common::LineFunction PointListDatumLines(const DatumParams& params, PointListOptions options) {
    return [params, options](std::string_view line, std::string& out) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(line, ok);
        if (!ok) {
            common::AppendPointLineReason(line, common::kLatitudeName, common::kLongitudeName, out);
            return false;
        }
        if (!(std::fabs(point.First) <= 90.0)) {
            common::AppendRangeReason(out, common::kLatitudeName, point.First, "-90..90");
            return false;
        }
        if (!(std::fabs(point.Second) <= 180.0)) {
            common::AppendRangeReason(out, common::kLongitudeName, point.Second, "-180..180");
            return false;
        }

        GeocentricShift shift;
        GeodeticPoint target;
        TransformDatum({point.First, point.Second, point.Height}, params, shift, target);
        // Normal heights go into the target as they were: the datum change moves the
        // ellipsoid, not the geoid.
        const double height = options.HeightMode == kNormalHeights ? point.Height : target.H;

        out += point.Name;
        out += ',';
        out += common::FileNumber(target.B, options.AnglePrecision);
        out += ',';
        out += common::FileNumber(target.L, options.AnglePrecision);
        out += ',';
        out += common::FileNumber(height, options.HeightPrecision);
        out += point.Tail;
        return true;
    };
}

common::ConvertResult ConvertPointListDatum(const common::ConvertJob& job,
                                            const DatumParams& params, PointListOptions options) {
    return common::ConvertFileLines(job, PointListDatumLines(params, options),
                                    common::PointListLineOptions());
}

}  // namespace datumer
