// The point-list choices of both tools end to end: reasons, skipped bad lines, comments and
// header lines, in streams and in files.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../common/test_folder.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

using ToolRun = testfiles::ShellRun;

class PointLists : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    testfiles::TempFolder outputs;

    ToolRun Tool(const char* tool, const std::string& args, const std::string& input = "") {
        return testfiles::RunShell(testfiles::ShellQuoted(tool) + " " + args, input,
                                   outputs.path());
    }
};

TEST_F(PointLists, ReasonsOfBadLinesInEveryConverter) {
    struct Row {
        const char* tool;
        std::string args;
        std::string line;
        std::string message;
    };
    const Row rows[] = {
        {GRIDWISE_CLI, "convert --format txt", "p,95,37,0",
         "Ошибка в строке 1: широта 95 вне диапазона -90..90"},
        {GRIDWISE_CLI, "convert --format txt", "p,55,-180.5,0",
         "Ошибка в строке 1: долгота -180.5 вне диапазона -180..180"},
        {GRIDWISE_CLI, "convert --format txt --zone right", "p,55,37,0",
         "Ошибка в строке 1: точка вне области проекции"},
        {GRIDWISE_CLI, "convert --format txt --direction to-geo", "p,6099167,372018,0",
         "Ошибка в строке 1: y с номером зоны 372018 вне диапазона 1000000..61000000"},
        {GRIDWISE_CLI, "convert --format txt --direction to-geo --no-zone-number",
         "p,6099167,7372018,0",
         "Ошибка в строке 1: y без номера зоны 7372018 вне диапазона 0..1000000"},
        {GRIDWISE_CLI, "convert --format txt --direction to-geo", "p,12000000,7372018,0",
         "Ошибка в строке 1: x 12000000 вне диапазона -11000000..11000000"},
        {GRIDWISE_CLI, "convert --format sheets", "p,55,37",
         "Ошибка в строке 1: нет запятой после поля 3 (долгота)"},
        {DATUMER_CLI, "convert --format txt", "p,55,37,code",
         "Ошибка в строке 1: поле 4 (высота) не число: \"code\""},
        {DATUMER_CLI, "convert --format txt", "p,-91,37,0",
         "Ошибка в строке 1: широта -91 вне диапазона -90..90"},
        {DATUMER_CLI, "transform --from sk42/gk --to wgs84", "p,6099167,7372018",
         "Ошибка в строке 1: нет запятой после поля 3 (y)"},
        {GRIDWISE_CLI, "transform --from wgs84/utm --to sk42", "p,6099167,372018,0",
         "Ошибка в строке 1: y с номером зоны"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args + " " + row.line);
        // The batch screen's words, then the reason.
        const ToolRun run = Tool(row.tool, row.args + " -", row.line + "\r\n");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.rfind(row.message, 0), 0u) << run.err;
    }
}

