#pragma once
// Every process-wide value of Datumer in one record: the tables and the preset choice, the
// operand built from it, the point of the point screen with its results, the input-valid flags
// of both screens and the options of the height and precision dialog. main owns the one
// instance and passes it by reference; every test makes a fresh one.

#include <array>
#include <cstdint>

#include "common/nomenclature.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/geodesy/transform.hpp"

namespace datumer {

inline constexpr int kInputFlagCount = 11;
using InputFlags = std::array<bool, kInputFlagCount>;

// The point of the point screen: source values as typed, results of the last "ПЕРЕСЧЁТ".
struct PointState {
    double B1 = 0.0, B1Deg = 0.0, B1Min = 0.0, B1Sec = 0.0;
    double L1 = 0.0, L1Deg = 0.0, L1Min = 0.0, L1Sec = 0.0;
    double H1 = 0.0;
    double B2 = 0.0, L2 = 0.0, H2 = 0.0;
    double B2Deg = 0.0, B2Min = 0.0, B2Sec = 0.0;  // split of |B2|
    double L2Deg = 0.0, L2Min = 0.0, L2Sec = 0.0;  // split of |L2|
};

// Height system written into converted point lists.
inline constexpr std::uint8_t kNormalHeights = 0;
inline constexpr std::uint8_t kEllipsoidalHeights = 1;

struct DatumerState {
    EllipsoidTable DatumEllipsoids{};
    PresetTable DatumPresets{};
    int SelectedPreset = 1;        // 1..kPresetCount
    DatumParams Params{};          // built from SelectedPreset whenever the point screen is shown
    InputFlags SetupInputValid{};  // the eleven parameter fields of the set-up screen

    PointState Point{};
    common::TNom SourceNom{};
    common::TNom TargetNom{};
    GeocentricShift PointShift{};
    InputFlags PointInputValid{};  // seven input fields, then four that are always true

    // Options of the height and precision dialog, read by the point-list converter.
    std::uint8_t HeightMode = kNormalHeights;
    std::uint8_t AnglePrecision = 10;  // 7..10 decimals for B2, L2
    std::uint8_t HeightPrecision = 3;  // 2..4 decimals for H2
    bool OptionsConfirmed = false;
};

// A state with every start value set: tables filled, preset 1 chosen, its operand built, the
// point reset, all flags valid.
DatumerState MakeDatumerState();

}  // namespace datumer
