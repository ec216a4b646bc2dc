// The point screen's rules: parsing the input fields, the "ПЕРЕСЧЁТ" checks in their order,
// the computation and the texts of the result fields and the extra dialog.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/text.hpp"
#include "datumer/rules/point_rules.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

const std::string kLatitude = "Широта должна находиться в пределах 0..90 градусов";
const std::string kLatitudeMinutes = "Значение минут по широте должно быть менее 60";
const std::string kLatitudeSeconds = "Значение секунд по широте должно быть менее 60";
const std::string kLongitude = "Долгота должна находиться в пределах 0..180 градусов";
const std::string kLongitudeMinutes = "Значение минут по долготе должно быть менее 60";
const std::string kLongitudeSeconds = "Значение секунд по долготе должно быть менее 60";
const std::string kHeight = "Высота должна быть указана в пределах -1000...10000 метров";

// Types the seven edits in the given format, as the screen's change handlers see them.
DatumerState Typed(AngleFormat format, const std::array<const char*, kPointFieldCount>& texts) {
    DatumerState state = MakeDatumerState();
    for (int field = 1; field <= kPointFieldCount; ++field) {
        EXPECT_EQ(EditPointField(state, field, format, texts[field - 1]), FieldEdit::Accepted)
            << field << " " << texts[field - 1];
    }
    return state;
}

std::string Checked(const DatumerState& state) {
    const auto message = ValidatePoint(state.Point);
    return message ? std::string(*message) : "";
}

TEST(ValidatePoint, EdgesOfTheDegMinSecFormat) {
    const struct {
        std::array<const char*, kPointFieldCount> texts;
        std::string message;
    } cases[] = {
        {{"55", "60", "0", "37", "0", "0", "0"}, kLatitudeMinutes},
        {{"55", "59", "59,9999999", "37", "59", "59.9999999", "0"}, ""},
        {{"55", "0", "60", "37", "0", "0", "0"}, kLatitudeSeconds},
        {{"90", "00", "00.0", "37", "0", "0", "0"}, ""},
        {{"90", "00", "00.1", "37", "0", "0", "0"}, kLatitude},
        {{"55", "0", "0", "37", "60", "0", "0"}, kLongitudeMinutes},
        {{"55", "0", "0", "37", "0", "60", "0"}, kLongitudeSeconds},
        {{"55", "0", "0", "180", "0", "0", "0"}, ""},
        {{"55", "0", "0", "180", "0", "0,001", "0"}, kLongitude},
        {{"55", "0", "0", "37", "0", "0", "-1000"}, ""},
        {{"55", "0", "0", "37", "0", "0", "10000"}, ""},
        {{"55", "0", "0", "37", "0", "0", "-1000,01"}, kHeight},
        {{"55", "0", "0", "37", "0", "0", "10000.01"}, kHeight},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Checked(Typed(AngleFormat::DegMinSec, c.texts)), c.message)
            << c.texts[0] << " " << c.texts[1] << " " << c.texts[2] << " / " << c.texts[3] << " "
            << c.texts[4] << " " << c.texts[5] << " / " << c.texts[6];
    }
}

TEST(ValidatePoint, EdgesOfTheDecimalFormat) {
    EXPECT_EQ(Checked(Typed(AngleFormat::Decimal, {"90", "-", "-", "180", "-", "-", "0"})), "");
    EXPECT_EQ(Checked(Typed(AngleFormat::Decimal, {"90,0000001", "-", "-", "0", "-", "-", "0"})),
              kLatitude);
    EXPECT_EQ(Checked(Typed(AngleFormat::Decimal, {"0", "-", "-", "180.0000001", "-", "-", "0"})),
              kLongitude);
}

