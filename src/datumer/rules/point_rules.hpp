#pragma once
// The rules of the point screen and its extra dialog that need no widget: parsing the seven input
// fields, the "ПЕРЕСЧЁТ" range checks, the computation of the result, and the texts the result
// fields and the extra dialog show.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.hpp"
#include "datumer/rules/setup_rules.hpp"
#include "datumer/state.hpp"

namespace datumer {

// Index of the source and target format lists.
using common::AngleFormat;

inline constexpr int kPointFieldCount = 7;  // edits 1..7: B deg, min, sec; L deg, min, sec; H

// Row labels of the extra dialog, in the order of TNom and GeocentricShift.
inline constexpr std::array<std::string_view, 4> kSheetRowLabels{
    "1:1 000 000  :", "1:500 000     :", "1:200 000     :", "1:10 000       :"};
inline constexpr std::array<std::string_view, 3> kShiftRowLabels{
    "dX (м)           :", "dY (м)           :", "dZ (м)           :"};

// Showing the point screen: builds Params from the selected preset and resets the point.
void EnterPointScreen(DatumerState& state);

// Every field of Point to 0, all eleven PointInputValid flags true.
void ResetPointState(DatumerState& state);

// A change of edit 1..7 in the given source format: parsed, stored into Point and its flag set,
// or rejected with the flag cleared and the last accepted value kept. In decimal format the
// minute and second edits are not parsed: they count as valid with value 0.
FieldEdit EditPointField(DatumerState& state, int field, AngleFormat format, std::string_view text);

// The range checks of "ПЕРЕСЧЁТ" in table order; the first failing message, or nothing.
std::optional<std::string_view> ValidatePoint(const PointState& point);

// "ПЕРЕСЧЁТ": checks the point; when it passes, forms B1 and L1 (from the parts in d/m/s format,
// negated for the southern or western hemisphere), transforms with Params and fills B2, L2, H2 and
// their splits, SourceNom, TargetNom and PointShift. Returns the failing message, or nothing.
std::optional<std::string_view> ComputePoint(DatumerState& state, AngleFormat format, bool southern,
                                             bool western);

// What the result fields show for a target format.
struct ResultTexts {
    std::string LatitudeHemisphere;    // "с.ш." or "ю.ш."
    std::string LongitudeHemisphere;   // "в.д" or "з.д"
    std::array<std::string, 7> Edits;  // edits 8..14: B deg/min/sec, L deg/min/sec, H
};
ResultTexts ShowResultTexts(const PointState& point, AngleFormat format, char separator);

// dX, dY, dZ as the extra dialog shows them (4 decimals, rounded).
std::array<std::string, 3> ShiftTexts(const GeocentricShift& shift, char separator);

// The sheet names Datumer shows for a point, with Datumer's polar messages.
common::TNom DatumerSheetNames(const GeodeticPoint& point);

}  // namespace datumer
