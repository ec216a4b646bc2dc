#pragma once
// Gridwise's five batch formats, each described once in one table.

#include <span>
#include <string>
#include <string_view>

#include "common/batch.hpp"
#include "common/converter.hpp"
#include "gridwise/geodesy/ellipsoid.hpp"
#include "gridwise/state.hpp"

namespace gridwise {

// `BatchFormat` numbers, 1-based as in the format list.
inline constexpr int kFormatPointList = 1;     // "TXT"
inline constexpr int kFormatNomenclature = 2;  // "TXT => ном."
inline constexpr int kFormatSk42ToSk63 = 3;    // "СК42 => СК63"
inline constexpr int kFormatSk63ToSk42 = 4;    // "СК63 => СК42"
inline constexpr int kFormatMapShift = 5;      // "MP - сдвиг"
inline constexpr int kBatchFormatCount = 5;

// Which options dialog the batch screen shows before a run; the command-line tool takes the same
// options as flags.
enum class FormatOptions {
    Precision,       // B, L and x, y, H decimals
    Nomenclature,    // the sheet scale
    Sk42ToSk63,      // the SK42 zone, the height change, x, y and H decimals
    PlanePrecision,  // x, y and H decimals (and the height change kept from Sk42ToSk63)
    MapShift,        // the shifts north and east
};

// One batch format, everything about it in one place: what the list, the open dialog and the
// help box show, its command-line name, its options dialog, when "Выбрать" is enabled, the
// summary line of its log, the ellipsoid of its run and its line converter.
struct GridwiseFormat {
    int Number;  // `BatchFormat`: the 1-based position in the format list
    common::BatchFormatInfo Info;
    FormatOptions Options;
    // Why the format cannot be used with the settings in force, or empty when it can.
    std::string_view (*Refusal)(const GridwiseState& state);
    std::string (*Summary)(const GridwiseState& state);
    // The run derives its ellipsoid constants from the SK42/SK95 system's ellipsoid rather
    // than from Work.Ell.
    bool Sk42Ellipsoid;
    // The line function with copies of the settings and option values in force.
    common::LineFunction (*Lines)(const GridwiseState& state, const TEllConst& ell);
    // How the format's files are cut into lines (maps: a lone CR ends a line as well).
    common::LineOptions (*Reading)();
};

// The formats in list order.
std::span<const GridwiseFormat> GridwiseFormats();
// The format of a list number or a command-line name; nullptr when there is none.
const GridwiseFormat* FindGridwiseFormat(int batchFormat);
const GridwiseFormat* FindGridwiseFormat(std::string_view cliName);

// Refusals: formats 3 and 4 without a user central meridian; format 3 in the direction
// x,y => B,L (no SK63 zone is chosen there); format 5 with a user central meridian; format 2 from
// plane coordinates (x,y => B,L) with a user central meridian or without zone numbers, since
// the sheet names would be those of an unknown zone.
inline bool SelectEnabled(const GridwiseFormat& format, const GridwiseState& state) {
    return format.Refusal(state).empty();
}

// The ellipsoid constants of a run (see Sk42Ellipsoid).
TEllConst RunEllipsoid(const GridwiseFormat& format, const GridwiseState& state);

// The format's line function for the state in force, for streaming without files.
common::LineFunction MakeLineFunction(const GridwiseFormat& format, const GridwiseState& state);
// The format's converter with copies of the settings and option values in force and the
// constants derived once.
common::FileConverter MakeConverter(const GridwiseFormat& format, const GridwiseState& state);

}  // namespace gridwise
