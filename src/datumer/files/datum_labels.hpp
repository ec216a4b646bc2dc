#pragma once
// The coordinate systems the program knows, and how the two map formats name them in a header:
// a MapInfo MIF file in its CoordSys clause (a datum number, or the custom form with an
// ellipsoid and seven parameters towards WGS84), a Polish-format map in its Datum= key. One row
// per system, keyed by the short name the presets give it; its ellipsoid and its parameters
// towards WGS84 are those of its built-in preset "<name> => WGS84", so that a label always
// names the datum the converter put the coordinates in. A system without a row has no label.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace datumer {

struct KnownSystem {
    std::string_view Name;  // as the presets name it: "СК42", "WGS84"
    int MifEllipsoid = 0;   // MapInfo's number of its ellipsoid
    // MapInfo's number for exactly this datum (its ellipsoid and parameters); 0: none, the
    // custom form is written.
    int MifDatum = 0;
    std::array<int, 2> MifAlsoRead{};  // further numbers files use for it (read only)
    std::string_view PolishName;       // the Datum= value written for it; empty: none
    std::array<std::string_view, 4> PolishAlsoRead{};  // further Datum= values (read only)
    // From its preset: the ellipsoid, and towards WGS84 dX, dY, dZ (m), rotations rX, rY, rZ
    // (arc seconds, coordinate-frame convention, which is MapInfo's too), scale (ppm).
    double A = 0.0;
    double InvFlattening = 0.0;
    std::array<double, 7> ToWgs84{};
};

std::span<const KnownSystem> KnownSystems();
const KnownSystem* FindSystem(std::string_view name);

// What a target system is called in a MIF CoordSys clause after "Projection 1,": its MapInfo
// datum number where MapInfo has one with exactly these parameters, else the custom form
// "9999, ellipsoid, dX, dY, dZ, rX, rY, rZ, scale, 0". Empty for a system without a row.
std::string MifDatumLabel(std::string_view system);
// The Datum= value of a Polish-format map for the system; empty when the format has none.
std::string PolishDatumLabel(std::string_view system);

// The systems a source label may mean: one system when it names it, several when it only names
// their ellipsoid (a custom datum on Krassovsky's ellipsoid is СК42 or СК95), none when the label
// is not known. `numbers` are the datum number and the custom parameters that follow it.
std::vector<std::string_view> SystemsOfMifDatum(std::span<const double> numbers);
std::vector<std::string_view> SystemsOfPolishDatum(std::string_view value);

}  // namespace datumer
