#pragma once
// The rules of the set-up screen that need no widget: the eleven parameter fields of the
// selected preset, editing the user preset, and the "Далее" range checks.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "datumer/state.hpp"

namespace datumer {

// The eleven parameter fields, numbered as on the screen: DX, DY, DZ, WX, WY, WZ, M, then A and
// 1/F of the source ellipsoid, then A and 1/F of the target ellipsoid.
inline constexpr int kSetupFieldCount = 11;
inline constexpr std::array<std::string_view, kSetupFieldCount> kSetupFieldLabels{
    "DX :", "DY :",    "DZ :",       "WX :",    "WY :",      "WZ :",
    "M :",  "A (м) :", "1/F :   1/", "A (м) :", "1/F :   1/"};

// What a change of a field's text did.
enum class FieldEdit {
    Ignored,   // the field is not editable now (a fixed preset is selected); nothing changed
    Accepted,  // parsed and stored; the field's flag is set
    Rejected,  // did not parse; the flag is cleared and the stored value kept
};

// The values that fields 1..11 show for preset i.
std::array<double, kSetupFieldCount> SetupFieldValues(const DatumerState& state, int preset);

// The shortest general decimal text of a field value (up to 15 significant digits, no exponent
// for these magnitudes) with the given decimal separator.
std::string SetupFieldText(double value, char separator);

// A change of field 1..11 while preset 13 is selected: the text is parsed as a signed real and,
// when it parses, stored into preset 13 or ellipsoid 4 or 5. Updates SetupInputValid.
FieldEdit EditUserPresetField(DatumerState& state, int field, std::string_view text);

// The range checks of "Далее" for the selected preset, in table order; the first failing
// message, or nothing when all pass. Bounds are inclusive.
std::optional<std::string_view> ValidatePreset(const DatumerState& state);
// The same checks on explicit values.
std::optional<std::string_view> ValidatePresetValues(const TCHSK& preset, const TELL& source,
                                                     const TELL& target);

}  // namespace datumer
