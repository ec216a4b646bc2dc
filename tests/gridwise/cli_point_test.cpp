// gridwise-cli point end to end: the real binary, its output, messages and exit codes.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/project_version.hpp"

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliPoint : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            std::filesystem::temp_directory_path() /
            ("gridwise_cli_point_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Runs gridwise-cli with `arguments` (already quoted for the shell).
    CliRun Cli(const std::string& arguments) const {
        const auto out = dir_ / "out.txt", err = dir_ / "err.txt";
        const std::string command = std::string("'") + GRIDWISE_CLI + "' " + arguments + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadAll(out);
        run.err = ReadAll(err);
        return run;
    }

  private:
    std::filesystem::path dir_;
};

// The number after "key": in a one-line JSON object, NaN when the key is missing.
double JsonField(const std::string& json, const std::string& key) {
    const std::string tag = "\"" + key + "\": ";
    const std::size_t at = json.find(tag);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(json.c_str() + at + tag.size(), nullptr);
}

struct TextCase {
    std::string arguments;
    int exitCode;
    std::vector<std::string> outLines;  // each must appear as a whole line
    std::string errPart;                // must appear in stderr
};

TEST_F(CliPoint, TextOutputAndExitCodes) {
    const TextCase cases[] = {
        {"point 55 37",
         0,
         {"x: 6099167.2394", "y: 7372018.4912", "1:1 000 000: N-37", "1:500 000: N-37-А",
          "Масштаб длин: 1.000201", "Сближ. мерид.: -1° 38' 18.68\"", "dSH (1000 м): 156.78 мм/км2",
          "Иск. площади: 0.401751 ‰"},
         ""},
        {"point --series 4 --projection utm --system wgs84 55 37",
         0,
         {"x: 6096620.7065", "y: 37372071.8086", "Масштаб длин: 0.999801"},
         ""},
        {"point 55:00:00N 37:00:00E", 0, {"B: 55° 00' 00.000000\" с.ш.", "x: 6099167.2394"}, ""},
        {"point -- -55 -37", 0, {"B: 55.0000000000 ю.ш.", "x: -6099167.2394"}, ""},
        {"point --zone=left 55 37", 0, {"y: 6755909.6497"}, ""},
        {"point --zone right 55 37",
         1,
         {"x: Ошибка расчёта", "y: Ошибка расчёта", "1:1 000 000: -", "Масштаб длин: -"},
         "Ошибка расчёта"},
        {"point --direction to-geo --no-zone-number 6099167.2394 372018.4912",
         0,
         {"1:1 000 000: Зона неизвестна!", "1:10 000: -"},
         ""},
        {"point 91 37", 2, {}, "Значение широты должно быть от 0 до 90  "},
        {"point 10:75:00N 37", 2, {}, "Значение минут по широте должно быть от 0 до 59  "},
        {"point --direction to-geo 6099167 999999",
         2,
         {},
         "Значение ординаты должно быть в пределах 1000 - 61000 км  "},
        {"point --system sk42 --a 6378000 55 37", 2, {}, "--a"},
        {"point --projection utm --system sk63 55 37", 2, {}, "UTM"},
        {"point --system sk63 --direction to-geo --no-zone-number 1 2", 2, {}, "--no-zone-number"},
        {"point --system user --inv-f 320 55 37",
         2,
         {},
         "Обратное сжатие референц-эллипсоида должно быть в пределах 1/310...1/290"},
        {"point --system sk63 --meridian 181E 55 37", 2, {}, "Долгота центрального меридиана"},
        {"point --system sk63 --sk63-zone 21 55 37", 2, {}, "1-20"},
        // Negative numbers need no "--" (they did before issue 15); unknown short options fail.
        {"point -55 37", 0, {"B: 55.0000000000 ю.ш.", "x: -6099167.2394"}, ""},
        {"point -x 37", 2, {}, "Неизвестный флаг: -x"},
        {"point \"55°00'00\\\"N\" \"37 00 00 E\"", 0, {"x: 6099167.2394"}, ""},
        {"point 55", 2, {}, "B L"},
        {"point 55 abc", 2, {}, "abc"},
        {"point --series 5 55 37", 2, {}, "--series"},
        {"nonsense", 2, {}, "nonsense"},
        {"--version", 0, {std::string("gridwise-cli ") + common::kProjectVersion}, ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = Cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        for (const std::string& line : c.outLines) {
            EXPECT_NE(("\n" + run.out).find("\n" + line + "\n"), std::string::npos) << line << "\n"
                                                                                    << run.out;
        }
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
        if (c.exitCode == 2) {
            EXPECT_TRUE(run.out.empty()) << run.out;
        }
    }
}

TEST_F(CliPoint, JsonRoundTripsThroughBothDirections) {
    const std::string settings = "--series 4 --projection utm --system wgs84 --json ";
    const CliRun forward = Cli("point " + settings + "55 37");
    ASSERT_EQ(forward.exitCode, 0) << forward.err;
    EXPECT_NE(forward.out.find("\"ok\": true"), std::string::npos);
    EXPECT_NE(forward.out.find("\"sheets\": {\"1:1000000\": \"N-37\", \"1:500000\": \"N-37-А\""),
              std::string::npos);
    EXPECT_EQ(JsonField(forward.out, "zone"), 37.0);
    const double x = JsonField(forward.out, "x"), y = JsonField(forward.out, "y");
    EXPECT_NEAR(x, 6096620.706, 0.0006);
    EXPECT_NEAR(y, 37372071.809, 0.0006);
    std::ostringstream back;
    back.precision(17);
    back << "point " << settings << "--direction to-geo " << x << " " << y;
    const CliRun inverse = Cli(back.str());
    ASSERT_EQ(inverse.exitCode, 0) << inverse.err;
    EXPECT_NEAR(JsonField(inverse.out, "B"), 55.0, 1e-9);
    EXPECT_NEAR(JsonField(inverse.out, "L"), 37.0, 1e-9);
    EXPECT_NEAR(JsonField(inverse.out, "scale"), 0.99980078, 5e-9);
}

TEST_F(CliPoint, JsonOfAFailedProjection) {
    const CliRun run = Cli("point --json --zone right 55 37");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\"ok\": false"), std::string::npos) << run.out;
    EXPECT_NEAR(JsonField(run.out, "y"), -511388.927, 0.0006);
    EXPECT_NE(run.out.find("\"sheets\": {}"), std::string::npos) << run.out;
}

TEST_F(CliPoint, HelpNamesTheFlags) {
    const CliRun run = Cli("point --help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* flag : {"--direction", "--projection", "--system", "--series", "--zone",
                             "--no-zone-number", "--sk63-zone", "--meridian", "--false-northing",
                             "--false-easting", "--a", "--inv-f", "--json"}) {
        EXPECT_NE(run.out.find(flag), std::string::npos) << flag;
    }
    EXPECT_EQ(Cli("--help").exitCode, 0);
}

}  // namespace
