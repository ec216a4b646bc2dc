#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert_test_folder.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/formats.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class PolishMapDatum : public ::testing::Test {
  protected:
    common::ConvertResult Convert(const std::string& source, int preset = 1,
                                  BatchChoices choices = {}) {
        state_.SelectedPreset = preset;
        state_.Params = BuildDatumParams(state_, preset);
        WriteBytes(folder_ / "map.mp", source);
        return MakeConverter(*FindDatumerFormat(kFormatPolishMap), state_,
                             choices)(testing::Job(folder_ / "map.mp", Target()));
    }
    std::filesystem::path Target() const { return folder_ / "out.mp"; }
    std::string Output() const { return ReadBytes(Target()); }

    DatumerState state_ = MakeDatumerState();
    TempFolder folder_;
};

TEST_F(PolishMapDatum, TransformsDataLinesAndCopiesEverythingElse) {
    const std::string source =
        "; карта\r\n"
        "[POLYLINE]\n"
        "Type=0x1\n"
        "Label=Ул. Тверская  \n"
        "Data0=(55.75,37.6166667),(55.8,37.5)\n"
        "Data10=(55,37)\n"
        "data0=(55,37)\n"
        "Data1=(55.75,37.6166667,12),\n"
        "\n"
        "[END]";
    ASSERT_EQ(Convert(source).message, "");
    EXPECT_EQ(Output(),
              "; карта\r\n"
              "[POLYLINE]\r\n"
              "Type=0x1\r\n"
              "Label=Ул. Тверская  \r\n"
              "Data0=(55.75004,37.61479),(55.80004,37.49812)\r\n"
              "Data10=(55.00001,36.99816)\r\n"
              "data0=(55.00001,36.99816)\r\n"
              "Data1=(55.75004,37.61479)\r\n"
              "\r\n"
              "[END]\r\n");
}

TEST_F(PolishMapDatum, WrapsPointsPastTheAntimeridian) {
    ASSERT_EQ(Convert("Data0=(55,179.999),(55,-180),(55,180)\n").message, "");
    EXPECT_EQ(Output(),
              "Data0=(54.99988,-179.99856),(54.99988,-179.99756),(54.99988,-179.99756)\r\n");
}

TEST_F(PolishMapDatum, BadDataLineNamesItsLineAndLeavesNoTarget) {
    std::string source;
    for (int i = 1; i <= 11; ++i) source += "Data0=(55,37)\n";
    source += "Data0=(55.75, 37.5)\nData0=(55,37)\n";
    const common::ConvertResult result = Convert(source);
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::BadLine);
    EXPECT_EQ(result.message, "Ошибка в строке 12");
    EXPECT_FALSE(std::filesystem::exists(Target()));
}

const std::string kKeptW84 =
    "Для целевой системы (СК42) нет метки датума формата MP: метка заголовка \"W84\" "
    "оставлена и не соответствует координатам.";

// The header's Datum= names the datum of the points: rewritten to the target where the format
// has a name for it, kept with a warning where it has none, kept on request; a label that is not
// the preset's source system is warned of. No label ever refuses the file.
TEST_F(PolishMapDatum, RelabelsTheHeaderDatumOrWarns) {
    const struct {
        std::string datum;  // the Datum= line, or empty for none
        int preset;
        bool keep;
        std::string written;
        std::vector<std::string> warnings;
    } cases[] = {
        {"Datum=Pulkovo 1942", 1, false, "Datum=W84", {}},
        {"DATUM = pulkovo 1942 ", 1, false, "DATUM = W84", {}},
        {"Datum=W84", 2, false, "Datum=W84", {kKeptW84}},
        {"Datum=WGS 84",
         4,
         false,
         "Datum=WGS 84",
         {"Для целевой системы (СК95) нет метки датума формата MP: метка заголовка \"WGS 84\" "
          "оставлена и не соответствует координатам."}},
        {"Datum=W84", 2, true, "Datum=W84", {}},
        {"Datum=W84",
         1,
         false,
         "Datum=W84",
         {"Датум заголовка \"W84\" (WGS84) не совпадает с исходной системой пересчёта (СК42); "
          "координаты пересчитаны из СК42, как задано."}},
        {"Datum=NAS-C",
         3,
         false,
         "Datum=W84",
         {"Датум заголовка \"NAS-C\" не распознан как исходная система пересчёта (СК95); "
          "координаты пересчитаны из СК95, как задано."}},
        {"Datum=W84",
         13,
         false,
         "Datum=W84",
         {"Для целевой системы (пользовательские параметры) нет метки датума формата MP: метка "
          "заголовка \"W84\" оставлена и не соответствует координатам."}},
        {"Datum=PZ-90.02", 18, false, "Datum=W84", {}},
        {"Datum=Pulkovo 1942",
         33,
         false,
         "Datum=Pulkovo 1942",
         {"Датум заголовка \"Pulkovo 1942\" (СК42) не совпадает с исходной системой пересчёта "
          "(ГСК-2011); координаты пересчитаны из ГСК-2011, как задано.",
          "Для целевой системы (СК95) нет метки датума формата MP: метка заголовка \"Pulkovo "
          "1942\" оставлена и не соответствует координатам."}},
        {"", 1, false, "", {}},
        {"",
         2,
         false,
         "",
         {"Для целевой системы (СК42) нет метки датума формата MP, а заголовок без метки Datum= "
          "читается как WGS84 и не соответствует координатам."}},
    };
    for (const auto& c : cases) {
        const std::string datumLine = c.datum.empty() ? "" : c.datum + "\n";
        const std::string writtenLine = c.written.empty() ? "" : c.written + "\r\n";
        const common::ConvertResult result =
            Convert("[IMG ID]\nID=1\n" + datumLine + "[END-IMG ID]\nDatum=x\n", c.preset,
                    {MifPairOrder::LonLat, c.keep});
        EXPECT_EQ(result.message, "") << c.datum;
        EXPECT_EQ(result.Warnings, c.warnings) << c.datum << " preset " << c.preset;
        EXPECT_EQ(Output(), "[IMG ID]\r\nID=1\r\n" + writtenLine + "[END-IMG ID]\r\nDatum=x\r\n")
            << c.datum;
    }
}

// A byte-order mark no longer hides [IMG ID], and CR-only line ends are line ends.
TEST_F(PolishMapDatum, ReadsCrLineEndsAndAByteOrderMark) {
    ASSERT_EQ(Convert("\xEF\xBB\xBF[IMG ID]\rDatum=Pulkovo 1942\r[END-IMG ID]\r\n\r"
                      "Data0=(55.75,37.6166667)\rDATA1=(55.8,37.5)\n")
                  .message,
              "");
    EXPECT_EQ(Output(),
              "\xEF\xBB\xBF[IMG ID]\r\nDatum=W84\r\n[END-IMG ID]\r\n\r\n"
              "Data0=(55.75004,37.61479)\r\nDATA1=(55.80004,37.49812)\r\n");
}

TEST_F(PolishMapDatum, FileLevelFailuresStopWithTheirMessage) {
    const common::ConvertResult missing =
        MakeConverter(*FindDatumerFormat(kFormatPolishMap),
                      state_)(testing::Job(folder_ / "absent.mp", Target()));
    EXPECT_EQ(missing.Outcome, common::ConvertOutcome::FileFailed);
    EXPECT_EQ(missing.message, "Невозможно открыть исходный файл!");
}

}  // namespace
}  // namespace datumer
