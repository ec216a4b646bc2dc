// The set-up screen's rules: offered systems, applying a system, the zone options and the
// checks of "Далее" in their order.

#include <gtest/gtest.h>

#include <string>

#include "gridwise/rules/setup_rules.hpp"

namespace gridwise {
namespace {

GridwiseState OpenedState() {
    GridwiseState s = MakeGridwiseState();
    OpenSetupScreen(s);
    return s;
}

int ListPositionOf(const GridwiseState& s, int number) {
    return s.Systems[number].ListPosition;
}

TEST(SetupRules, UtmWhileSk63IsSelectedSwitchesToSk42AndToPlane) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemSk63));
    ChooseDirection(s, false);
    ASSERT_EQ(s.CurrentSystem, kSystemSk63);
    ASSERT_TRUE(s.Work.UserMeridian);
    EXPECT_TRUE(ChooseProjection(s, true));
    EXPECT_EQ(s.CurrentSystem, kSystemSk42);
    EXPECT_TRUE(s.DirectionToPlane);
    EXPECT_TRUE(s.Work.Utm);
    EXPECT_FALSE(s.Work.UserMeridian);
    const std::vector<std::string> entries = FillSystemList(s, true);
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(ListPositionOf(s, kSystemSk63), 0);
    EXPECT_EQ(SystemAtListPosition(s, 4), kSystemUser);
    EXPECT_EQ(entries.front(), "СК42/СК95 - шестиградусные зоны");
}

TEST(SetupRules, UtmKeepsASystemThatAllowsIt) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemWgs84));
    ChooseDirection(s, false);
    EXPECT_FALSE(ChooseProjection(s, true));
    EXPECT_EQ(s.CurrentSystem, kSystemWgs84);
    EXPECT_FALSE(s.DirectionToPlane);
}

TEST(SetupRules, Sk63ZoneFollowsTheZoneCheckBox) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemSk63));
    EXPECT_EQ(s.Work.Sk63Zone, 1);
    EXPECT_TRUE(DescribeSetupControls(s).sk63ZoneListEnabled);
    EXPECT_FALSE(ClickZoneCheckBox(s, false));
    EXPECT_EQ(s.Work.Sk63Zone, 0);
    EXPECT_FALSE(s.Work.AddZoneNumber);
    EXPECT_TRUE(ClickZoneCheckBox(s, true));
    EXPECT_EQ(s.Work.Sk63Zone, 1);
    ChooseSk63ZoneItem(s, 19);
    EXPECT_EQ(s.Work.Sk63Zone, 20);
}

TEST(SetupRules, Sk63ToGeoAlwaysAddsTheMeridian) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemSk63));
    ChooseDirection(s, false);
    const SetupControls c = DescribeSetupControls(s);
    EXPECT_FALSE(c.zoneCheckEnabled);
    EXPECT_EQ(c.zoneCheckCaption, "Добавлять долготу центр. меридиана");
    EXPECT_TRUE(s.Work.AddZoneNumber);
    EXPECT_EQ(s.Work.Sk63Zone, 0);
    EXPECT_FALSE(c.zoneChoiceEnabled);
}

TEST(SetupRules, ChoosingTheUserSystemResetsItsEllipsoid) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemUser));
    EXPECT_TRUE(EditSemiMajorAxis(s, "6378137,0"));
    EXPECT_EQ(s.Work.Ell.A, 6378137.0);
    EXPECT_TRUE(EditSemiMajorAxis(s, "6378137.5"));
    EXPECT_EQ(s.Work.Ell.A, 6378137.5);
    EXPECT_FALSE(EditInvFlattening(s, "298,2,5"));
    EXPECT_FALSE(SetupInputsValid(s));
    EXPECT_EQ(s.Work.Ell.InvFlattening, 298.3) << "an invalid text keeps the value";
    ChooseSystem(s, ListPositionOf(s, kSystemUser));
    EXPECT_TRUE(SetupInputsValid(s));
    EXPECT_EQ(s.Work.Ell.A, 6378245.0);
    EXPECT_EQ(s.Work.Ell.InvFlattening, 298.3);
    EXPECT_EQ(s.Work.Ell.Name, "пользовательский");
}

TEST(SetupRules, FieldsOfAFixedSystemAreNotParsed) {
    GridwiseState s = OpenedState();
    EXPECT_TRUE(EditFalseEasting(s, "abc"));
    EXPECT_TRUE(EditSemiMajorAxis(s, "1"));
    EXPECT_EQ(s.Work.FalseEasting, 500000.0);
    EXPECT_EQ(s.Work.Ell.A, 6378245.0);
    EXPECT_TRUE(SetupInputsValid(s));
}

TEST(SetupRules, FalseEastingItems) {
    EXPECT_EQ(FalseEastingItemIndex(250000.0), 0);
    EXPECT_EQ(FalseEastingItemIndex(500000.0), 5);
    EXPECT_EQ(FalseEastingItemIndex(275000.0), -1);
}

// One row: the system, the typed fields, the hemisphere, and the message "Далее" gives.
struct ProceedCase {
    std::string name;
    int system;
    std::string degrees, minutes, falseNorthing, falseEasting, a, invF;
    bool west;
    std::string message;
};

