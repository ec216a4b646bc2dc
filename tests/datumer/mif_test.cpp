#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.hpp"
#include "convert_test_folder.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/formats.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class MifDatum : public ::testing::Test {
  protected:
    common::ConvertResult Convert(const std::string& source, BatchChoices choices = {},
                                  int preset = 1) {
        state_.SelectedPreset = preset;
        state_.Params = BuildDatumParams(state_, preset);
        WriteBytes(folder_ / "map.mif", source);
        return MakeConverter(*FindDatumerFormat(kFormatMif), state_,
                             choices)(testing::Job(folder_ / "map.mif", Target()));
    }
    std::filesystem::path Target() const { return folder_ / "out.mif"; }
    std::string Output() const { return ReadBytes(Target()); }

    // The transformed pair "x y" (longitude first) as the converter must write it.
    std::string LonLat(double longitude, double latitude) const {
        GeocentricShift shift;
        GeodeticPoint target;
        TransformDatum({latitude, longitude, 0.0}, state_.Params, shift, target);
        return common::FormatFixed(false, 1, true, target.L, 10, '.') + " " +
               common::FormatFixed(false, 1, true, target.B, 10, '.');
    }

    DatumerState state_ = MakeDatumerState();
    TempFolder folder_;
};

const std::string kHeader =
    "Version 300\n"
    "Charset \"WindowsCyrillic\"\n"
    "Delimiter \",\"\n"
    "CoordSys Earth Projection 1, 1001\n"
    "Columns 1\n"
    "  Name Char(20)\n"
    "Data\n"
    "\n";
const std::string kHeaderOut =
    "Version 300\r\n"
    "Charset \"WindowsCyrillic\"\r\n"
    "Delimiter \",\"\r\n"
    "CoordSys Earth Projection 1, 104\r\n"
    "Columns 1\r\n"
    "  Name Char(20)\r\n"
    "Data\r\n"
    "\r\n";

// Every object's positions are transformed, its other lines copied; Line and the Center of a
// region were copied before, leaving them in the source datum under the target's label.
TEST_F(MifDatum, TransformsEveryPositionAndCopiesTheRest) {
    const std::string source = kHeader +
                               "Region 1\n"
                               "  4\n"
                               "37.1 55.1\n"
                               "37.2 55.1 extra\n"
                               "37.2  55.2\n"
                               "37.1 55.1\n"
                               "    Pen (1,2,0)\n"
                               "    Brush (2,16777215,16777215)\n"
                               "    Center 37.15 55.15\n"
                               "Pline Multiple 2\n"
                               "  2\n"
                               "37.3 55.3\n"
                               "37.4 55.4\n"
                               "  1\n"
                               "37.5 55.5\n"
                               "    Pen (1,2,0)\n"
                               "Point   37.6 55.6\n"
                               "    Symbol (35,0,12)\n"
                               "Text\n"
                               "    \"Москва\"\n"
                               "    37.7 55.7  37.8   55.8\n"
                               "    Font (\"Arial\",0,0,0)\n"
                               "Line 37.1 55.1 37.2 55.2\n"
                               "Pline 2\n"
                               "37.9 55.9\n"
                               "38 56\n";
    ASSERT_EQ(Convert(source).message, "");
    EXPECT_EQ(Output(),
              kHeaderOut + "Region 1\r\n  4\r\n" + LonLat(37.1, 55.1) + "\r\n" +
                  LonLat(37.2, 55.1) + "\r\n" + LonLat(37.2, 55.2) + "\r\n" + LonLat(37.1, 55.1) +
                  "\r\n    Pen (1,2,0)\r\n    Brush (2,16777215,16777215)\r\n    Center " +
                  LonLat(37.15, 55.15) + "\r\nPline Multiple 2\r\n  2\r\n" + LonLat(37.3, 55.3) +
                  "\r\n" + LonLat(37.4, 55.4) + "\r\n  1\r\n" + LonLat(37.5, 55.5) +
                  "\r\n    Pen (1,2,0)\r\nPoint   " + LonLat(37.6, 55.6) +
                  "\r\n    Symbol (35,0,12)\r\nText\r\n    \"Москва\"\r\n    " +
                  LonLat(37.7, 55.7) + " " + LonLat(37.8, 55.8) +
                  "\r\n    Font (\"Arial\",0,0,0)\r\nLine " + LonLat(37.1, 55.1) + " " +
                  LonLat(37.2, 55.2) + "\r\nPline 2\r\n" + LonLat(37.9, 55.9) + "\r\n" +
                  LonLat(38, 56) + "\r\n");
}

