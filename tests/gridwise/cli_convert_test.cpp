// gridwise-cli convert end to end: the real program on files in a fresh folder.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <sstream>

#include "../common/test_folder.hpp"
#include "common/cp1251.hpp"
#include "common/text.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

using testfiles::ShellQuoted;

class CliConvert : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    testfiles::TempFolder outputs;  // stdout and stderr of the runs, outside the data folder

    CliRun Run(const std::vector<std::string>& args, const std::string& stdinBytes = "") {
        WriteBytes(outputs / "stdin", stdinBytes);
        std::string command = ShellQuoted(GRIDWISE_CLI);
        for (const std::string& arg : args) {
            command += ' ';
            command += ShellQuoted(arg);
        }
        command += " < " + ShellQuoted((outputs / "stdin").string()) + " > " +
                   ShellQuoted((outputs / "stdout").string()) + " 2> " +
                   ShellQuoted((outputs / "stderr").string());
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadBytes(outputs / "stdout");
        run.err = ReadBytes(outputs / "stderr");
        return run;
    }

    std::string File(const std::string& name, const std::string& bytes) {
        WriteBytes(folder / name, bytes);
        return (folder / name).string();
    }
    std::string Result(const std::string& name) { return ReadBytes(folder / "RECALC" / name); }
    void ClearRecalc() { std::filesystem::remove_all(folder / "RECALC"); }
};

// A number of `gridwise-cli point --json` output.
double JsonNumber(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    EXPECT_NE(at, std::string::npos) << key << " in " << json;
    if (at == std::string::npos) return 0.0;
    return std::strtod(json.c_str() + at + key.size() + 4, nullptr);
}

std::string Fixed(double value, int decimals) {
    return common::FormatFixed(false, 1, true, value, static_cast<std::uint8_t>(decimals), '.');
}

TEST_F(CliConvert, HelpExampleLinesGiveThePointCommandValues) {
    const std::string source =
        File("example.txt",
             "1.,53.62,50.3478584,100.28,firstcode\r\nИм_Кирова,48.546,50.1563445334,80\r\n");
    const std::vector<std::vector<std::string>> points = {{"53.62", "50.3478584"},
                                                          {"48.546", "50.1563445334"}};
    for (const std::string series : {"3", "4"}) {
        for (const int decimals : {2, 4}) {
            ClearRecalc();
            const CliRun run = Run({"convert", "--format", "txt", "--series", series,
                                    "--plane-decimals", std::to_string(decimals), source});
            ASSERT_EQ(run.exitCode, 0) << run.err;
            std::string expected;
            std::vector<std::string> planeLines;
            const char* names[] = {"1.", "Им_Кирова"};
            const char* tails[] = {",100.280,firstcode", ",80.000"};
            for (std::size_t i = 0; i < points.size(); ++i) {
                const CliRun point =
                    Run({"point", "--json", "--series", series, points[i][0], points[i][1]});
                ASSERT_EQ(point.exitCode, 0) << point.err;
                const std::string x = Fixed(JsonNumber(point.out, "x"), decimals);
                const std::string y = Fixed(JsonNumber(point.out, "y"), decimals);
                expected += std::string(names[i]) + "," + x + "," + y + tails[i] + "\r\n";
                planeLines.push_back(x + " " + y);
            }
            EXPECT_EQ(Result("example.txt"), expected) << "series " << series;

            // And back: the plane values through both commands, with 7 decimals of B and L.
            const std::string plane = File("plane.txt", Result("example.txt"));
            ClearRecalc();
            const CliRun back = Run({"convert", "--format", "txt", "--series", series,
                                     "--direction", "to-geo", "--angle-decimals", "7", plane});
            ASSERT_EQ(back.exitCode, 0) << back.err;
            std::stringstream lines(Result("plane.txt"));
            std::string line;
            for (std::size_t i = 0; i < points.size(); ++i) {
                std::getline(lines, line);
                const std::string x = planeLines[i].substr(0, planeLines[i].find(' '));
                const std::string y = planeLines[i].substr(planeLines[i].find(' ') + 1);
                const CliRun point =
                    Run({"point", "--json", "--series", series, "--direction", "to-geo", x, y});
                ASSERT_EQ(point.exitCode, 0) << point.err;
                EXPECT_EQ(line, std::string(names[i]) + "," + Fixed(JsonNumber(point.out, "B"), 7) +
                                    "," + Fixed(JsonNumber(point.out, "L"), 7) + tails[i] + "\r");
            }
        }
    }
}

