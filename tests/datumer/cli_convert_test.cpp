// datumer-cli convert end to end: the real program in a fresh folder, files and streams compared
// byte for byte.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "convert_test_folder.hpp"
#include "datumer/geodesy/presets.hpp"

namespace datumer {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct CliRun {
    int exit = -1;
    std::string out;
    std::string err;
};

class CliConvert : public ::testing::Test {
  protected:
    // Runs datumer-cli convert in the test folder with `input` on stdin.
    CliRun Run(const std::vector<std::string>& args, const std::string& input = "") {
        WriteBytes(folder_ / ".stdin", input);
        std::string command = "cd '" + folder_.path().string() + "' && '" DATUMER_CLI "' convert";
        for (const std::string& arg : args) command += " '" + arg + "'";
        command += " <.stdin >.stdout 2>.stderr";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), ReadBytes(folder_ / ".stdout"),
                ReadBytes(folder_ / ".stderr")};
    }
    std::string Converted(const std::string& name) const {
        return ReadBytes(folder_.path() / "RECALC" / name);
    }

    TempFolder folder_;
};

const std::string kPreset1Name = " СК42 => WGS84  (ГОСТ P51794-2001 // Кредо Транскор 1.10.345.0)";

TEST_F(CliConvert, TransformsTheMapExampleIntoRecalc) {
    WriteBytes(folder_ / "moscow.mp", "[POLYLINE]\nData0=(55.75,37.6166667),(55.8,37.5)\n[END]\n");
    const CliRun run = Run({"--format", "mp", "--preset", "1", "moscow.mp"});
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(Converted("moscow.mp"),
              "[POLYLINE]\r\nData0=(55.75004,37.61479),(55.80004,37.49812)\r\n[END]\r\n");
    EXPECT_EQ(run.out, "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********\n" + kPreset1Name +
                           "\n\nОбработано     : 1 файлов\nСоздано           : 1 файлов\n"
                           "Ошибок            : 0\n");
}

TEST_F(CliConvert, MixedGoodAndBadFilesAreLoggedAndCounted) {
    WriteBytes(folder_ / "1.txt", "a,55,37,0\n");
    WriteBytes(folder_ / "2.txt", "a,55,37,0\nb,55,37\n");
    WriteBytes(folder_ / "3.txt", "c,55,37,0,code\n");
    const CliRun run = Run({"--format=txt", "--preset=13", "--angle-decimals", "7", "--heights",
                            "ellipsoidal", "--height-decimals", "2", "1.txt", "2.txt", "3.txt"});
    EXPECT_EQ(run.exit, 1);
    EXPECT_EQ(run.out,
              "Ошибка обработки - файл 2: 2.txt\nОшибка в строке 2: нет запятой после поля 3 "
              "(долгота)\nФайл не создан.\n\n"
              "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********\n"
              "Пользовательские параметры пересчёта\n\n"
              "Обработано     : 3 файлов\nСоздано           : 2 файлов\nОшибок            : 1\n");
    // The user preset starts as a copy of preset 1.
    EXPECT_EQ(Converted("1.txt"), "a,55.0000136,36.9981568,4.95\r\n");
    EXPECT_EQ(Converted("3.txt"), "c,55.0000136,36.9981568,4.95,code\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "RECALC" / "2.txt"));
}

TEST_F(CliConvert, SecondRunIntoAnExistingRecalcIsCancelled) {
    WriteBytes(folder_ / "a.mif", "Point 37.5 55.5\n");
    ASSERT_EQ(Run({"--format", "mif", "a.mif"}).exit, 0);
    const CliRun again = Run({"--format", "mif", "a.mif"});
    EXPECT_EQ(again.exit, 1);
    EXPECT_NE(again.out.find("Невозможно создать подкаталог \\RECALC !\nПересчёт отменён.\n"),
              std::string::npos)
        << again.out;
}

TEST_F(CliConvert, StreamsMifInBothPairOrders) {
    const CliRun lonLat = Run({"--format", "mif", "-"}, "Version 300\nPoint 37.6166667 55.75\n");
    EXPECT_EQ(lonLat.exit, 0) << lonLat.err;
    EXPECT_EQ(lonLat.out.substr(0, 42), "Version 300\r\nPoint 37.6147933840 55.750036");

    const CliRun latLon =
        Run({"--format", "mif", "--mif-order", "lat-lon", "-"}, "Point 55.75 37.6166667\n");
    EXPECT_EQ(latLon.exit, 0) << latLon.err;
    EXPECT_EQ(latLon.out.substr(0, 28), "Point 55.7500363715 37.61479");

    const CliRun refused = Run({"--format", "mif", "--mif-order=lat-lon", "-"}, "Point 120 55\n");
    EXPECT_EQ(refused.exit, 1);
    EXPECT_EQ(refused.err, "Ошибка в строке 1\n");
}

TEST_F(CliConvert, StreamStopsAtTheFirstBadLineWithItsReason) {
    const CliRun bad = Run({"--format", "txt", "-"}, "a,55,37,0\nb,55,x,0\nc,55,37,0\n");
    EXPECT_EQ(bad.exit, 1);
    EXPECT_EQ(bad.out, "a,55.0000135944,36.9981568058,0.000\r\n");
    EXPECT_EQ(bad.err, "Ошибка в строке 2: поле 3 (долгота) не число: \"x\"\n");

    const CliRun projected =
        Run({"--format", "mif", "-"}, "Version 300\nCoordSys Earth Projection 8, 1001\n");
    EXPECT_EQ(projected.exit, 1);
    EXPECT_EQ(projected.err,
              "Ошибка в строке 2: координаты MIF-файла не географические (CoordSys)\n");
}

// A target without an MP label keeps the label and converts with a warning on stderr, in the
// stream and in a batch run, where the log has the warning's block too.
TEST_F(CliConvert, DatumLabelIsRewrittenOrKeptWithAWarning) {
    const std::string header = "[IMG ID]\nDatum=Pulkovo 1942\n[END-IMG ID]\nData0=(55,37)\n";
    const CliRun relabelled = Run({"--format", "mp", "-"}, header);
    EXPECT_EQ(relabelled.exit, 0);
    EXPECT_EQ(relabelled.out,
              "[IMG ID]\r\nDatum=W84\r\n[END-IMG ID]\r\nData0=(55.00001,36.99816)\r\n");
    EXPECT_EQ(relabelled.err, "");

    const std::string warning =
        "Для целевой системы (СК95) нет метки датума формата MP: метка заголовка \"Pulkovo "
        "1942\" оставлена и не соответствует координатам.";
    const CliRun kept = Run({"--format", "mp", "--preset", "7", "-"}, header);
    EXPECT_EQ(kept.exit, 0);
    EXPECT_EQ(kept.out.substr(0, 44), "[IMG ID]\r\nDatum=Pulkovo 1942\r\n[END-IMG ID]\r\n");
    EXPECT_EQ(kept.err, warning + "\n");
    const CliRun asked =
        Run({"--format", "mp", "--preset", "7", "--keep-datum-label", "-"}, header);
    EXPECT_EQ(asked.exit, 0);
    EXPECT_EQ(asked.err, "");

    WriteBytes(folder_ / "map.mp", header);
    const CliRun batch = Run({"--format", "mp", "--preset", "7", "map.mp"});
    EXPECT_EQ(batch.exit, 0);
    EXPECT_EQ(batch.err, "map.mp: " + warning + "\n");
    EXPECT_EQ(batch.out.substr(0, batch.out.find("*")),
              "Предупреждение - файл 1: map.mp\n" + warning + "\n\n");
    EXPECT_NE(batch.out.find("Создано           : 1 файлов"), std::string::npos);
}

// Exit code and stderr of a whole shell command line run in the test folder.
CliRun Shell(const TempFolder& folder, const std::string& line) {
    const std::string command = "cd '" + folder.path().string() + "' && " + line + " 2>.stderr";
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), "", ReadBytes(folder / ".stderr")};
}