// The MP example point, 55.75 N 37.6166667 E, rounds to 55.75004 N 37.61479 E; each order writes
// it back in the order read.
TEST_F(MifDatum, WritesPairsInTheOrderRead) {
    ASSERT_EQ(Convert("Point 37.6166667 55.75\n").message, "");
    EXPECT_EQ(Output().substr(0, 20), "Point 37.6147933840 ");
    EXPECT_EQ(Output().substr(20, 9), "55.750036");

    ASSERT_EQ(Convert("Point 55.75 37.6166667\n", {MifPairOrder::LatLon}).message, "");
    EXPECT_EQ(Output().substr(0, 20), "Point 55.7500363715 ");
    EXPECT_EQ(Output().substr(20, 9), "37.614793");
}

TEST_F(MifDatum, ChecksRangesByTheChosenOrder) {
    const struct {
        const char* line;
        MifPairOrder order;
        bool good;
    } cases[] = {
        {"Point 120 55", MifPairOrder::LonLat, true},
        {"Point 120 55", MifPairOrder::LatLon, false},
        {"Point 37 90.5", MifPairOrder::LonLat, false},
        {"Point 90.5 37", MifPairOrder::LatLon, false},
        {"Point -180 -90", MifPairOrder::LonLat, true},
        {"Point 180.0000001 0", MifPairOrder::LonLat, false},
    };
    for (const auto& c : cases) {
        const common::ConvertResult result = Convert(std::string(c.line) + "\n", {c.order});
        EXPECT_EQ(result.message, c.good ? "" : "Ошибка в строке 1") << c.line;
        EXPECT_EQ(std::filesystem::exists(Target()), c.good) << c.line;
    }
}

TEST_F(MifDatum, CrossesTheAntimeridianInBothDirections) {
    ASSERT_EQ(Convert("Point 179.999 55\nPoint -180 55\n").message, "");
    const std::string out = Output();
    EXPECT_EQ(out.substr(0, 12), "Point -179.9");
    EXPECT_NE(out.find("\r\nPoint -179.99"), std::string::npos);
    EXPECT_EQ(out.find("-180.0"), std::string::npos);
}

TEST_F(MifDatum, MalformedObjectLinesFailTheFile) {
    const struct {
        const char* source;
        const char* message;
    } cases[] = {
        // A text whose string stands on the keyword line has its box on the next line.
        {"Text \"Москва\"\n    Font (\"Arial\",0,0,0)\n", "Ошибка в строке 2"},
        {"Text\n    \"a\"\n    37.7 55.7 37.8\n", "Ошибка в строке 3"},
        {"Text\n    \"a\"\n\n", "Ошибка в строке 3"},
        {"Point\n", "Ошибка в строке 1"},
        {"Point 37.5\n", "Ошибка в строке 1"},
        {"Point 37.5 \n", "Ошибка в строке 1"},
        {"Pline 2\n37.5 55.x\n", "Ошибка в строке 2"},
        {"Region 1\n  1\n37.5 55.5 3\n", "Ошибка в строке 3: лишние числа в строке координат"},
        // A count that promises more points than follow: the rest would stay untransformed.
        {"Region 1\n  3\n37.1 55.1\n    Pen (1,2,0)\n",
         "Ошибка в строке 4: в объекте меньше точек, чем указано"},
        {"Pline 1\n37.1 55.1\n37.2 55.2\n", "Ошибка в строке 3: числа вне объекта"},
        {"Pline Multiple 2\n37.1 55.1\n", "Ошибка в строке 2: ожидалось число точек объекта"},
        {"Region\n", "Ошибка в строке 1: объект записан в неизвестном виде"},
    };
    for (const auto& c : cases) {
        const common::ConvertResult result = Convert(c.source);
        EXPECT_EQ(result.Outcome, common::ConvertOutcome::BadLine) << c.source;
        EXPECT_EQ(result.message, c.message) << c.source;
        EXPECT_FALSE(std::filesystem::exists(Target())) << c.source;
    }
}

TEST_F(MifDatum, NoObjectIsLeftInTheSourceDatum) {
    // Western coordinates, indented points, a keyword that directly follows a block, and a text
    // whose string stands on its keyword line are all transformed.
    const std::string source =
        "Region 1\n  3\n37.1 55.1\n-37.2 55.2\n 37.3 55.3\n"
        "Region 1\n  1\n37.1 55.1\nPline 2\n37.2 55.2\n37.3 55.3\n"
        "Text \"a\"\n    37.1 55.1 37.2 55.2\n";
    ASSERT_EQ(Convert(source).message, "");
    EXPECT_EQ(Output(), "Region 1\r\n  3\r\n" + LonLat(37.1, 55.1) + "\r\n" + LonLat(-37.2, 55.2) +
                            "\r\n " + LonLat(37.3, 55.3) + "\r\nRegion 1\r\n  1\r\n" +
                            LonLat(37.1, 55.1) + "\r\nPline 2\r\n" + LonLat(37.2, 55.2) + "\r\n" +
                            LonLat(37.3, 55.3) + "\r\nText \"a\"\r\n    " + LonLat(37.1, 55.1) +
                            " " + LonLat(37.2, 55.2) + "\r\n");
}

