// The option dialogs' rules: accepted values, what showing puts back, what OK and closing write.

#include <gtest/gtest.h>

#include <string>

#include "gridwise/rules/option_rules.hpp"

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

TEST(OptionRecords, RangesOfTheValues) {
    for (int d : {7, 8, 9, 10}) EXPECT_TRUE(AngleDecimalsInRange(d)) << d;
    for (int d : {6, 11, 0}) EXPECT_FALSE(AngleDecimalsInRange(d)) << d;
    for (int d : {2, 3, 4}) EXPECT_TRUE(PlaneDecimalsInRange(d)) << d;
    for (int d : {1, 5}) EXPECT_FALSE(PlaneDecimalsInRange(d)) << d;
    EXPECT_EQ(ParseWithin("-100", kHeightChangeLimit), -100.0);
    EXPECT_EQ(ParseWithin("99,5", kHeightChangeLimit), 99.5);
    EXPECT_EQ(ParseWithin("100.01", kHeightChangeLimit), std::nullopt);
    EXPECT_EQ(ParseWithin("1e2", kShiftLimit), std::nullopt);
}

TEST(OptionRecords, DefaultsAreWhatTheDialogsShow) {
    GridwiseState state = MakeGridwiseState();
    ShowPrecisionDialog(state, true);
    const PrecisionOptions precision;
    EXPECT_EQ(state.AngleDecimals, precision.AngleDecimals);
    EXPECT_EQ(state.PlaneDecimals, precision.PlaneDecimals);
    EXPECT_EQ(state.HeightDecimals, precision.HeightDecimals);
    EXPECT_EQ(kListScaleItems[NomenclatureOptions{}.ListScale], "1 : 25 000");
}

TEST(OptionRecords, ConfirmingWritesWhatTheDialogsOkWrites) {
    GridwiseState state = MakeGridwiseState();
    ConfirmSurvey(state, SurveyOptions{true, 37, -12.5, PrecisionOptions{9, 2, 4}});
    EXPECT_TRUE(state.OptionsConfirmed);
    EXPECT_TRUE(state.ZoneInOrdinate);
    EXPECT_EQ(state.Sk42Zone, 37);
    EXPECT_EQ(state.HeightChange, -12.5);
    EXPECT_EQ(state.PlaneDecimals, 2);
    EXPECT_EQ(state.HeightDecimals, 4);
    EXPECT_NE(state.AngleDecimals, 9);  // the survey dialog has no angle list

    state.OptionsConfirmed = false;
    ConfirmMapShift(state, MapShiftOptions{-1000.0, 250.0});
    EXPECT_TRUE(state.OptionsConfirmed);
    EXPECT_EQ(state.ShiftNorth, -1000.0);
    EXPECT_EQ(state.ShiftEast, 250.0);

    ConfirmNomenclature(state, NomenclatureOptions{0});
    EXPECT_EQ(state.ListScale, 0);
    ConfirmPrecision(state, PrecisionOptions{7, 4, 2}, true);
    EXPECT_EQ(state.AngleDecimals, 7);
}

}  // namespace
}  // namespace gridwise
