// Gridwise's converters on real files. Expected coordinates come from PROJ (cct, exact transverse
// Mercator on the Krasovsky ellipsoid) and geod, never from the code under test.

#include "gridwise/files/converters.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "../common/test_folder.hpp"
#include "common/cp1251.hpp"
#include "common/text.hpp"
#include "gridwise/files/formats.hpp"
#include "gridwise/state.hpp"

namespace gridwise {
namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

struct Outcome {
    common::ConvertResult result;
    bool targetExists = false;
    std::string target;
};

class ConverterTest : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    GridwiseState state = MakeGridwiseState();

    ConverterTest() {
        state.AngleDecimals = 10;
        state.PlaneDecimals = 3;
        state.HeightDecimals = 3;
    }

    // Runs `convert` on a source holding `bytes`.
    template <class Convert>
    Outcome Run(const std::string& bytes, Convert convert) {
        const std::filesystem::path source = folder / "in.txt";
        const std::filesystem::path target = folder / "out.txt";
        std::filesystem::remove(target);
        WriteBytes(source, bytes);
        common::ConvertJob job;
        job.Source = source;
        job.Target = target;
        Outcome outcome;
        outcome.result = convert(job);
        outcome.targetExists = std::filesystem::exists(target);
        if (outcome.targetExists) outcome.target = ReadBytes(target);
        EXPECT_EQ(ReadBytes(source), bytes);
        return outcome;
    }

    // The format's converter with the settings and options in force.
    Outcome Convert(int format, const std::string& bytes) {
        return Run(bytes, MakeConverter(*FindGridwiseFormat(format), state));
    }

    Outcome PointList(const std::string& bytes) { return Convert(kFormatPointList, bytes); }

    // SK63 settings as the set-up screen leaves them: central meridian 50°30' E, zone 1,
    // false easting 250 km and a false northing.
    void UseSk63() {
        state.CurrentSystem = kSystemSk63;
        state.Work.UserMeridian = true;
        state.Work.CentralMeridian = 50.5;
        state.Work.Sk63Zone = 1;
        state.Work.FalseEasting = 250000.0;
        state.Work.FalseNorthing = -9214.69;
        state.Work.AddZoneNumber = true;
    }
};

void ExpectLineError(const Outcome& outcome, int line) {
    EXPECT_EQ(outcome.result.Outcome, common::ConvertOutcome::BadLine);
    EXPECT_EQ(outcome.result.LineNumber, static_cast<std::uint64_t>(line));
    EXPECT_EQ(outcome.result.message, common::LineError(static_cast<std::uint64_t>(line)));
    EXPECT_FALSE(outcome.targetExists);
}

// The numeric fields of one output line.
std::vector<double> Numbers(const std::string& line) {
    std::vector<double> numbers;
    std::stringstream fields(line.substr(0, line.find_first_of("\r\n")));
    std::string field;
    std::getline(fields, field, ',');  // the name
    while (std::getline(fields, field, ',')) {
        bool ok = true;
        const double value = common::ParseSignedReal(field, ok);
        if (ok) numbers.push_back(value);
    }
    return numbers;
}

// ---------------------------------------------------------------------------------------------
// Point lists

TEST_F(ConverterTest, PointListHelpExampleToPlaneWithEitherSeries) {
    const std::string source =
        "1.,53.62,50.3478584,100.28,firstcode\r\nИм_Кирова,48.546,50.1563445334,80";
    // cct: 5943923.4766 9456846.3506 and 5379578.8083 9437708.3389 (zone 9, 51° E).
    for (int algorithm : {kClassicSeries, kKrugerSeries}) {
        state.Algorithm = algorithm;
        const Outcome outcome = PointList(source);
        EXPECT_EQ(outcome.result.message, "");
        EXPECT_EQ(outcome.target,
                  "1.,5943923.477,9456846.351,100.280,firstcode\r\n"
                  "Им_Кирова,5379578.808,9437708.339,80.000\r\n")
            << "series " << algorithm;
    }
    state.PlaneDecimals = 2;
    state.HeightDecimals = 4;
    EXPECT_EQ(PointList("p,55,37,0.00005").target, "p,6099167.24,7372018.49,0.0001\r\n");
}

