// The set-up screen's rules: editing the user preset, the texts of its fields and the range
// checks of "Далее" with their order and inclusive bounds.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "datumer/rules/setup_rules.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

const std::array<std::string, kSetupFieldCount> kMessages{
    "Значение DX должно быть в пределах -10000...10000 м",
    "Значение DY должно быть в пределах -10000...10000 м",
    "Значение DZ должно быть в пределах -10000...10000 м",
    "Значение WX должно быть в пределах -10...10 секунд",
    "Значение WY должно быть в пределах -10...10 секунд",
    "Значение WZ должно быть в пределах -10...10 секунд",
    "Значение M должно быть в пределах -10...10 (*0,000001)",
    "Параметр A исходного эллипсоида должен быть в пределах 6370000...6390000 м",
    "Параметр 1/F исходного эллипсоида должен быть в пределах 1/310...1/290",
    "Параметр A целевого эллипсоида должен быть в пределах 6370000...6390000 м",
    "Параметр 1/F целевого эллипсоида должен быть в пределах 1/305...1/295",
};

DatumerState UserPresetState() {
    DatumerState state = MakeDatumerState();
    state.SelectedPreset = kUserPreset;
    return state;
}

std::string Checked(const DatumerState& state) {
    const auto message = ValidatePreset(state);
    return message ? std::string(*message) : "";
}

struct Bounds {
    int field;
    const char* lowPass;
    const char* highPass;
    const char* lowFail;
    const char* highFail;
};

TEST(ValidatePreset, BoundsAreInclusive) {
    const Bounds bounds[] = {
        {1, "-10000", "10000", "-10000,001", "10000,001"},
        {2, "-10000", "10000", "-10000.001", "10000.001"},
        {3, "-10000", "10000", "-10000.001", "10000.001"},
        {4, "-10", "10", "-10.0001", "10.0001"},
        {5, "-10", "10", "-10.0001", "10.0001"},
        {6, "-10", "10", "-10.0001", "10.0001"},
        {7, "-10", "10", "-10.0001", "10.0001"},
        {8, "6370000", "6390000", "6369999.999", "6390000.001"},
        {9, "290", "310", "289.999", "310.001"},
        {10, "6370000", "6390000", "6369999.999", "6390000.001"},
        {11, "295", "305", "294.999", "305.001"},
    };
    for (const Bounds& b : bounds) {
        SCOPED_TRACE(b.field);
        for (const char* text : {b.lowPass, b.highPass, b.lowFail, b.highFail}) {
            DatumerState state = UserPresetState();
            ASSERT_EQ(EditUserPresetField(state, b.field, text), FieldEdit::Accepted) << text;
            const bool passes = text == b.lowPass || text == b.highPass;
            EXPECT_EQ(Checked(state), passes ? "" : kMessages[b.field - 1]) << text;
        }
    }
}

TEST(ValidatePreset, SourceFlatteningRangeIsWiderThanTarget) {
    DatumerState state = UserPresetState();
    EditUserPresetField(state, 9, "309");
    EXPECT_EQ(Checked(state), "");
    EditUserPresetField(state, 11, "309");
    EXPECT_EQ(Checked(state), kMessages[10]);
}

TEST(ValidatePreset, ReportsOnlyTheFirstFailureInTableOrder) {
    DatumerState state = UserPresetState();
    const std::array<const char*, kSetupFieldCount> wrong{
        "20000", "20000", "20000", "11", "11", "11", "11", "7000000", "400", "7000000", "400"};
    for (int field = 1; field <= kSetupFieldCount; ++field) {
        EditUserPresetField(state, field, wrong[field - 1]);
    }
    for (int field = 1; field <= kSetupFieldCount; ++field) {
        EXPECT_EQ(Checked(state), kMessages[field - 1]);
        const auto good = SetupFieldValues(state, 1)[field - 1];
        EditUserPresetField(state, field, SetupFieldText(good, '.'));
    }
    EXPECT_EQ(Checked(state), "");
}

