#pragma once
// The rules of the five option dialogs of the batch screen without their widgets: the values
// each dialog puts back when shown, what each field accepts, and what OK and closing write.

#include <string_view>

#include "gridwise/state.hpp"

namespace gridwise {

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
inline constexpr int kDefaultListScaleIndex = 5;
void ConfirmNomenclature(GridwiseState& state, int scaleIndex);

// Additional parameters (SK42 => SK63).
inline constexpr int kSk42ZoneCount = 60;
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
