#include "gridwise/rules/setup_rules.hpp"

#include <cmath>
#include <iterator>

#include "common/text.hpp"

namespace gridwise {

namespace {

const TCHSK& Current(const GridwiseState& state) {
    return state.CurrentSystemRecord();
}

// Sk63Zone follows the SK63 zone list: zone 1 when the list is offered, else 0.
bool Sk63ZoneListOffered(const GridwiseState& state) {
    return state.DirectionToPlane && Current(state).Sk63ZoneChoice && state.Work.AddZoneNumber;
}

// The common pattern of the six text events: parse only when the field is editable; a valid
// text is stored, an invalid one leaves the stored value.
template <class Parse, class Value>
bool EditField(GridwiseState& state, bool editable, int flag, std::string_view text, Parse parse,
               Value& target) {
    if (!editable) return state.SetupValid[flag];
    bool ok = true;
    const auto value = parse(text, ok);
    if (ok) target = value;
    state.SetupValid[flag] = ok;
    return ok;
}

// Checks of "Далее" in their order; the first failing one gives the message.
struct SetupCheck {
    bool applies;
    bool passes;
    const char* message;
};

}  // namespace

std::string SystemListEntry(const GridwiseState& state, int number) {
    const TCHSK& system = state.Systems[number];
    return system.Name + " - " + system.ZoneKind;
}

std::vector<std::string> FillSystemList(GridwiseState& state, bool utm) {
    std::vector<std::string> entries;
    int position = 0;
    for (int number = 1; number <= kSystemCount; ++number) {
        TCHSK& system = state.Systems[number];
        if (!utm || system.UtmAllowed) {
            system.ListPosition = ++position;
            entries.push_back(SystemListEntry(state, number));
        } else {
            system.ListPosition = 0;
        }
    }
    return entries;
}

int SystemAtListPosition(const GridwiseState& state, int position) {
    if (position < 1) return 0;
    for (int number = 1; number <= kSystemCount; ++number)
        if (state.Systems[number].ListPosition == position) return number;
    return 0;
}

void ApplySystem(GridwiseState& state, int number) {
    const bool utm = state.Work.Utm;
    const bool userMeridian = state.Work.UserMeridian;
    state.Work = state.DefaultWork;
    state.Work.Utm = utm;
    state.Work.UserMeridian = userMeridian;
    state.SetupValid = state.DefaultValid;

    const TCHSK& system = state.Systems[number];
    if (state.DirectionToPlane && system.Sk63ZoneChoice && state.Work.AddZoneNumber)
        state.Work.Sk63Zone = 1;
    state.Work.FalseEasting = system.FalseEasting;
    state.Work.FalseNorthing = system.FalseNorthing;
    state.Work.Ell = state.Ellipsoids[system.Ellipsoid];
}

std::vector<std::string> OpenSetupScreen(GridwiseState& state) {
    std::vector<std::string> entries = FillSystemList(state, false);
    ApplySystem(state, state.CurrentSystem);
    state.Algorithm = kClassicSeries;
    return entries;
}

SetupControls DescribeSetupControls(const GridwiseState& state) {
    const TCHSK& system = Current(state);
    SetupControls c;
    c.zoneCheckCaption =
        std::string(state.DirectionToPlane ? kAddZoneNumberCaption : kAddMeridianCaption);
    c.zoneCheckEnabled = state.DirectionToPlane || !system.MeridianAlwaysAdded;
    c.sk63ZoneListEnabled = Sk63ZoneListOffered(state);
    c.zoneChoiceEnabled = system.ZoneChoice && state.DirectionToPlane;
    c.falseOriginEditable = system.FalseOriginEditable;
    c.ellipsoidEditable = system.EllipsoidEditable;
    c.meridianEditable = system.MeridianEditable;
    c.ellipsoidName = state.Ellipsoids[system.Ellipsoid].Name;
    return c;
}

int FalseEastingItemIndex(double value) {
    for (std::size_t i = 0; i < std::size(kFalseEastingItems); ++i)
        if (kFalseEastingItems[i] == value) return static_cast<int>(i);
    return -1;
}

void ChooseDirection(GridwiseState& state, bool toPlane) {
    state.DirectionToPlane = toPlane;
    ApplySystem(state, state.CurrentSystem);
}

bool ChooseProjection(GridwiseState& state, bool utm) {
    bool forcedSystem = false;
    state.Work.Utm = utm;
    if (utm) {
        state.Work.UserMeridian = false;
        if (!Current(state).UtmAllowed) {
            state.CurrentSystem = kSystemSk42;
            state.DirectionToPlane = true;
            ApplySystem(state, kSystemSk42);
            forcedSystem = true;
        }
    }
    FillSystemList(state, utm);
    return forcedSystem;
}

void ChooseSystem(GridwiseState& state, int position) {
    const int number = SystemAtListPosition(state, position);
    if (number == 0) return;
    state.CurrentSystem = number;
    ApplySystem(state, number);
    state.Work.UserMeridian = state.Systems[number].UserMeridian;
}

void ChooseZoneItem(GridwiseState& state, int index) {
    state.Work.ZoneShift = index == 1 ? -1 : (index == 2 ? 1 : 0);
}

void ChooseAlgorithm(GridwiseState& state, int index) {
    state.Algorithm = index == kKrugerSeries ? kKrugerSeries : kClassicSeries;
}

void ChooseSk63ZoneItem(GridwiseState& state, int index) {
    if (index >= 0 && index < kSk63ZoneCount) state.Work.Sk63Zone = index + 1;
}

bool ClickZoneCheckBox(GridwiseState& state, bool checked) {
    const bool listOffered = checked && Current(state).Sk63ZoneChoice;
    state.Work.Sk63Zone = listOffered ? 1 : 0;
    state.Work.AddZoneNumber = checked;
    return listOffered;
}

void StartAgain(GridwiseState& state) {
    state.DirectionToPlane = true;
    state.CurrentSystem = kSystemSk42;
    FillSystemList(state, false);
    state.Work.UserMeridian = false;
    state.Work.Utm = false;
    ApplySystem(state, kSystemSk42);
    state.Algorithm = kClassicSeries;
}

bool EditFalseEasting(GridwiseState& state, std::string_view text) {
    return EditField(state, Current(state).FalseOriginEditable, kFalseEastingFlag, text,
                     common::ParseSignedReal, state.Work.FalseEasting);
}

bool EditFalseNorthing(GridwiseState& state, std::string_view text) {
    return EditField(state, Current(state).FalseOriginEditable, kFalseNorthingFlag, text,
                     common::ParseSignedReal, state.Work.FalseNorthing);
}

bool EditSemiMajorAxis(GridwiseState& state, std::string_view text) {
    return EditField(state, Current(state).EllipsoidEditable, kSemiMajorAxisFlag, text,
                     common::ParseUnsignedReal, state.Work.Ell.A);
}

bool EditInvFlattening(GridwiseState& state, std::string_view text) {
    return EditField(state, Current(state).EllipsoidEditable, kInvFlatteningFlag, text,
                     common::ParseUnsignedReal, state.Work.Ell.InvFlattening);
}

bool EditMeridianDegrees(GridwiseState& state, std::string_view text) {
    return EditField(state, Current(state).MeridianEditable, kMeridianDegreesFlag, text,
                     common::ParseUnsignedInt, state.MeridianDM.Deg);
}

bool EditMeridianMinutes(GridwiseState& state, std::string_view text) {
    return EditField(state, Current(state).MeridianEditable, kMeridianMinutesFlag, text,
                     common::ParseUnsignedInt, state.MeridianDM.Min);
}

bool SetupInputsValid(const GridwiseState& state) {
    return common::AllInputsValid(state.SetupValid.items);
}

std::string ProceedFromSetup(GridwiseState& state, bool westernMeridian) {
    const TCHSK& system = Current(state);
    TWorkStructure& work = state.Work;
    if (system.MeridianEditable) {
        const double meridian = state.MeridianDM.Deg + state.MeridianDM.Min / 60.0;
        work.CentralMeridian = westernMeridian ? -meridian : meridian;
    }
    const SetupCheck checks[] = {
        {system.MeridianEditable, state.MeridianDM.Min >= 0 && state.MeridianDM.Min <= 59,
         "Минуты (долгота центрального меридиана) должны быть в пределах 0-59 '"},
        {work.UserMeridian, std::fabs(work.CentralMeridian) <= 180.0,
         "Долгота центрального меридиана зоны СК63 должна быть в пределах 0-180°\n\r"
         "западной или восточной долготы"},
        {true, work.FalseNorthing >= -10000000.0 && work.FalseNorthing <= 1000000.0,
         "Параметр False Northing должен быть в пределах от -10 000 до +1000 км"},
        {true, work.FalseEasting >= 0.0 && work.FalseEasting < 1000000.0,
         "Параметр False Easting должен быть в пределах от 0 до +1000 км"},
        {true, work.Ell.A >= 6370000.0 && work.Ell.A <= 6390000.0,
         "Большая полуось референц-эллипсоида должна быть в пределах 6370000...6390000 м"},
        {true, work.Ell.InvFlattening >= 290.0 && work.Ell.InvFlattening <= 310.0,
         "Обратное сжатие референц-эллипсоида должно быть в пределах 1/310...1/290"},
    };
    for (const SetupCheck& check : checks)
        if (check.applies && !check.passes) return check.message;
    return {};
}

}  // namespace gridwise
