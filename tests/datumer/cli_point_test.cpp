// datumer-cli point end to end: the real program on real argument lists.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/project_version.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/geodesy/transform.hpp"
#include "datumer/state.hpp"

namespace {

struct CliRun {
    int exit = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

CliRun RunCli(const std::vector<std::string>& args) {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("datumer_cli_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    std::string command = std::string("'") + DATUMER_CLI + "'";
    for (const std::string& arg : args) {
        command += " '";
        for (char c : arg) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    command += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
    const int status = std::system(command.c_str());
    CliRun run{WEXITSTATUS(status), ReadAll(dir / "out"), ReadAll(dir / "err")};
    std::filesystem::remove_all(dir);
    return run;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The number after "key": in the JSON object.
double JsonNumber(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    EXPECT_NE(at, std::string::npos) << key;
    return at == std::string::npos ? 0.0 : std::strtod(json.c_str() + at + key.size() + 4, nullptr);
}

TEST(CliPoint, WorkedExampleWithTheScreensLabels) {
    const CliRun run = RunCli({"point", "55", "37", "0"});
    EXPECT_EQ(run.exit, 0);
    EXPECT_EQ(run.err, "");
    for (const char* line :
         {"Исходная СК: СК42\n", "Целевая СК: WGS84\n",
          "B2 (ггг/мм/сс.сссссс): 55°00'00.048939\" с.ш.\n",
          "B2 (ггг.гггггггггг): 55.0000135944 с.ш.\n", "L2 (ггг.гггггггггг): 36.9981568058 в.д\n",
          "H2 (м): 4.9461\n", "Исходная СК 1:1 000 000: N-37\n", "Исходная СК 1:500 000: N-37-А\n",
          "Целевая СК 1:1 000 000: N-37\n", "dX (м): 23.6222\n", "dY (м): -129.8933\n",
          "dZ (м): -86.4931\n"}) {
        EXPECT_TRUE(Has(run.out, line)) << line << "\n" << run.out;
    }
}

TEST(CliPoint, JsonCarriesEveryValueAtFullPrecision) {
    const CliRun run = RunCli({"point", "--json", "--preset", "3", "--", "-33.9", "18.4", "250"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const datumer::DatumerState state = datumer::MakeDatumerState();
    datumer::GeocentricShift shift;
    datumer::GeodeticPoint target;
    datumer::TransformDatum({-33.9, 18.4, 250}, datumer::BuildDatumParams(state, 3), shift, target);
    EXPECT_EQ(JsonNumber(run.out, "B2"), target.B);
    EXPECT_EQ(JsonNumber(run.out, "L2"), target.L);
    EXPECT_EQ(JsonNumber(run.out, "H2"), target.H);
    EXPECT_EQ(JsonNumber(run.out, "dX"), shift.dX);
    EXPECT_EQ(JsonNumber(run.out, "dY"), shift.dY);
    EXPECT_EQ(JsonNumber(run.out, "dZ"), shift.dZ);
    EXPECT_TRUE(Has(run.out,
                    "\"source_sheets\": [\"sI-34\", \"sI-34-А\", \"sI-34-13\", "
                    "\"sI-34-061-Г-б-3\"]"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "\"target_sheets\": [\"sI-34\""));
}

TEST(CliPoint, DegMinSecWithHemisphereLetters) {
    const CliRun decimal = RunCli({"point", "55", "37", "0"});
    EXPECT_EQ(RunCli({"point", "55:00:00N", "37:0:0e", "0"}).out, decimal.out);
    EXPECT_EQ(RunCli({"point", "55:00N", "37:00", "0"}).out, decimal.out);
    const CliRun southWest = RunCli({"point", "55:45:30S", "37:37:0W", "0"});
    EXPECT_EQ(southWest.exit, 0);
    EXPECT_TRUE(Has(southWest.out, "ю.ш.\n")) << southWest.out;
    EXPECT_TRUE(Has(southWest.out, "з.д\n")) << southWest.out;
    EXPECT_TRUE(Has(southWest.out, "Исходная СК 1:1 000 000: sN-24\n")) << southWest.out;
}

TEST(CliPoint, AnglesAsPeopleWriteThemAndNegativeNumbersWithoutDashes) {
    const CliRun reference = RunCli({"point", "--json", "55:45:20.5N", "37:37:06E", "150"});
    ASSERT_EQ(reference.exit, 0) << reference.err;
    const std::vector<std::pair<std::string, std::string>> notations = {
        {"55°45'20.5\"N", "37°37'06\"E"}, {"55 45 20.5 N", "37 37 6 E"},
        {"55d45m20.5s", "37d37m6s"},      {"55°45'20,5\"", "37°37'06\""},
        {"55:45:20.5", "37:37:06.0"},     {"55.755694444444444", "37,618333333333333"},
    };
    for (const auto& [b, l] : notations) {
        SCOPED_TRACE(b + " " + l);
        const CliRun run = RunCli({"point", "--json", b, l, "150"});
        ASSERT_EQ(run.exit, 0) << run.err;
        EXPECT_NEAR(JsonNumber(run.out, "B2"), JsonNumber(reference.out, "B2"), 1e-12);
        EXPECT_NEAR(JsonNumber(run.out, "L2"), JsonNumber(reference.out, "L2"), 1e-12);
    }
    const CliRun south = RunCli({"point", "--json", "-33.9", "-18.4", "-250"});
    ASSERT_EQ(south.exit, 0) << south.err;
    EXPECT_LT(JsonNumber(south.out, "B2"), -33.8);
    EXPECT_LT(JsonNumber(south.out, "L2"), -18.3);
    const CliRun option = RunCli({"point", "-x", "55", "37", "0"});
    EXPECT_EQ(option.exit, 2);
    EXPECT_TRUE(Has(option.err, "Неизвестный флаг: -x")) << option.err;
}

TEST(CliPoint, UserPresetFromFlags) {
    // Zero parameters between two equal ellipsoids leave the point where it is.
    const CliRun run =
        RunCli({"point",   "--preset=13", "--dx",          "0",    "--dy",  "0",  "--dz=0",
                "--wy",    "0",           "--wz",          "0",    "--m",   "0",  "--src-a",
                "6378137", "--src-inv-f", "298.257223563", "55,5", "37.25", "100"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "B2 (ггг.гггггггггг): 55.5000000000 с.ш.\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "L2 (ггг.гггггггггг): 37.2500000000 в.д\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "H2 (м): 100.0000\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "Исходная СК: пользовательские параметры\n"));
}

TEST(CliPoint, RefusalsAndRangeMessages) {
    const struct {
        std::vector<std::string> args;
        int exit;
        std::string err;
    } cases[] = {
        {{"point", "--dx", "5", "55", "37", "0"}, 2, "Флаг --dx допустим только с --preset 13\n"},
        {{"point", "--preset", "2", "--src-a", "6378137", "55", "37", "0"},
         2,
         "Флаг --src-a допустим только с --preset 13\n"},
        {{"point", "--preset", "13", "--dst-inv-f", "309", "55", "37", "0"},
         2,
         "Параметр 1/F целевого эллипсоида должен быть в пределах 1/305...1/295\n"},
        {{"point", "--preset", "13", "--dx", "10000,001", "--dst-inv-f", "309", "55", "37", "0"},
         2,
         "Значение DX должно быть в пределах -10000...10000 м\n"},
        {{"point", "--preset", "13", "--dx", "2e3", "55", "37", "0"},
         2,
         "Некорректное число для --dx: 2e3\n"},
        {{"point", "--preset", "34", "55", "37", "0"},
         2,
         "Номер варианта преобразования должен быть от 1 до 33: 34\n"},
        {{"point", "--preset", "20", "--dx", "5", "55", "37", "0"},
         2,
         "Флаг --dx допустим только с --preset 13\n"},
        {{"point", "91", "37", "0"}, 2, "Широта должна находиться в пределах 0..90 градусов\n"},
        {{"point", "55:60:00N", "37", "0"}, 2, "Значение минут по широте должно быть менее 60\n"},
        {{"point", "55", "37", "10000.01"},
         2,
         "Высота должна быть указана в пределах -1000...10000 метров\n"},
        {{"point", "55", "37"}, 2, "Нужны три значения: B L H (см. datumer-cli --help)\n"},
        {{"point", "55N", "37E", "0", "1"},
         2,
         "Нужны три значения: B L H (см. datumer-cli --help)\n"},
        {{"point", "55", "37W", "abc"}, 2, "Некорректная высота: abc\n"},
        {{"point", "55", "-37E", "0"}, 2, "Некорректная долгота: -37E\n"},
        {{"point", "55:30:0:0N", "37", "0"}, 2, "Некорректная широта: 55:30:0:0N\n"},
        {{"point", "--foo", "55", "37", "0"}, 2, "Неизвестный флаг: --foo\n"},
        {{"point", "--preset"}, 2, "Флаг --preset требует значения\n"},
        {{"frobnicate"}, 2, "Неизвестная команда: frobnicate (см. datumer-cli --help)\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exit, c.exit) << c.args[1];
        EXPECT_EQ(run.err, c.err) << c.args[1];
        EXPECT_EQ(run.out, "") << c.args[1];
    }
}

TEST(CliPresets, EveryPresetWithItsValuesRecordsAndPipeline) {
    const CliRun run = RunCli({"presets"});
    EXPECT_EQ(run.exit, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Has(run.out, "метод EPSG 1032"));
    std::size_t pipelines = 0;
    for (std::size_t at = run.out.find("PROJ: +proj=pipeline"); at != std::string::npos;
         at = run.out.find("PROJ: +proj=pipeline", at + 1)) {
        ++pipelines;
    }
    EXPECT_EQ(pipelines, static_cast<std::size_t>(datumer::kPresetCount));
    EXPECT_TRUE(Has(run.out,
                    " 20.  СК42 => ПЗ90.11  (ГОСТ 32453-2017)\n"
                    "    DX DY DZ (м): 23.557 -140.844 -79.778\n"
                    "    WX WY WZ (секунды): -0.0023 -0.34646 -0.79421\n"
                    "    M (*0,000001): -0.228\n"
                    "    Эллипсоиды: Красовского-1940 (A 6378245 м, 1/F 298.3) => ПЗ-90 (A 6378136 "
                    "м, 1/F 298.257839303)\n"
                    "    EPSG: 15844 7704\n"
                    "    PROJ: +proj=pipeline +step +proj=cart +a=6378245 +rf=298.3 +step "
                    "+proj=helmert +x=23.557 +y=-140.844 +z=-79.778 +rx=-0.0023 +ry=-0.34646 "
                    "+rz=-0.79421 +s=-0.228 +convention=coordinate_frame +step +inv +proj=cart "
                    "+a=6378136 +rf=298.257839303\n"));
    const CliRun extra = RunCli({"presets", "20"});
    EXPECT_EQ(extra.exit, 2);
    EXPECT_EQ(extra.err, "Команда presets не принимает аргументов: 20\n");
}

TEST(CliPoint, HelpAndVersion) {
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_TRUE(Has(help.out, "--preset"));
    EXPECT_TRUE(Has(help.out, "+convention=coordinate_frame"));
    EXPECT_TRUE(Has(help.out, " 33.  ГСК-2011 => СК95  (ГОСТ 32453-2017)\n"));
    EXPECT_TRUE(Has(help.out, " 13.  Пользовательские параметры  (по умолчанию из варианта 1)\n"));
    const CliRun pointHelp = RunCli({"point", "--help"});
    EXPECT_EQ(pointHelp.exit, 0);
    EXPECT_TRUE(Has(pointHelp.out, "--src-inv-f"));
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out, std::string("datumer-cli ") + common::kProjectVersion + "\n");
    EXPECT_EQ(RunCli({}).exit, 2);
}

}  // namespace