TEST_F(ConverterTest, PointListRoundTripThroughBothDirections) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> latitude(-80.0, 84.0), longitude(-180.0, 180.0);
    std::string source;
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 500; ++i) {
        // Drawn in sequence: the order of evaluation of function arguments differs between
        // compilers, and every compiler must test the same points.
        const double L = longitude(random);
        const double B = latitude(random);
        points.emplace_back(B, L);
        source += 'p';
        source += std::to_string(i) + "," +
                  common::FormatFixed(false, 1, true, points.back().first, 10, '.') + "," +
                  common::FormatFixed(false, 1, true, points.back().second, 10, '.') + ",1,t\n";
    }
    for (int algorithm : {kClassicSeries, kKrugerSeries}) {
        state.Algorithm = algorithm;
        state.PlaneDecimals = 4;
        state.DirectionToPlane = true;
        const Outcome plane = PointList(source);
        ASSERT_EQ(plane.result.message, "");
        state.DirectionToPlane = false;
        const Outcome geo = PointList(plane.target);
        ASSERT_EQ(geo.result.message, "");
        std::stringstream lines(geo.target);
        std::string line;
        for (const auto& [B, L] : points) {
            ASSERT_TRUE(std::getline(lines, line));
            const std::vector<double> numbers = Numbers(line);
            ASSERT_EQ(numbers.size(), 3u) << line;
            EXPECT_NEAR(numbers[0], B, 2e-9) << line;
            EXPECT_NEAR(numbers[1], L, 1e-8) << line;
            EXPECT_TRUE(line.ends_with(",1.000,t\r")) << line;
        }
    }
}

TEST_F(ConverterTest, PointListRefusesBadLines) {
    const struct {
        const char* what;
        bool toPlane;
        bool addZone;
        std::string source;
        int badLine;
    } cases[] = {
        {"letters instead of a height", true, true, "a,55,37,1\nb,55,37,code\n", 2},
        {"no height field", true, true, "a,55,37\n", 1},
        {"empty line", true, true, "a,55,37,1\n\nb,55,37,1\n", 2},
        {"trailing empty line", true, true, "a,55,37,1\n\n", 2},
        {"blank in a number", true, true, "a,55 ,37,1\n", 1},
        {"latitude above 90", true, true, "a,90.0001,37,1\n", 1},
        {"longitude above 180", true, true, "a,55,180.5,1\n", 1},
        {"outside the zone", true, true, "a,0,2.999,1\na,80,3,1\na,0,6,1\n", 0},
        {"no zone prefix", false, true, "a,6099167.239,500000,1\n", 1},
        {"prefix above 60", false, true, "a,6099167.239,61000000,1\n", 1},
        {"northing above 11000 km", false, true, "a,11000000.001,7500000,1\n", 1},
        {"ordinate 500 km from the false easting", false, false, "a,6099167.239,1000000,1\n", 1},
    };
    for (const auto& c : cases) {
        state.DirectionToPlane = c.toPlane;
        state.Work.AddZoneNumber = c.addZone;
        const Outcome outcome = PointList(c.source);
        if (c.badLine == 0) {
            EXPECT_EQ(outcome.result.message, "") << c.what;
            continue;
        }
        ExpectLineError(outcome, c.badLine);
        EXPECT_EQ(outcome.result.message, common::LineError(c.badLine)) << c.what;
    }
}

