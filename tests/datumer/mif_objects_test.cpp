#include "datumer/files/mif_objects.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace datumer {
namespace {

// A line's plan in a few characters: "=" copied; the numbers of its pairs, then "|" and the kept
// tail; "!" and the reason of a refused line.
std::string Describe(const MifLine& plan, std::string_view line) {
    switch (plan.kind) {
        case MifLine::Kind::Copied:
            return "=";
        case MifLine::Kind::Bad:
            // Appended, not "!" + string: GCC 12 at -O3 warns falsely of -Wrestrict there.
            return std::string("!").append(plan.reason);
        case MifLine::Kind::Pairs:
            break;
    }
    std::string text(line.substr(0, plan.prefixEnd));
    text += "[";
    for (std::size_t i = 0; i < plan.numberCount; ++i) {
        if (i > 0) text += " ";
        text += plan.numbers[i];
    }
    text += "]";
    if (plan.keepTail) text += line.substr(plan.tailBegin);
    return text;
}

struct ObjectCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> lines;  // line, its plan
};

class MifObjects : public ::testing::TestWithParam<ObjectCase> {};

TEST_P(MifObjects, FindEveryPositionOfTheObject) {
    MifObjectReader reader;
    const auto& lines = GetParam().lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(Describe(reader.Next(lines[i].first), lines[i].first), lines[i].second)
            << "line " << i + 1 << ": \"" << lines[i].first << "\"";
    }
}

const std::string kBad = "!";
const std::string kFewer = "!" + std::string(kMifFewerPoints);
const std::string kCount = "!" + std::string(kMifCountExpected);
const std::string kStray = "!" + std::string(kMifStrayNumbers);
const std::string kExtra = "!" + std::string(kMifExtraNumbers);
const std::string kLayout = "!" + std::string(kMifUnknownLayout);

