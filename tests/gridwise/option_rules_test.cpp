// The option dialogs' rules: accepted values, what showing puts back, what OK and closing write.

#include <gtest/gtest.h>

#include <string>

#include "gridwise/option_rules.hpp"

namespace gridwise {
namespace {

TEST(OptionRules, MapShiftAcceptsOnlyAKilometre) {
    struct Case {
        std::string text;
        bool valid;
        double value;
    } cases[] = {{"-1000", true, -1000.0}, {"1000", true, 1000.0},
                 {"-0,5", true, -0.5},     {"1000.5", false, 0.0},
                 {"1000,5", false, 0.0},   {"", false, 0.0},
                 {"1e3", false, 0.0},      {std::string(400, '9'), false, 0.0}};
    for (const Case& c : cases) {
        GridwiseState s = MakeGridwiseState();
        ShowMapShiftDialog(s);
        EXPECT_EQ(EditShiftNorth(s, c.text), c.valid) << c.text;
        EXPECT_EQ(ShiftInputsValid(s), c.valid) << c.text;
        EXPECT_EQ(s.ShiftNorth, c.value) << c.text;
        EXPECT_EQ(EditShiftEast(s, c.text), c.valid) << c.text;
        EXPECT_EQ(s.ShiftEast, c.value) << c.text;
    }
}

TEST(OptionRules, ShowingTheMapShiftPutsItsValuesBack) {
    GridwiseState s = MakeGridwiseState();
    EXPECT_TRUE(EditShiftNorth(s, "12"));
    EXPECT_FALSE(EditShiftEast(s, "x"));
    ShowMapShiftDialog(s);
    EXPECT_EQ(s.ShiftNorth, 0.0);
    EXPECT_TRUE(ShiftInputsValid(s));
    EXPECT_FALSE(s.OptionsConfirmed);
    ConfirmMapShift(s);
    EXPECT_TRUE(s.OptionsConfirmed);
}

TEST(OptionRules, HeightChangeWithinAHundredMetres) {
    GridwiseState s = MakeGridwiseState();
    ShowExtraParamsDialog(s);
    ClickHeightChange(s, true);
    EXPECT_TRUE(EditHeightChange(s, "100"));
    EXPECT_EQ(s.HeightChange, 100.0);
    EXPECT_FALSE(EditHeightChange(s, "100.01"));
    EXPECT_EQ(s.HeightChange, 100.0) << "a refused text keeps the value";
    ClickHeightChange(s, false);
    EXPECT_EQ(s.HeightChange, 0.0);
}

TEST(OptionRules, ClosingWithoutOkKeepsTheZoneButConfirmsNothing) {
    GridwiseState s = MakeGridwiseState();
    ShowExtraParamsDialog(s);
    CloseExtraParams(s, 36);
    EXPECT_EQ(s.Sk42Zone, 37);
    EXPECT_FALSE(s.OptionsConfirmed);
    EXPECT_EQ(s.PlaneDecimals, 3);
    EXPECT_EQ(s.HeightDecimals, 3);
    ClickManualZone(s, false);
    EXPECT_TRUE(s.ZoneInOrdinate);
}

TEST(OptionRules, ListPositionsGiveDecimals) {
    GridwiseState s = MakeGridwiseState();
    ShowPrecisionDialog(s, true);
    EXPECT_EQ(s.AngleDecimals, 10);
    ConfirmPrecision(s, 3, 2, 0, true);
    EXPECT_EQ(s.AngleDecimals, 7);
    EXPECT_EQ(s.PlaneDecimals, 2);
    EXPECT_EQ(s.HeightDecimals, 4);
    EXPECT_TRUE(s.OptionsConfirmed);
    s.DirectionToPlane = false;
    EXPECT_TRUE(AngleListEnabled(s));
    EXPECT_FALSE(PlaneListEnabled(s));
    ConfirmNomenclature(s, kDefaultListScaleIndex);
    EXPECT_EQ(s.ListScale, 5);
}

}  // namespace
}  // namespace gridwise