TEST_F(CliConvert, TheOtherFormatsWorkOnFiles) {
    const std::string sk63[] = {"--system",        "sk63",  "--meridian",       "50:30E",
                                "--sk63-zone",     "1",     "--false-northing", "-9214.69",
                                "--false-easting", "250000"};
    std::vector<std::string> args = {"convert", "--format", "sk42-sk63"};
    args.insert(args.end(), std::begin(sk63), std::end(sk63));
    args.insert(args.end(), {"--sk42-zone", "9", "--height-change", "5",
                             File("survey.txt", "Name1,5906843.211,502843.897,75.012,code1\r\n")});
    CliRun run = Run(args);
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(Result("survey.txt"), "Name1,5897765.054,1286188.641,80.012,code1\r\n");
    EXPECT_NE(run.out.find("Пересчёт ППК СК42 в ППК СК63"), std::string::npos);

    ClearRecalc();
    args = {"convert", "--format", "sk63-sk42"};
    args.insert(args.end(), std::begin(sk63), std::end(sk63));
    args.insert(args.end(), {"--plane-decimals", "2",
                             File("survey.txt", "Name1,5897765.054,1286188.641,80.012,code1\n")});
    run = Run(args);
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(Result("survey.txt"), "Name1,5906843.21,9502843.90,80.012,code1\r\n");

    ClearRecalc();
    run = Run({"convert", "--format", "sheets", "--scale", "10000",
               File("list.txt", "a,55.75,37.6,1,x\n")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Result("list.txt"), "a," + common::Utf8ToCp1251("N-37-004-В-а-4") + "\r\n");

    ClearRecalc();
    run = Run({"convert", "--format", "mp-shift", "--shift-north", "1000", "--shift-east=500",
               File("map.mp", "[POLYLINE]\nData0=(55,37)\n[END]\n")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Result("map.mp"), "[POLYLINE]\r\nData0=(55.00898,37.00781)\r\n[END]\r\n");
}

TEST_F(CliConvert, RefusesBadUsageWithExitTwo) {
    const std::string list = File("list.txt", "a,55,37,1\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"convert", "--format", "sheets", "--direction", "to-geo", "--no-zone-number", list},
         "Номенклатура не определяется по ППК без номера зоны!"},
        {{"convert", "--format", "sk42-sk63", list}, "только для системы СК63"},
        {{"convert", "--format", "mp-shift", "--system", "sk63", "--meridian", "50E", list},
         "Сдвиг карты MP невозможен"},
        {{"convert", "--format", "txt", "--angle-decimals", "6", list}, "--angle-decimals"},
        {{"convert", "--format", "txt", "--plane-decimals", "5", list}, "--plane-decimals"},
        {{"convert", "--format", "sheets", "--scale", "30000", list}, "--scale"},
        {{"convert", "--format", "mp-shift", "--shift-north", "1000.5", list}, "--shift-north"},
        {{"convert", "--format", "mp-shift", "--shift-east", "1000,5", list}, "--shift-east"},
        {{"convert", "--format", "sk63-sk42", "--system", "sk63", "--meridian", "50E",
          "--height-change", "100.01", list},
         "--height-change"},
        {{"convert", "--format", "txt", "--scale", "25000", list}, "не относится к формату txt"},
        {{"convert", "--format", "sk42-sk63", "--system", "sk63", "--meridian", "50E",
          "--sk42-zone", "3", "--zone-in-ordinate", list},
         "несовместимы"},
        {{"convert", "--format", "dxf", list}, "Неизвестный формат"},
        {{"convert", list}, "--format"},
        {{"convert", "--format", "txt"}, "Не указаны файлы"},
        {{"convert", "--format", "txt", "-", list}, "\"-\""},
        {{"convert", "--format", "txt", "--bogus", list}, "--bogus"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(folder / "RECALC")) << c.message;
    }
    // The dialogs' limits themselves are accepted.
    const CliRun limits = Run({"convert", "--format", "mp-shift", "--shift-north", "-1000",
                               "--shift-east", "-0,5", File("m.mp", "Data0=(55,37)\n")});
    EXPECT_EQ(limits.exitCode, 0) << limits.err;
}

TEST_F(CliConvert, ExitsOneWhenAFileIsNotCreatedOrRecalcExists) {
    const std::string good = File("1.txt", "a,55,37,1\n");
    const std::string bad = File("2.txt", "a,55,37,1\nb,55,37,code\n");
    CliRun run = Run({"convert", "--format", "txt", "--progress", good, bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find(
                  "Ошибка обработки - файл 2: 2.txt\nОшибка в строке 2: поле 4 (высота) не число: "
                  "\"code\"\nФайл не создан."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Создано           : 1 файлов"), std::string::npos);
    EXPECT_NE(run.err.find("[1/2] 1.txt"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("[2/2] 2.txt"), std::string::npos) << run.err;

    // The failure also on stderr, with the file and the cause.
    EXPECT_NE(run.err.find("Ошибка в строке 2: поле 4 (высота) не число: \"code\" (" + bad + ")\n"),
              std::string::npos)
        << run.err;

    run = Run({"convert", "--format", "txt", good});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Невозможно создать подкаталог \\RECALC !\nПересчёт отменён.\n");
    // No progress unless asked for or on a terminal; the reason of the failure.
    EXPECT_EQ(run.err, "Невозможно создать подкаталог \\RECALC ! (" + (folder / "RECALC").string() +
                           ": File exists)\n");
}

TEST_F(CliConvert, StreamsStdinToStdoutUntilTheFirstBadLine) {
    CliRun run = Run({"convert", "--format", "txt", "-"}, "a,55,37,1\r\nb,55,37\nc,55,37,1\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "a,6099167.239,7372018.491,1.000\r\n");
    EXPECT_EQ(run.err, "Ошибка в строке 2: нет запятой после поля 3 (долгота)\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "RECALC"));

    run = Run({"convert", "--format", "mp-shift", "-"}, "[X]\nData0=(1,2,3)");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "[X]\r\nData0=(1.00000,2.00000)\r\n");
}

}  // namespace
