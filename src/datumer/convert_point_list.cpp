#include <cmath>

#include "common/text.hpp"
#include "datumer/convert_files.hpp"
#include "datumer/transform_files.hpp"

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
        if (!ok || std::fabs(point.First) > 90.0 || std::fabs(point.Second) > 180.0) return false;

        const GeodeticPoint target = transform({point.First, point.Second, point.Height});
        // Normal heights go into the target as they were: the datum change moves the
        // ellipsoid, not the geoid.
        const double height = options.HeightMode == kNormalHeights ? point.Height : target.H;

        out += point.Name;
        out += ',';
        AppendFileNumber(out, target.B, options.AnglePrecision);
        out += ',';
        AppendFileNumber(out, target.L, options.AnglePrecision);
        out += ',';
        AppendFileNumber(out, height, options.HeightPrecision);
        out += point.Tail;
        return true;
    };
}

common::ConvertResult ConvertPointListDatum(const common::ConvertJob& job,
                                            const DatumParams& params, PointListOptions options) {
    return common::ConvertFileLines(job, PointListDatumLines(params, options));
}

}  // namespace datumer
