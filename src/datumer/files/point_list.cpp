#include <cmath>

#include "common/line_reasons.hpp"
#include "common/point_line.hpp"
#include "common/text.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/geodesy/transform_files.hpp"

namespace datumer {

PointListOptions PointListOptionsOf(const DatumerState& state) {
    return {state.HeightMode, state.AnglePrecision, state.HeightPrecision};
}

common::LineFunction PointListDatumLines(const DatumParams& params, PointListOptions options) {
    const FileDatumTransform transform(params, {options.AnglePrecision, options.HeightPrecision,
                                                options.HeightMode != kNormalHeights});
    return [transform, options](std::string_view line, std::string& out) {
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

        const GeodeticPoint target = transform({point.First, point.Second, point.Height});
        // Normal heights go into the target as they were: the datum change moves the
        // ellipsoid, not the geoid.
        const double height = options.HeightMode == kNormalHeights ? point.Height : target.H;

        out += point.Name;
        out += ',';
        common::AppendFileNumber(out, target.B, options.AnglePrecision);
        out += ',';
        common::AppendFileNumber(out, target.L, options.AnglePrecision);
        out += ',';
        common::AppendFileNumber(out, height, options.HeightPrecision);
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
