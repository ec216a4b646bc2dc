// Every fixed preset against the EPSG records PROJ ships in proj.db: the records named for the
// preset, composed in their order (a record run backwards where its number is negated), give the
// preset's seven values to half a unit of their last published digit. Rotations of arc seconds
// and scales of parts per million compose by adding them to well below that digit (the exact
// composition differs by less than 0.1 mm), which is how the standards and EPSG compose them.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../common/test_folder.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/rules/setup_rules.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

// Seven values in our convention: shifts m, rotations arc seconds, scale ppm.
using Seven = std::array<double, 7>;

// The EPSG Helmert records of proj.db, in our convention, by code.
std::map<int, Seven> ReadEpsgRecords() {
    testfiles::TempFolder folder;
    const std::string query =
        "select code, tx, ty, tz, coalesce(rx, 0), coalesce(ry, 0), coalesce(rz, 0), "
        "coalesce(rotation_uom_code, 9104), coalesce(scale_difference, 0), method_code "
        "from helmert_transformation where auth_name = 'EPSG' and translation_uom_code = 9001 "
        "and coalesce(scale_difference_uom_code, 9202) = 9202";
    const char* data = std::getenv("PROJ_DATA");
    const std::string db = std::string(data ? data : "/usr/share/proj") + "/proj.db";
    const std::string command = "sqlite3 -separator ' ' '" + db + "' \"" + query + "\" >'" +
                                (folder / "records.txt").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0)
        << "sqlite3 and PROJ's proj.db are needed: scripts/install-deps.sh installs them";
    std::map<int, Seven> records;
    std::ifstream in(folder / "records.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        int code = 0, rotationUnit = 0, method = 0;
        Seven v{};
        fields >> code >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] >> rotationUnit >> v[6] >>
            method;
        if (!fields) continue;
        const double unit = rotationUnit == 1031 ? 0.001 : 1.0;  // milliarc-seconds
        // Position vector records (9606, 1033, 1053, 1065) turn the other way.
        const bool positionVector =
            method == 9606 || method == 1033 || method == 1053 || method == 1065;
        for (int i = 3; i < 6; ++i) v[i] *= unit * (positionVector ? -1 : 1);
        records[code] = v;
    }
    return records;
}

// Decimals of the published value as the program shows it.
int Decimals(double value) {
    const std::string text = SetupFieldText(value, '.');
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// Half a unit of the last digit of a group of values (the shifts, the rotations, the scale).
double HalfUnit(const TCHSK& p, int first, int last) {
    const std::array<double, 7> v{p.DX, p.DY, p.DZ, p.WX, p.WY, p.WZ, p.M};
    int decimals = 0;
    for (int i = first; i <= last; ++i) decimals = std::max(decimals, Decimals(v[i]));
    return 0.5 * std::pow(10.0, -decimals) + 1e-12;
}

TEST(PresetsAgainstEpsg, EveryFixedPresetIsTheCompositionOfItsRecords) {
    const std::map<int, Seven> records = ReadEpsgRecords();
    ASSERT_FALSE(records.empty());
    const DatumerState state = MakeDatumerState();
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        const std::string chain(PresetEpsgRecords(preset));
        if (preset == kUserPreset) {
            EXPECT_EQ(chain, "");
            continue;
        }
        SCOPED_TRACE(PresetListText(state, preset) + " <- EPSG " + chain);
        Seven epsg{};
        std::istringstream codes(chain);
        int code = 0;
        while (codes >> code) {
            ASSERT_TRUE(records.count(std::abs(code))) << code;
            const Seven& step = records.at(std::abs(code));
            for (int i = 0; i < 7; ++i) epsg[i] += code < 0 ? -step[i] : step[i];
        }
        const TCHSK& p = PresetAt(state, preset);
        const Seven ours{p.DX, p.DY, p.DZ, p.WX, p.WY, p.WZ, p.M};
        // A note after the codes says where the preset departs from the records.
        const bool departs = chain.find('(') != std::string::npos;
        int disagreements = 0;
        for (int i = 0; i < 7; ++i) {
            const double tolerance = i < 3   ? HalfUnit(p, 0, 2)
                                     : i < 6 ? HalfUnit(p, 3, 5)
                                             : HalfUnit(p, 6, 6);
            if (std::fabs(epsg[i] - ours[i]) <= tolerance) continue;
            ++disagreements;
            if (!departs) {
                ADD_FAILURE() << "value " << i + 1 << ": EPSG " << epsg[i] << ", preset "
                              << ours[i];
            }
        }
        if (departs) {
            EXPECT_GT(disagreements, 0) << "the note names a departure that is not there";
        }
    }
}

}  // namespace
}  // namespace datumer