// The tool's own wiring; every case of the shared code is tried on gridwise-cli.
TEST_F(CliConvert, FailingStdoutIsAFailureWithItsCause) {
    WriteBytes(folder_ / "a.txt", "a,55,37,0\n");
    const std::string cli = "'" DATUMER_CLI "'";
    const struct {
        std::string line;
        std::string message;
    } cases[] = {
        {cli + " --help >/dev/full", "Ошибка записи в стандартный вывод! (stdout: No space"},
        {cli + " convert --format txt - <a.txt >/dev/full",
         "Ошибка записи целевого файла! (stdout: No space left on device)"},
    };
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    for (const auto& c : cases) {
        const CliRun run = Shell(folder_, c.line);
        EXPECT_EQ(run.exit, 1) << c.line;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.line << "\n" << run.err;
    }
}

TEST_F(CliConvert, ARunThatCreatesNothingLeavesNoRecalc) {
    WriteBytes(folder_ / "bad.txt", "a,55,x,0\n");
    const CliRun run = Run({"--format", "txt", "bad.txt", "missing.txt"});
    EXPECT_EQ(run.exit, 1);
    EXPECT_NE(
        run.err.find("Невозможно открыть исходный файл! (" +
                     (folder_.path() / "missing.txt").string() + ": No such file or directory)"),
        std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "RECALC"));
    // So the next run is not refused by it.
    WriteBytes(folder_ / "bad.txt", "a,55,37,0\n");
    EXPECT_EQ(Run({"--format", "txt", "bad.txt"}).exit, 0);
}

TEST_F(CliConvert, RefusesBadUsageWithExitTwo) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"a.mp"}, "Не указан формат (--format)\n"},
        {{"--format", "dxf", "a"}, "Неизвестный формат: dxf\n"},
        {{"--format", "mp"}, "Не указаны файлы\n"},
        {{"--format", "mp", "--heights", "normal", "a"},
         "Параметр --heights не относится к формату mp\n"},
        {{"--format", "txt", "--mif-order", "lat-lon", "a"},
         "Параметр --mif-order не относится к формату txt\n"},
        {{"--format", "txt", "--keep-datum-label", "a"},
         "Параметр --keep-datum-label не относится к формату txt\n"},
        {{"--format", "txt", "--angle-decimals", "6", "a"},
         "Недопустимое значение параметра --angle-decimals: 6\n"},
        {{"--format", "txt", "--height-decimals", "5", "a"},
         "Недопустимое значение параметра --height-decimals: 5\n"},
        {{"--format", "txt", "--heights", "orthometric", "a"},
         "Недопустимое значение параметра --heights: orthometric\n"},
        {{"--format", "mif", "--mif-order", "xy", "a"},
         "Недопустимое значение параметра --mif-order: xy\n"},
        {{"--format", "mif", "--angle-decimals"}, "Нет значения параметра --angle-decimals\n"},
        {{"--format", "mif", "--color", "a"}, "Неизвестный параметр: --color\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.exit, 2) << c.message;
        EXPECT_EQ(run.err, c.message);
    }
    EXPECT_EQ(Run({"--format", "mp", "--preset", std::to_string(kPresetCount + 1), "a"}).exit, 2);
    EXPECT_EQ(Run({"--format", "mp", "-", "a.mp"}).exit, 2);
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "RECALC"));
}

}  // namespace
}  // namespace datumer
