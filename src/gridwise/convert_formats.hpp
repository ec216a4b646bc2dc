#pragma once
// Gridwise's five batch formats: what the format list, the open dialog and the help box show,
// when "Выбрать" is enabled, the summary line of the log, and the converter a run calls with
// the settings and option values in force.

#include <string>
#include <string_view>

#include "common/batch.hpp"
#include "common/pointfile.hpp"
#include "gridwise/ellipsoid.hpp"
#include "gridwise/state.hpp"

namespace gridwise {

// `BatchFormat` numbers, 1-based as in the format list.
inline constexpr int kFormatPointList = 1;     // "TXT"
inline constexpr int kFormatNomenclature = 2;  // "TXT => ном."
inline constexpr int kFormatSk42ToSk63 = 3;    // "СК42 => СК63"
inline constexpr int kFormatSk63ToSk42 = 4;    // "СК63 => СК42"
inline constexpr int kFormatMapShift = 5;      // "MP - сдвиг"
inline constexpr int kBatchFormatCount = 5;

// List item, filter and help of a format; a number outside 1..5 falls to the nearest end.
const common::BatchFormatInfo& GridwiseBatchFormat(int batchFormat);

// Why the format cannot be used with the settings in force, or empty when "Выбрать" is enabled.
// Refused: formats 3 and 4 without a user central meridian; format 3 in the direction
// x,y => B,L (no SK63 zone is chosen there); format 5 with a user central meridian; format 2 from
// plane coordinates (x,y => B,L) with a user central meridian or without zone numbers, since
// the sheet names would be those of an unknown zone.
std::string_view SelectRefusal(int batchFormat, const GridwiseState& state);
inline bool SelectEnabled(int batchFormat, const GridwiseState& state) {
    return SelectRefusal(batchFormat, state).empty();
}

// The line under the banner of the summary.
std::string SummaryLine(int batchFormat, const GridwiseState& state);

// The ellipsoid constants of a run: of Work.Ell for formats 1, 2 and 5, of the SK42/SK95
// system's ellipsoid for formats 3 and 4.
TEllConst RunEllipsoid(int batchFormat, const GridwiseState& state);

// The format's converter with copies of the settings and option values in force and the
// constants derived once.
common::FileConverter MakeConverter(int batchFormat, const GridwiseState& state);
// The format's line function, for streaming without files.
common::LineFunction MakeLineFunction(int batchFormat, const GridwiseState& state);
// How the format's files are cut into lines (maps: a lone CR ends a line as well).
common::LineOptions LineOptionsOf(int batchFormat);

}  // namespace gridwise
