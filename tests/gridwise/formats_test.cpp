// The format table: when "Выбрать" is enabled, help texts, summary lines, and that a converter
// keeps the settings in force when it was made.

#include "gridwise/files/formats.hpp"

#include <gtest/gtest.h>

#include "../common/test_folder.hpp"
#include "gridwise/state.hpp"

namespace gridwise {
namespace {

const GridwiseFormat& Format(int number) {
    const GridwiseFormat* format = FindGridwiseFormat(number);
    EXPECT_NE(format, nullptr) << number;
    return format ? *format : GridwiseFormats().front();
}

TEST(SelectRefusal, FollowsTheSettingsInForce) {
    const struct {
        int format;
        bool toPlane;
        bool userMeridian;
        bool addZone;
        bool enabled;
    } cases[] = {
        {kFormatPointList, true, false, true, true},
        {kFormatPointList, false, true, false, true},
        {kFormatNomenclature, true, true, true, true},
        {kFormatNomenclature, true, false, false, true},
        {kFormatNomenclature, false, true, true, false},
        {kFormatNomenclature, false, false, true, true},
        // Plane coordinates without zone numbers name no sheet.
        {kFormatNomenclature, false, false, false, false},
        {kFormatSk42ToSk63, true, false, true, false},
        {kFormatSk42ToSk63, true, true, true, true},
        {kFormatSk42ToSk63, true, true, false, true},
        // From x,y no SK63 zone is chosen: the written ordinates would lack their prefix.
        {kFormatSk42ToSk63, false, true, true, false},
        {kFormatSk42ToSk63, false, true, false, false},
        {kFormatSk63ToSk42, false, true, true, true},
        {kFormatSk63ToSk42, true, false, true, false},
        {kFormatSk63ToSk42, true, true, false, true},
        {kFormatMapShift, true, true, true, false},
        {kFormatMapShift, false, false, false, true},
    };
    for (const auto& c : cases) {
        GridwiseState state = MakeGridwiseState();
        state.DirectionToPlane = c.toPlane;
        state.Work.UserMeridian = c.userMeridian;
        state.Work.AddZoneNumber = c.addZone;
        EXPECT_EQ(SelectEnabled(Format(c.format), state), c.enabled)
            << "format " << c.format << " toPlane " << c.toPlane << " userMeridian "
            << c.userMeridian << " addZone " << c.addZone;
        EXPECT_EQ(Format(c.format).Refusal(state).empty(), c.enabled);
    }
}

TEST(GridwiseBatchFormat, ListItemsFiltersAndHelp) {
    const struct {
        int format;
        std::string_view item;
        std::string_view filter;
        std::size_t helpLines;
        std::size_t checkedLine;
        std::string_view text;
    } cases[] = {
        {1, "TXT", "Списки координат (*.txt, *.*)|*.*", 26, 9,
         "\"Добавлять долготу центр. меридиана\"."},
        {2, "TXT => ном.", "Списки координат (*.txt, *.*)|*.*", 28, 7,
         "Файл не должен содержать координаты СК63"},
        {3, "СК42 => СК63", "Списки координат (*.txt, *.*)|*.*", 22, 17,
         "Name1,5906843.211,[9]502843.897,75.012[,code1]"},
        {4, "СК63 => СК42", "Списки координат (*.txt, *.*)|*.*", 22, 18,
         "Name2,5897294.569,[1]332225.645,34.114[,code2]"},
        {5, "MP - сдвиг", "Карты польского формата (*.mp)|*.mp", 24, 1,
         "карты т.н. \"польского формата\" (map polish)."},
    };
    for (const auto& c : cases) {
        const common::BatchFormatInfo& info = Format(c.format).Info;
        EXPECT_EQ(info.ListItem, c.item);
        EXPECT_EQ(info.Filter, c.filter);
        ASSERT_EQ(info.Help.size(), c.helpLines) << c.item;
        EXPECT_EQ(info.Help[c.checkedLine], c.text) << c.item;
        EXPECT_LE(info.Help.size(), common::kMaxHelpLines);
    }
    EXPECT_EQ(Format(2).Info.Help.back(), "имя_точки,номенклатура_листа_топокарты");
    EXPECT_EQ(Format(3).Info.Help.back(), "(2...4 разрядов после запятой).");
    EXPECT_EQ(Format(5).Info.Help.back(), "округлением последнего дробного разряда.");
}

TEST(GridwiseFormats, NumberedInListOrderAndFoundByNumberOrNameOnly) {
    const char* names[] = {"txt", "sheets", "sk42-sk63", "sk63-sk42", "mp-shift"};
    ASSERT_EQ(GridwiseFormats().size(), std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const GridwiseFormat& format = GridwiseFormats()[i];
        EXPECT_EQ(format.Number, static_cast<int>(i) + 1);
        EXPECT_EQ(format.Info.CliName, names[i]);
        EXPECT_EQ(FindGridwiseFormat(names[i]), &format);
        EXPECT_EQ(FindGridwiseFormat(format.Number), &format);
    }
    // No number or name outside the table stands for a format.
    for (int number : {0, -1, 6}) EXPECT_EQ(FindGridwiseFormat(number), nullptr) << number;
    for (std::string_view name : {"", "TXT", "mp"}) EXPECT_EQ(FindGridwiseFormat(name), nullptr);
}

TEST(SummaryLine, NamesTheSystemOrTheConversion) {
    GridwiseState state = MakeGridwiseState();
    EXPECT_EQ(Format(1).Summary(state), "Система координат: СК42/СК95");
    state.CurrentSystem = kSystemUser;
    EXPECT_EQ(Format(1).Summary(state), "Пользовательские параметры пересчёта");
    EXPECT_EQ(Format(2).Summary(state), "Нахождение номенклатуры топокарты");
    EXPECT_EQ(Format(3).Summary(state), "Пересчёт ППК СК42 в ППК СК63");
    EXPECT_EQ(Format(4).Summary(state), "Пересчёт ППК СК63 в ППК СК42");
    EXPECT_EQ(Format(5).Summary(state), "Сдвиг векторной карты MP");
}

TEST(RunEllipsoid, SurveyFormatsUseTheSk42Ellipsoid) {
    GridwiseState state = MakeGridwiseState();
    state.Work.Ell = state.Ellipsoids[2];  // WGS84
    EXPECT_DOUBLE_EQ(RunEllipsoid(Format(kFormatPointList), state).A, 6378137.0);
    EXPECT_DOUBLE_EQ(RunEllipsoid(Format(kFormatMapShift), state).A, 6378137.0);
    EXPECT_DOUBLE_EQ(RunEllipsoid(Format(kFormatSk42ToSk63), state).A, 6378245.0);
    EXPECT_DOUBLE_EQ(RunEllipsoid(Format(kFormatSk63ToSk42), state).A, 6378245.0);
}

TEST(MakeConverter, KeepsTheSettingsInForceWhenMade) {
    testfiles::TempFolder folder;
    testfiles::WriteBytes(folder / "in.txt", "p,55,37,1\n");
    GridwiseState state = MakeGridwiseState();
    state.PlaneDecimals = 2;
    state.HeightDecimals = 2;
    const common::FileConverter converter = MakeConverter(Format(kFormatPointList), state);
    state.PlaneDecimals = 4;
    state.DirectionToPlane = false;
    common::ConvertJob job;
    job.Source = folder / "in.txt";
    job.Target = folder / "out.txt";
    EXPECT_EQ(converter(job).message, "");
    EXPECT_EQ(testfiles::ReadBytes(folder / "out.txt"), "p,6099167.24,7372018.49,1.00\r\n");
}

}  // namespace
}  // namespace gridwise
