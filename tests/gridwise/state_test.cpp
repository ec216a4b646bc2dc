// Start values of the state and the derived ellipsoid constants.

#include <gtest/gtest.h>

#include "gridwise/state.hpp"

namespace gridwise {
namespace {

TEST(DeriveEllipsoid, KrasovskyAndWgs84) {
    const GridwiseState state = MakeGridwiseState();
    const TEllConst krasovsky = DeriveEllipsoid(state.Ellipsoids[1]);
    EXPECT_NEAR(krasovsky.B, 6356863.0188, 0.00005);
    EXPECT_NEAR(krasovsky.E2, 0.0066934216, 5e-11);
    EXPECT_NEAR(krasovsky.Ep2, krasovsky.E2 / (1.0 - krasovsky.E2), 1e-15);
    const TEllConst wgs84 = DeriveEllipsoid(state.Ellipsoids[2]);
    EXPECT_NEAR(wgs84.B, 6356752.314245, 0.0000005);
}

TEST(MakeGridwiseState, StartValues) {
    const GridwiseState s = MakeGridwiseState();
    EXPECT_EQ(s.Ellipsoids[4].Name, "пользовательский");
    EXPECT_EQ(s.Ellipsoids[4].A, s.Ellipsoids[1].A);
    EXPECT_EQ(s.Ellipsoids[4].InvFlattening, s.Ellipsoids[1].InvFlattening);
    EXPECT_EQ(s.Ellipsoids[3].InvFlattening, 298.257839303);
    EXPECT_EQ(s.Systems[kSystemSk63].FalseEasting, 250000.0);
    EXPECT_FALSE(s.Systems[kSystemSk63].UtmAllowed);
    EXPECT_TRUE(s.Systems[kSystemSk63].UserMeridian);
    EXPECT_TRUE(s.Systems[kSystemUser].EllipsoidEditable);
    EXPECT_EQ(s.Systems[kSystemUser].Ellipsoid, 4);
    EXPECT_EQ(s.CurrentSystem, 1);
    EXPECT_TRUE(s.DirectionToPlane);
    EXPECT_EQ(s.Work.Ell.Name, "Красовского-1940");
    EXPECT_EQ(s.Work.FalseEasting, 500000.0);
    EXPECT_TRUE(s.Work.AddZoneNumber);
    EXPECT_EQ(s.Work.Sk63Zone, 0);
    EXPECT_EQ(s.Sk42Zone, 1);
    EXPECT_FALSE(s.OptionsConfirmed);
    for (int flag = 1; flag <= kInputFlagCount; ++flag) {
        EXPECT_TRUE(s.SetupValid[flag] && s.PointValid[flag] && s.ShiftValid[flag]) << flag;
    }
}

TEST(OneBased, NumbersOutsideTheTableFallToItsEnds) {
    GridwiseState s = MakeGridwiseState();
    EXPECT_EQ(&s.Systems[0], &s.Systems[1]);
    EXPECT_EQ(&s.Systems[-7], &s.Systems[1]);
    EXPECT_EQ(&s.Systems[6], &s.Systems[5]);
    EXPECT_EQ(s.Systems[kSystemUser].Name, "Пользовательские параметры");
}

}  // namespace
}  // namespace gridwise
