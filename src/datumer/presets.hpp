#pragma once
// Datumer's reference data: six ellipsoids and thirteen transformation presets (twelve fixed sets
// between СК42, СК95, ПЗ90.01 and WGS84 after ГОСТ Р 51794-2001, and the user's set), and the rule
// that turns the chosen preset into the operand of the transformation. Numbers 1..6 and 1..13 are
// kept as the screens show them; the accessors below translate them to array positions.

#include <array>
#include <string>

#include "datumer/transform.hpp"

namespace datumer {

struct DatumerState;

// One reference ellipsoid.
struct TELL {
    std::string Name;            // shown on the set-up screen beside the ellipsoid parameters
    double A = 0.0;              // semi-major axis, m
    double InvFlattening = 0.0;  // 1/f, e.g. 298.3
};

// One transformation preset (Datumer's own record).
struct TCHSK {
    std::string Name;                     // text of the list line, begins with a blank
    double DX = 0.0, DY = 0.0, DZ = 0.0;  // geocentric shifts, m
    double WX = 0.0, WY = 0.0,
           WZ = 0.0;         // rotations of the target relative to the source, arc seconds
    double M = 0.0;          // scale difference, parts per million
    int SourceEll = 1;       // 1..6 into DatumEllipsoids
    int TargetEll = 1;       // 1..6 into DatumEllipsoids
    std::string SourceName;  // short name of the source system, for captions
    std::string TargetName;  // short name of the target system
};

inline constexpr int kEllipsoidCount = 6;
inline constexpr int kPresetCount = 13;
inline constexpr int kUserPreset = 13;
inline constexpr int kUserSourceEllipsoid = 4;
inline constexpr int kUserTargetEllipsoid = 5;

using EllipsoidTable = std::array<TELL, kEllipsoidCount>;
using PresetTable = std::array<TCHSK, kPresetCount>;

// The tables as they stand after start-up and after "Всё заново".
EllipsoidTable DefaultDatumEllipsoids();
PresetTable DefaultDatumPresets();

bool IsPresetNumber(int i);
// Preset i (1..13) and ellipsoid i (1..6). A number outside the range picks entry 1, so that no
// caller can read past a table.
TCHSK& PresetAt(DatumerState& state, int i);
const TCHSK& PresetAt(const DatumerState& state, int i);
TELL& EllipsoidAt(DatumerState& state, int i);
const TELL& EllipsoidAt(const DatumerState& state, int i);

// Refills both tables (dropping the user's preset 13 and ellipsoids 4, 5) and marks all eleven
// set-up fields valid.
void InitDatumPresets(DatumerState& state);

// List line i: " " + i + ". " + Name, e.g. " 1.  СК42 => WGS84  (...)".
std::string PresetListText(const DatumerState& state, int i);

// The operand of preset i: shifts as they are, rotations from arc seconds to radians, scale from
// parts per million, flattenings from the inverse flattenings of its two ellipsoids.
DatumParams BuildDatumParams(const DatumerState& state, int i);

}  // namespace datumer
