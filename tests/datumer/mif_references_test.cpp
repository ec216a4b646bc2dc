// The MIF converter against independent references, for every preset: PROJ's cct recomputes
// each transformed position (seven-parameter Helmert, coordinate-frame convention, between
// geocentric steps), and GDAL's ogrinfo reads the written file back: all its objects, and the
// ellipsoid and parameters towards WGS84 of the datum the label names. Both tools come from
// Debian (proj-bin, gdal-bin); without them the tests are skipped with the reason.

// GCC 12 with the sanitizers reports a false -Wmaybe-uninitialized inside std::regex's
// std::function members; the pragma comes before every include so that it covers them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/text.hpp"
#include "convert_test_folder.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/datum_labels.hpp"
#include "datumer/files/formats.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

bool HasTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct Position {
    double longitude = 0.0;
    double latitude = 0.0;
};

// A MIF file with every object type, keywords in the cases writers use, and the positions it
// holds in the order written.
class SampleMif {
  public:
    SampleMif() {
        text_ =
            "VERSION 300\nCharset \"WindowsCyrillic\"\nDelimiter \",\"\n"
            "Coordsys Earth\n  Projection 1, 1001\nColumns 1\n  Name Char(10)\nDATA\n";
        // "@" stands for the next position.
        Add("Point @\n    Symbol (35,0,12)\n");
        Add("line @ @\n    Pen (1,2,0)\n");
        Add("PLINE\n3\n@\n@\n@\n    Pen (1,2,0)\n    Smooth\n");
        Add("Pline Multiple 2\n  2\n@\n@\n 2\n@\n@\n    Center @\n");
        Add("REGION 2\n  4\n@\n@\n@\n@\n3\n@\n@\n@\n    Pen (1,2,0)\n"
            "    Brush (2,16777215,16777215)\n    Center @\n");
        Add("arc @ @\n  0 90\n    Pen (1,2,0)\n");
        Add("Rect @ @\n");
        Add("ROUNDRECT @ @\n  0.05\n");
        Add("Ellipse @ @\n    Brush (2,16777215,16777215)\n");
        Add("text\n    \"Москва\"\n    @ @\n    Font (\"Arial\",0,0,0)\n    Angle 10\n");
        Add("MultiPoint 3\n@\n@\n@\n    Symbol (35,0,12)\n");
        Add("COLLECTION 3\nMULTIPOINT 2\n@\n@\nPline 2\n@\n@\nregion 1\n  3\n@\n@\n@\n");
    }
    const std::string& Text() const { return text_; }
    const std::vector<Position>& Positions() const { return positions_; }
    int Objects() const { return objects_; }

  private:
    void Add(std::string_view object) {
        for (char c : object) {
            if (c == '@')
                text_ += P();
            else
                text_ += c;
        }
        ++objects_;
    }
    // The next position, spread over some 50 km so that no two agree.
    std::string P() {
        const double i = static_cast<double>(positions_.size());
        const Position p{37.123456 + 0.0137 * i, 55.654321 + 0.0091 * i};
        positions_.push_back(p);
        std::ostringstream text;
        text.precision(10);
        text << p.longitude << ' ' << p.latitude;
        return text.str();
    }

    std::string text_;
    std::vector<Position> positions_;
    int objects_ = 0;
};

// The positions the converter wrote: numbers with exactly 10 decimals, in pairs.
std::vector<Position> WrittenPositions(const std::string& mif) {
    static const std::regex number(R"((^|[\s,])(-?\d+\.\d{10})(?=$|[\s,]))");
    std::vector<double> values;
    for (auto it = std::sregex_iterator(mif.begin(), mif.end(), number);
         it != std::sregex_iterator(); ++it)
        values.push_back(std::stod((*it)[2].str()));
    std::vector<Position> positions;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        positions.push_back({values[i], values[i + 1]});
    return positions;
}

// The numbers of a text in order, as pairs (of WKT geometries, say).
std::vector<Position> NumberPairs(const std::string& text) {
    static const std::regex number(R"(-?\d+(\.\d+)?([eE][-+]?\d+)?)");
    std::vector<double> values;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
         it != std::sregex_iterator(); ++it)
        values.push_back(std::stod(it->str()));
    std::vector<Position> positions;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        positions.push_back({values[i], values[i + 1]});
    return positions;
}

