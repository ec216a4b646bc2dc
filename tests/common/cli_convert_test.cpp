// The shared part of the convert commands: streaming and the choice of files.

#include "common/cli_convert.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "test_folder.hpp"

namespace {

bool UpperOrBad(std::string_view line, std::string& out) {
    if (line == "bad") return false;
    for (char c : line) out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c);
    return true;
}

TEST(StreamLines, WritesGoodLinesUntilTheFirstBadOne) {
    const struct {
        std::string in;
        std::string out;
        std::string message;
    } cases[] = {
        {"ab\ncd", "AB\r\nCD\r\n", ""},
        {"", "", ""},
        {"ab\r\nbad\r\ncd\r\n", "AB\r\n", "Ошибка в строке 2"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.in);
        std::ostringstream out;
        const common::ConvertResult result = common::StreamLines(in, out, UpperOrBad);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(out.str(), c.out);
    }
}

TEST(StreamLines, AFailingOutputIsAFailure) {
    std::istringstream in("ab\n");
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    const common::ConvertResult result = common::StreamLines(in, out, UpperOrBad);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Ошибка записи целевого файла!");
}

TEST(ChooseFiles, TakesFilesOfOneFolderOnly) {
    testfiles::TempFolder folder;
    testfiles::TempFolder other;
    std::vector<std::filesystem::path> chosen;
    EXPECT_EQ(
        common::ChooseFiles({(folder / "a.txt").string(), (folder / "b.txt").string()}, chosen),
        "");
    EXPECT_EQ(chosen.size(), 2u);
    chosen.clear();
    EXPECT_NE(
        common::ChooseFiles({(folder / "a.txt").string(), (other / "b.txt").string()}, chosen), "");
    chosen.clear();
    EXPECT_NE(common::ChooseFiles({(folder / "a.txt").string(), "-"}, chosen), "");
    chosen.clear();
    EXPECT_NE(common::ChooseFiles({""}, chosen), "");
}

TEST(RunBatchCommand, PrintsTheLogAndExitsByTheOutcome) {
    testfiles::TempFolder folder;
    testfiles::WriteBytes(folder / "1.txt", "a\n");
    testfiles::WriteBytes(folder / "2.txt", "bad\n");
    const common::FileConverter upper = [](const common::ConvertJob& job) {
        return common::ConvertFileLines(job, UpperOrBad);
    };
    std::ostringstream out, err;
    EXPECT_EQ(common::RunBatchCommand({(folder / "1.txt").string(), (folder / "2.txt").string()},
                                      upper, "Сводка", true, out, err),
              1);
    EXPECT_NE(out.str().find("Ошибка обработки - файл 2: 2.txt\nОшибка в строке 1\nФайл не "
                             "создан.\n\n********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********\nСводка\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("[2/2] 2.txt"), std::string::npos) << err.str();
    EXPECT_EQ(testfiles::ReadBytes(folder / "RECALC" / "1.txt"), "A\r\n");

    // A second run finds RECALC and converts nothing.
    std::ostringstream again, againErr;
    EXPECT_EQ(common::RunBatchCommand({(folder / "1.txt").string()}, upper, "Сводка", false, again,
                                      againErr),
              1);
    EXPECT_EQ(again.str(), "Невозможно создать подкаталог \\RECALC !\nПересчёт отменён.\n");
}

}  // namespace

namespace {

TEST(SplitCommandArguments, SeparatesValuesFlagsAndFiles) {
    const std::string_view values[] = {"--format", "--scale"};
    const std::string_view flags[] = {"--help"};
    common::CommandArguments arguments;
    EXPECT_EQ(common::SplitCommandArguments(
                  {"a.txt", "--format", "txt", "--scale=25000", "-", "--progress", "--help",
                   "--no-progress", "--", "--format", "b.txt"},
                  values, flags, arguments),
              "");
    EXPECT_EQ(arguments.Values, (std::vector<std::pair<std::string, std::string>>{
                                    {"--format", "txt"}, {"--scale", "25000"}}));
    EXPECT_EQ(arguments.Files, (std::vector<std::string>{"a.txt", "-", "--format", "b.txt"}));
    EXPECT_TRUE(arguments.HasFlag("--help"));
    EXPECT_EQ(arguments.Progress(), std::optional<bool>(false));  // the last one given wins

    common::CommandArguments unknown, missing;
    EXPECT_EQ(common::SplitCommandArguments({"--bogus"}, values, flags, unknown),
              "Неизвестный параметр: --bogus");
    EXPECT_EQ(common::SplitCommandArguments({"x", "--scale"}, values, flags, missing),
              "Нет значения параметра --scale");
    EXPECT_EQ(missing.Progress(), std::nullopt);
}

}  // namespace
