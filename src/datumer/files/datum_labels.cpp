// The systems of the presets and their names in MIF and MP headers.

#include "datumer/files/datum_labels.hpp"

#include <charconv>
#include <cmath>

#include "datumer/geodesy/presets.hpp"

namespace datumer {

namespace {

constexpr std::string_view kWgs84 = "WGS84";

// MapInfo numbers its ellipsoids and datums in its own table (GDAL reads the same table):
// ellipsoid 3 is Krassovsky's, 28 WGS 84, 52 PZ-90; datum 104 is WGS 84. Its numbers for the
// Russian datums carry parameters other than the presets' (1001 its own Pulkovo 1942 shift,
// 1012 PZ-90 with the opposite sign of rZ, and GDAL reads 1013 and 1014 on the PZ-90
// ellipsoid), so those systems are written in the custom form and the numbers only recognised
// in a source.
constexpr std::array<KnownSystem, 6> kRows = {{
    {kWgs84, 28, 104, {}, "W84", {"WGS 84"}},
    {"СК42", 3, 0, {1001, 1013}, "", {"Pulkovo 1942", "S-42", "SK-42"}},
    {"СК95", 3, 0, {1014}, "", {"Pulkovo 1995", "S-95", "SK-95"}},
    {"ПЗ90.01", 52, 0, {1012}, "", {"PZ-90.01", "PZ-90"}},
    {"ПЗ90.02", 52, 0, {}, "", {"PZ-90.02"}},
    {"ПЗ90.11", 52, 0, {}, "", {"PZ-90.11"}},
}};

// A row completed from the built-in presets; false when no preset leads from it to WGS84.
bool CompleteFromPresets(KnownSystem& system) {
    const EllipsoidTable ellipsoids = DefaultDatumEllipsoids();
    for (const TCHSK& preset : DefaultDatumPresets()) {
        if (preset.TargetName != kWgs84) continue;
        const bool fromIt = preset.SourceName == system.Name;
        if (!fromIt && system.Name != kWgs84) continue;
        const TELL& ellipsoid =
            ellipsoids[static_cast<std::size_t>(fromIt ? preset.SourceEll : preset.TargetEll) - 1];
        system.A = ellipsoid.A;
        system.InvFlattening = ellipsoid.InvFlattening;
        if (fromIt)
            system.ToWgs84 = {preset.DX, preset.DY, preset.DZ, preset.WX,
                              preset.WY, preset.WZ, preset.M};
        return true;
    }
    return false;
}

std::vector<KnownSystem> BuildSystems() {
    std::vector<KnownSystem> systems;
    for (KnownSystem system : kRows)
        if (CompleteFromPresets(system)) systems.push_back(system);
    return systems;
}

// The shortest text that reads back as the same double.
std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Upper-case Latin letters and digits only, so that "WGS 84", "wgs-84" and "WGS84" agree.
std::string PolishKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            static_cast<unsigned char>(c) >= 0x80)
            key.push_back(c);
    }
    return key;
}

bool SameParameters(std::span<const double> a, const std::array<double, 7>& b) {
    for (std::size_t i = 0; i < b.size(); ++i)
        if (!(std::fabs(a[i] - b[i]) <= 1e-9)) return false;
    return true;
}

}  // namespace

std::span<const KnownSystem> KnownSystems() {
    static const std::vector<KnownSystem> systems = BuildSystems();
    return systems;
}

const KnownSystem* FindSystem(std::string_view name) {
    for (const KnownSystem& system : KnownSystems())
        if (system.Name == name) return &system;
    return nullptr;
}

std::string MifDatumLabel(std::string_view name) {
    const KnownSystem* system = FindSystem(name);
    if (system == nullptr) return {};
    if (system->MifDatum != 0) return std::to_string(system->MifDatum);
    std::string label = "9999, " + std::to_string(system->MifEllipsoid);
    for (double parameter : system->ToWgs84) label += ", " + NumberText(parameter);
    return label + ", 0";  // the prime meridian: Greenwich
}

std::string PolishDatumLabel(std::string_view name) {
    const KnownSystem* system = FindSystem(name);
    return system != nullptr ? std::string(system->PolishName) : std::string();
}

std::vector<std::string_view> SystemsOfMifDatum(std::span<const double> numbers) {
    if (numbers.empty()) return {};
    const double datum = numbers[0];
    for (const KnownSystem& system : KnownSystems()) {
        if (system.MifDatum != 0 && datum == system.MifDatum) return {system.Name};
        for (int also : system.MifAlsoRead)
            if (also != 0 && datum == also) return {system.Name};
    }
    // The custom forms: "999, ellipsoid, dX, dY, dZ" and "9999, ellipsoid, seven, meridian".
    const bool sevenParameters = datum == 9999 && numbers.size() >= 9;
    if (!sevenParameters && !(datum == 999 && numbers.size() >= 5)) return {};
    std::array<double, 7> parameters{};
    const std::size_t count = sevenParameters ? 7 : 3;
    for (std::size_t i = 0; i < count; ++i) parameters[i] = numbers[2 + i];
    const bool greenwich = numbers.size() < 10 || numbers[9] == 0;
    std::vector<std::string_view> systems;
    for (const KnownSystem& system : KnownSystems()) {
        if (numbers[1] != system.MifEllipsoid) continue;
        if (greenwich && SameParameters(parameters, system.ToWgs84)) return {system.Name};
        systems.push_back(system.Name);
    }
    return systems;
}

std::vector<std::string_view> SystemsOfPolishDatum(std::string_view value) {
    const std::string key = PolishKey(value);
    if (key.empty()) return {};
    for (const KnownSystem& system : KnownSystems()) {
        if (!system.PolishName.empty() && PolishKey(system.PolishName) == key) return {system.Name};
        for (std::string_view also : system.PolishAlsoRead)
            if (!also.empty() && PolishKey(also) == key) return {system.Name};
    }
    return {};
}

}  // namespace datumer
