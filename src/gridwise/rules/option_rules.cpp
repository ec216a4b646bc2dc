#include "gridwise/rules/option_rules.hpp"

#include <cmath>
#include <iterator>

#include "common/one_based.hpp"
#include "common/text.hpp"

namespace gridwise {

namespace {

// Stores an accepted value; a refused text keeps the last one.
bool EditWithin(std::string_view text, double limit, double& target) {
    const std::optional<double> value = ParseWithin(text, limit);
    if (value) target = *value;
    return value.has_value();
}

bool EditShift(GridwiseState& state, int flag, std::string_view text, double& target) {
    const bool valid = EditWithin(text, kShiftLimit, target);
    state.ShiftValid[flag] = valid;
    return valid;
}

}  // namespace

bool AngleDecimalsInRange(int decimals) {
    return decimals >= kMinAngleDecimals && decimals <= kMaxAngleDecimals;
}

bool PlaneDecimalsInRange(int decimals) {
    return decimals >= kMinPlaneDecimals && decimals <= kMaxPlaneDecimals;
}

std::optional<double> ParseWithin(std::string_view text, double limit) {
    bool ok = true;
    const double value = common::ParseSignedReal(text, ok);
    if (!ok || !(std::fabs(value) <= limit)) return std::nullopt;
    return value;
}

void ConfirmPrecision(GridwiseState& state, const PrecisionOptions& options, bool withAngles) {
    if (withAngles) state.AngleDecimals = options.AngleDecimals;
    state.PlaneDecimals = options.PlaneDecimals;
    state.HeightDecimals = options.HeightDecimals;
    state.OptionsConfirmed = true;
}

void ConfirmNomenclature(GridwiseState& state, const NomenclatureOptions& options) {
    state.OptionsConfirmed = true;
    state.ListScale = common::ClampIndex(options.ListScale, std::size(kListScaleItems));
}

void ConfirmSurvey(GridwiseState& state, const SurveyOptions& options) {
    state.ZoneInOrdinate = options.ZoneInOrdinate;
    state.HeightChange = options.HeightChange;
    state.Sk42Zone = options.Sk42Zone;
    ConfirmPrecision(state, options.Decimals, false);
}

void ConfirmMapShift(GridwiseState& state, const MapShiftOptions& options) {
    state.ShiftNorth = options.ShiftNorth;
    state.ShiftEast = options.ShiftEast;
    state.OptionsConfirmed = true;
}

PrecisionOptions DecimalsOf(const GridwiseState& state) {
    return PrecisionOptions{state.AngleDecimals, state.PlaneDecimals, state.HeightDecimals};
}

SurveyOptions SurveyOptionsOf(const GridwiseState& state) {
    return SurveyOptions{state.ZoneInOrdinate, state.Sk42Zone, state.HeightChange,
                         DecimalsOf(state)};
}

std::uint8_t AngleDecimalsFromIndex(int index) {
    return static_cast<std::uint8_t>(10 - common::ClampIndex(index, std::size(kAngleDecimalItems)));
}

std::uint8_t PlaneDecimalsFromIndex(int index) {
    return static_cast<std::uint8_t>(4 - common::ClampIndex(index, std::size(kPlaneDecimalItems)));
}

void ShowPrecisionDialog(GridwiseState& state, bool withAngles) {
    const PrecisionOptions shown;
    if (withAngles) state.AngleDecimals = shown.AngleDecimals;
    state.PlaneDecimals = shown.PlaneDecimals;
    state.HeightDecimals = shown.HeightDecimals;
}

bool AngleListEnabled(const GridwiseState& state) {
    return !state.DirectionToPlane;
}
bool PlaneListEnabled(const GridwiseState& state) {
    return state.DirectionToPlane;
}

void ConfirmPrecision(GridwiseState& state, int angleIndex, int planeIndex, int heightIndex,
                      bool withAngles) {
    ConfirmPrecision(state,
                     {AngleDecimalsFromIndex(angleIndex), PlaneDecimalsFromIndex(planeIndex),
                      PlaneDecimalsFromIndex(heightIndex)},
                     withAngles);
}

void ConfirmNomenclature(GridwiseState& state, int scaleIndex) {
    ConfirmNomenclature(state, NomenclatureOptions{scaleIndex});
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
    return EditWithin(text, kHeightChangeLimit, state.HeightChange);
}

void ConfirmExtraParams(GridwiseState& state, int planeIndex, int heightIndex) {
    ConfirmPrecision(state, 0, planeIndex, heightIndex, false);
}

void CloseExtraParams(GridwiseState& state, int zoneIndex) {
    state.Sk42Zone = common::ClampIndex(zoneIndex, kSk42ZoneCount) + 1;
}

void ShowMapShiftDialog(GridwiseState& state) {
    const MapShiftOptions shown;
    state.ShiftNorth = shown.ShiftNorth;
    state.ShiftEast = shown.ShiftEast;
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
