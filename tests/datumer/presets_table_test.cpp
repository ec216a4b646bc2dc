// The preset and ellipsoid tables, the list lines and the operand built from a preset.

#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "datumer/geodesy/presets.hpp"
#include "datumer/rules/setup_rules.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

struct ForwardRow {
    int number;
    const char* source;
    const char* target;
    double dx, dy, dz, wx, wy, wz, m;
    int sourceEll, targetEll;
};

// The forward row of each pair as published; its inverse is the row after it.
constexpr ForwardRow kForwardRows[] = {
    {1, "СК42", "WGS84", 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 1, 2},
    {3, "СК95", "WGS84", 24.82, -131.21, -82.66, 0, 0, -0.16, -0.12, 1, 2},
    {5, "ПЗ90.01", "WGS84", -1.08, -0.27, -0.9, 0, 0, 0.16, -0.12, 3, 2},
    {7, "СК42", "СК95", -0.9, -10.06, 1.76, 0, -0.35, -0.66, 0, 1, 1},
    {9, "СК42", "ПЗ90.01", 25, -141, -80, 0, -0.35, -0.66, 0, 1, 3},
    {11, "СК95", "ПЗ90.01", 25.9, -130.94, -81.76, 0, 0, 0, 0, 1, 3},
};

const std::string kNameTail = "  (ГОСТ P51794-2001 // Кредо Транскор 1.10.345.0)";

void ExpectRow(const TCHSK& p, const std::string& source, const std::string& target, double sign,
               const ForwardRow& r, int sourceEll, int targetEll) {
    EXPECT_EQ(p.SourceName, source);
    EXPECT_EQ(p.TargetName, target);
    EXPECT_EQ(p.DX, sign * r.dx);
    EXPECT_EQ(p.DY, sign * r.dy);
    EXPECT_EQ(p.DZ, sign * r.dz);
    EXPECT_EQ(p.WX, sign * r.wx);
    EXPECT_EQ(p.WY, sign * r.wy);
    EXPECT_EQ(p.WZ, sign * r.wz);
    EXPECT_EQ(p.M, sign * r.m);
    EXPECT_EQ(p.SourceEll, sourceEll);
    EXPECT_EQ(p.TargetEll, targetEll);
}

TEST(DatumPresets, FixedRowsAndTheirInverses) {
    const DatumerState state = MakeDatumerState();
    for (const ForwardRow& r : kForwardRows) {
        SCOPED_TRACE(r.number);
        ExpectRow(PresetAt(state, r.number), r.source, r.target, 1, r, r.sourceEll, r.targetEll);
        ExpectRow(PresetAt(state, r.number + 1), r.target, r.source, -1, r, r.targetEll,
                  r.sourceEll);
        EXPECT_EQ(PresetAt(state, r.number).Name,
                  std::string(" ") + r.source + " => " + r.target + kNameTail);
        EXPECT_EQ(PresetAt(state, r.number + 1).Name,
                  std::string(" ") + r.target + " => " + r.source + kNameTail);
    }
}