TEST_F(ConverterTest, PlaneWithoutZoneNumberGivesTheLongitudeDifference) {
    state.DirectionToPlane = false;
    state.Work.AddZoneNumber = false;
    // 55° N 37° E lies 2° west of the central meridian of zone 7.
    const Outcome outcome = PointList("p,6099167.2395,372018.4912,5\n");
    const std::vector<double> numbers = Numbers(outcome.target);
    ASSERT_EQ(numbers.size(), 3u);
    EXPECT_NEAR(numbers[0], 55.0, 1e-8);
    EXPECT_NEAR(numbers[1], -2.0, 1e-8);
}

// ---------------------------------------------------------------------------------------------
// Sheet-name lists

class NomenclatureTest : public ConverterTest {
  protected:
    Outcome Sheets(const std::string& bytes, int scale) {
        state.ListScale = scale;
        return Convert(kFormatNomenclature, bytes);
    }
};

TEST_F(NomenclatureTest, WritesNameAndSheetInTheCyrillicCodePage) {
    // Sheet names of 55.75° N 37.6° E; "В" is 0xC2 and "а" 0xE0 in windows-1251.
    const std::string expected[] = {"N-37",
                                    "N-37-\xc0",
                                    "N-37-02",
                                    "N-37-004",
                                    "N-37-004-\xc2",
                                    "N-37-004-\xc2-\xe0",
                                    "N-37-004-\xc2-\xe0-4"};
    for (int scale = 0; scale < 7; ++scale) {
        const Outcome outcome = Sheets("Им_Кирова,55.75,37.6,80,firstcode\r\n", scale);
        EXPECT_EQ(outcome.result.message, "");
        EXPECT_EQ(outcome.target, "Им_Кирова," + expected[scale] + "\r\n") << scale;
    }
    EXPECT_EQ(Sheets("s,-33.9,18.4,0\n", 6).target, "s,sI-34-061-\xc3-\xe1-3\r\n");
    EXPECT_EQ(Sheets("p,88,10,0\n", 0).target,
              "p," + common::Utf8ToCp1251("Полярная зона (Z)") + "\r\n");
}

TEST_F(NomenclatureTest, RefusesBadLinesAndTakesPlaneInputWithZones) {
    ExpectLineError(Sheets("a,55,37,1\nb,55,37,code\n", 3), 2);
    ExpectLineError(Sheets("a,55,37\n", 3), 1);
    ExpectLineError(Sheets("a,91,37,1\n", 3), 1);
    state.DirectionToPlane = false;
    ExpectLineError(Sheets("a,6099167.239,372018.491,1\n", 3), 1);  // no zone prefix
    // 55.7° N 37.6° E in zone 7 (cct: 6176157.9476 7411976.4213), away from sheet edges: the
    // same sheet as from its geodetic coordinates.
    const Outcome plane = Sheets("a,6176157.9476,7411976.4213,1,tail\n", 6);
    EXPECT_EQ(plane.result.message, "");
    state.DirectionToPlane = true;
    const Outcome geo = Sheets("a,55.7,37.6,1\n", 6);
    EXPECT_EQ(plane.target, geo.target);
    EXPECT_TRUE(geo.target.starts_with("a,N-37-004-")) << geo.target;
}

// ---------------------------------------------------------------------------------------------
// SK42 <-> SK63 survey exports

class SurveyTest : public ConverterTest {
  protected:
    SurveyTest() { UseSk63(); }
    Outcome ToSk63(const std::string& bytes) { return Convert(kFormatSk42ToSk63, bytes); }
    Outcome ToSk42(const std::string& bytes) { return Convert(kFormatSk63ToSk42, bytes); }
};

