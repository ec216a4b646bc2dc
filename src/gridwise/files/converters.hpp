#pragma once
// The four batch converters of Gridwise (five formats): point lists between B, L and x, y, sheet
// names of point lists, survey exports between SK42 and SK63, and the shift of Polish-format
// maps. Each is a line function on the shared line loop; the converters bind copies of the
// settings and option values they read, so a run is not affected by later changes of the state.

#include <cstdint>

#include "common/converter.hpp"
#include "common/cp1251.hpp"
#include "gridwise/geodesy/ellipsoid.hpp"
#include "gridwise/rules/option_rules.hpp"
#include "gridwise/state.hpp"

namespace gridwise {

// Format 1: B, L -> x, y or back, by the direction and series in force. The height is copied
// (with the chosen decimals), the tail after it is kept.
common::LineFunction PointListLines(const TWorkStructure& work, const TEllConst& ell,
                                    bool directionToPlane, int algorithm,
                                    PrecisionOptions decimals);

// Format 2: "name,sheet" lines at one scale (0 = 1:1 000 000 .. 6 = 1:10 000). The sheet name is
// written in `encoding`, and in UTF-8 when the first line starts with a UTF-8 byte-order mark, so
// that names and sheets of a line share one encoding. One function per file: it remembers the
// mark of the first line.
common::LineFunction NomenclatureListLines(
    const TWorkStructure& work, const TEllConst& ell, bool directionToPlane, int algorithm,
    int listScale, common::TextEncoding encoding = common::TextEncoding::Cp1251);

// Formats 3 and 4. `sk42System` is the SK42/SK95 system of the table; `work` holds the SK63
// settings; `ell` is derived from the SK42/SK95 ellipsoid.
common::LineFunction Sk42ToSk63Lines(const TWorkStructure& work, const TCHSK& sk42System,
                                     const TEllConst& ell, int algorithm,
                                     const SurveyOptions& options);
common::LineFunction Sk63ToSk42Lines(const TWorkStructure& work, const TCHSK& sk42System,
                                     const TEllConst& ell, int algorithm,
                                     const SurveyOptions& options);

// Format 5: every point of every data line moved ShiftNorth metres north and ShiftEast metres
// east on the ellipsoid `ell`; other lines are copied unchanged.
common::LineFunction MapShiftLines(double shiftNorth, double shiftEast, const TEllConst& ell);

}  // namespace gridwise