TEST(ValidatePoint, ReportsTheFirstFailureInTableOrder) {
    PointState p;
    p.B1 = 91, p.B1Min = 60, p.B1Sec = 60, p.L1 = 181, p.L1Min = 60, p.L1Sec = 60;
    p.B1Deg = 91, p.L1Deg = 181, p.H1 = 20000;
    const std::string order[] = {kLatitude,  kLatitudeMinutes,  kLatitudeSeconds,
                                 kLongitude, kLongitudeMinutes, kLongitudeSeconds,
                                 kLatitude,  kLongitude,        kHeight};
    double* fixes[] = {&p.B1,    &p.B1Min, &p.B1Sec, &p.L1, &p.L1Min,
                       &p.L1Sec, &p.B1Deg, &p.L1Deg, &p.H1};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const auto message = ValidatePoint(p);
        ASSERT_TRUE(message) << i;
        EXPECT_EQ(*message, order[i]) << i;
        *fixes[i] = 0;
    }
    EXPECT_FALSE(ValidatePoint(p));
}

TEST(EditPointField, ParsersFollowTheFormat) {
    DatumerState state = MakeDatumerState();
    // Whole degrees and minutes, unsigned seconds, signed height in d/m/s format.
    EXPECT_EQ(EditPointField(state, 1, AngleFormat::DegMinSec, "55.5"), FieldEdit::Rejected);
    EXPECT_FALSE(state.PointInputValid[0]);
    EXPECT_EQ(EditPointField(state, 1, AngleFormat::DegMinSec, "007"), FieldEdit::Accepted);
    EXPECT_EQ(state.Point.B1Deg, 7);
    EXPECT_TRUE(state.PointInputValid[0]);
    EXPECT_EQ(EditPointField(state, 3, AngleFormat::DegMinSec, "-1"), FieldEdit::Rejected);
    EXPECT_EQ(EditPointField(state, 3, AngleFormat::DegMinSec, "1,25"), FieldEdit::Accepted);
    EXPECT_EQ(state.Point.B1Sec, 1.25);
    EXPECT_EQ(EditPointField(state, 7, AngleFormat::DegMinSec, "-12,5"), FieldEdit::Accepted);
    EXPECT_EQ(state.Point.H1, -12.5);
    EXPECT_EQ(EditPointField(state, 7, AngleFormat::DegMinSec, "abc"), FieldEdit::Rejected);
    EXPECT_EQ(state.Point.H1, -12.5);
    EXPECT_FALSE(state.PointInputValid[6]);
    // Decimal format: unsigned real degrees; minutes and seconds are not read.
    EXPECT_EQ(EditPointField(state, 4, AngleFormat::Decimal, "-37.5"), FieldEdit::Rejected);
    EXPECT_EQ(EditPointField(state, 4, AngleFormat::Decimal, "37,5"), FieldEdit::Accepted);
    EXPECT_EQ(state.Point.L1, 37.5);
    state.Point.L1Min = 12;
    EXPECT_EQ(EditPointField(state, 5, AngleFormat::Decimal, "-"), FieldEdit::Accepted);
    EXPECT_EQ(state.Point.L1Min, 0);
    EXPECT_EQ(EditPointField(state, 8, AngleFormat::Decimal, "1"), FieldEdit::Ignored);
    for (int i = kPointFieldCount; i < kInputFlagCount; ++i) EXPECT_TRUE(state.PointInputValid[i]);
}

TEST(ComputePoint, FormsTheSourcePointFromItsPartsAndHemispheres) {
    DatumerState state = Typed(AngleFormat::DegMinSec, {"55", "45", "30", "37", "37", "0", "0"});
    ASSERT_FALSE(ComputePoint(state, AngleFormat::DegMinSec, true, true));
    EXPECT_NEAR(state.Point.B1, -55.758333333333, 1e-11);
    EXPECT_NEAR(state.Point.L1, -37.616666666667, 1e-11);
    GeocentricShift shift;
    GeodeticPoint target;
    TransformDatum({state.Point.B1, state.Point.L1, 0}, state.Params, shift, target);
    EXPECT_EQ(state.Point.B2, target.B);
    EXPECT_EQ(state.Point.L2, target.L);
    EXPECT_EQ(state.PointShift.dZ, shift.dZ);
    EXPECT_EQ(state.SourceNom.Sheet1M, "sN-24");
}