class MifReferences : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HasTool("cct") || !HasTool("ogrinfo"))
            GTEST_SKIP() << "cct (proj-bin) or ogrinfo (gdal-bin) is not installed";
    }

    common::ConvertResult Convert(int preset) {
        state_.SelectedPreset = preset;
        state_.Params = BuildDatumParams(state_, preset);
        WriteBytes(folder_ / "map.mif", sample_.Text());
        std::filesystem::remove(Target());
        return MakeConverter(*FindDatumerFormat(kFormatMif),
                             state_)(testing::Job(folder_ / "map.mif", Target()));
    }
    std::filesystem::path Target() const { return folder_ / "out.mif"; }

    // The sample's positions through cct with the preset's parameters and ellipsoids.
    std::vector<Position> ThroughCct(int preset) {
        const TCHSK& p = PresetAt(state_, preset);
        const TELL& from = EllipsoidAt(state_, p.SourceEll);
        const TELL& to = EllipsoidAt(state_, p.TargetEll);
        std::ostringstream input;
        input.precision(12);
        for (const Position& position : sample_.Positions())
            input << position.longitude << ' ' << position.latitude << " 0\n";
        WriteBytes(folder_ / "cct.in", input.str());
        std::ostringstream command;
        command.precision(17);
        command << "cct -d 12 +proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad"
                << " +step +proj=cart +a=" << from.A << " +rf=" << from.InvFlattening
                << " +step +proj=helmert +x=" << p.DX << " +y=" << p.DY << " +z=" << p.DZ
                << " +rx=" << p.WX << " +ry=" << p.WY << " +rz=" << p.WZ << " +s=" << p.M
                << " +convention=coordinate_frame +step +inv +proj=cart +a=" << to.A
                << " +rf=" << to.InvFlattening << " +step +proj=unitconvert +xy_in=rad +xy_out=deg"
                << " '" << (folder_ / "cct.in").string() << "' >'" << (folder_ / "cct.out").string()
                << "'";
        EXPECT_EQ(std::system(command.str().c_str()), 0) << command.str();
        std::istringstream output(ReadBytes(folder_ / "cct.out"));
        std::vector<Position> positions;
        std::string line;
        while (std::getline(output, line)) {
            std::istringstream values(line);  // its time column reads "inf"
            Position position;
            if (values >> position.longitude >> position.latitude) positions.push_back(position);
        }
        return positions;
    }

    // ogrinfo's listing of the converted file, its datum in WKT1, with a .mid beside it.
    std::string ReadBack() {
        std::string mid;
        for (int i = 0; i < sample_.Objects(); ++i) mid += "\"a\"\r\n";
        WriteBytes(folder_ / "out.mid", mid);
        const std::string command = "ogrinfo -ro -al -wkt_format WKT1 '" + Target().string() +
                                    "' >'" + (folder_ / "ogr.out").string() + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return ReadBytes(folder_ / "ogr.out");
    }

    // The parameters towards WGS84 of a system, from its preset "<system> => WGS84".
    const TCHSK* TowardsWgs84(const std::string& system) const {
        for (int i = 1; i <= kPresetCount; ++i) {
            const TCHSK& p = PresetAt(state_, i);
            if (p.SourceName == system && p.TargetName == "WGS84") return &p;
        }
        return nullptr;
    }

    DatumerState state_ = MakeDatumerState();
    TempFolder folder_;
    SampleMif sample_;
};

TEST_F(MifReferences, EveryPositionAgreesWithCct) {
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        ASSERT_EQ(Convert(preset).message, "") << "preset " << preset;
        const std::vector<Position> written = WrittenPositions(ReadBytes(Target()));
        const std::vector<Position> expected = ThroughCct(preset);
        ASSERT_EQ(written.size(), sample_.Positions().size()) << "preset " << preset;
        ASSERT_EQ(expected.size(), written.size()) << "preset " << preset;
        for (std::size_t i = 0; i < written.size(); ++i) {
            // 1e-9 degrees is about 0.1 mm; the file writes 10 decimals.
            EXPECT_NEAR(written[i].longitude, expected[i].longitude, 1e-9)
                << "preset " << preset << ", position " << i + 1;
            EXPECT_NEAR(written[i].latitude, expected[i].latitude, 1e-9)
                << "preset " << preset << ", position " << i + 1;
        }
    }
}

