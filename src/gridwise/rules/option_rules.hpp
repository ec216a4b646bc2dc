#pragma once
// The options of the batch formats as plain records with the defaults their dialogs show and the
// ranges they accept, what confirming them writes, and the rules of the five option dialogs of
// the batch screen without their widgets: the values each dialog puts back when shown, what each
// field accepts, and what OK and closing write. The command-line tool fills the records directly.

#include <cstdint>
#include <optional>
#include <string_view>

#include "gridwise/state.hpp"

namespace gridwise {

// Ranges of the option values.
inline constexpr int kMinAngleDecimals = 7, kMaxAngleDecimals = 10;
inline constexpr int kMinPlaneDecimals = 2, kMaxPlaneDecimals = 4;  // x, y and H
inline constexpr double kHeightChangeLimit = 100.0;                 // metres either way
inline constexpr double kShiftLimit = 1000.0;                       // metres either way
inline constexpr int kSk42ZoneCount = 60;

// Output precision (formats 1 and 4; the SK42 => SK63 dialog has the x, y and H lists too).
struct PrecisionOptions {
    std::uint8_t AngleDecimals = 10;
    std::uint8_t PlaneDecimals = 3;
    std::uint8_t HeightDecimals = 3;
};
// Sheet names (format 2): the scale, an index of kListScaleItems (1 : 25 000).
struct NomenclatureOptions {
    int ListScale = 5;
};
// SK42 => SK63 (format 3); HeightChange also for format 4, which keeps the last one confirmed.
struct SurveyOptions {
    bool ZoneInOrdinate = false;  // SK42 ordinates carry their zone ("Указать зону вручную" clear)
    std::int32_t Sk42Zone = 1;  // the SK42 zone given by hand, 1..kSk42ZoneCount
    double HeightChange = 0.0;  // metres added to every height; the height box unchecked: 0
    PrecisionOptions Decimals;  // x, y and H only
};
// Map shift (format 5), metres.
struct MapShiftOptions {
    double ShiftNorth = 0.0;
    double ShiftEast = 0.0;
};

bool AngleDecimalsInRange(int decimals);
bool PlaneDecimalsInRange(int decimals);  // also for H
// A signed number within ±limit, as the height and shift edits accept it; nothing otherwise.
std::optional<double> ParseWithin(std::string_view text, double limit);

// What confirming writes into the state; OptionsConfirmed := true.
void ConfirmPrecision(GridwiseState& state, const PrecisionOptions& options, bool withAngles);
void ConfirmNomenclature(GridwiseState& state, const NomenclatureOptions& options);
void ConfirmSurvey(GridwiseState& state, const SurveyOptions& options);
void ConfirmMapShift(GridwiseState& state, const MapShiftOptions& options);
// The option values in force as records, as the converters take them.
PrecisionOptions DecimalsOf(const GridwiseState& state);
SurveyOptions SurveyOptionsOf(const GridwiseState& state);

// Items of the precision lists; the position gives the decimals (10 - index for B, L and
// 4 - index for x, y and H).
inline constexpr std::string_view kAngleDecimalItems[] = {"10", "9", "8", "7"};
inline constexpr std::string_view kPlaneDecimalItems[] = {"4", "3", "2"};
std::uint8_t AngleDecimalsFromIndex(int index);
std::uint8_t PlaneDecimalsFromIndex(int index);  // also for the H list
// Index of the list entry "3" that the dialogs select when shown, and of "10".
inline constexpr int kDefaultPlaneDecimalIndex = 1;
inline constexpr int kDefaultAngleDecimalIndex = 0;

// Output precision with three lists (angles too) or two lists: shown puts AngleDecimals 10 (three
// lists only) and PlaneDecimals, HeightDecimals 3; OK writes the chosen lists and confirms.
void ShowPrecisionDialog(GridwiseState& state, bool withAngles);
// In the three-list dialog only the list of the output the direction writes is enabled.
bool AngleListEnabled(const GridwiseState& state);
bool PlaneListEnabled(const GridwiseState& state);
void ConfirmPrecision(GridwiseState& state, int angleIndex, int planeIndex, int heightIndex,
                      bool withAngles);

// Nomenclature output: the scale list shows "1 : 25 000" when shown; OK writes ListScale.
inline constexpr std::string_view kListScaleItems[] = {
    "1 : 1 000 000", "1 : 500 000", "1 : 200 000", "1 : 100 000",
    "1 : 50 000",    "1 : 25 000",  "1 : 10 000"};
inline constexpr int kDefaultListScaleIndex = NomenclatureOptions{}.ListScale;
void ConfirmNomenclature(GridwiseState& state, int scaleIndex);

// Additional parameters (SK42 => SK63).
void ShowExtraParamsDialog(GridwiseState& state);  // PlaneDecimals, HeightDecimals 3
// "Указать зону вручную" changed: ZoneInOrdinate := not checked. The zone list is enabled
// exactly when checked.
void ClickManualZone(GridwiseState& state, bool checked);
// "Изменить высоту на величину :" changed: HeightChange := 0 (the edit shows "0").
void ClickHeightChange(GridwiseState& state, bool checked);
// The height edit, only while its box is checked: a number with |value| <= 100 is stored and
// enables OK (returns true); anything else returns false and keeps HeightChange.
bool EditHeightChange(GridwiseState& state, std::string_view text);
void ConfirmExtraParams(GridwiseState& state, int planeIndex, int heightIndex);
// Closed in any way (after OK too): Sk42Zone := zone index + 1.
void CloseExtraParams(GridwiseState& state, int zoneIndex);

// Map shift: shown resets both shifts to 0 and ShiftValid to all true.
void ShowMapShiftDialog(GridwiseState& state);
inline constexpr int kShiftNorthFlag = 1;
inline constexpr int kShiftEastFlag = 2;
// A number with |value| <= 1000 is stored and sets the flag; anything else clears it.
bool EditShiftNorth(GridwiseState& state, std::string_view text);
bool EditShiftEast(GridwiseState& state, std::string_view text);
bool ShiftInputsValid(const GridwiseState& state);  // OK is enabled exactly then
void ConfirmMapShift(GridwiseState& state);

}  // namespace gridwise