TEST_F(PointLists, SkippedBadLinesAreCountedCommentsAndHeaderCopied) {
    const std::string list =
        "Имя,B,L,H\r\n# первая группа\r\n1,55,37,10\r\n\r\n2,95,37,0\r\n3,55,abc,0\r\n"
        "4,56,38,0,tail\r\n   \r\n";
    struct Row {
        const char* tool;
        std::string args;
        int exitCode;
        std::size_t outLines;
        std::size_t errLines;
    };
    const Row rows[] = {
        // Header, comment, blank line copied; 95 and abc and the line of blanks skipped.
        {GRIDWISE_CLI, "convert --format txt --skip-lines 1 --comments --skip-bad-lines", 1, 5, 3},
        {DATUMER_CLI, "convert --format txt --skip-lines 1 --comments --skip-bad-lines", 1, 5, 3},
        {GRIDWISE_CLI,
         "transform --from sk42 --to wgs84/utm --skip-lines 1 --comments --skip-bad-lines", 1, 5,
         3},
        // Without --comments the comment and the blank lines are bad lines too.
        {GRIDWISE_CLI, "convert --format txt --skip-lines 1 --skip-bad-lines", 1, 3, 5},
        // Without --skip-bad-lines the first bad line ends the stream.
        {GRIDWISE_CLI, "convert --format txt --skip-lines 1 --comments", 1, 4, 1},
        // Without a header line the header is the first bad line.
        {DATUMER_CLI, "convert --format txt --comments --skip-bad-lines", 1, 4, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const ToolRun run = Tool(row.tool, row.args + " -", list);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_EQ(static_cast<std::size_t>(std::count(run.out.begin(), run.out.end(), '\n')),
                  row.outLines)
            << run.out;
        EXPECT_EQ(static_cast<std::size_t>(std::count(run.err.begin(), run.err.end(), '\n')),
                  row.errLines)
            << run.err;
    }
    const ToolRun all = Tool(
        GRIDWISE_CLI, "convert --format txt --skip-lines 1 --comments --skip-bad-lines -", list);
    EXPECT_EQ(all.out.rfind("Имя,B,L,H\r\n# первая группа\r\n", 0), 0u) << all.out;
    EXPECT_NE(all.out.find("\r\n\r\n4,"), std::string::npos) << all.out;  // the blank line
    EXPECT_EQ(all.err,
              "Ошибка в строке 5: широта 95 вне диапазона -90..90\n"
              "Ошибка в строке 6: поле 3 (долгота) не число: \"abc\"\n"
              "Ошибка в строке 8: нет запятой после имени точки\n");
    // A list that is all good exits 0 with the same flags.
    const ToolRun good = Tool(GRIDWISE_CLI, "convert --format txt --comments --skip-bad-lines -",
                              "# x\r\n1,55,37,10\r\n");
    EXPECT_EQ(good.exitCode, 0) << good.err;
}

TEST_F(PointLists, FilesKeepTheirGoodLinesAndNameTheSkippedOnes) {
    WriteBytes(folder / "a.txt", "1,55,37,10\r\n2,95,37,0\r\n3,56,38,0\r\n");
    WriteBytes(folder / "b.txt", "1,55,37,10\r\n");
    const ToolRun run = Tool(DATUMER_CLI, "convert --format txt --skip-bad-lines --no-progress '" +
                                              (folder / "a.txt").string() + "' '" +
                                              (folder / "b.txt").string() + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, (folder / "a.txt").string() +
                           ": Ошибка в строке 2: широта 95 вне диапазона -90..90\n");
    const std::string kept = ReadBytes(folder / "RECALC" / "a.txt");
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 2) << kept;
    EXPECT_NE(run.out.find("Создано           : 2 файлов"), std::string::npos) << run.out;
    // A file that stops at a bad line names the reason in the log.
    std::filesystem::create_directory(folder / "c");
    WriteBytes(folder / "c" / "c.txt", "1,55,37,-\r\n");
    const ToolRun stopped = Tool(GRIDWISE_CLI, "convert --format txt --no-progress '" +
                                                   (folder / "c" / "c.txt").string() + "'");
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_NE(stopped.out.find("Ошибка в строке 1: поле 4 (высота) не число: \"-\""),
              std::string::npos)
        << stopped.out;
}

TEST_F(PointLists, ChoicesOnlyWhereTheyBelongAndValuesChecked) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"convert --format mp-shift --comments -",
         "Параметр --comments не относится к формату mp-shift"},
        {"convert --format mp-shift --skip-lines 2 -",
         "Параметр --skip-lines не относится к формату mp-shift"},
        {"convert --format txt --skip-lines x -",
         "Недопустимое значение параметра --skip-lines: x"},
        {"convert --format txt --skip-lines 1 --skip-lines 2 -", "--skip-lines указан дважды"},
    };
    for (const auto& [args, message] : rows) {
        SCOPED_TRACE(args);
        const ToolRun run = Tool(GRIDWISE_CLI, args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    const ToolRun mif = Tool(DATUMER_CLI, "convert --format mif --skip-bad-lines -");
    EXPECT_EQ(mif.exitCode, 2);
    EXPECT_NE(mif.err.find("не относится к формату mif"), std::string::npos) << mif.err;
}

}  // namespace
