#pragma once
// The three batch converters of Datumer: point lists, Polish-format maps and MapInfo MIF files,
// each transformed point by point from the source to the target datum with one copy of the
// operand of the selected preset. Each is a line function on the shared line loop; lines that
// carry no coordinates are copied byte for byte, except the header line that names the datum
// (see DatumLabelOptions). A map keeps no coordinate in the source datum: what the converter
// cannot place refuses the file with the line and the reason.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/converter.hpp"
#include "common/mpdata.hpp"
#include "datumer/geodesy/transform.hpp"
#include "datumer/state.hpp"

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
// a program reading the file would shift the points once more. So the label is rewritten to name
// the target system where the format has a name for it; where it has none, the label is kept
// and the file's log block warns of it (a label never refuses a file). A source label that names
// another system than the preset's source is warned of too. KeepSourceLabel copies the label.
struct DatumLabelOptions {
    bool KeepSourceLabel = false;
    std::string SourceSystem;  // the preset's short system names ("СК42", "WGS84", ...)
    std::string TargetSystem;
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
inline constexpr std::string_view kMifScaled = "координаты MIF-файла масштабированы (Transform)";

// What a map converter leaves beside its output: the warnings of a file it writes. (The reason
// it refuses a file for travels with the bad line, as every line function's does.)
struct MapNotes {
    std::vector<std::string> Warnings;
    void Warn(std::string warning);  // each text once
};
using MapNotesPtr = std::shared_ptr<MapNotes>;

// A converter's line function and the way its files are cut into lines.
struct FileLines {
    common::LineFunction Convert;
    common::LineOptions Read;
};

// The line function of a map converter object (its operator() converts a line, its LongLineHead
// the head of a line too long to hold), read as map files are.
template <class MapLines>
FileLines MapFileLines(std::shared_ptr<MapLines> lines) {
    FileLines result;
    result.Convert = [lines](std::string_view line, std::string& out) {
        return (*lines)(line, out);
    };
    result.Read = common::MapLineOptions();
    result.Read.LongLineHead = [lines](std::string_view head, std::string& out) {
        return lines->LongLineHead(head, out);
    };
    return result;
}

// Name,B2,L2,height[tail] for every "Name,B1,L1,H1[tail]" line; |B1| <= 90, |L1| <= 180.
common::LineFunction PointListDatumLines(const DatumParams& params, PointListOptions options);
common::ConvertResult ConvertPointListDatum(const common::ConvertJob& job,
                                            const DatumParams& params, PointListOptions options);

// Every group of every data line transformed with height 0 and written with 5 decimals.
FileLines PolishMapDatumLines(const DatumParams& params, const DatumLabelOptions& label,
                              MapNotesPtr notes = {});
common::ConvertResult ConvertPolishMapDatum(const common::ConvertJob& job,
                                            const DatumParams& params,
                                            const DatumLabelOptions& label);

// Every position of every object transformed with height 0 and written with 10 decimals in the
// order read; a file whose CoordSys is not geographic, or whose objects cannot all be placed,
// is refused.
FileLines MifDatumLines(const DatumParams& params, const MifOptions& options,
                        MapNotesPtr notes = {});
common::ConvertResult ConvertMifDatum(const common::ConvertJob& job, const DatumParams& params,
                                      const MifOptions& options);

// Adds the reason of a refused file to the message of its bad line (the window's log shows it
// too), and the warnings to a created file's result.
void AddNotes(common::ConvertResult& result, const MapNotes& notes);
// The shared line loop over a map file with line functions that leave their notes.
common::ConvertResult ConvertMapLines(const common::ConvertJob& job, const FileLines& lines,
                                      const MapNotesPtr& notes);

// The label a header gets in place of `label`, which may mean `systems`: `targetLabel`, or empty
// to keep the label as written. Warns when the label does not name the preset's source system,
// and when the target has no label in the format.
std::string RelabelDatum(std::string_view label, std::span<const std::string_view> systems,
                         std::string_view targetLabel, std::string_view format,
                         const DatumLabelOptions& options, MapNotes& notes);
// Warnings about the datum label of a header (`label` as the file writes it).
std::string SourceLabelWarning(std::string_view label, std::span<const std::string_view> systems,
                               std::string_view sourceSystem);
std::string KeptLabelWarning(std::string_view label, std::string_view targetSystem,
                             std::string_view format);

}  // namespace datumer
