#include <gtest/gtest.h>

#include <string>

#include "convert_test_folder.hpp"
#include "datumer/convert_files.hpp"
#include "datumer/convert_formats.hpp"
#include "datumer/presets.hpp"
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
        return MakeConverter(kFormatPolishMap, state_,
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
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.message, "Ошибка в строке 12");
    EXPECT_FALSE(std::filesystem::exists(Target()));
}

// The header's Datum= names the datum of the points: rewritten to the target, refused when the
// format has no name for the target, kept on request.
TEST_F(PolishMapDatum, RelabelsTheHeaderDatum) {
    const std::string header = "[IMG ID]\nID=1\nDatum=Pulkovo 1942\n[END-IMG ID]\nDatum=x\n";
    ASSERT_EQ(Convert(header, 1).message, "");
    EXPECT_EQ(Output(), "[IMG ID]\r\nID=1\r\nDatum=W84\r\n[END-IMG ID]\r\nDatum=x\r\n");

    const common::ConvertResult refused = Convert(header, 2);
    EXPECT_TRUE(refused.ok);
    EXPECT_EQ(refused.message,
              "Ошибка в строке 3: датум целевой системы не может быть записан в заголовок файла");
    EXPECT_FALSE(std::filesystem::exists(Target()));

    ASSERT_EQ(Convert(header, 2, {MifPairOrder::LonLat, true}).message, "");
    EXPECT_EQ(Output(), "[IMG ID]\r\nID=1\r\nDatum=Pulkovo 1942\r\n[END-IMG ID]\r\nDatum=x\r\n");
}

TEST_F(PolishMapDatum, FileLevelFailuresStopWithTheirMessage) {
    const common::ConvertResult missing =
        MakeConverter(kFormatPolishMap, state_)(testing::Job(folder_ / "absent.mp", Target()));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "Невозможно открыть исходный файл!");
}

}  // namespace
}  // namespace datumer