// GDAL reads every object back and finds in the label the target's ellipsoid and its parameters
// towards WGS84 (GDAL writes them position-vector, so MapInfo's rotations come back negated).
// The user preset's target has no label: the source label stays, with a warning.
TEST_F(MifReferences, GdalReadsTheTargetDatumFromTheLabel) {
    static const std::regex spheroid(R"re(SPHEROID\["[^"]*",([-0-9.eE+]+),([-0-9.eE+]+))re");
    static const std::regex towgs84(R"(TOWGS84\[([^\]]*)\])");
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        const common::ConvertResult result = Convert(preset);
        ASSERT_EQ(result.message, "") << "preset " << preset;
        const TCHSK& p = PresetAt(state_, preset);
        const std::string info = ReadBack();
        SCOPED_TRACE("preset " + std::to_string(preset) + "\n" + info.substr(0, 900));
        // Its summary's count is an estimate that counts a collection's parts; the listing
        // holds one feature per object.
        std::size_t features = 0;
        for (std::size_t at = info.find("OGRFeature("); at != std::string::npos;
             at = info.find("OGRFeature(", at + 1))
            ++features;
        EXPECT_EQ(features, static_cast<std::size_t>(sample_.Objects()));
        EXPECT_EQ(info.find("ERROR"), std::string::npos);
        // The sample is labelled СК42: any other source is warned of, and a target the format
        // cannot name.
        const bool otherSource = preset != kUserPreset && p.SourceName != "СК42";
        if (preset == kUserPreset || MifDatumLabel(p.TargetName).empty()) {
            EXPECT_NE(ReadBytes(Target()).find("  Projection 1, 1001\r\n"), std::string::npos);
            ASSERT_EQ(result.Warnings.size(), otherSource ? 2u : 1u);
            EXPECT_NE(result.Warnings.back().find("нет метки датума формата MIF"),
                      std::string::npos);
            continue;
        }
        EXPECT_EQ(result.Warnings.size(), otherSource ? 1u : 0u);

        std::smatch match;
        ASSERT_TRUE(std::regex_search(info, match, spheroid));
        const TELL& target = EllipsoidAt(state_, p.TargetEll);
        EXPECT_NEAR(std::stod(match[1].str()), target.A, 1e-6);
        EXPECT_NEAR(std::stod(match[2].str()), target.InvFlattening, 1e-9);

        std::vector<double> expected(7, 0.0);
        if (const TCHSK* toWgs84 = TowardsWgs84(p.TargetName))
            expected = {toWgs84->DX,  toWgs84->DY,  toWgs84->DZ, -toWgs84->WX,
                        -toWgs84->WY, -toWgs84->WZ, toWgs84->M};
        else
            ASSERT_EQ(p.TargetName, "WGS84");
        std::vector<double> read(7, 0.0);
        if (std::regex_search(info, match, towgs84)) {
            std::istringstream values(match[1].str());
            std::string value;
            for (std::size_t i = 0; i < read.size() && std::getline(values, value, ','); ++i)
                read[i] = std::stod(value);
        } else {
            EXPECT_EQ(p.TargetName, "WGS84") << "no TOWGS84 read back";
        }
        for (std::size_t i = 0; i < read.size(); ++i)
            EXPECT_NEAR(read[i], expected[i], 1e-9) << "parameter " << i + 1;
    }
}

// The label's meaning end to end: GDAL takes a file converted from WGS84 back to WGS84 with the
// datum the label names, and finds the source positions again. A preset's inverse is its negated
// parameters, exact to a few millimetres (1e-7 degrees is about 1 cm); a wrong sign of a rotation
// would put them metres off.
TEST_F(MifReferences, GdalTakesTheLabelledTargetBackToWgs84) {
    const std::string source =
        "Version 300\nCoordSys Earth Projection 1, 104\nColumns 1\n  Name Char(10)\nData\n"
        "Point 37.5 55.7\nLine 37.5 55.7 37.6 55.8\nPline 3\n37.5 55.7\n37.6 55.8\n37.7 55.75\n"
        "Region 1\n  4\n37.5 55.7\n37.6 55.8\n37.7 55.7\n37.5 55.7\n"
        "Multipoint 2\n43.1 -12.5\n-70.25 62.125\n";
    const std::vector<Position> expected = NumberPairs(
        "37.5 55.7 37.5 55.7 37.6 55.8 37.5 55.7 37.6 55.8 37.7 55.75 "
        "37.5 55.7 37.6 55.8 37.7 55.7 37.5 55.7 43.1 -12.5 -70.25 62.125");
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        const TCHSK& p = PresetAt(state_, preset);
        if (p.SourceName != "WGS84" || MifDatumLabel(p.TargetName).empty()) continue;
        state_.Params = BuildDatumParams(state_, preset);
        state_.SelectedPreset = preset;
        WriteBytes(folder_ / "map.mif", source);
        std::filesystem::remove(Target());
        ASSERT_EQ(MakeConverter(*FindDatumerFormat(kFormatMif),
                                state_)(testing::Job(folder_ / "map.mif", Target()))
                      .message,
                  "");
        WriteBytes(folder_ / "out.mid", "\"a\"\n\"b\"\n\"c\"\n\"d\"\n\"e\"\n");
        const std::string back = (folder_ / "back.csv").string();
        std::filesystem::remove(back);
        const std::string command =
            "ogr2ogr -f CSV -lco GEOMETRY=AS_WKT -t_srs '+proj=longlat +datum=WGS84' '" + back +
            "' '" + Target().string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::string csv = ReadBytes(back);
        csv = csv.substr(csv.find('\n') + 1);  // the column names
        const std::vector<Position> read = NumberPairs(csv);
        ASSERT_EQ(read.size(), expected.size()) << "preset " << preset << "\n" << csv;
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_NEAR(read[i].longitude, expected[i].longitude, 1e-7)
                << "preset " << preset << ", position " << i + 1;
            EXPECT_NEAR(read[i].latitude, expected[i].latitude, 1e-7)
                << "preset " << preset << ", position " << i + 1;
        }
    }
}

}  // namespace
}  // namespace datumer