TEST(ComputePoint, RefusesWithTheMessageAndLeavesTheResult) {
    DatumerState state = Typed(AngleFormat::Decimal, {"91", "-", "-", "37", "-", "-", "0"});
    const auto message = ComputePoint(state, AngleFormat::Decimal, false, false);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, kLatitude);
    EXPECT_EQ(state.Point.B2, 0);
}

TEST(ComputePoint, WorkedExampleWithSheetsAndShiftTexts) {
    DatumerState state = Typed(AngleFormat::Decimal, {"55", "-", "-", "37", "-", "-", "0"});
    ASSERT_FALSE(ComputePoint(state, AngleFormat::Decimal, false, false));
    EXPECT_EQ(state.SourceNom.Sheet1M, "N-37");
    EXPECT_EQ(state.TargetNom.Sheet1M, "N-37");
    // The target point lies a little west of the source and so on other large-scale sheets.
    EXPECT_NE(state.SourceNom.Sheet10k, state.TargetNom.Sheet10k);
    EXPECT_EQ(ShiftTexts(state.PointShift, ','),
              (std::array<std::string, 3>{"23,6222", "-129,8933", "-86,4931"}));
    const ResultTexts dms = ShowResultTexts(state.Point, AngleFormat::DegMinSec, ',');
    EXPECT_EQ(dms.Edits[6], "4,9461");
}

TEST(ComputePoint, PolarPointsGetDatumersMessage) {
    DatumerState state = Typed(AngleFormat::Decimal, {"88,5", "-", "-", "37", "-", "-", "0"});
    ASSERT_FALSE(ComputePoint(state, AngleFormat::Decimal, true, false));
    EXPECT_EQ(state.SourceNom.Sheet1M, "Полярная зона (sZ). Расчёт номенклатуры не проводится.");
    EXPECT_EQ(state.SourceNom.Sheet10k, "-");
}

TEST(ShowResultTexts, BothFormatsOfAResult) {
    DatumerState state = MakeDatumerState();
    state.Point.B2 = 55.00001359438;
    state.Point.L2 = -36.99815680583;
    state.Point.H2 = -0.00004;
    common::TDegMinSec b{0, 0, 0, state.Point.B2}, l{0, 0, 0, state.Point.L2};
    common::SplitDegrees(b);
    common::SplitDegrees(l);
    state.Point.B2Deg = b.Deg, state.Point.B2Min = b.Min, state.Point.B2Sec = b.Sec;
    state.Point.L2Deg = l.Deg, state.Point.L2Min = l.Min, state.Point.L2Sec = l.Sec;

    const ResultTexts dms = ShowResultTexts(state.Point, AngleFormat::DegMinSec, ',');
    EXPECT_EQ(dms.LatitudeHemisphere, "с.ш.");
    EXPECT_EQ(dms.LongitudeHemisphere, "з.д");
    EXPECT_EQ(dms.Edits, (std::array<std::string, 7>{"55", "00", "00,048939", "36", "59",
                                                     "53,364500", "-0,0000"}));
    const ResultTexts decimal = ShowResultTexts(state.Point, AngleFormat::Decimal, '.');
    EXPECT_EQ(decimal.Edits, (std::array<std::string, 7>{"55.0000135944", "-", "-", "36.9981568058",
                                                         "-", "-", "-0.0000"}));
    state.Point.B2 = -1;
    EXPECT_EQ(ShowResultTexts(state.Point, AngleFormat::Decimal, '.').LatitudeHemisphere, "ю.ш.");
}

TEST(EnterPointScreen, BuildsTheOperandOfTheSelectedPresetAndResetsThePoint) {
    DatumerState state = MakeDatumerState();
    state.Point.B1 = 12;
    state.PointInputValid[2] = false;
    state.SelectedPreset = 5;
    EnterPointScreen(state);
    EXPECT_EQ(state.Params.DX, -1.08);
    EXPECT_EQ(state.Params.a1, 6378136);
    EXPECT_EQ(state.Point.B1, 0);
    EXPECT_TRUE(state.PointInputValid[2]);
}

}  // namespace
}  // namespace datumer