const ObjectCase kObjectCases[] = {
    {"RegionSectionsCountsAnywhereAndItsCenter",
     {{"Region 2", "="},
      {"  2", "="},
      {"37.1 55.1", "[37.1 55.1]"},
      {" 37.2\t55.2 extra", " [37.2 55.2]"},  // any indentation; a word after the pair dropped
      {"3", "="},                             // a count without its two blanks
      {"-37.3,-55.3", "[-37.3 -55.3]"},       // western, southern, comma-separated
      {"\t37.4 55.4", "\t[37.4 55.4]"},
      {"37.5 55.5", "[37.5 55.5]"},
      {"    Pen (1,2,0)", "="},
      {"    Brush (2,16777215,16777215)", "="},
      {"    Center 37.3 55.3", "    Center [37.3 55.3]"}}},
    {"RegionInCapitalsWithTheFirstCountOnItsKeywordLine",
     {{"REGION 1 2", "="}, {"37.1 55.1", "[37.1 55.1]"}, {"37.2 55.2", "[37.2 55.2]"}, {"", "="}}},
    {"PolylinesInEveryCaseAndLayout",
     {{"Pline 2", "="},
      {"37.1 55.1", "[37.1 55.1]"},
      {"37.2 55.2", "[37.2 55.2]"},
      {"pline", "="},  // the count on the next line
      {"  1", "="},
      {"37.3 55.3", "[37.3 55.3]"},
      {"    Smooth", "="},
      {"PLINE MULTIPLE 2", "="},
      {"2", "="},
      {"37.4 55.4", "[37.4 55.4]"},
      {"37.5 55.5", "[37.5 55.5]"},
      {"   1", "="},
      {"37.6 55.6", "[37.6 55.6]"},
      {"    Center 37.5 55.5", "    Center [37.5 55.5]"},
      {"Pline Multiple 2 1", "="},
      {"37.7 55.7", "[37.7 55.7]"},
      {"  1", "="},
      {"37.8 55.8", "[37.8 55.8]"}}},
    {"ObjectsOnTheirKeywordLine",
     {{"Point 37.1 55.1", "Point [37.1 55.1]"},
      {"    Symbol (35,0,12)", "="},
      {"POINT   37.2 55.2", "POINT   [37.2 55.2]"},
      {"line 37.1 55.1 37.2 55.2", "line [37.1 55.1 37.2 55.2]"},
      {"    Pen (1,2,0)", "="},
      {"Rect 37.1 55.1 37.2 55.2", "Rect [37.1 55.1 37.2 55.2]"},
      {"ELLIPSE 37.1 55.1 37.2 55.2", "ELLIPSE [37.1 55.1 37.2 55.2]"},
      {"RoundRect 37.1 55.1 37.2 55.2 0.01", "RoundRect [37.1 55.1 37.2 55.2] 0.01"},
      {"Arc 37.1 55.1 37.2 55.2 0 90", "Arc [37.1 55.1 37.2 55.2] 0 90"}}},
    {"ArcAnglesAndCornerSizeOnTheNextLineAreNoPositions",
     {{"Arc 37.1 55.1 37.2 55.2", "Arc [37.1 55.1 37.2 55.2]"},
      {"  0 90", "="},
      {"Roundrect 37.1 55.1 37.2 55.2", "Roundrect [37.1 55.1 37.2 55.2]"},
      {"  0.01", "="},
      {"Arc 37.1 55.1 37.2 55.2", "Arc [37.1 55.1 37.2 55.2]"},
      {"Point 37.3 55.3", "Point [37.3 55.3]"}}},  // no angles line: the next object
    {"TextsWithTheirBoxesAndLabelLines",
     {{"Text", "="},
      {"    \"Москва\"", "="},
      {"    37.7 55.7  37.8   55.8", "    [37.7 55.7 37.8 55.8]"},
      {"    Font (\"Arial\",0,0,0)", "="},
      {"    Label Line Arrow 37.9 55.9 ", "    Label Line Arrow [37.9 55.9] "},
      {"TEXT \"a b\"", "="},  // the string on the keyword line
      {"    37.1 55.1 37.2 55.2", "    [37.1 55.1 37.2 55.2]"},
      {"    Spacing 1.5 Label Line Simple 37.3 55.3",
       "    Spacing 1.5 Label Line Simple [37.3 55.3]"},
      {"text", "="},
      {"    37.1 55.1 37.2 55.2", "    [37.1 55.1 37.2 55.2]"},  // no string line at all
      {"Text", "="},
      {"", "="},  // an empty string line
      {"37.1 55.1 37.2 55.2", "[37.1 55.1 37.2 55.2]"}}},
    {"MultipointsAndACollectionOfParts",
     {{"MultiPoint 2", "="},
      {"37.1 55.1", "[37.1 55.1]"},
      {"37.2 55.2", "[37.2 55.2]"},
      {"    Symbol (35,0,12)", "="},
      {"MULTIPOINT", "="},
      {"1", "="},
      {"37.3 55.3", "[37.3 55.3]"},
      {"Collection 3", "="},
      {"  Region 1", "="},
      {"    1", "="},
      {"    37.4 55.4", "    [37.4 55.4]"},
      {"  Pline 2", "="},
      {"    37.5 55.5", "    [37.5 55.5]"},
      {"    37.6 55.6", "    [37.6 55.6]"},
      {"  Multipoint 1", "="},
      {"    37.7 55.7", "    [37.7 55.7]"},
      {"NONE", "="}}},
    {"MalformedPairsAreBadLines",
     {{"Point", kBad}, {"Point 37.5", kBad}, {"Point 37.5 55.5 12", kExtra}}},
    {"FewerPointsThanTheCount",
     {{"Region 1", "="}, {"  3", "="}, {"37.1 55.1", "[37.1 55.1]"}, {"    Pen (1,2,0)", kFewer}}},
    {"KeywordInsteadOfAPoint",
     {{"Pline 2", "="}, {"37.1 55.1", "[37.1 55.1]"}, {"Point 37.2 55.2", kFewer}}},
    {"PointsWithoutTheirCount", {{"Pline Multiple 2", "="}, {"37.1 55.1", kCount}}},
    {"NumbersOutsideAnObject",
     {{"Pline 1", "="}, {"37.1 55.1", "[37.1 55.1]"}, {"37.2 55.2", kStray}}},
    {"UnknownLayouts", {{"Region x", kLayout}}},
    {"CountWithPointsOnItsLine", {{"Pline 2 37.1 55.1", kLayout}}},
    {"RegionWithoutItsCount", {{"region", kLayout}}},
};

INSTANTIATE_TEST_SUITE_P(Objects, MifObjects, ::testing::ValuesIn(kObjectCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MifObjectKeywords, AreWholeFirstWordsInAnyCase) {
    for (const char* line : {"Region 1", "  pline", "TEXT \"a\"", "Collection 2", "none"})
        EXPECT_TRUE(MifObjectReader::IsObjectKeyword(line)) << line;
    for (const char* line : {"Regions 1", "Pen (1,2,0)", "", "37 55", "Columns 2", "Textile"})
        EXPECT_FALSE(MifObjectReader::IsObjectKeyword(line)) << line;
}

}  // namespace
}  // namespace datumer
