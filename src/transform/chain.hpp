#pragma once
// One-step conversion of a point list across datums: plane or geodetic coordinates of one system
// into another form of another system in one pass. The steps are the converters the two programs
// already have, chained line by line: Gridwise's x,y => B,L on the source ellipsoid, Datumer's
// point-list transformation with the preset of the pair, Gridwise's B,L => x,y on the target
// ellipsoid. Between the steps angles carry 10 decimals and heights 4 (at most 6 micrometres),
// so a list gives exactly the numbers of the same steps piped through both tools with those
// decimals; names, heights and tails pass as the converters pass them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/converter.hpp"
#include "datumer/state.hpp"

namespace transform {

// The datums the presets connect; User is the pair of systems of the preset given by hand.
enum class Datum { Sk42, Sk95, Pz9001, Pz9002, Pz9011, Wgs84, Gsk2011, User };

// How a point of the system is written in the list.
enum class Form {
    Geodetic,     // B, L in decimal degrees
    GaussKruger,  // x, y of six-degree zones numbered from 0°
    Utm,          // x, y of UTM zones numbered from 180°, scale 0.9996
    Sk63,         // x, y of an SK63 zone with the user's central meridian (СК42 only)
};

struct SystemAndForm {
    Datum datum = Datum::Sk42;
    Form form = Form::Geodetic;
    // Gauss-Krueger and UTM: 0 when the ordinate carries the zone number in its millions, else the
    // zone (1..60) whose ordinates carry none.
    int zone = 0;
};

// "sk42", "sk42/geo", "sk42/gk", "sk42/gk:7", "wgs84/utm", "wgs84/utm:37", "sk42/sk63"; empty when
// the text names no such system.
std::optional<SystemAndForm> ParseSystemAndForm(std::string_view text);

// The system in the log's words, e.g. "СК42 x, y (Гаусса-Крюгера, зона 7)".
std::string SystemLabel(const SystemAndForm& system);

// What the chain writes and how the plane steps compute.
struct ChainOptions {
    int Algorithm = 0;  // Gridwise's series: 0 three-term, 1 Krueger
    std::uint8_t HeightMode = datumer::kNormalHeights;
    std::uint8_t AngleDecimals = 10;  // 7..10
    std::uint8_t PlaneDecimals = 3;   // 2..4
    std::uint8_t HeightDecimals = 3;  // 2..4
    // Settings flags of gridwise-cli for the SK63 side (--meridian, --sk63-zone).
    std::vector<std::string> Sk63Flags;
};

struct Chain {
    common::LineFunction Lines;
    std::string Summary;  // the line under the banner of the log
    int Preset = 0;       // the preset of the datum step; 0 when the datum stays
};

// Builds the chain from `from` to `to`. `datums` holds the preset flags already applied;
// `presetGiven` tells whether --preset was given, else the preset is chosen from the pair.
// Returns the reason, for stderr, when the pair cannot be converted.
std::string BuildChain(const SystemAndForm& from, const SystemAndForm& to, bool presetGiven,
                       datumer::DatumerState& datums, const ChainOptions& options, Chain& chain);

// Steps applied one after another to each line; a bad line in any step is a bad line.
common::LineFunction ChainLines(std::vector<common::LineFunction> steps);

}  // namespace transform
