#pragma once
// Datumer's reference data: the ellipsoids and the transformation presets (twelve fixed sets
// between СК42, СК95, ПЗ90.01 and WGS84 after ГОСТ Р 51794-2001, the user's set 13, then the sets
// of ГОСТ Р 51794-2008 and ГОСТ 32453-2017 for ПЗ90.02, ПЗ90.11 and ГСК-2011), and the rule that
// turns the chosen preset into the operand of the transformation. Ellipsoid and preset numbers
// are kept as the screens show them, from 1; the accessors below translate them to positions.
//
// Rotations are those of the coordinate frame (EPSG method 1032/9607): a positive angle turns the
// axes counter-clockwise seen from the positive end of the axis, so that
// X2 = (1 + M)·(X1 + WZ·Y1 − WY·Z1) + DX. Sets written as position vector (EPSG 1033/9606)
// carry the opposite signs of the three rotations.

#include <array>
#include <string>
#include <string_view>

#include "common/ellipsoid.hpp"
#include "datumer/geodesy/transform.hpp"

namespace datumer {

struct DatumerState;

// One reference ellipsoid; its name is shown on the set-up screen beside its parameters.
using TELL = common::Ellipsoid;

// One transformation preset (Datumer's own record).
struct TCHSK {
    std::string Name;                     // text of the list line, begins with a blank
    double DX = 0.0, DY = 0.0, DZ = 0.0;  // geocentric shifts, m
    double WX = 0.0, WY = 0.0,
           WZ = 0.0;          // rotations of the coordinate frame, arc seconds
    double M = 0.0;           // scale difference, parts per million
    int SourceEll = 1;        // 1..kEllipsoidCount into DatumEllipsoids
    int TargetEll = 1;        // 1..kEllipsoidCount into DatumEllipsoids
    std::string SourceName;   // short name of the source system, for captions
    std::string TargetName;   // short name of the target system
    std::string EpsgRecords;  // the EPSG records that confirm a built-in set, or empty
};

inline constexpr int kEllipsoidCount = 8;
inline constexpr int kPresetCount = 33;
inline constexpr int kUserPreset = 13;
inline constexpr int kUserSourceEllipsoid = 4;
inline constexpr int kUserTargetEllipsoid = 5;
// What the user's preset calls both its systems, which may be any.
inline constexpr std::string_view kUserSystemName = "пользовательские параметры";

using EllipsoidTable = std::array<TELL, kEllipsoidCount>;
using PresetTable = std::array<TCHSK, kPresetCount>;

// The tables as they stand after start-up and after "Всё заново".
EllipsoidTable DefaultDatumEllipsoids();
PresetTable DefaultDatumPresets();

bool IsPresetNumber(int i);
// Preset i (1..kPresetCount) and ellipsoid i (1..kEllipsoidCount). A number outside the range
// falls to the nearest end, so that no caller can read past a table.
TCHSK& PresetAt(DatumerState& state, int i);
const TCHSK& PresetAt(const DatumerState& state, int i);
TELL& EllipsoidAt(DatumerState& state, int i);
const TELL& EllipsoidAt(const DatumerState& state, int i);

// The rotation convention of every preset in the users' words, for the help of both programs.
std::string_view RotationConventionText();

// The EPSG records whose composition gives preset i, in the order they apply ("-N": record N
// backwards), with a note where a value of the preset departs from them; empty for the user's set.
std::string_view PresetEpsgRecords(int i);

// Refills both tables (dropping the user's preset 13 and ellipsoids 4, 5) and marks all eleven
// set-up fields valid.
void InitDatumPresets(DatumerState& state);

// List line i: " " + i + ". " + Name, e.g. " 1.  СК42 => WGS84  (...)".
std::string PresetListText(const DatumerState& state, int i);

// The operand of preset i: shifts as they are, rotations from arc seconds to radians, scale from
// parts per million, flattenings from the inverse flattenings of its two ellipsoids.
DatumParams BuildDatumParams(const DatumerState& state, int i);

}  // namespace datumer