TEST(SetupRules, ProceedChecksInOrder) {
    const std::string minutes =
        "Минуты (долгота центрального меридиана) должны быть в пределах 0-59 '";
    const std::string meridian =
        "Долгота центрального меридиана зоны СК63 должна быть в пределах 0-180°\n\r"
        "западной или восточной долготы";
    const std::string northing =
        "Параметр False Northing должен быть в пределах от -10 000 до +1000 км";
    const std::string easting = "Параметр False Easting должен быть в пределах от 0 до +1000 км";
    const std::string axis =
        "Большая полуось референц-эллипсоида должна быть в пределах 6370000...6390000 м";
    const std::string flattening =
        "Обратное сжатие референц-эллипсоида должно быть в пределах 1/310...1/290";
    const ProceedCase cases[] = {
        {"sk63 defaults", kSystemSk63, "", "", "", "", "", "", false, ""},
        {"sk63 180 east", kSystemSk63, "180", "0", "", "", "", "", false, ""},
        {"sk63 180 west", kSystemSk63, "180", "0", "", "", "", "", true, ""},
        {"sk63 181", kSystemSk63, "181", "0", "", "", "", "", false, meridian},
        {"sk63 180.5", kSystemSk63, "180", "30", "", "", "", "", false, meridian},
        {"minutes 60 before meridian", kSystemSk63, "181", "60", "", "", "", "", false, minutes},
        {"degrees overflow", kSystemSk63, "99999999999", "0", "", "", "", "", false, meridian},
        {"northing 1000 km", kSystemSk63, "", "", "1000000", "", "", "", false, ""},
        {"northing above", kSystemSk63, "", "", "1000000.001", "", "", "", false, northing},
        {"northing -10000 km", kSystemSk63, "", "", "-10000000", "", "", "", false, ""},
        {"northing below", kSystemSk63, "", "", "-10000000.5", "", "", "", false, northing},
        {"easting 1000 km", kSystemSk63, "", "", "", "1000000", "", "", false, easting},
        {"easting negative", kSystemUser, "", "", "", "-1", "", "", false, easting},
        {"easting zero", kSystemUser, "", "", "", "0", "", "", false, ""},
        {"northing before easting", kSystemUser, "", "", "2000000", "-1", "", "", false, northing},
        {"axis low", kSystemUser, "", "", "", "", "6369999.99", "", false, axis},
        {"axis high", kSystemUser, "", "", "", "", "6390000.01", "", false, axis},
        {"axis bounds", kSystemUser, "", "", "", "", "6390000", "290", false, ""},
        {"flattening high", kSystemUser, "", "", "", "", "", "310.5", false, flattening},
        {"axis before flattening", kSystemUser, "", "", "", "", "1", "1", false, axis},
    };
    for (const ProceedCase& c : cases) {
        SCOPED_TRACE(c.name);
        GridwiseState s = OpenedState();
        ChooseSystem(s, ListPositionOf(s, c.system));
        struct Field {
            const std::string& text;
            bool (*edit)(GridwiseState&, std::string_view);
        } fields[] = {{c.degrees, EditMeridianDegrees},
                      {c.minutes, EditMeridianMinutes},
                      {c.falseNorthing, EditFalseNorthing},
                      {c.falseEasting, EditFalseEasting},
                      {c.a, EditSemiMajorAxis},
                      {c.invF, EditInvFlattening}};
        for (const Field& field : fields) {
            if (!field.text.empty()) {
                EXPECT_TRUE(field.edit(s, field.text)) << field.text;
            }
        }
        EXPECT_EQ(ProceedFromSetup(s, c.west), c.message);
    }
}

TEST(SetupRules, AnEnormousNumberNeverReachesTheChecks) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemUser));
    const std::string huge(400, '9');
    if (EditSemiMajorAxis(s, huge)) {
        EXPECT_EQ(ProceedFromSetup(s, false),
                  "Большая полуось референц-эллипсоида должна быть в пределах 6370000...6390000 м");
    } else {
        EXPECT_FALSE(SetupInputsValid(s));
        EXPECT_EQ(s.Work.Ell.A, 6378245.0);
    }
}

TEST(SetupRules, ProceedSetsTheCentralMeridian) {
    GridwiseState s = OpenedState();
    ChooseSystem(s, ListPositionOf(s, kSystemSk63));
    EXPECT_TRUE(EditMeridianDegrees(s, "37"));
    EXPECT_TRUE(EditMeridianMinutes(s, "30"));
    EXPECT_EQ(ProceedFromSetup(s, true), "");
    EXPECT_DOUBLE_EQ(s.Work.CentralMeridian, -37.5);
    EXPECT_FALSE(EditMeridianMinutes(s, "-5"));
    EXPECT_FALSE(SetupInputsValid(s));
}

TEST(SetupRules, StartAgainRestoresTheStartState) {
    GridwiseState s = OpenedState();
    ChooseProjection(s, true);
    ChooseSystem(s, 2);
    ChooseDirection(s, false);
    ChooseAlgorithm(s, 1);
    ChooseZoneItem(s, 2);
    StartAgain(s);
    EXPECT_EQ(s.CurrentSystem, kSystemSk42);
    EXPECT_TRUE(s.DirectionToPlane);
    EXPECT_FALSE(s.Work.Utm);
    EXPECT_EQ(s.Work.ZoneShift, 0);
    EXPECT_EQ(s.Algorithm, kClassicSeries);
    EXPECT_EQ(ListPositionOf(s, kSystemSk63), 4);
    EXPECT_EQ(s.Work.Ell.Name, "Красовского-1940");
}

}  // namespace
}  // namespace gridwise