const std::string kSk42Label = "9999, 3, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 0";
const std::string kSk95Label = "9999, 3, 24.82, -131.21, -82.66, 0, 0, -0.16, -0.12, 0";
// MapInfo's 1012 has rZ -0.16; the preset ПЗ90.01 => WGS84 has +0.16, so the custom form.
const std::string kPz90Label = "9999, 52, -1.08, -0.27, -0.9, 0, 0, 0.16, -0.12, 0";

TEST_F(MifDatum, RewritesOrRefusesTheCoordSysClause) {
    const struct {
        std::string coordSys;
        int preset;
        bool keep;
        std::string written;  // empty: refused with `reason` at `line`
        std::string_view reason = {};
        int line = 2;
    } cases[] = {
        {"CoordSys Earth Projection 1, 1001", 1, false, "CoordSys Earth Projection 1, 104"},
        {"CoordSys Earth Projection 1,104", 2, false, "CoordSys Earth Projection 1," + kSk42Label},
        {"coordsys earth projection 1, 9999, 3, 24, -123, -94, 0.02, -0.25, -0.13, 1.1, 0  "
         "Bounds (-180, -90) (180, 90)",
         1, false, "coordsys earth projection 1, 104  Bounds (-180, -90) (180, 90)"},
        {"CoordSys Earth Projection 1, 1001", 7, false,
         "CoordSys Earth Projection 1, " + kSk95Label},
        {"CoordSys Earth Projection 1, 1001", 9, false,
         "CoordSys Earth Projection 1, " + kPz90Label},
        {"CoordSys Earth Projection 1, 1001", 7, true, "CoordSys Earth Projection 1, 1001"},
        {"CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0", 1, true, "",
         kMifNotGeographic},
        {"CoordSys NonEarth Units \"m\"", 1, false, "", kMifNotGeographic},
        {"CoordSys Earth Projection 10, 104", 1, false, "", kMifNotGeographic},
        {"CoordSys Earth Projection 1, 104 Affine Units \"m\", 1, 0, 0, 0, 1, 0", 1, false, "",
         kMifNotGeographic},
        // The clause may go on over the next lines: it is judged at the next header key.
        {"CoordSys Earth Projection 1,", 1, false, "", kMifNotGeographic, 3},
    };
    for (const auto& c : cases) {
        const std::string source = "Version 300\n" + c.coordSys + "\nData\n";
        const common::ConvertResult result =
            Convert(source, {MifPairOrder::LonLat, c.keep}, c.preset);
        EXPECT_NE(result.Outcome, common::ConvertOutcome::FileFailed);
        if (!c.written.empty()) {
            EXPECT_EQ(result.message, "") << c.coordSys;
            EXPECT_EQ(Output(), "Version 300\r\n" + c.written + "\r\nData\r\n");
        } else {
            EXPECT_EQ(result.message,
                      "Ошибка в строке " + std::to_string(c.line) + ": " + std::string(c.reason))
                << c.coordSys;
            EXPECT_FALSE(std::filesystem::exists(Target())) << c.coordSys;
        }
    }
}

