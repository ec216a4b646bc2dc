// Gridwise's batch formats: list items, filters, help texts, the "Выбрать" rule, summary lines
// and the converters with the settings in force bound to them.

#include "gridwise/files/formats.hpp"

#include <array>
#include <vector>

#include "common/batch_texts.hpp"
#include "common/mpdata.hpp"
#include "gridwise/files/converters.hpp"

namespace gridwise {
namespace {

using Lines = std::vector<std::string_view>;

Lines PointListHelp() {
    const auto help = common::PointListHelp();
    return Lines(help.begin(), help.end());
}

Lines NomenclatureHelp() {
    const auto pointList = common::PointListHelp();
    Lines help(pointList.begin(), pointList.begin() + 6);
    help.insert(help.end(), {"", "Файл не должен содержать координаты СК63",
                             "или ППК без указания номера зоны!", ""});
    // From "Каждая строка содержит координаты одной точки" to the second example line.
    help.insert(help.end(), pointList.begin() + 11, pointList.begin() + 20);
    help.insert(
        help.end(),
        {"", "На основе исходных координат создаётся", "файл (файлы), содержащий номенклатуры",
         "топокарт, соответствующие этим координатам", "и расположенные в том же порядке. Масштаб",
         "номенклатуры выбирается пользователем.", "",
         "Формат целевого файла:", "имя_точки,номенклатура_листа_топокарты"});
    return help;
}

constexpr std::array<std::string_view, 8> kSurveyHelpHead = {
    "Файл TXT (*.txt, *.*) - список координат  точек,",
    "набор текстовых строк.",
    "",
    "Пересчёт производится только в случае, если",
    "на первом этапе выбрана система координат",
    "СК63 и установлены её параметры.",
    "Направление пересчёта не учитывается.",
    "",
};

constexpr std::array<std::string_view, 3> kSurveyHelpTail = {
    "",
    "Результат выводится с указанной точностью",
    "(2...4 разрядов после запятой).",
};

Lines SurveyHelp(std::initializer_list<std::string_view> body) {
    Lines help(kSurveyHelpHead.begin(), kSurveyHelpHead.end());
    help.insert(help.end(), body);
    help.insert(help.end(), kSurveyHelpTail.begin(), kSurveyHelpTail.end());
    return help;
}

Lines Sk42ToSk63Help() {
    return SurveyHelp(
        {"Исходный файл должен содержать ППК в СК42", "(без номера зоны в ординате), целевой - ППК",
         "в СК63. Формат строк - это формат экспортных",
         "TXT-файлов Trimble Geomatics Office. Делитель",
         "дробной и целой части числа - точка, полей -", "запятая. К целевой строке дописывается",
         "подстрока, находящаяся после ППК.", "",
         "Формат исходных текстовых файлов:", "Name1,5906843.211,[9]502843.897,75.012[,code1]",
         "Name2,5897294.569,[9]532225.645,34.114[,code2]"});
}

Lines Sk63ToSk42Help() {
    return SurveyHelp(
        {"Исходный файл должен содержать ППК в СК63,", "целевой - ППК в СК42. Формат строк - это",
         "формат экспортных TXT-файлов Trimble", "Geomatics Office. Делитель дробной и целой",
         "части числа - точка, полей - запятая. К целевой",
         "строке дописывается подстрока, находящаяся", "после ППК.", "",
         "Формат исходных текстовых файлов:", "Name1,5906843.211,[1]302843.897,75.012[,code1]",
         "Name2,5897294.569,[1]332225.645,34.114[,code2]"});
}

Lines MapShiftHelp() {
    const auto head = common::PolishMapHelpHead();
    Lines help(head.begin(), head.end());
    help.insert(help.end(), {"",
                             "Сдвиг координат всех точек MP-файла на",
                             "указанное расстояние в метрах допустим в",
                             "случае, если датум MP-файла не выявлен.",
                             "",
                             "Координаты объектов в целевом файле будут",
                             "сдвинуты на указанное расстояние в пределах",
                             "1000 метров вдоль меридианов и параллелей",
                             "(на север / на восток). Значение сдвига может",
                             "быть отрицательным.",
                             "",
                             "Пересчёт для карт размером более чем 1 на 1",
                             "градус нежелателен.",
                             "",
                             "Сдвиг карты производится на эллипсоиде из",
                             "указанной на первом этапе СК. Геодезические",
                             "координаты всех точек исходной и целевой",
                             "карты проверяются на корректность.",
                             "",
                             "Высота точек принимается равной нулю.",
                             "Пересчитанные значения выводятся с",
                             "округлением последнего дробного разряда."});
    return help;
}

constexpr std::string_view kSurveyNeedsSk63 =
    "Пересчёт СК42 - СК63 возможен только для системы СК63 с установленными параметрами!";

std::string_view NoRefusal(const GridwiseState&) {
    return {};
}

std::string_view NomenclatureRefusal(const GridwiseState& state) {
    if (state.DirectionToPlane) return {};
    if (state.Work.UserMeridian) return "Номенклатура не определяется по ППК СК63!";
    // Without zone numbers the inverse projection gives only the longitude difference from an
    // unknown central meridian, so every sheet name would be wrong.
    if (!state.Work.AddZoneNumber) return "Номенклатура не определяется по ППК без номера зоны!";
    return {};
}

std::string_view Sk42ToSk63Refusal(const GridwiseState& state) {
    if (!state.Work.UserMeridian) return kSurveyNeedsSk63;
    // The SK63 zone of the written ordinates is chosen only in the direction B,L => x,y; from
    // x,y the target would lose its zone prefix.
    if (!state.DirectionToPlane)
        return "Пересчёт СК42 => СК63 возможен только при направлении B,L => x,y, в котором "
               "выбирается зона СК63!";
    return {};
}

std::string_view Sk63ToSk42Refusal(const GridwiseState& state) {
    return state.Work.UserMeridian ? std::string_view{} : kSurveyNeedsSk63;
}

std::string_view MapShiftRefusal(const GridwiseState& state) {
    if (state.Work.UserMeridian)
        return "Сдвиг карты MP невозможен при пользовательском центральном меридиане!";
    return {};
}

std::string PointListSummary(const GridwiseState& state) {
    if (state.CurrentSystem == kSystemUser) return "Пользовательские параметры пересчёта";
    return "Система координат: " + state.CurrentSystemRecord().Name;
}

common::LineFunction PointListFor(const GridwiseState& state, const TEllConst& ell) {
    return PointListLines(state.Work, ell, state.DirectionToPlane, state.Algorithm,
                          DecimalsOf(state));
}

common::LineFunction NomenclatureFor(const GridwiseState& state, const TEllConst& ell) {
    return NomenclatureListLines(state.Work, ell, state.DirectionToPlane, state.Algorithm,
                                 state.ListScale, state.FileEncoding);
}

common::LineFunction Sk42ToSk63For(const GridwiseState& state, const TEllConst& ell) {
    return Sk42ToSk63Lines(state.Work, state.Systems[kSystemSk42], ell, state.Algorithm,
                           SurveyOptionsOf(state));
}

common::LineFunction Sk63ToSk42For(const GridwiseState& state, const TEllConst& ell) {
    return Sk63ToSk42Lines(state.Work, state.Systems[kSystemSk42], ell, state.Algorithm,
                           SurveyOptionsOf(state));
}

common::LineFunction MapShiftFor(const GridwiseState& state, const TEllConst& ell) {
    return MapShiftLines(state.ShiftNorth, state.ShiftEast, ell);
}

// Point lists: their line functions give the reasons of bad lines.
common::LineOptions TextLines() {
    return common::PointListLineOptions();
}

const std::array<GridwiseFormat, kBatchFormatCount>& FormatTable() {
    static const std::array<GridwiseFormat, kBatchFormatCount> table = {{
        {kFormatPointList,
         {"TXT", common::kPointListFilter, PointListHelp(), "txt"},
         FormatOptions::Precision,
         NoRefusal,
         PointListSummary,
         false,
         PointListFor,
         TextLines},
        {kFormatNomenclature,
         {"TXT => ном.", common::kPointListFilter, NomenclatureHelp(), "sheets"},
         FormatOptions::Nomenclature,
         NomenclatureRefusal,
         [](const GridwiseState&) { return std::string("Нахождение номенклатуры топокарты"); },
         false,
         NomenclatureFor,
         TextLines},
        {kFormatSk42ToSk63,
         {"СК42 => СК63", common::kPointListFilter, Sk42ToSk63Help(), "sk42-sk63"},
         FormatOptions::Sk42ToSk63,
         Sk42ToSk63Refusal,
         [](const GridwiseState&) { return std::string("Пересчёт ППК СК42 в ППК СК63"); },
         true,
         Sk42ToSk63For,
         TextLines},
        {kFormatSk63ToSk42,
         {"СК63 => СК42", common::kPointListFilter, Sk63ToSk42Help(), "sk63-sk42"},
         FormatOptions::PlanePrecision,
         Sk63ToSk42Refusal,
         [](const GridwiseState&) { return std::string("Пересчёт ППК СК63 в ППК СК42"); },
         true,
         Sk63ToSk42For,
         TextLines},
        {kFormatMapShift,
         {"MP - сдвиг", common::kPolishMapFilter, MapShiftHelp(), "mp-shift"},
         FormatOptions::MapShift,
         MapShiftRefusal,
         [](const GridwiseState&) { return std::string("Сдвиг векторной карты MP"); },
         false,
         MapShiftFor,
         common::MapLineOptions},
    }};
    return table;
}

}  // namespace

std::span<const GridwiseFormat> GridwiseFormats() {
    return FormatTable();
}

const GridwiseFormat* FindGridwiseFormat(int batchFormat) {
    for (const GridwiseFormat& format : FormatTable())
        if (format.Number == batchFormat) return &format;
    return nullptr;
}

const GridwiseFormat* FindGridwiseFormat(std::string_view cliName) {
    for (const GridwiseFormat& format : FormatTable())
        if (format.Info.CliName == cliName) return &format;
    return nullptr;
}

TEllConst RunEllipsoid(const GridwiseFormat& format, const GridwiseState& state) {
    if (format.Sk42Ellipsoid)
        return DeriveEllipsoid(state.Ellipsoids[state.Systems[kSystemSk42].Ellipsoid]);
    return DeriveEllipsoid(state.Work.Ell);
}

common::LineFunction MakeLineFunction(const GridwiseFormat& format, const GridwiseState& state) {
    return format.Lines(state, RunEllipsoid(format, state));
}

common::FileConverter MakeConverter(const GridwiseFormat& format, const GridwiseState& state) {
    // A line function per file: the sheet-name list remembers the byte-order mark of its file.
    return [state, &format, options = format.Reading()](const common::ConvertJob& job) {
        return common::ConvertFileLines(job, MakeLineFunction(format, state), options);
    };
}

}  // namespace gridwise
