// The point screen's rules: the checks of "РАСЧЁТ" in their order, the computation and the
// texts of every value it shows.

#include <gtest/gtest.h>

#include <string>

#include "gridwise/rules/point_rules.hpp"
#include "gridwise/rules/setup_rules.hpp"

namespace gridwise {
namespace {

common::TDegMinSec Dms(double deg, double min, double sec) {
    common::TDegMinSec a;
    a.Deg = deg;
    a.Min = min;
    a.Sec = sec;
    return a;
}

common::TDegMinSec Decimal(double value) {
    common::TDegMinSec a;
    a.Value = value;
    return a;
}

struct GeoCheckCase {
    std::string name;
    common::TDegMinSec B, L;
    AngleFormat format;
    std::string message;
};

TEST(PointRules, GeoChecksInOrder) {
    const std::string latitude = "Значение широты должно быть от 0 до 90  ";
    const std::string longitude = "Значение долготы должно быть от 0 до 180  ";
    const std::string latMinutes = "Значение минут по широте должно быть от 0 до 59  ";
    const std::string lonMinutes = "Значение минут по долготе должно быть от 0 до 59  ";
    const std::string latSeconds = "Значение секунд по широте должно быть менее 60  ";
    const std::string lonSeconds = "Значение секунд по долготе должно быть менее 60  ";
    const AngleFormat dms = AngleFormat::DegMinSec;
    const AngleFormat dec = AngleFormat::Decimal;
    const GeoCheckCase cases[] = {
        {"minutes 75 pass the latitude", Dms(10, 75, 0), Dms(37, 0, 0), dms, latMinutes},
        {"degrees 91 fail as latitude", Dms(91, 0, 0), Dms(37, 0, 0), dms, latitude},
        {"seconds 60", Dms(55, 0, 60), Dms(37, 0, 0), dms, latSeconds},
        {"seconds 59.999999", Dms(55, 0, 59.999999), Dms(37, 0, 59.999999), dms, ""},
        {"89 59 60 is 90 but seconds fail", Dms(89, 59, 60), Dms(0, 0, 0), dms, latSeconds},
        {"90 exactly", Dms(90, 0, 0), Dms(180, 0, 0), dms, ""},
        {"latitude before longitude", Dms(90, 1, 0), Dms(181, 0, 0), dms, latitude},
        {"longitude 180 and a minute", Dms(0, 0, 0), Dms(180, 1, 0), dms, longitude},
        {"longitude minutes", Dms(0, 0, 0), Dms(10, 60, 0), dms, lonMinutes},
        {"latitude minutes before longitude minutes", Dms(1, 60, 0), Dms(10, 60, 0), dms,
         latMinutes},
        {"longitude seconds", Dms(0, 0, 0), Dms(10, 0, 60), dms, lonSeconds},
        {"overflowed degrees", Dms(2147483647, 0, 0), Dms(0, 0, 0), dms, latitude},
        {"decimal 90", Decimal(90), Decimal(180), dec, ""},
        {"decimal above 90", Decimal(90.0000001), Decimal(0), dec, latitude},
        {"decimal above 180", Decimal(1), Decimal(180.0000001), dec, longitude},
    };
    for (GeoCheckCase c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckGeoInput(c.B, c.L, c.format), c.message);
    }
}

struct PlaneCheckCase {
    std::string name;
    PlaneCoords point;
    bool addZoneNumber, userMeridian;
    std::string message;
};

TEST(PointRules, PlaneChecksInOrder) {
    const std::string abscissa = "Значение абсциссы не должно превышать 11000 км  ";
    const std::string ordinate = "Значение ординаты должно быть в пределах 1000 - 61000 км  ";
    const std::string difference = "Разность ординаты и False Easting должна быть менее 500 км  ";
    const PlaneCheckCase cases[] = {
        {"x 11000 km", {-11000000.0, 7500000.0}, true, false, ""},
        {"x beyond", {11000000.01, 7500000.0}, true, false, abscissa},
        {"x before y", {11000000.01, 5.0}, true, false, abscissa},
        {"y 1000 km", {0.0, 1000000.0}, true, false, ""},
        {"y below", {0.0, 999999.99}, true, false, ordinate},
        {"y 61000 km", {0.0, 61000000.0}, true, false, ordinate},
        {"sk63 y not checked", {0.0, 5.0}, true, true, ""},
        // Without the zone number: within one zone of the false easting of 500 km, no further,
        // or the millions would be read as a zone and dropped.
        {"no zone 999 999.9", {0.0, 999999.9}, false, false, ""},
        {"no zone 1000 km", {0.0, 1000000.0}, false, false, difference},
        {"no zone millions dropped", {0.0, 1499999.9}, false, false, difference},
        {"no zone 0", {0.0, 0.0}, false, false, difference},
        {"no zone 0.1", {0.0, 0.1}, false, false, ""},
        {"no zone -500 km", {0.0, -500000.0}, false, false, difference},
        {"sk63 no zone beyond", {0.0, 1000000.0}, false, true, difference},
    };
    for (const PlaneCheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        TWorkStructure work = MakeGridwiseState().Work;
        work.AddZoneNumber = c.addZoneNumber;
        work.UserMeridian = c.userMeridian;
        EXPECT_EQ(CheckPlaneInput(c.point, work), c.message);
    }
}

TEST(PointRules, ValueTexts) {
    EXPECT_EQ(ConvergenceText(-0.5, ','), "-0° 30' 00,00\"");
    EXPECT_EQ(ConvergenceText(2.0 + 5.0 / 60 + 7.25 / 3600, '.'), "+2° 05' 07.25\"");
    EXPECT_EQ(AreaDistortionText((1.0004 * 1.0004 - 1.0) * 1000.0, ','), "0,800160 ‰");
    EXPECT_EQ(DshText(156.775216, '.'), "156.78 мм/км2");
    EXPECT_EQ(ScaleText(1.000200855, '.'), "1.000201");
    EXPECT_EQ(PlaneCoordinateText(6099167.23945, '.'), "6099167.2395");
    EXPECT_EQ(DecimalAngleText(-55.75, '.'), "55.7500000000");
    const DmsTexts t = DmsAngleTexts(Dms(55, 5, 7.25), '.');
    EXPECT_EQ(t.deg + "|" + t.min + "|" + t.sec, "55|05|07.250000");
}

GridwiseState PointState(bool toPlane) {
    GridwiseState s = MakeGridwiseState();
    OpenSetupScreen(s);
    ChooseDirection(s, toPlane);
    ResetPointState(s);
    return s;
}

TEST(PointRules, ComputeToPlaneShowsEveryValue) {
    GridwiseState s = PointState(true);
    const char* fields[] = {"55", "0", "0", "37", "0", "0"};
    for (int field = 1; field <= 6; ++field)
        EXPECT_TRUE(EditPointField(s, field, AngleFormat::DegMinSec, fields[field - 1]));
    PointResult r;
    ASSERT_EQ(ComputePoint(s, AngleFormat::DegMinSec, false, false, r), "");
    ASSERT_TRUE(r.ok);
    const PointTexts t = FormatPointResult(r, true, true, '.');
    EXPECT_EQ(t.x, "6099167.2394");
    EXPECT_EQ(t.y, "7372018.4912");
    EXPECT_EQ(t.sheets[0], "N-37");
    EXPECT_EQ(t.sheets[1], "N-37-А");
    EXPECT_EQ(t.scale, "1.000201");
    EXPECT_EQ(t.convergence, "-1° 38' 18.68\"");
    EXPECT_EQ(t.dsh, "156.78 мм/км2");
    EXPECT_EQ(r.zone, 7);
    EXPECT_EQ(s.Point.PlanePoint.y, r.PlanePoint.y);
    EXPECT_EQ(r.allSheets.Field[0], "N-37");
}

TEST(PointRules, HemispheresSignThePoint) {
    GridwiseState s = PointState(true);
    EXPECT_TRUE(EditPointField(s, 1, AngleFormat::Decimal, "55,75"));
    EXPECT_TRUE(EditPointField(s, 2, AngleFormat::Decimal, "anything"));
    EXPECT_TRUE(EditPointField(s, 4, AngleFormat::Decimal, "37.5"));
    EXPECT_FALSE(EditPointField(s, 4, AngleFormat::Decimal, "-37.5"));
    EXPECT_FALSE(PointInputsValid(s));
    EXPECT_TRUE(EditPointField(s, 4, AngleFormat::Decimal, "37.5"));
    PointResult r;
    ASSERT_EQ(ComputePoint(s, AngleFormat::Decimal, true, true, r), "");
    EXPECT_EQ(s.Point.CalcPoint.B, -55.75);
    EXPECT_EQ(s.Point.CalcPoint.L, -37.5);
    EXPECT_LT(r.PlanePoint.x, 0.0);
}

TEST(PointRules, AFailedProjectionShowsTheErrorText) {
    GridwiseState s = PointState(true);
    ChooseZoneItem(s, 2);
    s.Point.PointB.Value = 55;
    s.Point.PointL.Value = 37;
    PointResult r;
    ASSERT_EQ(ComputePoint(s, AngleFormat::Decimal, false, false, r), "");
    EXPECT_FALSE(r.ok);
    const PointTexts t = FormatPointResult(r, true, true, '.');
    EXPECT_EQ(t.x, "Ошибка расчёта");
    EXPECT_EQ(t.y, "Ошибка расчёта");
    EXPECT_EQ(t.sheets[0], "-");
    EXPECT_EQ(t.scale, "-");
}

TEST(PointRules, ComputeToGeoSplitsTheResult) {
    GridwiseState s = PointState(false);
    EXPECT_TRUE(EditPointField(s, kAbscissaField, AngleFormat::DegMinSec, "6099167,2394"));
    EXPECT_TRUE(EditPointField(s, kOrdinateField, AngleFormat::DegMinSec, "7372018.4912"));
    PointResult r;
    ASSERT_EQ(ComputePoint(s, AngleFormat::DegMinSec, false, false, r), "");
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(s.Point.ResultShown);
    EXPECT_NEAR(s.Point.PointB.Value, 55.0, 1e-8);
    const common::TDegMinSec& L = s.Point.PointL;
    EXPECT_NEAR(L.Value, 37.0, 1e-8);
    EXPECT_NEAR(L.Deg + L.Min / 60 + L.Sec / 3600, L.Value, 1e-12) << "split for display";
    EXPECT_EQ(r.zone, 7);
    EXPECT_EQ(FormatPointResult(r, false, true, '.').sheets[0], "N-37");
}

TEST(PointRules, WithoutZoneNumberTheZoneIsUnknown) {
    GridwiseState s = PointState(false);
    ClickZoneCheckBox(s, false);
    s.Point.PlanePoint = {6099167.2394, 372018.4912};
    PointResult r;
    ASSERT_EQ(ComputePoint(s, AngleFormat::DegMinSec, false, false, r), "");
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.CalcPoint.L, -2.0, 1e-8);
    const PointTexts t = FormatPointResult(r, false, false, '.');
    EXPECT_EQ(t.sheets[0], "Зона неизвестна!");
    EXPECT_EQ(t.sheets[3], "-");
    EXPECT_FALSE(r.sheetsKnown);
}

TEST(PointRules, AFailedCheckChangesNothing) {
    GridwiseState s = PointState(false);
    s.Point.PlanePoint = {12000000.0, 7372018.0};
    PointResult r;
    EXPECT_EQ(ComputePoint(s, AngleFormat::DegMinSec, false, false, r),
              "Значение абсциссы не должно превышать 11000 км  ");
    EXPECT_FALSE(s.Point.ResultShown);
    EXPECT_EQ(s.Point.CalcPoint.B, 0.0);
}

}  // namespace
}  // namespace gridwise