// A file labelled with another system than the preset's source is converted as asked, with a
// warning naming both; the user preset's target has no label and keeps the source's.
TEST_F(MifDatum, WarnsOfLabelsThatDoNotFitThePreset) {
    const struct {
        std::string datum;
        int preset;
        std::vector<std::string> warnings;
    } cases[] = {
        {"1001", 1, {}},
        {"9999, 3, 24, -123, -94, 0.02, -0.25, -0.13, 1.1, 0", 3, {}},
        {"104",
         1,
         {"Датум заголовка \"104\" (WGS84) не совпадает с исходной системой пересчёта (СК42); "
          "координаты пересчитаны из СК42, как задано."}},
        {"9999, 3, 24, -123, -94, 0.02, -0.25, -0.13, 1.1, 0",
         2,
         {"Датум заголовка \"9999, 3, 24, -123, -94, 0.02, -0.25, -0.13, 1.1, 0\" (СК42 или СК95) "
          "не совпадает с исходной системой пересчёта (WGS84); координаты пересчитаны из WGS84, "
          "как задано."}},
        {"33",
         1,
         {"Датум заголовка \"33\" не распознан как исходная система пересчёта (СК42); координаты "
          "пересчитаны из СК42, как задано."}},
        {"1001",
         13,
         {"Для целевой системы (пользовательские параметры) нет метки датума формата MIF: метка "
          "заголовка \"1001\" оставлена и не соответствует координатам."}},
        // ПЗ90.11 has a label of its own; ГСК-2011 has none, and a known label still differs.
        {"9999, 52, 0.013, -0.106, -0.022, 0.0023, -0.00354, 0.00421, 0.008, 0", 28, {}},
        {"1001",
         31,
         {"Датум заголовка \"1001\" (СК42) не совпадает с исходной системой пересчёта "
          "(ГСК-2011); координаты пересчитаны из ГСК-2011, как задано."}},
        {"33", 31, {}},
    };
    for (const auto& c : cases) {
        const common::ConvertResult result = Convert(
            "CoordSys Earth Projection 1, " + c.datum + "\nData\nPoint 37 55\n", {}, c.preset);
        EXPECT_EQ(result.message, "") << c.datum;
        EXPECT_EQ(result.Warnings, c.warnings) << c.datum << ", preset " << c.preset;
    }
}

// Real headers write keywords in any case and continue the clause on the next lines, also in
// the middle of a custom datum; column names are no keywords.
TEST_F(MifDatum, ReadsTheHeaderAsMapInfoDoes) {
    const struct {
        std::string header;
        std::string written;
    } cases[] = {
        {"Coordsys Earth\nProjection 1, 1001\n", "Coordsys Earth\r\nProjection 1, 104\r\n"},
        {"COORDSYS EARTH PROJECTION 1,\n  1001\n", "COORDSYS EARTH PROJECTION 1,\r\n  104\r\n"},
        {"CoordSys Earth Projection 1, 9999, 3,\n 24, -123, -94, 0.02, -0.25, -0.13, 1.1, 0 "
         "Bounds (-180, -90) (180, 90)\n",
         "CoordSys Earth Projection 1, 104\r\n  Bounds (-180, -90) (180, 90)\r\n"},
        {"CoordSys Earth Projection 1, 1001\nTransform 1, 1, 0, 0\n",
         "CoordSys Earth Projection 1, 104\r\nTransform 1, 1, 0, 0\r\n"},
    };
    const std::string columns = "Columns 3\n  Text Char(10)\n  Index Integer\n  Point Float\n";
    const std::string columnsOut =
        "Columns 3\r\n  Text Char(10)\r\n  Index Integer\r\n  Point Float\r\n";
    for (const auto& c : cases) {
        ASSERT_EQ(Convert("VERSION 300\n" + c.header + columns + "DATA\nPOINT 37 55\n").message, "")
            << c.header;
        EXPECT_EQ(Output(), "VERSION 300\r\n" + c.written + columnsOut + "DATA\r\nPOINT " +
                                LonLat(37, 55) + "\r\n");
    }
    const common::ConvertResult scaled =
        Convert("Version 300\nTransform 2, 2, 0, 0\nData\nPoint 37 55\n");
    EXPECT_EQ(scaled.message, "Ошибка в строке 2: " + std::string(kMifScaled));
}

// LF, CR LF and a lone CR end lines; a byte-order mark stays in front of the first line.
TEST_F(MifDatum, ReadsEveryLineEndAndKeepsAByteOrderMark) {
    const std::string source =
        "\xEF\xBB\xBF"
        "Version 300\rCoordSys Earth Projection 1, 1001\r\nData\n\rPoint 37 55\r"
        "Pline 2\r37.1 55.1\n37.2 55.2";
    ASSERT_EQ(Convert(source).message, "");
    EXPECT_EQ(Output(),
              "\xEF\xBB\xBF"
              "Version 300\r\nCoordSys Earth Projection 1, 104\r\n"
              "Data\r\n\r\nPoint " +
                  LonLat(37, 55) + "\r\nPline 2\r\n" + LonLat(37.1, 55.1) + "\r\n" +
                  LonLat(37.2, 55.2) + "\r\n");
}

TEST_F(MifDatum, CoordSysAfterTheHeaderIsOrdinaryText) {
    ASSERT_EQ(Convert("Data\nCoordSys NonEarth Units \"m\"\n").message, "");
    EXPECT_EQ(Output(), "Data\r\nCoordSys NonEarth Units \"m\"\r\n");
}

}  // namespace
}  // namespace datumer
