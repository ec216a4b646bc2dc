#include "gridwise/state.hpp"

namespace gridwise {

namespace {

constexpr const char* kSixDegreeZones = "шестиградусные зоны";

void FillEllipsoids(EllipsoidTable& table) {
    table[1] = common::Krasovsky1940();
    table[2] = common::Wgs84Ellipsoid();
    table[3] = common::Pz9001Ellipsoid();
    table[4] = table[1];
    table[4].Name = "пользовательский";
}

// Flags in the order of the table: UtmAllowed, FalseOriginEditable, MeridianEditable,
// ZoneChoice, EllipsoidEditable, Sk63ZoneChoice, MeridianAlwaysAdded, UserMeridian.
TCHSK MakeSystem(const char* name, double falseEasting, int ellipsoid, const char* zoneKind,
                 const char (&flags)[9]) {
    TCHSK system;
    system.Name = name;
    system.FalseNorthing = 0.0;
    system.FalseEasting = falseEasting;
    system.Ellipsoid = ellipsoid;
    system.ZoneKind = zoneKind;
    system.UtmAllowed = flags[0] == '1';
    system.FalseOriginEditable = flags[1] == '1';
    system.MeridianEditable = flags[2] == '1';
    system.ZoneChoice = flags[3] == '1';
    system.EllipsoidEditable = flags[4] == '1';
    system.Sk63ZoneChoice = flags[5] == '1';
    system.MeridianAlwaysAdded = flags[6] == '1';
    system.UserMeridian = flags[7] == '1';
    system.ListPosition = 0;
    return system;
}

void FillSystems(SystemTable& table) {
    table[kSystemSk42] = MakeSystem("СК42/СК95", 500000, 1, kSixDegreeZones, "10010000");
    table[kSystemWgs84] = MakeSystem("WGS84", 500000, 2, kSixDegreeZones, "10010000");
    table[kSystemPz90] = MakeSystem("ПЗ90.01", 500000, 3, kSixDegreeZones, "10010000");
    table[kSystemSk63] =
        MakeSystem("СК63", 250000, 1, "трёхградусные/шестиградусные зоны", "01100111");
    table[kSystemUser] =
        MakeSystem("Пользовательские параметры", 500000, 4, kSixDegreeZones, "11011000");
}

TWorkStructure MakeDefaultWork(const GridwiseState& state) {
    TWorkStructure work;
    work.Ell = state.Ellipsoids[1];
    work.FalseNorthing = state.Systems[kSystemSk42].FalseNorthing;
    work.FalseEasting = state.Systems[kSystemSk42].FalseEasting;
    work.AddZoneNumber = true;
    work.ZoneShift = 0;
    work.UserMeridian = false;
    work.Sk63Zone = 0;
    work.CentralMeridian = 0.0;
    work.Utm = false;
    return work;
}

}  // namespace

GridwiseState MakeGridwiseState() {
    GridwiseState state;
    FillEllipsoids(state.Ellipsoids);
    FillSystems(state.Systems);
    state.DefaultWork = MakeDefaultWork(state);
    state.DefaultMeridianDM = {0, 0};
    state.MeridianDM = state.DefaultMeridianDM;
    state.Work = state.DefaultWork;
    state.DefaultValid.items.fill(true);
    state.SetupValid = state.DefaultValid;
    state.PointValid = state.DefaultValid;
    state.ShiftValid = state.DefaultValid;
    state.CurrentSystem = kSystemSk42;
    state.DirectionToPlane = true;
    state.Algorithm = kClassicSeries;
    state.Sk42Zone = 1;
    return state;
}

}  // namespace gridwise
