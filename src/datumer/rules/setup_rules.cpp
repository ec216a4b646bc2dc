#include "datumer/rules/setup_rules.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/text.hpp"

namespace datumer {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kMaxDecimals = 40;

// The stored value that field 1..11 edits: preset 13 for fields 1..7, ellipsoids 4 and 5 after.
double* UserFieldTarget(DatumerState& state, int field) {
    TCHSK& user = PresetAt(state, kUserPreset);
    TELL& source = EllipsoidAt(state, kUserSourceEllipsoid);
    TELL& target = EllipsoidAt(state, kUserTargetEllipsoid);
    std::array<double*, kSetupFieldCount> targets{&user.DX,
                                                  &user.DY,
                                                  &user.DZ,
                                                  &user.WX,
                                                  &user.WY,
                                                  &user.WZ,
                                                  &user.M,
                                                  &source.A,
                                                  &source.InvFlattening,
                                                  &target.A,
                                                  &target.InvFlattening};
    return targets[static_cast<std::size_t>(field - 1)];
}

bool OutsideMagnitude(double value, double limit) {
    return std::fabs(value) > limit;
}
bool OutsideRange(double value, double low, double high) {
    return value < low || value > high;
}

}  // namespace

std::array<double, kSetupFieldCount> SetupFieldValues(const DatumerState& state, int preset) {
    const TCHSK& p = PresetAt(state, preset);
    const TELL& source = EllipsoidAt(state, p.SourceEll);
    const TELL& target = EllipsoidAt(state, p.TargetEll);
    return {p.DX,
            p.DY,
            p.DZ,
            p.WX,
            p.WY,
            p.WZ,
            p.M,
            source.A,
            source.InvFlattening,
            target.A,
            target.InvFlattening};
}

std::string SetupFieldText(double value, char separator) {
    if (value == 0 || !std::isfinite(value)) return "0";
    // Fixed notation with 15 significant digits, trailing zeros dropped: the text must parse back
    // into the field it is shown in, which an exponent would not.
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(kSignificantDigits - 1 - magnitude, 0, kMaxDecimals);
    char buffer[96];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    std::replace(text.begin(), text.end(), '.', separator);
    return text == "-0" ? "0" : text;
}

FieldEdit EditUserPresetField(DatumerState& state, int field, std::string_view text) {
    if (state.SelectedPreset != kUserPreset || field < 1 || field > kSetupFieldCount) {
        return FieldEdit::Ignored;
    }
    bool ok = true;
    const double value = common::ParseSignedReal(text, ok);
    state.SetupInputValid[static_cast<std::size_t>(field - 1)] = ok;
    if (!ok) return FieldEdit::Rejected;
    *UserFieldTarget(state, field) = value;
    return FieldEdit::Accepted;
}

std::optional<std::string_view> ValidatePresetValues(const TCHSK& p, const TELL& source,
                                                     const TELL& target) {
    if (OutsideMagnitude(p.DX, 10000)) return "Значение DX должно быть в пределах -10000...10000 м";
    if (OutsideMagnitude(p.DY, 10000)) return "Значение DY должно быть в пределах -10000...10000 м";
    if (OutsideMagnitude(p.DZ, 10000)) return "Значение DZ должно быть в пределах -10000...10000 м";
    if (OutsideMagnitude(p.WX, 10)) return "Значение WX должно быть в пределах -10...10 секунд";
    if (OutsideMagnitude(p.WY, 10)) return "Значение WY должно быть в пределах -10...10 секунд";
    if (OutsideMagnitude(p.WZ, 10)) return "Значение WZ должно быть в пределах -10...10 секунд";
    if (OutsideMagnitude(p.M, 10)) return "Значение M должно быть в пределах -10...10 (*0,000001)";
    if (OutsideRange(source.A, 6370000, 6390000)) {
        return "Параметр A исходного эллипсоида должен быть в пределах 6370000...6390000 м";
    }
    if (OutsideRange(source.InvFlattening, 290, 310)) {
        return "Параметр 1/F исходного эллипсоида должен быть в пределах 1/310...1/290";
    }
    if (OutsideRange(target.A, 6370000, 6390000)) {
        return "Параметр A целевого эллипсоида должен быть в пределах 6370000...6390000 м";
    }
    if (OutsideRange(target.InvFlattening, 295, 305)) {
        return "Параметр 1/F целевого эллипсоида должен быть в пределах 1/305...1/295";
    }
    return std::nullopt;
}

std::optional<std::string_view> ValidatePreset(const DatumerState& state) {
    const TCHSK& p = PresetAt(state, state.SelectedPreset);
    return ValidatePresetValues(p, EllipsoidAt(state, p.SourceEll),
                                EllipsoidAt(state, p.TargetEll));
}

}  // namespace datumer
