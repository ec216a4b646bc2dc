#include "datumer/files/datum_labels.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace datumer {
namespace {

using Systems = std::vector<std::string_view>;

// What a source label is taken for decides whether the file is warned of: a datum number, a
// custom form with the parameters of a known system, or only its ellipsoid.
TEST(DatumLabels, MifSourceLabelsAreRecognised) {
    const struct {
        std::vector<double> numbers;
        Systems systems;
    } cases[] = {
        {{104}, {"WGS84"}},
        {{1001}, {"СК42"}},
        {{1013}, {"СК42"}},
        {{1014}, {"СК95"}},
        {{1012}, {"ПЗ90.01"}},
        {{9999, 3, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 0}, {"СК42"}},
        {{9999, 3, 24.82, -131.21, -82.66, 0, 0, -0.16, -0.12}, {"СК95"}},
        {{9999, 52, -1.08, -0.27, -0.9, 0, 0, 0.16, -0.12, 0}, {"ПЗ90.01"}},
        {{9999, 52, -0.36, 0.08, 0.18, 0, 0, 0, 0, 0}, {"ПЗ90.02"}},
        {{9999, 52, 0.013, -0.106, -0.022, 0.0023, -0.00354, 0.00421, 0.008, 0}, {"ПЗ90.11"}},
        // The ПЗ-90 ellipsoid with other parameters (ПЗ90.11 the other way round): any of three.
        {{9999, 52, -0.013, 0.106, 0.022, -0.0023, 0.00354, -0.00421, -0.008, 0},
         {"ПЗ90.01", "ПЗ90.02", "ПЗ90.11"}},
        // Krassovsky's ellipsoid with other parameters, or off Greenwich: СК42 or СК95.
        {{9999, 3, 24, -123, -94, 0.02, -0.25, -0.13, 1.1, 0}, {"СК42", "СК95"}},
        {{9999, 3, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 2.33}, {"СК42", "СК95"}},
        {{999, 3, 28, -130, -95}, {"СК42", "СК95"}},
        {{999, 28, 0, 0, 0}, {"WGS84"}},
        // Too short for its form, or unknown.
        {{9999, 3, 24, -123}, {}},
        {{999, 3}, {}},
        {{33}, {}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        std::string text;
        for (double number : c.numbers) text += std::to_string(number) + " ";
        EXPECT_EQ(SystemsOfMifDatum(c.numbers), c.systems) << text;
    }
}

TEST(DatumLabels, PolishSourceLabelsIgnoreCaseBlanksAndDashes) {
    const struct {
        const char* value;
        Systems systems;
    } cases[] = {
        {"W84", {"WGS84"}},
        {"wgs 84", {"WGS84"}},
        {"WGS-84", {"WGS84"}},
        {"Pulkovo 1942", {"СК42"}},
        {"PULKOVO1942", {"СК42"}},
        {"S-42", {"СК42"}},
        {"Pulkovo 1995", {"СК95"}},
        {"PZ-90", {"ПЗ90.01"}},
        {"PZ-90.02", {"ПЗ90.02"}},
        {"pz 90.11", {"ПЗ90.11"}},
        {"NAS-C", {}},
        {"", {}},
        {"- -", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SystemsOfPolishDatum(c.value), c.systems) << c.value;
}

TEST(DatumLabels, TargetLabelsNameTheSystemOrNothing) {
    const struct {
        const char* system;
        const char* mif;
        const char* polish;
    } cases[] = {
        {"WGS84", "104", "W84"},
        {"СК42", "9999, 3, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 0", ""},
        {"ПЗ90.02", "9999, 52, -0.36, 0.08, 0.18, 0, 0, 0, 0, 0", ""},
        {"ПЗ90.11", "9999, 52, 0.013, -0.106, -0.022, 0.0023, -0.00354, 0.00421, 0.008, 0", ""},
        // No preset leads from it to WGS84.
        {"ГСК-2011", "", ""},
        {"пользовательские параметры", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MifDatumLabel(c.system), c.mif) << c.system;
        EXPECT_EQ(PolishDatumLabel(c.system), c.polish) << c.system;
    }
    // Each written label reads back as its own system.
    for (const KnownSystem& system : KnownSystems()) {
        std::vector<double> numbers;
        std::istringstream label(MifDatumLabel(system.Name));
        std::string number;
        while (std::getline(label, number, ',')) numbers.push_back(std::stod(number));
        EXPECT_EQ(SystemsOfMifDatum(numbers), Systems{system.Name}) << system.Name;
        if (!system.PolishName.empty()) {
            EXPECT_EQ(SystemsOfPolishDatum(system.PolishName), Systems{system.Name});
        }
    }
}

}  // namespace
}  // namespace datumer