TEST_F(SurveyTest, Sk42ZoneByHandToSk63AndBack) {
    state.ZoneInOrdinate = false;
    state.Sk42Zone = 9;
    state.HeightChange = 5.0;
    const Outcome sk63 = ToSk63(
        "Name1,5906843.211,502843.897,75.012,code1\r\nName2,5897294.569,532225.645,34.114\r\n");
    ASSERT_EQ(sk63.result.message, "");
    // cct through geodetic coordinates: 5897765.0541 1286188.6410 and 5888421.8211 1315637.2604.
    std::stringstream lines(sk63.target);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_TRUE(first.starts_with("Name1,")) << first;
    EXPECT_TRUE(first.ends_with(",80.012,code1\r")) << first;
    EXPECT_TRUE(second.ends_with(",39.114\r")) << second;
    const std::vector<double> a = Numbers(first), b = Numbers(second);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_NEAR(a[0], 5897765.0541, 0.002);
    EXPECT_NEAR(a[1], 1286188.6410, 0.002);
    EXPECT_NEAR(b[0], 5888421.8211, 0.002);
    EXPECT_NEAR(b[1], 1315637.2604, 0.002);

    // Back to SK42: the zone number 9 comes back in front of the ordinate.
    state.HeightChange = -5.0;
    const Outcome sk42 = ToSk42(sk63.target);
    ASSERT_EQ(sk42.result.message, "");
    const std::vector<double> back = Numbers(sk42.target.substr(0, sk42.target.find('\n')));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_NEAR(back[0], 5906843.211, 0.002);
    EXPECT_NEAR(back[1], 9502843.897, 0.002);
    EXPECT_TRUE(sk42.target.starts_with("Name1,"));
    EXPECT_NE(sk42.target.find(",75.012,code1\r\n"), std::string::npos) << sk42.target;
}

TEST_F(SurveyTest, ZoneInOrdinateAndTheSeriesAgree) {
    state.ZoneInOrdinate = true;
    state.PlaneDecimals = 4;
    state.HeightDecimals = 2;
    for (int algorithm : {kClassicSeries, kKrugerSeries}) {
        state.Algorithm = algorithm;
        const Outcome sk63 = ToSk63("N,5906843.211,9502843.897,75.012\n");
        ASSERT_EQ(sk63.result.message, "");
        const std::vector<double> numbers = Numbers(sk63.target);
        ASSERT_EQ(numbers.size(), 3u);
        EXPECT_NEAR(numbers[0], 5897765.0541, 0.002);
        EXPECT_NEAR(numbers[1], 1286188.6410, 0.002);
        EXPECT_TRUE(sk63.target.ends_with(",75.01\r\n")) << sk63.target;
    }
}

TEST_F(SurveyTest, RefusesOrdinatesOfTheWrongKindAndMissingHeights) {
    state.ZoneInOrdinate = false;
    state.Sk42Zone = 9;
    ExpectLineError(ToSk63("a,5906843.211,502843.897,1\nb,5906843.211,9502843.897,1\n"), 2);
    ExpectLineError(ToSk63("a,5906843.211,-0.001,1\n"), 1);
    ExpectLineError(ToSk63("a,5906843.211,502843.897\n"), 1);
    ExpectLineError(ToSk63("a,11000000.5,502843.897,1\n"), 1);
    state.ZoneInOrdinate = true;
    ExpectLineError(ToSk63("a,5906843.211,502843.897,1\n"), 1);
    ExpectLineError(ToSk42("a,5897765.054,21000000,1\n"), 1);
    ExpectLineError(ToSk42("a,5897765.054,1286188.641\n"), 1);
    ExpectLineError(ToSk42("a,5897765.054,1750000,1\n"), 1);  // 500 km from the false easting
    // The zone number in the ordinate is not compared with the SK63 zone of the settings.
    EXPECT_EQ(ToSk42("a,5897765.054,3286188.641,1\n").result.message, "");
}

TEST_F(SurveyTest, HeightChangeOfAnEarlierDialogRaisesEveryHeight) {
    state.HeightChange = 5.0;
    const Outcome outcome = ToSk42("a,5897765.054,1286188.641,10\nb,5888421.821,1315637.260,-3\n");
    ASSERT_EQ(outcome.result.message, "");
    EXPECT_NE(outcome.target.find(",15.000\r\n"), std::string::npos) << outcome.target;
    EXPECT_NE(outcome.target.find(",2.000\r\n"), std::string::npos) << outcome.target;
}

