#pragma once
// Every process-wide value of Gridwise in one record: the ellipsoid and system tables, the
// settings record the set-up screen fills, the choices of direction and series, the option
// values of the batch dialogs and the input-valid flags of the screens. main owns the one
// instance and passes it by reference; every test makes a fresh one with MakeGridwiseState.

#include <array>
#include <cstdint>
#include <string>

#include "common/cp1251.hpp"
#include "common/one_based.hpp"
#include "common/text.hpp"
#include "gridwise/geodesy/coordinates.hpp"
#include "gridwise/geodesy/ellipsoid.hpp"

namespace gridwise {

// Tables indexed by the documented 1-based numbers (system 1..5, ellipsoid 1..4, flag 1..8).
using common::OneBased;

// A coordinate-system preset.
struct TCHSK {
    std::string Name;                  // shown in the system list
    double FalseNorthing = 0.0;        // metres, added to x
    double FalseEasting = 0.0;         // metres, added to y
    int Ellipsoid = 1;                 // 1-based number in Ellipsoids
    std::string ZoneKind;              // shown after the name
    bool UtmAllowed = false;           // offered when the projection is UTM
    bool FalseOriginEditable = false;  // false northing and easting may be edited
    bool MeridianEditable = false;     // the central meridian is typed by the user
    bool ZoneChoice = false;           // B,L -> x,y may use the left or right neighbour zone
    int ListPosition = 0;              // 1-based position in the system list, 0 = not listed
    bool EllipsoidEditable = false;    // a and 1/f may be edited
    bool Sk63ZoneChoice = false;       // B,L -> x,y: the zone prefix 1..20 is chosen by the user
    bool MeridianAlwaysAdded = false;  // x,y -> B,L: the central meridian is always added
    bool UserMeridian = false;         // the projection uses the user's central meridian
};

// The calculation settings.
struct TWorkStructure {
    TEll Ell;                    // copied from the table, then possibly edited
    double FalseNorthing = 0.0;  // metres
    double FalseEasting = 0.0;   // metres
    // B,L -> x,y: add zone number x 1 000 000 to y; x,y -> B,L: add the central meridian to L.
    bool AddZoneNumber = true;
    int ZoneShift = 0;             // 0 own zone, -1 left (western), +1 right (eastern) neighbour
    bool UserMeridian = false;     // use CentralMeridian instead of the standard zone grid
    int Sk63Zone = 0;              // 1..20 zone prefix when UserMeridian; 0 when not chosen
    double CentralMeridian = 0.0;  // decimal degrees, east positive
    bool Utm = false;              // false Gauss-Krueger (k = 1), true UTM (k = 0.9996)
};

// A central meridian as typed: whole degrees and minutes.
struct TMeridianDM {
    std::int32_t Deg = 0;
    std::int32_t Min = 0;
};

inline constexpr int kEllipsoidCount = 4;
inline constexpr int kSystemCount = 5;
inline constexpr int kInputFlagCount = 8;

// Numbers of the systems in the table.
inline constexpr int kSystemSk42 = 1;
inline constexpr int kSystemWgs84 = 2;
inline constexpr int kSystemPz90 = 3;
inline constexpr int kSystemSk63 = 4;
inline constexpr int kSystemUser = 5;

// The series: Algorithm 0 = "Алгоритм: 3-членный ряд", 1 = "Алгоритм: 4-членный ряд".
inline constexpr int kClassicSeries = 0;
inline constexpr int kKrugerSeries = 1;

using EllipsoidTable = OneBased<TEll, kEllipsoidCount>;
using SystemTable = OneBased<TCHSK, kSystemCount>;
using InputFlags = OneBased<bool, kInputFlagCount>;

// The values of the point screen: the point as typed or computed and the last results.
struct PointScreenValues {
    common::TDegMinSec PointB;  // latitude; Value unsigned while typing, signed after x,y -> B,L
    common::TDegMinSec PointL;  // longitude, likewise
    GeoCoords CalcPoint;        // the signed point given to or returned by the projection
    PlaneCoords PlanePoint;     // as typed (x,y -> B,L) or computed (B,L -> x,y)
    bool ResultShown = false;   // after a successful x,y -> B,L computation
    common::TDegMinSec ConvergenceDms;  // Value: convergence, signed degrees
    double LengthScale = 1.0;
    double Dsh1000 = 0.0;  // millimetres per 1000 m
    double AreaDistortion = 0.0;
};

struct GridwiseState {
    EllipsoidTable Ellipsoids;
    SystemTable Systems;
    int CurrentSystem = kSystemSk42;  // 1..5
    bool DirectionToPlane = true;     // true B,L -> x,y; false x,y -> B,L
    TMeridianDM DefaultMeridianDM;
    TMeridianDM MeridianDM;
    TWorkStructure DefaultWork;
    TWorkStructure Work;
    InputFlags DefaultValid;
    InputFlags SetupValid;
    InputFlags PointValid;
    InputFlags ShiftValid;
    int Algorithm = kClassicSeries;
    PointScreenValues Point;

    // Option values of the batch dialogs, read by the converters.
    bool OptionsConfirmed = false;
    std::uint8_t AngleDecimals = 0;   // 7..10
    std::uint8_t PlaneDecimals = 0;   // 2..4
    std::uint8_t HeightDecimals = 0;  // 2..4
    int ListScale = 0;                // common::NomenclatureScale, 0..6
    std::int32_t Sk42Zone = 1;        // 1..60
    bool ZoneInOrdinate = false;      // source ordinates carry the zone in their millions
    double HeightChange = 0.0;        // metres, -100..100
    double ShiftNorth = 0.0;          // metres, -1000..1000
    double ShiftEast = 0.0;           // metres, -1000..1000
    // The text Gridwise composes into files (sheet names); the command line may choose UTF-8.
    common::TextEncoding FileEncoding = common::TextEncoding::Cp1251;

    // The chosen system and its ellipsoid's table entry.
    const TCHSK& CurrentSystemRecord() const { return Systems[CurrentSystem]; }
};

// A state with every start value of program start.
GridwiseState MakeGridwiseState();

}  // namespace gridwise
