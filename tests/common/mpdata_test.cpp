// Data lines of Polish-format maps: which lines are data lines, the coordinate-group syntax and
// the rewriting of a line.

#include "common/mpdata.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Real files write the key in any case, with levels beyond 9 and with the older "Origin": each of
// them carries coordinates, so none may be copied untransformed.
TEST(IsDataLine, KeysOfEveryLevelInAnyCaseAndTheirOlderSynonym) {
    const struct {
        std::string line;
        std::size_t prefix;
    } cases[] = {
        {"Data0=(55,37)", 6},     {"Data9=", 6},
        {"Data10=(55,37)", 7},    {"data0=(55,37)", 6},
        {"DATA0=(55,37)", 6},     {"Origin0=(55,37)", 8},
        {"ORIGIN12=(1,2)", 9},    {"Data=(55,37)", 5},
        {" Data0=(55,37)", 7},    {"\tData0 = (55,37)", 9},
        {"DataX=(55,37)", 0},     {"Data0", 0},
        {"Data0:(55,37)", 0},     {"", 0},
        {"[POLYLINE]", 0},        {"Type=0x01", 0},
        {"Datum=W84", 0},         {"Dat0=(1,2)", 0},
        {"Label=Data0=(1,2)", 0}, {"DataLevel=1", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(common::DataPrefixLength(c.line), c.prefix) << c.line;
        EXPECT_EQ(common::IsDataLine(c.line), c.prefix != 0) << c.line;
    }
}

std::vector<std::pair<double, double>> Groups(std::string_view rest, bool& failed) {
    common::CoordinateGroupReader reader(rest);
    std::vector<std::pair<double, double>> groups;
    double B = 0, L = 0;
    while (reader.Next(B, L)) groups.emplace_back(B, L);
    failed = reader.Failed();
    return groups;
}

TEST(CoordinateGroupReader, ReadsGroupsAndRefusesTheFirstViolation) {
    using Pairs = std::vector<std::pair<double, double>>;
    const struct {
        std::string rest;
        bool ok;
        Pairs groups;
    } cases[] = {
        {"(55.75,37.6166667),(55.8,37.5)", true, {{55.75, 37.6166667}, {55.8, 37.5}}},
        {"(55.75,37.5,1)", true, {{55.75, 37.5}}},  // a third value is ignored
        {"(55.75,37.5),", true, {{55.75, 37.5}}},   // one trailing comma is tolerated
        {"(90,180)", true, {{90, 180}}},
        {"(-90,-180)", true, {{-90, -180}}},
        {"(1,2,x,y)", true, {{1, 2}}},
        {"", false, {}},
        {"(90.000001,0)", false, {}},
        {"(0,180.000001)", false, {}},
        {"(55.75, 37.5)", false, {}},  // blank
        {"(55.75,37.5)(55.8,37.6)", false, {{55.75, 37.5}}},
        {"(55.75,37.5),,(55.8,37.6)", false, {{55.75, 37.5}}},
        {"(55.75,37.5),(55.8,37.6),,", false, {{55.75, 37.5}, {55.8, 37.6}}},
        {",(55.75,37.5)", false, {}},
        {"(55.75,37.5", false, {}},  // no closing bracket
        {"(5,)", false, {}},         // comma is the last character
        {"(,5)", false, {}},         // empty latitude
        {"(55)", false, {}},         // no comma
        {"(1,)", false, {}},
        {"()", false, {}},
        {"(a,b)", false, {}},
        {"(55.75,37.5) ", false, {{55.75, 37.5}}},
    };
    for (const auto& c : cases) {
        bool failed = false;
        const Pairs groups = Groups(c.rest, failed);
        EXPECT_EQ(!failed, c.ok) << c.rest;
        EXPECT_EQ(groups, c.groups) << c.rest;
    }
}

TEST(ConvertMapLine, CopiesOtherLinesAndRewritesDataLinesWithFiveDecimals) {
    const common::PointTransform identity = [](double&, double&) { return true; };
    const common::PointTransform refuseSouth = [](double& B, double&) { return B >= 0; };
    const struct {
        std::string line;
        const common::PointTransform* transform;
        bool ok;
        std::string out;
    } cases[] = {
        {"[IMG ID]", &identity, true, "[IMG ID]"},
        {"Data10=(55,37)", &identity, true, "Data10=(55.00000,37.00000)"},
        {"data0 = (55,37)", &identity, true, "data0 = (55.00000,37.00000)"},
        {"\xEF\xBB\xBF"
         "Data0=(55,37)",
         &identity, true,
         "\xEF\xBB\xBF"
         "Data0=(55.00000,37.00000)"},
        {"\xEF\xBB\xBF"
         "[IMG ID]",
         &identity, true,
         "\xEF\xBB\xBF"
         "[IMG ID]"},
        {std::string("\xcc\xee\xf1\xea\xe2\xe0\0x", 8), &identity, true,
         std::string("\xcc\xee\xf1\xea\xe2\xe0\0x", 8)},
        {"Data0=(55.75,37.5,1),", &identity, true, "Data0=(55.75000,37.50000)"},
        {"Data3=(55.123456,-0.000004),(-1,2)", &identity, true,
         "Data3=(55.12346,-0.00000),(-1.00000,2.00000)"},
        {"Data0=", &identity, false, ""},
        {"Data0=(1,1),(-1,1)", &refuseSouth, false, ""},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(common::ConvertMapLine(c.line, out, *c.transform), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(out, c.out) << c.line;
        }
    }
}

}  // namespace
