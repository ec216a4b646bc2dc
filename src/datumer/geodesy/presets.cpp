#include "datumer/geodesy/presets.hpp"

#include <numbers>

#include "common/one_based.hpp"
#include "datumer/state.hpp"

namespace datumer {

namespace {

constexpr const char* kSource2001 = "  (ГОСТ P51794-2001 // Кредо Транскор 1.10.345.0)";
constexpr const char* kSource2008 = "  (ГОСТ Р 51794-2008)";
constexpr const char* kSource2017 = "  (ГОСТ 32453-2017)";

// Ellipsoid numbers the fixed presets refer to.
constexpr int kKrasovsky = 1, kWgs84 = 2, kPz90 = 7, kGsk2011 = 8;

// `epsg`: the EPSG records that confirm the set; "-N" is record N run backwards, several records
// apply in the order given.
TCHSK FixedPreset(const std::string& source, const std::string& target, double dx, double dy,
                  double dz, double wx, double wy, double wz, double m, int sourceEll,
                  int targetEll, const char* standard, const char* epsg) {
    return TCHSK{" " + source + " => " + target + standard,
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
                 target,
                 epsg};
}

// Arc seconds to radians with pi to full extended precision.
double SecondsToRadians(double seconds) {
    return static_cast<double>(std::numbers::pi_v<long double> * seconds / 648000.0L);
}

}  // namespace

EllipsoidTable DefaultDatumEllipsoids() {
    return EllipsoidTable{{
        common::Krasovsky1940(),
        common::Wgs84Ellipsoid(),
        common::Pz9001Ellipsoid(),
        {"пользовательский исходный", 6378245, 298.3},
        {"пользовательский целевой", 6378137, 298.257223563},
        {"WGS84_TGO", 6378137, 298.25722},
        {"ПЗ-90", 6378136, 298.257839303},
        {"ГСК-2011", 6378136.5, 298.2564151},
    }};
}

PresetTable DefaultDatumPresets() {
    const std::string sk42 = "СК42", sk95 = "СК95", pz90 = "ПЗ90.01", wgs84 = "WGS84";
    const std::string pz9002 = "ПЗ90.02", pz9011 = "ПЗ90.11", gsk2011 = "ГСК-2011";
    const std::string user(kUserSystemName);
    // Each inverse is stored as its own row with negated values and swapped ellipsoids.
    return PresetTable{{
        FixedPreset(sk42, wgs84, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 1, 2, kSource2001,
                    "1267"),
        FixedPreset(wgs84, sk42, -23.92, 141.27, 80.9, 0, 0.35, 0.82, 0.12, 2, 1, kSource2001,
                    "-1267"),
        FixedPreset(sk95, wgs84, 24.82, -131.21, -82.66, 0, 0, -0.16, -0.12, 1, 2, kSource2001,
                    "1281"),
        FixedPreset(wgs84, sk95, -24.82, 131.21, 82.66, 0, 0, 0.16, 0.12, 2, 1, kSource2001,
                    "-1281"),
        FixedPreset(pz90, wgs84, -1.08, -0.27, -0.9, 0, 0, 0.16, -0.12, 3, 2, kSource2001,
                    "1244 (в EPSG WZ = -0.16)"),
        FixedPreset(wgs84, pz90, 1.08, 0.27, 0.9, 0, 0, -0.16, 0.12, 2, 3, kSource2001,
                    "-1244 (в EPSG WZ = 0.16)"),
        FixedPreset(sk42, sk95, -0.9, -10.06, 1.76, 0, -0.35, -0.66, 0, 1, 1, kSource2001,
                    "15844 -1257"),
        FixedPreset(sk95, sk42, 0.9, 10.06, -1.76, 0, 0.35, 0.66, 0, 1, 1, kSource2001,
                    "1257 -15844"),
        FixedPreset(sk42, pz90, 25, -141, -80, 0, -0.35, -0.66, 0, 1, 3, kSource2001, "15844"),
        FixedPreset(pz90, sk42, -25, 141, 80, 0, 0.35, 0.66, 0, 3, 1, kSource2001, "-15844"),
        FixedPreset(sk95, pz90, 25.9, -130.94, -81.76, 0, 0, 0, 0, 1, 3, kSource2001, "1257"),
        FixedPreset(pz90, sk95, -25.9, 130.94, 81.76, 0, 0, 0, 0, 3, 1, kSource2001, "-1257"),
        TCHSK{" Пользовательские параметры  (по умолчанию из варианта 1)",
              23.92,
              -141.27,
              -80.9,
              0,
              -0.35,
              -0.82,
              -0.12,
              kUserSourceEllipsoid,
              kUserTargetEllipsoid,
              user,
              user,
              {}},
        // The sets of today, in the direction the EPSG records compose them.
        FixedPreset(sk42, pz9002, 23.93, -141.03, -79.98, 0, -0.35, -0.79, -0.22, kKrasovsky, kPz90,
                    kSource2008, "5044 7961"),
        FixedPreset(pz9002, sk42, -23.93, 141.03, 79.98, 0, 0.35, 0.79, 0.22, kPz90, kKrasovsky,
                    kSource2008, "-7961 -5044"),
        FixedPreset(sk95, pz9002, 24.83, -130.97, -81.74, 0, 0, -0.13, -0.22, kKrasovsky, kPz90,
                    kSource2008, "5043 7961"),
        FixedPreset(pz9002, sk95, -24.83, 130.97, 81.74, 0, 0, 0.13, 0.22, kPz90, kKrasovsky,
                    kSource2008, "-7961 -5043"),
        FixedPreset(pz9002, wgs84, -0.36, 0.08, 0.18, 0, 0, 0, 0, kPz90, kWgs84, kSource2008,
                    "-7961"),
        FixedPreset(wgs84, pz9002, 0.36, -0.08, -0.18, 0, 0, 0, 0, kWgs84, kPz90, kSource2008,
                    "7961"),
        // ГОСТ 32453-2017 prints the next four towards ГСК-2011; their values are the EPSG
        // composition towards ПЗ-90.11 and differ by up to 14 mm from that towards ГСК-2011
        // (30-33).
        FixedPreset(sk42, pz9011, 23.557, -140.844, -79.778, -0.0023, -0.34646, -0.79421, -0.228,
                    kKrasovsky, kPz90, kSource2017, "15844 7704"),
        FixedPreset(pz9011, sk42, -23.557, 140.844, 79.778, 0.0023, 0.34646, 0.79421, 0.228, kPz90,
                    kKrasovsky, kSource2017, "-7704 -15844"),
        FixedPreset(sk95, pz9011, 24.457, -130.784, -81.538, -0.0023, 0.00354, -0.13421, -0.228,
                    kKrasovsky, kPz90, kSource2017, "1257 7704"),
        FixedPreset(pz9011, sk95, -24.457, 130.784, 81.538, 0.0023, -0.00354, 0.13421, 0.228, kPz90,
                    kKrasovsky, kSource2017, "-7704 -1257"),
        FixedPreset(pz9002, pz9011, -0.373, 0.186, 0.202, -0.0023, 0.00354, -0.00421, -0.008, kPz90,
                    kPz90, kSource2017, "7703"),
        FixedPreset(pz9011, pz9002, 0.373, -0.186, -0.202, 0.0023, -0.00354, 0.00421, 0.008, kPz90,
                    kPz90, kSource2017, "-7703"),
        FixedPreset(gsk2011, pz9011, 0, 0.014, -0.008, -0.000562, -0.000019, 0.000053, -0.0006,
                    kGsk2011, kPz90, kSource2017, "7705"),
        FixedPreset(pz9011, gsk2011, 0, -0.014, 0.008, 0.000562, 0.000019, -0.000053, 0.0006, kPz90,
                    kGsk2011, kSource2017, "-7705"),
        // The standard prints this set under "ПЗ-90.11 => WGS-84"; composed through ПЗ-90.02 it
        // converts WGS84 to ПЗ90.11, so the printed values are the second row.
        FixedPreset(pz9011, wgs84, 0.013, -0.106, -0.022, 0.0023, -0.00354, 0.00421, 0.008, kPz90,
                    kWgs84, kSource2017, "-7703 -7961"),
        FixedPreset(wgs84, pz9011, -0.013, 0.106, 0.022, -0.0023, 0.00354, -0.00421, -0.008, kWgs84,
                    kPz90, kSource2017, "7961 7703"),
        // СК42 and СК95 to ГСК-2011: the sets towards ПЗ-90.11 (20, 22) followed by the standard's
        // ПЗ-90.11 => ГСК-2011 set (27), added value by value.
        FixedPreset(sk42, gsk2011, 23.557, -140.858, -79.77, -0.001738, -0.346441, -0.794263,
                    -0.2274, kKrasovsky, kGsk2011, kSource2017, "15844 7704 -7705"),
        FixedPreset(gsk2011, sk42, -23.557, 140.858, 79.77, 0.001738, 0.346441, 0.794263, 0.2274,
                    kGsk2011, kKrasovsky, kSource2017, "7705 -7704 -15844"),
        FixedPreset(sk95, gsk2011, 24.457, -130.798, -81.53, -0.001738, 0.003559, -0.134263,
                    -0.2274, kKrasovsky, kGsk2011, kSource2017, "1257 7704 -7705"),
        FixedPreset(gsk2011, sk95, -24.457, 130.798, 81.53, 0.001738, -0.003559, 0.134263, 0.2274,
                    kGsk2011, kKrasovsky, kSource2017, "7705 -7704 -1257"),
    }};
}

std::string_view RotationConventionText() {
    return "Повороты WX, WY, WZ — повороты системы координат (метод EPSG 1032, «поворот системы\n"
           "координат», в PROJ +convention=coordinate_frame): положительный угол поворачивает оси\n"
           "против часовой стрелки, если смотреть с положительного конца оси;\n"
           "X2 = (1 + M)·(X1 + WZ·Y1 − WY·Z1) + DX. Параметры в записи «вектор положения»\n"
           "(EPSG 1033, position_vector) имеют у трёх поворотов противоположные знаки.\n";
}

std::string_view PresetEpsgRecords(int i) {
    static const PresetTable presets = DefaultDatumPresets();
    return IsPresetNumber(i)
               ? std::string_view(presets[static_cast<std::size_t>(i - 1)].EpsgRecords)
               : std::string_view{};
}

bool IsPresetNumber(int i) {
    return i >= 1 && i <= kPresetCount;
}

TCHSK& PresetAt(DatumerState& state, int i) {
    return state.DatumPresets[static_cast<std::size_t>(common::NumberPosition(i, kPresetCount))];
}
const TCHSK& PresetAt(const DatumerState& state, int i) {
    return state.DatumPresets[static_cast<std::size_t>(common::NumberPosition(i, kPresetCount))];
}
TELL& EllipsoidAt(DatumerState& state, int i) {
    return state
        .DatumEllipsoids[static_cast<std::size_t>(common::NumberPosition(i, kEllipsoidCount))];
}
const TELL& EllipsoidAt(const DatumerState& state, int i) {
    return state
        .DatumEllipsoids[static_cast<std::size_t>(common::NumberPosition(i, kEllipsoidCount))];
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