TEST(ValidatePreset, EveryFixedPresetPasses) {
    DatumerState state = MakeDatumerState();
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        state.SelectedPreset = preset;
        EXPECT_EQ(Checked(state), "") << preset;
    }
}

TEST(EditUserPresetField, ParsesLikeTheScreenAndKeepsTheLastAcceptedValue) {
    DatumerState state = UserPresetState();
    EXPECT_EQ(EditUserPresetField(state, 1, "23.5"), FieldEdit::Accepted);
    EXPECT_EQ(PresetAt(state, kUserPreset).DX, 23.5);
    EXPECT_EQ(EditUserPresetField(state, 2, "23,5"), FieldEdit::Accepted);
    EXPECT_EQ(PresetAt(state, kUserPreset).DY, 23.5);
    for (const char* bad : {"", "2e3", " 1", "1..2"}) {
        EXPECT_EQ(EditUserPresetField(state, 1, bad), FieldEdit::Rejected) << bad;
        EXPECT_FALSE(state.SetupInputValid[0]);
        EXPECT_EQ(PresetAt(state, kUserPreset).DX, 23.5);
    }
    EXPECT_EQ(EditUserPresetField(state, 1, "-7"), FieldEdit::Accepted);
    EXPECT_TRUE(state.SetupInputValid[0]);
    EXPECT_EQ(EditUserPresetField(state, 0, "1"), FieldEdit::Ignored);
    EXPECT_EQ(EditUserPresetField(state, 12, "1"), FieldEdit::Ignored);
}

TEST(EditUserPresetField, StoresIntoPresetThirteenAndTheUserEllipsoids) {
    DatumerState state = UserPresetState();
    const std::array<const char*, kSetupFieldCount> texts{
        "1", "2", "3", "4", "5", "6", "7", "6371000", "299", "6372000", "300"};
    for (int field = 1; field <= kSetupFieldCount; ++field) {
        ASSERT_EQ(EditUserPresetField(state, field, texts[field - 1]), FieldEdit::Accepted);
    }
    const std::array<double, kSetupFieldCount> expected{1, 2,       3,   4,       5,  6,
                                                        7, 6371000, 299, 6372000, 300};
    EXPECT_EQ(SetupFieldValues(state, kUserPreset), expected);
    EXPECT_EQ(EllipsoidAt(state, 4).A, 6371000);
    EXPECT_EQ(EllipsoidAt(state, 5).InvFlattening, 300);
    // The fixed tables are untouched.
    EXPECT_EQ(EllipsoidAt(state, 1).A, 6378245);
    EXPECT_EQ(PresetAt(state, 1).DX, 23.92);
}

TEST(EditUserPresetField, IgnoredForFixedPresetsAndEditsSurviveASwitch) {
    DatumerState state = UserPresetState();
    EditUserPresetField(state, 1, "42");
    state.SelectedPreset = 5;
    EXPECT_EQ(EditUserPresetField(state, 1, "99"), FieldEdit::Ignored);
    EXPECT_EQ(EditUserPresetField(state, 1, "x"), FieldEdit::Ignored);
    EXPECT_TRUE(state.SetupInputValid[0]);
    EXPECT_EQ(SetupFieldValues(state, 5)[0], -1.08);
    EXPECT_EQ(SetupFieldValues(state, 5)[7], 6378136);  // ПЗ90.01 as source
    state.SelectedPreset = kUserPreset;
    EXPECT_EQ(SetupFieldValues(state, kUserPreset)[0], 42);
}

TEST(SetupFieldText, ShortestTextThatParsesBack) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{298.257223563, "298,257223563"},
                 {6378245, "6378245"},
                 {-0.35, "-0,35"},
                 {-0.0, "0"},
                 {23.92, "23,92"},
                 {0.00001, "0,00001"},
                 {-141.27, "-141,27"},
                 {1.0 / 3.0, "0,333333333333333"}};
    for (const auto& c : cases) EXPECT_EQ(SetupFieldText(c.value, ','), c.text) << c.value;
    EXPECT_EQ(SetupFieldText(298.257839303, '.'), "298.257839303");
}

}  // namespace
}  // namespace datumer