// From 14 on, the pairs of ГОСТ Р 51794-2008 and ГОСТ 32453-2017 in the same form as 1..12: the row
// after each forward row is its exact negation between the same systems, the other way round.
TEST(DatumPresets, PresetsOfTodayComeInPairsAndNameTheirStandard) {
    const DatumerState state = MakeDatumerState();
    int from2008 = 0, from2017 = 0;
    for (int i = kUserPreset + 1; i < kPresetCount; i += 2) {
        SCOPED_TRACE(i);
        const TCHSK& there = PresetAt(state, i);
        const TCHSK& back = PresetAt(state, i + 1);
        EXPECT_EQ(back.SourceName, there.TargetName);
        EXPECT_EQ(back.TargetName, there.SourceName);
        EXPECT_EQ(back.SourceEll, there.TargetEll);
        EXPECT_EQ(back.TargetEll, there.SourceEll);
        const double forward[] = {there.DX, there.DY, there.DZ, there.WX,
                                  there.WY, there.WZ, there.M};
        const double reverse[] = {back.DX, back.DY, back.DZ, back.WX, back.WY, back.WZ, back.M};
        for (int k = 0; k < 7; ++k) EXPECT_EQ(reverse[k], -forward[k]) << k;
        for (const TCHSK* p : {&there, &back}) {
            const std::string head = " " + p->SourceName + " => " + p->TargetName + "  (";
            EXPECT_EQ(p->Name.substr(0, head.size()), head);
            from2008 += p->Name.ends_with("(ГОСТ Р 51794-2008)");
            from2017 += p->Name.ends_with("(ГОСТ 32453-2017)");
        }
    }
    EXPECT_EQ(from2008, 6);
    EXPECT_EQ(from2017, 14);
    EXPECT_EQ(PresetListText(state, 26), " 26.  ГСК-2011 => ПЗ90.11  (ГОСТ 32453-2017)");
    EXPECT_EQ(PresetListText(state, 30), " 30.  СК42 => ГСК-2011  (ГОСТ 32453-2017)");
    // ПЗ90.02 and ПЗ90.11 share the ПЗ-90 ellipsoid; ГСК-2011 has its own.
    EXPECT_EQ(PresetAt(state, 24).SourceEll, 7);
    EXPECT_EQ(PresetAt(state, 24).TargetEll, 7);
    EXPECT_EQ(PresetAt(state, 26).SourceEll, 8);
    EXPECT_EQ(PresetAt(state, 32).SourceEll, 1);
    EXPECT_EQ(PresetAt(state, 32).TargetEll, 8);
}

TEST(DatumPresets, NamesUseLatinPAndTwoBlanksBeforeTheSource) {
    const DatumerState state = MakeDatumerState();
    for (int i = 1; i < kUserPreset; ++i) {
        const std::string& name = PresetAt(state, i).Name;
        const std::size_t gost = name.find("ГОСТ ");
        ASSERT_NE(gost, std::string::npos) << i;
        EXPECT_EQ(name[gost + std::string("ГОСТ ").size()], 'P') << "Latin P expected in " << i;
        EXPECT_NE(name.find("  ("), std::string::npos) << i;
        EXPECT_EQ(name[0], ' ');
        EXPECT_NE(name[1], ' ');
    }
}

TEST(DatumPresets, UserPresetStartsAsPresetOneOnTheUserEllipsoids) {
    const DatumerState state = MakeDatumerState();
    const TCHSK& user = PresetAt(state, kUserPreset);
    ExpectRow(user, "пользовательские параметры", "пользовательские параметры", 1, kForwardRows[0],
              4, 5);
    EXPECT_EQ(user.Name, " Пользовательские параметры  (по умолчанию из варианта 1)");
    EXPECT_EQ(EllipsoidAt(state, 4).A, EllipsoidAt(state, 1).A);
    EXPECT_EQ(EllipsoidAt(state, 4).InvFlattening, EllipsoidAt(state, 1).InvFlattening);
    EXPECT_EQ(EllipsoidAt(state, 5).A, EllipsoidAt(state, 2).A);
    EXPECT_EQ(EllipsoidAt(state, 5).InvFlattening, EllipsoidAt(state, 2).InvFlattening);
}

TEST(DatumEllipsoids, Table) {
    const DatumerState state = MakeDatumerState();
    const struct {
        const char* name;
        double a, invF;
    } expected[] = {{"Красовского-1940", 6378245, 298.3},
                    {"WGS84", 6378137, 298.257223563},
                    {"ПЗ90.01", 6378136, 298.257839303},
                    {"пользовательский исходный", 6378245, 298.3},
                    {"пользовательский целевой", 6378137, 298.257223563},
                    {"WGS84_TGO", 6378137, 298.25722},
                    {"ПЗ-90", 6378136, 298.257839303},
                    {"ГСК-2011", 6378136.5, 298.2564151}};
    for (int i = 1; i <= kEllipsoidCount; ++i) {
        const TELL& e = EllipsoidAt(state, i);
        EXPECT_EQ(e.Name, expected[i - 1].name);
        EXPECT_EQ(e.A, expected[i - 1].a);
        EXPECT_EQ(e.InvFlattening, expected[i - 1].invF);
    }
}

