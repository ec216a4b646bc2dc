#include "gridwise/option_rules.hpp"

#include <cmath>
#include <iterator>

#include "common/one_based.hpp"
#include "common/text.hpp"

namespace gridwise {

namespace {

constexpr double kHeightChangeLimit = 100.0;
constexpr double kShiftLimit = 1000.0;

// A signed number within ±limit, as the height and shift edits accept it.
bool ParseWithin(std::string_view text, double limit, double& target) {
    bool ok = true;
    const double value = common::ParseSignedReal(text, ok);
    if (!ok || !(std::fabs(value) <= limit)) return false;
    target = value;
    return true;
}

bool EditShift(GridwiseState& state, int flag, std::string_view text, double& target) {
    const bool valid = ParseWithin(text, kShiftLimit, target);
    state.ShiftValid[flag] = valid;
    return valid;
}

}  // namespace

std::uint8_t AngleDecimalsFromIndex(int index) {
    return static_cast<std::uint8_t>(10 - common::ClampIndex(index, std::size(kAngleDecimalItems)));
}

std::uint8_t PlaneDecimalsFromIndex(int index) {
    return static_cast<std::uint8_t>(4 - common::ClampIndex(index, std::size(kPlaneDecimalItems)));
}

void ShowPrecisionDialog(GridwiseState& state, bool withAngles) {
    if (withAngles) state.AngleDecimals = AngleDecimalsFromIndex(kDefaultAngleDecimalIndex);
    state.PlaneDecimals = PlaneDecimalsFromIndex(kDefaultPlaneDecimalIndex);
    state.HeightDecimals = PlaneDecimalsFromIndex(kDefaultPlaneDecimalIndex);
}

bool AngleListEnabled(const GridwiseState& state) {
    return !state.DirectionToPlane;
}
bool PlaneListEnabled(const GridwiseState& state) {
    return state.DirectionToPlane;
}

void ConfirmPrecision(GridwiseState& state, int angleIndex, int planeIndex, int heightIndex,
                      bool withAngles) {
    if (withAngles) state.AngleDecimals = AngleDecimalsFromIndex(angleIndex);
    state.PlaneDecimals = PlaneDecimalsFromIndex(planeIndex);
    state.HeightDecimals = PlaneDecimalsFromIndex(heightIndex);
    state.OptionsConfirmed = true;
}

void ConfirmNomenclature(GridwiseState& state, int scaleIndex) {
    state.OptionsConfirmed = true;
    state.ListScale = common::ClampIndex(scaleIndex, std::size(kListScaleItems));
}

void ShowExtraParamsDialog(GridwiseState& state) {
    ShowPrecisionDialog(state, false);
}

void ClickManualZone(GridwiseState& state, bool checked) {
    state.ZoneInOrdinate = !checked;
}

void ClickHeightChange(GridwiseState& state, bool /*checked*/) {
    state.HeightChange = 0.0;
}

bool EditHeightChange(GridwiseState& state, std::string_view text) {
    return ParseWithin(text, kHeightChangeLimit, state.HeightChange);
}

void ConfirmExtraParams(GridwiseState& state, int planeIndex, int heightIndex) {
    ConfirmPrecision(state, 0, planeIndex, heightIndex, false);
}

void CloseExtraParams(GridwiseState& state, int zoneIndex) {
    state.Sk42Zone = common::ClampIndex(zoneIndex, kSk42ZoneCount) + 1;
}

void ShowMapShiftDialog(GridwiseState& state) {
    state.ShiftNorth = 0.0;
    state.ShiftEast = 0.0;
    state.ShiftValid = state.DefaultValid;
}

bool EditShiftNorth(GridwiseState& state, std::string_view text) {
    return EditShift(state, kShiftNorthFlag, text, state.ShiftNorth);
}

bool EditShiftEast(GridwiseState& state, std::string_view text) {
    return EditShift(state, kShiftEastFlag, text, state.ShiftEast);
}

bool ShiftInputsValid(const GridwiseState& state) {
    return common::AllInputsValid(state.ShiftValid.items);
}

void ConfirmMapShift(GridwiseState& state) {
    state.OptionsConfirmed = true;
}

}  // namespace gridwise
