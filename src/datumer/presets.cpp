#include "datumer/presets.hpp"

#include <numbers>

#include "datumer/state.hpp"

namespace datumer {

namespace {

constexpr const char* kSourceSuffix = "  (ГОСТ P51794-2001 // Кредо Транскор 1.10.345.0)";

TCHSK FixedPreset(const std::string& source, const std::string& target, double dx, double dy,
                  double dz, double wx, double wy, double wz, double m, int sourceEll,
                  int targetEll) {
    return TCHSK{" " + source + " => " + target + kSourceSuffix,
                 dx,
                 dy,
                 dz,
                 wx,
                 wy,
                 wz,
                 m,
                 sourceEll,
                 targetEll,
                 source,
                 target};
}

// Arc seconds to radians with pi to full extended precision.
double SecondsToRadians(double seconds) {
    return static_cast<double>(std::numbers::pi_v<long double> * seconds / 648000.0L);
}

int ClampedIndex(int i, int count) {
    return (i >= 1 && i <= count) ? i - 1 : 0;
}

}  // namespace

EllipsoidTable DefaultDatumEllipsoids() {
    return EllipsoidTable{{
        {"Красовского-1940", 6378245, 298.3},
        {"WGS84", 6378137, 298.257223563},
        {"ПЗ90.01", 6378136, 298.257839303},
        {"пользовательский исходный", 6378245, 298.3},
        {"пользовательский целевой", 6378137, 298.257223563},
        {"WGS84_TGO", 6378137, 298.25722},
    }};
}

PresetTable DefaultDatumPresets() {
    const std::string sk42 = "СК42", sk95 = "СК95", pz90 = "ПЗ90.01", wgs84 = "WGS84";
    const std::string user = "пользовательские параметры";
    // Each inverse is stored as its own row with negated values and swapped ellipsoids.
    return PresetTable{{
        FixedPreset(sk42, wgs84, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 1, 2),
        FixedPreset(wgs84, sk42, -23.92, 141.27, 80.9, 0, 0.35, 0.82, 0.12, 2, 1),
        FixedPreset(sk95, wgs84, 24.82, -131.21, -82.66, 0, 0, -0.16, -0.12, 1, 2),
        FixedPreset(wgs84, sk95, -24.82, 131.21, 82.66, 0, 0, 0.16, 0.12, 2, 1),
        FixedPreset(pz90, wgs84, -1.08, -0.27, -0.9, 0, 0, 0.16, -0.12, 3, 2),
        FixedPreset(wgs84, pz90, 1.08, 0.27, 0.9, 0, 0, -0.16, 0.12, 2, 3),
        FixedPreset(sk42, sk95, -0.9, -10.06, 1.76, 0, -0.35, -0.66, 0, 1, 1),
        FixedPreset(sk95, sk42, 0.9, 10.06, -1.76, 0, 0.35, 0.66, 0, 1, 1),
        FixedPreset(sk42, pz90, 25, -141, -80, 0, -0.35, -0.66, 0, 1, 3),
        FixedPreset(pz90, sk42, -25, 141, 80, 0, 0.35, 0.66, 0, 3, 1),
        FixedPreset(sk95, pz90, 25.9, -130.94, -81.76, 0, 0, 0, 0, 1, 3),
        FixedPreset(pz90, sk95, -25.9, 130.94, 81.76, 0, 0, 0, 0, 3, 1),
        TCHSK{" Пользовательские параметры  (по умолчанию из варианта 1)", 23.92, -141.27, -80.9, 0,
              -0.35, -0.82, -0.12, kUserSourceEllipsoid, kUserTargetEllipsoid, user, user},
    }};
}

bool IsPresetNumber(int i) {
    return i >= 1 && i <= kPresetCount;
}

TCHSK& PresetAt(DatumerState& state, int i) {
    return state.DatumPresets[static_cast<std::size_t>(ClampedIndex(i, kPresetCount))];
}
const TCHSK& PresetAt(const DatumerState& state, int i) {
    return state.DatumPresets[static_cast<std::size_t>(ClampedIndex(i, kPresetCount))];
}
TELL& EllipsoidAt(DatumerState& state, int i) {
    return state.DatumEllipsoids[static_cast<std::size_t>(ClampedIndex(i, kEllipsoidCount))];
}
const TELL& EllipsoidAt(const DatumerState& state, int i) {
    return state.DatumEllipsoids[static_cast<std::size_t>(ClampedIndex(i, kEllipsoidCount))];
}

void InitDatumPresets(DatumerState& state) {
    state.DatumEllipsoids = DefaultDatumEllipsoids();
    state.DatumPresets = DefaultDatumPresets();
    state.SetupInputValid.fill(true);
}

std::string PresetListText(const DatumerState& state, int i) {
    // Appended piece by piece: " " + std::to_string(i) trips a false -Wrestrict of GCC 12.
    std::string text(1, ' ');
    text += std::to_string(i);
    text += ". ";
    text += PresetAt(state, i).Name;
    return text;
}

DatumParams BuildDatumParams(const DatumerState& state, int i) {
    const TCHSK& preset = PresetAt(state, i);
    const TELL& source = EllipsoidAt(state, preset.SourceEll);
    const TELL& target = EllipsoidAt(state, preset.TargetEll);
    DatumParams params;
    params.DX = preset.DX;
    params.DY = preset.DY;
    params.DZ = preset.DZ;
    params.WX = SecondsToRadians(preset.WX);
    params.WY = SecondsToRadians(preset.WY);
    params.WZ = SecondsToRadians(preset.WZ);
    params.M = static_cast<double>(preset.M * 0.000001L);
    params.a1 = source.A;
    params.f1 = static_cast<double>(1.0L / source.InvFlattening);
    params.a2 = target.A;
    params.f2 = static_cast<double>(1.0L / target.InvFlattening);
    return params;
}

}  // namespace datumer
