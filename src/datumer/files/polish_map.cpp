#include "common/mpdata.hpp"
#include "common/text.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/datum_labels.hpp"
#include "datumer/geodesy/transform_files.hpp"

namespace datumer {

namespace {

constexpr std::string_view kFormatName = "MP";

// Length of "Datum", blanks, "=" and blanks at the start of a line; 0 for another line.
std::size_t DatumKeyLength(std::string_view line) {
    if (!common::StartsWithIgnoringCase(line, "datum")) return 0;
    std::size_t position = line.find_first_not_of(" \t", 5);
    if (position == std::string_view::npos || line[position] != '=') return 0;
    position = line.find_first_not_of(" \t", position + 1);
    return position == std::string_view::npos ? line.size() : position;
}

std::string_view TrimRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// Data lines are transformed group by group; the Datum= key of the [IMG ID] header section is
// relabelled; everything else is copied.
class PolishMapLines {
  public:
    PolishMapLines(const DatumParams& params, const DatumLabelOptions& label, MapNotesPtr notes)
        : transform_(
              [transform = FileDatumTransform(params, {common::kMapCoordinateDecimals, 0, false})](
                  double& latitude, double& longitude) {
                  const GeodeticPoint target = transform({latitude, longitude, 0.0});
                  latitude = target.B;
                  longitude = target.L;
                  return true;
              }),
          label_(label),
          targetLabel_(PolishDatumLabel(label.TargetSystem)),
          notes_(std::move(notes)) {}

    bool operator()(std::string_view line, std::string& out) {
        const std::string_view text = common::TakeByteOrderMark(line, out);
        if (common::StartsWithIgnoringCase(text, "[IMG ID]")) {
            inHeader_ = true;
            sawDatum_ = false;
        } else if (inHeader_ && common::StartsWithIgnoringCase(text, "[END")) {
            inHeader_ = false;
            if (!sawDatum_) WarnOfMissingLabel();
        } else if (inHeader_ && DatumKeyLength(text) != 0) {
            return DatumLine(text, out);
        }
        return common::ConvertMapLine(text, out, transform_);
    }

    // A line too long to hold is copied when it carries neither points nor the label.
    bool LongLineHead(std::string_view head, std::string& out) {
        std::string mark;
        const std::string_view text = common::TakeByteOrderMark(head, mark);
        if (common::IsDataLine(text) || (inHeader_ && DatumKeyLength(text) != 0)) return false;
        return (*this)(head, out);
    }

  private:
    bool DatumLine(std::string_view line, std::string& out) {
        sawDatum_ = true;
        const std::size_t key = DatumKeyLength(line);
        const std::string_view value = TrimRight(line.substr(key));
        const std::string written = RelabelDatum(value, SystemsOfPolishDatum(value), targetLabel_,
                                                 kFormatName, label_, *notes_);
        if (written.empty()) {
            out += line;
        } else {
            out += line.substr(0, key);
            out += written;
        }
        return true;
    }

    // Without Datum= a map is read as WGS84 ("W84" is the format's default).
    void WarnOfMissingLabel() {
        if (label_.KeepSourceLabel || targetLabel_ == PolishDatumLabel("WGS84")) return;
        notes_->Warn("Для целевой системы (" + label_.TargetSystem +
                     ") нет метки датума формата MP, а заголовок без метки Datum= читается как "
                     "WGS84 и не соответствует координатам.");
    }

    common::PointTransform transform_;
    DatumLabelOptions label_;
    std::string targetLabel_;
    MapNotesPtr notes_;
    bool inHeader_ = false;
    bool sawDatum_ = false;
};

}  // namespace

FileLines PolishMapDatumLines(const DatumParams& params, const DatumLabelOptions& label,
                              MapNotesPtr notes) {
    if (!notes) notes = std::make_shared<MapNotes>();
    return MapFileLines(std::make_shared<PolishMapLines>(params, label, std::move(notes)));
}

common::ConvertResult ConvertPolishMapDatum(const common::ConvertJob& job,
                                            const DatumParams& params,
                                            const DatumLabelOptions& label) {
    const auto notes = std::make_shared<MapNotes>();
    return ConvertMapLines(job, PolishMapDatumLines(params, label, notes), notes);
}

}  // namespace datumer
