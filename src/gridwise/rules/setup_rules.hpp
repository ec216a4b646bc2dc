#pragma once
// The rules of the set-up screen without its widgets: which systems are offered, what applying
// a system writes into Work, what each choice does, what each edited field parses into, and the
// checks of "Далее" with their messages. The window turns these results into control states;
// the command-line tool calls the same functions with the values of its flags.

#include <string>
#include <string_view>
#include <vector>

#include "gridwise/state.hpp"

namespace gridwise {

// The caption of the system list entry of system `number`: Name + " - " + ZoneKind.
std::string SystemListEntry(const GridwiseState& state, int number);

// Numbers the systems offered for the projection (UTM: only those with UtmAllowed) 1, 2, ...
// in ListPosition, 0 for the others, and returns their entries in list order.
std::vector<std::string> FillSystemList(GridwiseState& state, bool utm);

// The system number listed at 1-based `position`, or 0 when none is.
int SystemAtListPosition(const GridwiseState& state, int position);

// Applies system `number` for the current direction: Work from DefaultWork keeping Utm and
// UserMeridian, SetupValid all true, false origin and ellipsoid of the system, and Sk63Zone 1
// when the system lets the user choose the SK63 zone in the direction B,L -> x,y.
void ApplySystem(GridwiseState& state, int number);

// The window created and shown: the system list filled for Gauss-Krueger, the current system
// applied, the classic series chosen. Returns the system list entries.
std::vector<std::string> OpenSetupScreen(GridwiseState& state);

// How the set-up screen shows its controls for the current state.
struct SetupControls {
    std::string zoneCheckCaption;  // by direction
    bool zoneCheckEnabled = true;
    bool sk63ZoneListEnabled = false;  // items "1".."20" when enabled, "-" otherwise
    bool zoneChoiceEnabled = false;    // three zone items when enabled, only the current zone
    bool falseOriginEditable = false;
    bool ellipsoidEditable = false;
    bool meridianEditable = false;
    std::string ellipsoidName;  // the table name of the system's ellipsoid
};
SetupControls DescribeSetupControls(const GridwiseState& state);

// Items of the zone list, the algorithm list, the direction list and the projection list.
inline constexpr std::string_view kZoneItems[] = {
    "Расчёт для текущей зоны", "Расчёт для левой зоны", "Расчёт для правой зоны"};
inline constexpr std::string_view kAlgorithmItems[] = {"Алгоритм: 3-членный ряд",
                                                       "Алгоритм: 4-членный ряд"};
inline constexpr std::string_view kDirectionItems[] = {
    "Геодезические координаты (B, L) - в плоские прямоугольные (x, y)",
    "Плоские прямоугольные координаты (x, y) - в геодезические (B, L)"};
inline constexpr std::string_view kProjectionItems[] = {
    "Гаусса-Крюгера:  k=1, нумерация зон (кроме СК63) от 0°",
    "UTM:  k=0.9996, нумерация зон от 180°"};
inline constexpr std::string_view kAddZoneNumberCaption = "Добавлять номер зоны к ординате";
inline constexpr std::string_view kAddMeridianCaption = "Добавлять долготу центр. меридиана";
// The editable false easting list.
inline constexpr double kFalseEastingItems[] = {250000, 300000, 350000, 400000, 450000, 500000};
// Index in kFalseEastingItems of the item equal to `value`, or -1 (the screen then adds the
// value as a seventh item).
int FalseEastingItemIndex(double value);
inline constexpr int kSk63ZoneCount = 20;

// The choices of the screen. Each writes the state exactly as the screen's event does.
void ChooseDirection(GridwiseState& state, bool toPlane);
// Returns true when UTM forced system 1 and the direction B,L -> x,y (the screen then selects
// the first system and the first direction). The system list is refilled in both cases.
bool ChooseProjection(GridwiseState& state, bool utm);
// `position` is the 1-based position in the system list; a position that lists nothing is
// ignored.
void ChooseSystem(GridwiseState& state, int position);
void ChooseZoneItem(GridwiseState& state, int index);      // 0 own, 1 left, 2 right
void ChooseAlgorithm(GridwiseState& state, int index);     // 0 classic, 1 Krueger
void ChooseSk63ZoneItem(GridwiseState& state, int index);  // 0..19 -> zone 1..20
// Returns whether the SK63 zone list is now enabled (then with zone 1 selected).
bool ClickZoneCheckBox(GridwiseState& state, bool checked);
// "Всё заново": direction B,L -> x,y, Gauss-Krueger, system 1, classic series.
void StartAgain(GridwiseState& state);

// Field numbers of SetupValid.
inline constexpr int kFalseEastingFlag = 1;
inline constexpr int kFalseNorthingFlag = 2;
inline constexpr int kSemiMajorAxisFlag = 3;
inline constexpr int kInvFlatteningFlag = 4;
inline constexpr int kMeridianDegreesFlag = 5;
inline constexpr int kMeridianMinutesFlag = 6;

// The text events of the six fields. Each acts only when the current system lets the field be
// edited; a text that parses is stored and sets the flag, one that does not clears it and
// leaves the stored value. Returns the flag (true when the field is not editable).
bool EditFalseEasting(GridwiseState& state, std::string_view text);
bool EditFalseNorthing(GridwiseState& state, std::string_view text);
bool EditSemiMajorAxis(GridwiseState& state, std::string_view text);
bool EditInvFlattening(GridwiseState& state, std::string_view text);
bool EditMeridianDegrees(GridwiseState& state, std::string_view text);
bool EditMeridianMinutes(GridwiseState& state, std::string_view text);
// "Далее" is enabled exactly when this holds.
bool SetupInputsValid(const GridwiseState& state);

// "Далее": sets the central meridian from MeridianDM when the system has MeridianEditable
// (negated for the western hemisphere), then runs the checks in order. Returns the text of
// the first failing check, or an empty text when all pass.
std::string ProceedFromSetup(GridwiseState& state, bool westernMeridian);

// The caption of the range message box of both screens.
inline constexpr std::string_view kRangeMessageCaption = "Некорректные данные";

}  // namespace gridwise
