#include "common/mpdata.hpp"
#include "datumer/convert_files.hpp"

namespace datumer {

namespace {

constexpr std::string_view kDatumKey = "Datum=";

// Data lines are transformed group by group; the Datum= key of the [IMG ID] header section is
// relabelled; everything else is copied.
class PolishMapLines {
  public:
    PolishMapLines(const DatumParams& params, const DatumLabelOptions& label, RefusalReason refusal)
        : transform_([params](double& latitude, double& longitude) {
              const GeodeticPoint target = TransformMapPoint(latitude, longitude, params);
              latitude = target.B;
              longitude = target.L;
              return true;
          }),
          label_(label),
          refusal_(std::move(refusal)) {}

    bool operator()(std::string_view line, std::string& out) {
        if (StartsWithIgnoringCase(line, "[IMG ID]")) {
            inHeader_ = true;
        } else if (StartsWithIgnoringCase(line, "[END")) {
            inHeader_ = false;
        } else if (inHeader_ && StartsWithIgnoringCase(line, kDatumKey)) {
            return DatumLine(line, out);
        }
        return common::ConvertMapLine(line, out, transform_);
    }

  private:
    bool DatumLine(std::string_view line, std::string& out) {
        return WriteDatumLabel(line, kDatumKey.size(), line.size(), label_, refusal_, out);
    }

    common::PointTransform transform_;
    DatumLabelOptions label_;
    RefusalReason refusal_;
    bool inHeader_ = false;
};

}  // namespace

common::LineFunction PolishMapDatumLines(const DatumParams& params, const DatumLabelOptions& label,
                                         RefusalReason refusal) {
    return PolishMapLines(params, label, std::move(refusal));
}

common::ConvertResult ConvertPolishMapDatum(const common::ConvertJob& job,
                                            const DatumParams& params,
                                            const DatumLabelOptions& label) {
    const auto refusal = std::make_shared<std::string>();
    return ConvertRefusableLines(job, PolishMapDatumLines(params, label, refusal), refusal);
}

}  // namespace datumer