TEST(DatumPresets, ListLines) {
    const DatumerState state = MakeDatumerState();
    EXPECT_EQ(PresetListText(state, 1),
              " 1.  СК42 => WGS84  (ГОСТ P51794-2001 // Кредо Транскор 1.10.345.0)");
    EXPECT_EQ(PresetListText(state, 13),
              " 13.  Пользовательские параметры  (по умолчанию из варианта 1)");
}

TEST(DatumPresets, NumbersOutsideTheTablesFallToTheirEnds) {
    const DatumerState state = MakeDatumerState();
    for (int i : {0, -1}) {
        EXPECT_FALSE(IsPresetNumber(i));
        EXPECT_EQ(&PresetAt(state, i), &PresetAt(state, 1));
        EXPECT_EQ(&EllipsoidAt(state, i), &EllipsoidAt(state, 1));
    }
    for (int i : {kPresetCount + 1, 255}) {
        EXPECT_FALSE(IsPresetNumber(i));
        EXPECT_EQ(&PresetAt(state, i), &PresetAt(state, kPresetCount));
    }
    for (int i : {kEllipsoidCount + 1, 255})
        EXPECT_EQ(&EllipsoidAt(state, i), &EllipsoidAt(state, kEllipsoidCount));
}

TEST(BuildDatumParams, PresetOne) {
    const DatumerState state = MakeDatumerState();
    const DatumParams p = BuildDatumParams(state, 1);
    EXPECT_EQ(p.DX, 23.92);
    EXPECT_EQ(p.DY, -141.27);
    EXPECT_EQ(p.DZ, -80.9);
    EXPECT_EQ(p.WX, 0.0);
    EXPECT_NEAR(p.WY, -1.6968e-6, 1e-10);
    EXPECT_EQ(p.WY, static_cast<double>(-0.35L * std::numbers::pi_v<long double> / 648000.0L));
    EXPECT_NEAR(p.WZ, -0.82 * std::numbers::pi / 648000.0, 1e-18);
    EXPECT_DOUBLE_EQ(p.M, -1.2e-7);
    EXPECT_EQ(p.a1, 6378245.0);
    EXPECT_DOUBLE_EQ(p.f1, 1.0 / 298.3);
    EXPECT_EQ(p.a2, 6378137.0);
    EXPECT_DOUBLE_EQ(p.f2, 1.0 / 298.257223563);
}

TEST(InitDatumPresets, DropsTheUserValuesAndMarksTheFieldsValid) {
    DatumerState state = MakeDatumerState();
    state.SelectedPreset = kUserPreset;
    ASSERT_EQ(EditUserPresetField(state, 1, "100"), FieldEdit::Accepted);
    ASSERT_EQ(EditUserPresetField(state, 8, "6379000"), FieldEdit::Accepted);
    ASSERT_EQ(EditUserPresetField(state, 11, "x"), FieldEdit::Rejected);
    InitDatumPresets(state);
    EXPECT_EQ(PresetAt(state, kUserPreset).DX, 23.92);
    EXPECT_EQ(EllipsoidAt(state, 4).A, 6378245.0);
    for (bool valid : state.SetupInputValid) EXPECT_TRUE(valid);
}

TEST(DatumerState, StartValues) {
    const DatumerState state = MakeDatumerState();
    EXPECT_EQ(state.SelectedPreset, 1);
    EXPECT_EQ(state.Params.DX, BuildDatumParams(state, 1).DX);
    EXPECT_EQ(state.Params.WZ, BuildDatumParams(state, 1).WZ);
    EXPECT_EQ(state.HeightMode, kNormalHeights);
    EXPECT_EQ(state.AnglePrecision, 10);
    EXPECT_EQ(state.HeightPrecision, 3);
    EXPECT_FALSE(state.OptionsConfirmed);
    for (bool valid : state.PointInputValid) EXPECT_TRUE(valid);
}

}  // namespace
}  // namespace datumer
