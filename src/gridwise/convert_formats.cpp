// Gridwise's batch formats: list items, filters, help texts, the "Выбрать" rule, summary lines
// and the converters with the settings in force bound to them.

#include "gridwise/convert_formats.hpp"

#include <array>
#include <vector>

#include "common/batch_texts.hpp"
#include "common/mpdata.hpp"
#include "gridwise/convert_files.hpp"

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

const std::array<common::BatchFormatInfo, kBatchFormatCount>& FormatTable() {
    static const std::array<common::BatchFormatInfo, kBatchFormatCount> table = {{
        {"TXT", common::kPointListFilter, PointListHelp()},
        {"TXT => ном.", common::kPointListFilter, NomenclatureHelp()},
        {"СК42 => СК63", common::kPointListFilter, Sk42ToSk63Help()},
        {"СК63 => СК42", common::kPointListFilter, Sk63ToSk42Help()},
        {"MP - сдвиг", common::kPolishMapFilter, MapShiftHelp()},
    }};
    return table;
}

int ClampFormat(int batchFormat) {
    return batchFormat < 1 ? 1
                           : (batchFormat > kBatchFormatCount ? kBatchFormatCount : batchFormat);
}

}  // namespace

const common::BatchFormatInfo& GridwiseBatchFormat(int batchFormat) {
    return FormatTable()[static_cast<std::size_t>(ClampFormat(batchFormat) - 1)];
}

std::string_view SelectRefusal(int batchFormat, const GridwiseState& state) {
    const bool userMeridian = state.Work.UserMeridian;
    switch (ClampFormat(batchFormat)) {
        case kFormatSk42ToSk63:
        case kFormatSk63ToSk42:
            if (!userMeridian)
                return "Пересчёт СК42 - СК63 возможен только для системы СК63 с установленными "
                       "параметрами!";
            // The SK63 zone of the written ordinates is chosen only in the direction B,L => x,y;
            // from x,y the target would lose its zone prefix.
            if (batchFormat == kFormatSk42ToSk63 && !state.DirectionToPlane)
                return "Пересчёт СК42 => СК63 возможен только при направлении B,L => x,y, в "
                       "котором выбирается зона СК63!";
            return {};
        case kFormatNomenclature:
            if (state.DirectionToPlane) return {};
            if (userMeridian) return "Номенклатура не определяется по ППК СК63!";
            // Without zone numbers the inverse projection gives only the longitude difference
            // from an unknown central meridian, so every sheet name would be wrong.
            if (!state.Work.AddZoneNumber)
                return "Номенклатура не определяется по ППК без номера зоны!";
            return {};
        case kFormatMapShift:
            if (userMeridian)
                return "Сдвиг карты MP невозможен при пользовательском центральном меридиане!";
            return {};
        default:
            return {};
    }
}

std::string SummaryLine(int batchFormat, const GridwiseState& state) {
    switch (ClampFormat(batchFormat)) {
        case kFormatPointList:
            if (state.CurrentSystem == kSystemUser) return "Пользовательские параметры пересчёта";
            return "Система координат: " + state.CurrentSystemRecord().Name;
        case kFormatNomenclature:
            return "Нахождение номенклатуры топокарты";
        case kFormatSk42ToSk63:
            return "Пересчёт ППК СК42 в ППК СК63";
        case kFormatSk63ToSk42:
            return "Пересчёт ППК СК63 в ППК СК42";
        default:
            return "Сдвиг векторной карты MP";
    }
}

TEllConst RunEllipsoid(int batchFormat, const GridwiseState& state) {
    const int format = ClampFormat(batchFormat);
    if (format == kFormatSk42ToSk63 || format == kFormatSk63ToSk42)
        return DeriveEllipsoid(state.Ellipsoids[state.Systems[kSystemSk42].Ellipsoid]);
    return DeriveEllipsoid(state.Work.Ell);
}

common::LineFunction MakeLineFunction(int batchFormat, const GridwiseState& state) {
    const TEllConst ell = RunEllipsoid(batchFormat, state);
    const TWorkStructure& work = state.Work;
    switch (ClampFormat(batchFormat)) {
        case kFormatPointList:
            return PointListLines(work, ell, state.DirectionToPlane, state.Algorithm,
                                  DecimalsOf(state));
        case kFormatNomenclature:
            return NomenclatureListLines(work, ell, state.DirectionToPlane, state.Algorithm,
                                         state.ListScale, state.FileEncoding);
        case kFormatSk42ToSk63:
            return Sk42ToSk63Lines(work, state.Systems[kSystemSk42], ell, state.Algorithm,
                                   SurveyOptionsOf(state));
        case kFormatSk63ToSk42:
            return Sk63ToSk42Lines(work, state.Systems[kSystemSk42], ell, state.Algorithm,
                                   SurveyOptionsOf(state));
        default:
            return MapShiftLines(state.ShiftNorth, state.ShiftEast, ell);
    }
}

common::LineOptions LineOptionsOf(int batchFormat) {
    return ClampFormat(batchFormat) == kFormatMapShift ? common::MapLineOptions()
                                                       : common::PointListLineOptions();
}

common::FileConverter MakeConverter(int batchFormat, const GridwiseState& state) {
    // A line function per file: the sheet-name list remembers the byte-order mark of its file.
    return
        [state, batchFormat, options = LineOptionsOf(batchFormat)](const common::ConvertJob& job) {
            return common::ConvertFileLines(job, MakeLineFunction(batchFormat, state), options);
        };
}

}  // namespace gridwise
