#include "datumer/convert_mif_objects.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace datumer {
namespace {

using Role = MifLineRole;

struct LineRole {
    std::string line;
    Role role;
};

struct ObjectCase {
    const char* name;
    std::vector<LineRole> lines;
};

class MifObjectMachine : public ::testing::TestWithParam<ObjectCase> {};

TEST_P(MifObjectMachine, GivesEachLineItsRole) {
    MifObjectState state;
    const auto& lines = GetParam().lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(NextMifLine(state, lines[i].line), lines[i].role)
            << "line " << i + 1 << ": \"" << lines[i].line << "\"";
    }
}

const ObjectCase kObjectCases[] = {
    {"RegionEndedByStyleLine",
     {{"Region 1", Role::Copied},
      {"  4", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {"37.2 55.1", Role::Coordinate},
      {"37.2 55.2", Role::Coordinate},
      {"37.1 55.1", Role::Coordinate},
      {"    Pen (1,2,0)", Role::Copied},
      {"    Brush (2,16777215,16777215)", Role::Copied},
      {"37.3 55.3", Role::Copied}}},
    {"PlineMultipleWithTwoSections",
     {{"Pline Multiple 2", Role::Copied},
      {"  2", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {"37.2 55.2", Role::Coordinate},
      {"  3", Role::Copied},
      {"38.1 56.1", Role::Coordinate},
      {"38.2 56.2", Role::Coordinate},
      {"38.3 56.3", Role::Coordinate},
      {"    Pen (1,2,0)", Role::Copied}}},
    {"SingleSectionPline",
     {{"Pline 2", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {"37.2 55.2", Role::Coordinate},
      {"    Pen (1,2,0)", Role::Copied},
      {"37.3 55.3", Role::Copied}}},
    {"PointLines",
     {{"Point   37.5 55.7", Role::PointLine},
      {"    Symbol (35,0,12)", Role::Copied},
      {"Point", Role::PointLine}}},
    {"RegionKeepsWesternCoordinates",
     {{"Region 1", Role::Copied},
      {"  3", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {"-37.2 55.2", Role::Coordinate},
      {"-0.5 -12.5", Role::Coordinate},
      {"-x 55.2", Role::Copied},
      {"37.3 55.3", Role::Copied}}},
    {"RegionEndedByLeadingBlank",
     {{"Region 1", Role::Copied},
      {"  3", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {" 37.2 55.2", Role::Copied},
      {"37.3 55.3", Role::Copied}}},
    {"RegionCenterLineIsCopied",
     {{"Region 1", Role::Copied},
      {"  1", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {"    Center 37.1 55.1", Role::Copied}}},
    {"TextOnThreeLines",
     {{"Text", Role::Copied},
      {"    \"Москва\"", Role::Copied},
      {"    37.1 55.1  37.2   55.2", Role::TextBox},
      {"    Font (\"Arial\",0,0,0)", Role::Copied}}},
    {"TextStringOnKeywordLine",
     {{"Text \"Москва\"", Role::Copied},
      {"    37.1 55.1 37.2 55.2", Role::TextBox},
      {"    Font (\"Arial\",0,0,0)", Role::Copied},
      {"    Angle 10", Role::Copied}}},
    {"RegionFollowedDirectlyByKeyword",
     {{"Region 1", Role::Copied},
      {"  2", Role::Copied},
      {"37.1 55.1", Role::Coordinate},
      {"37.2 55.2", Role::Coordinate},
      {"Pline 2", Role::Copied},
      {"37.3 55.3", Role::Coordinate},
      {"37.4 55.4", Role::Coordinate},
      {"Point 37.5 55.5", Role::PointLine},
      {"Region 1", Role::Copied},
      {"  1", Role::Copied},
      {"37.6 55.6", Role::Coordinate},
      {"Text", Role::Copied},
      {"    \"a\"", Role::Copied},
      {"    37.1 55.1 37.2 55.2", Role::TextBox}}},
    {"OtherObjectsAreCopied",
     {{"Line 37.1 55.1 37.2 55.2", Role::Copied},
      {"Arc 37.1 55.1 37.2 55.2 0 90", Role::Copied},
      {"Rect 37.1 55.1 37.2 55.2", Role::Copied},
      {"Ellipse 37.1 55.1 37.2 55.2", Role::Copied},
      {"Roundrect 37.1 55.1 37.2 55.2 0.1", Role::Copied},
      {"37.3 55.3", Role::Copied}}},
    {"KeywordsAreCaseSensitive",
     {{"REGION 1", Role::Copied},
      {"  1", Role::Copied},
      {"37.1 55.1", Role::Copied},
      {"point 37.1 55.1", Role::Copied},
      {"PLINE 2", Role::Copied},
      {"37.1 55.1", Role::Copied}}},
    {"PlineWithoutCountIsNoObject",
     {{"Pline", Role::Copied},
      {"Pline x", Role::Copied},
      {"37.1 55.1", Role::Copied},
      {"Pline  2", Role::Copied},
      {"37.1 55.1", Role::Copied}}},
};

INSTANTIATE_TEST_SUITE_P(Objects, MifObjectMachine, ::testing::ValuesIn(kObjectCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MifLineTests, NeedTheirWholeKeywordAtTheStart) {
    EXPECT_FALSE(IsRegionLine("Regio"));
    EXPECT_FALSE(IsRegionLine(" Region 1"));
    EXPECT_TRUE(IsPlineLine("Pline 7"));
    EXPECT_FALSE(IsPlineLine("Pline "));
    EXPECT_FALSE(IsPlineMultipleLine("Pline Multipl"));
    EXPECT_TRUE(IsPlineMultipleLine("Pline Multiple"));
    EXPECT_TRUE(IsCountLine("  12"));
    EXPECT_FALSE(IsCountLine(" 12"));
    EXPECT_FALSE(IsCountLine("   2"));
    EXPECT_FALSE(IsCountLine("  "));
    EXPECT_FALSE(IsMifCoordinateLine(""));
    EXPECT_FALSE(IsMifCoordinateLine("+37 55"));
    EXPECT_FALSE(IsMifCoordinateLine("-"));
    EXPECT_TRUE(IsMifCoordinateLine("-1 5"));
    EXPECT_FALSE(IsTextLine("Tex"));
}

}  // namespace
}  // namespace datumer
