#pragma once
// The three batch converters of Datumer: point lists, Polish-format maps and MapInfo MIF files,
// each transformed point by point from the source to the target datum with one copy of the
// operand of the selected preset. Each is a line function on the shared line loop; lines that
// carry no coordinates are copied byte for byte, except the header line that names the datum
// (see DatumLabelOptions).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/pointfile.hpp"
#include "datumer/state.hpp"
#include "datumer/transform.hpp"

namespace datumer {

// Options of the point-list converter, as the height and precision dialog sets them.
struct PointListOptions {
    std::uint8_t HeightMode = kNormalHeights;  // kNormalHeights: H1 written; else H2
    std::uint8_t AnglePrecision = 10;          // decimals of B2, L2: 7..10
    std::uint8_t HeightPrecision = 3;          // decimals of the height: 2..4
};
PointListOptions PointListOptionsOf(const DatumerState& state);

// The header of a map names the datum of its coordinates (MP "Datum=", MIF "CoordSys Earth
// Projection 1, <datum>"). Copied unchanged it would label the output with the source datum, and
// a program reading the file would shift the points once more. By default the label is rewritten
// to the target datum; when the format has no name the program knows for the target, the file is
// refused rather than written with a false label. KeepSourceLabel copies the label unchanged.
struct DatumLabelOptions {
    bool KeepSourceLabel = false;
    std::string TargetLabel;  // the target datum in the format's own words; empty when unknown
};

// The order of the two numbers of a MIF coordinate pair. MapInfo writes x y, longitude first.
enum class MifPairOrder { LonLat, LatLon };

struct MifOptions {
    MifPairOrder Order = MifPairOrder::LonLat;
    DatumLabelOptions Label;
};

// Reasons, beyond a malformed line, for which a converter refuses a file. The message of the
// file is then "Ошибка в строке N: " followed by the reason.
inline constexpr std::string_view kMifNotGeographic =
    "координаты MIF-файла не географические (CoordSys)";
inline constexpr std::string_view kTargetDatumUnnamed =
    "датум целевой системы не может быть записан в заголовок файла";

// Where a line function leaves the reason for a refused file (empty for a malformed line).
using RefusalReason = std::shared_ptr<std::string>;

// Name,B2,L2,height[tail] for every "Name,B1,L1,H1[tail]" line; |B1| <= 90, |L1| <= 180.
common::LineFunction PointListDatumLines(const DatumParams& params, PointListOptions options);
common::ConvertResult ConvertPointListDatum(const common::ConvertJob& job,
                                            const DatumParams& params, PointListOptions options);

// Every group of every data line transformed with height 0 and written with 5 decimals.
common::LineFunction PolishMapDatumLines(const DatumParams& params, const DatumLabelOptions& label,
                                         RefusalReason refusal = {});
common::ConvertResult ConvertPolishMapDatum(const common::ConvertJob& job,
                                            const DatumParams& params,
                                            const DatumLabelOptions& label);

// The pairs of regions, polylines, points and text boxes transformed with height 0 and written
// with 10 decimals in the order read; a file whose CoordSys is not geographic is refused.
common::LineFunction MifDatumLines(const DatumParams& params, const MifOptions& options,
                                   RefusalReason refusal = {});
common::ConvertResult ConvertMifDatum(const common::ConvertJob& job, const DatumParams& params,
                                      const MifOptions& options);

// Adds the reason of a refused file to the message of its bad line.
void AddRefusalReason(common::ConvertResult& result, const RefusalReason& refusal);
// The shared line loop over a file with a line function that leaves its reason in `refusal`.
common::ConvertResult ConvertRefusableLines(const common::ConvertJob& job,
                                            const common::LineFunction& lines,
                                            const RefusalReason& refusal);

// Writes a header line whose characters [begin, end) name the datum: kept, replaced by the
// target's name, or refused (false, with the reason) when the format has no name for the target.
bool WriteDatumLabel(std::string_view line, std::size_t begin, std::size_t end,
                     const DatumLabelOptions& label, const RefusalReason& refusal,
                     std::string& out);

// A map point (no height in the format) transformed with source height 0.
GeodeticPoint TransformMapPoint(double latitude, double longitude, const DatumParams& params);

// True when `text` begins with `head`, ASCII letters compared without case (header keys).
bool StartsWithIgnoringCase(std::string_view text, std::string_view head);

// A number as the converters write it: "." as separator, the last decimal rounded half up.
std::string FileNumber(double value, std::uint8_t decimals);

}  // namespace datumer