// ---------------------------------------------------------------------------------------------
// Polish-format map shift

class MapShiftTest : public ConverterTest {
  protected:
    Outcome Shift(const std::string& bytes, double north, double east) {
        state.ShiftNorth = north;
        state.ShiftEast = east;
        return Convert(kFormatMapShift, bytes);
    }
};

// Levels beyond 9, keys in capitals or lower case, the older Origin key, CR-only line ends and a
// byte-order mark: every data line is shifted, as a map must not keep part of its points.
TEST_F(MapShiftTest, ShiftsDataLinesAndCopiesEveryOtherLine) {
    const std::string header =
        "\xEF\xBB\xBF; \xca\xe0\xf0\xf2\xe0\r\n[IMG ID]\r\nName=\xcc\xee\xf1\xea\xe2\xe0\r\n"
        "[END-IMG "
        "ID]\n\n[POLYLINE]\r\nType=0x01\rData10=(55,37)\rDATA0=(55,37)\rorigin0=(55,37)\r\n";
    // geod: 1000 m north of 55° N 37° E is 55.008982668°; 500 m east 37.007813087°;
    // of 33.9° S 18.4° E, 33.890984691° S and 18.405405729° E.
    const Outcome outcome = Shift(header + "Data0=(55,37),(-33.9,18.4,7)\r\n[END]", 1000.0, 500.0);
    EXPECT_EQ(outcome.result.message, "");
    const std::string shifted = "(55.00898,37.00781)";
    EXPECT_EQ(outcome.target,
              "\xEF\xBB\xBF; \xca\xe0\xf0\xf2\xe0\r\n[IMG ID]\r\nName=\xcc\xee\xf1\xea\xe2\xe0\r\n"
              "[END-IMG ID]\r\n\r\n[POLYLINE]\r\nType=0x01\r\nData10=" +
                  shifted + "\r\nDATA0=" + shifted + "\r\norigin0=" + shifted +
                  "\r\nData0=" + shifted + ",(-33.89098,18.40541)\r\n[END]\r\n");
}

TEST_F(MapShiftTest, WesternLongitudesAndTheAntimeridian) {
    // geod: 100 m east of 55.5° N 0.5° W is 0.498417645° W; 500 m east of 0°, 179.999° E is
    // 179.9965085° W.
    EXPECT_EQ(Shift("Data0=(55.5,-0.5),(0,179.999)\n", 0.0, 100.0).target,
              "Data0=(55.50000,-0.49842),(0.00000,179.99990)\r\n");
    EXPECT_EQ(Shift("Data0=(0,179.999)\n", 0.0, 500.0).target, "Data0=(0.00000,-179.99651)\r\n");
}

TEST_F(MapShiftTest, ZeroShiftRewritesWithFiveDecimals) {
    EXPECT_EQ(Shift("Data1=(55.123456,37.5,12),\r\n", 0.0, 0.0).target,
              "Data1=(55.12346,37.50000)\r\n");
}

TEST_F(MapShiftTest, BadDataLinesEndTheFile) {
    ExpectLineError(Shift("[POLYGON]\nData0=\n", 0, 0), 2);
    ExpectLineError(Shift("[POLYGON]\nType=1\nData0=(89.999,10)\n", 1000, 0), 3);
    ExpectLineError(Shift("Data0=(-89.999,10)\n", -1000, 0), 1);
    ExpectLineError(Shift("Data0=(55, 37)\n", 0, 0), 1);
    ExpectLineError(Shift("Data0=(55,37)(55,38)\n", 0, 0), 1);
    ExpectLineError(Shift("Data0=(90,10)\n", 0, 100), 1);  // no parallel to move along
}

}  // namespace
}  // namespace gridwise
