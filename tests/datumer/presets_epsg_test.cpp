// Every fixed preset against the EPSG records PROJ ships in proj.db: the records named for the
// preset, composed in their order (a record run backwards where its number is negated), give the
// preset's seven values to half a unit of their last published digit.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "../common/test_folder.hpp"
#include "datumer/presets.hpp"
#include "datumer/setup_rules.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Vector = std::array<double, 3>;
constexpr double kArcSecond = std::numbers::pi / 648000.0;

// x -> M·x + t.
struct Similarity {
    Matrix M{};
    Vector t{};
};

// Seven values in our convention: shifts m, rotations arc seconds, scale ppm.
using Seven = std::array<double, 7>;

Similarity FromSeven(const Seven& v) {
    const double s = 1 + v[6] * 1e-6;
    const double rx = v[3] * kArcSecond, ry = v[4] * kArcSecond, rz = v[5] * kArcSecond;
    return {{{{s, s * rz, -s * ry}, {-s * rz, s, s * rx}, {s * ry, -s * rx, s}}},
            {v[0], v[1], v[2]}};
}

Vector Apply(const Matrix& m, const Vector& x) {
    Vector y{};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) y[i] += m[i][k] * x[k];
    return y;
}

// Second after first.
Similarity Then(const Similarity& first, const Similarity& second) {
    Similarity r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r.M[i][j] += second.M[i][k] * first.M[k][j];
    const Vector moved = Apply(second.M, first.t);
    for (int i = 0; i < 3; ++i) r.t[i] = moved[i] + second.t[i];
    return r;
}

Similarity Inverse(const Similarity& a) {
    const Matrix& m = a.M;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Similarity r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int i1 = (j + 1) % 3, i2 = (j + 2) % 3, j1 = (i + 1) % 3, j2 = (i + 2) % 3;
            r.M[i][j] = (m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1]) / det;
        }
    const Vector back = Apply(r.M, a.t);
    for (int i = 0; i < 3; ++i) r.t[i] = -back[i];
    return r;
}

// The seven values of a composed transformation (rotations are small, so first order suffices).
Seven ToSeven(const Similarity& a) {
    const Matrix& m = a.M;
    const double s = (m[0][0] + m[1][1] + m[2][2]) / 3;
    return {a.t[0],
            a.t[1],
            a.t[2],
            (m[1][2] - m[2][1]) / 2 / s / kArcSecond,
            (m[2][0] - m[0][2]) / 2 / s / kArcSecond,
            (m[0][1] - m[1][0]) / 2 / s / kArcSecond,
            (s - 1) * 1e6};
}

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
        Similarity composed = FromSeven({});
        std::istringstream codes(chain);
        int code = 0;
        while (codes >> code) {
            ASSERT_TRUE(records.count(std::abs(code))) << code;
            const Similarity step = FromSeven(records.at(std::abs(code)));
            composed = Then(composed, code < 0 ? Inverse(step) : step);
        }
        const Seven epsg = ToSeven(composed);
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
