// The batch run: RECALC, the per-file loop, abort between files, log blocks and summary.

#include "common/batch.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <utility>
#include <vector>

#include "test_folder.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

// Copies lines, refuses a line "bad".
common::ConvertResult CopyConverter(const common::ConvertJob& job) {
    return common::ConvertFileLines(job, [](std::string_view line, std::string& out) {
        if (line == "bad") return false;
        out.append(line);
        return true;
    });
}

using Log = std::vector<std::string>;

class BatchRunTest : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    bool runActive = false;

    common::FileSelection Select(const std::vector<std::string>& names) {
        std::vector<std::filesystem::path> chosen;
        for (const std::string& name : names) chosen.push_back(folder / name);
        return common::SelectFiles(chosen);
    }
};

TEST_F(BatchRunTest, ThreeFilesWithABadSecondOne) {
    WriteBytes(folder / "1.txt", "a\nb\n");
    WriteBytes(folder / "2.txt", "a\nbad\nc");
    WriteBytes(folder / "3.txt", "c");
    common::BatchRun run(Select({"1.txt", "2.txt", "3.txt"}), CopyConverter, "Сводка", runActive);
    run.RunToEnd();
    EXPECT_EQ(run.Log(), (Log{"Ошибка обработки - файл 2: 2.txt", "Ошибка в строке 2",
                              "Файл не создан.", "", "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********",
                              "Сводка", "", "Обработано     : 3 файлов",
                              "Создано           : 2 файлов", "Ошибок            : 1"}));
    EXPECT_EQ(run.Created(), 2u);
    EXPECT_EQ(run.Failures(), 1u);
    EXPECT_TRUE(run.Ok());
    EXPECT_FALSE(runActive);
    const std::filesystem::path recalc = folder / "RECALC";
    EXPECT_EQ(ReadBytes(recalc / "1.txt"), "a\r\nb\r\n");
    EXPECT_FALSE(std::filesystem::exists(recalc / "2.txt"));
    EXPECT_EQ(ReadBytes(recalc / "3.txt"), "c\r\n");
}

// A created file with warnings gets its own block and counts as created; a failed file's
// warnings are not shown, its failure is.
TEST_F(BatchRunTest, WarningsOfACreatedFileHaveTheirBlock) {
    for (const char* name : {"1.mp", "2.mp", "3.mp"}) WriteBytes(folder / name, "a\n");
    const common::FileConverter warnOnTwoFailThree = [](const common::ConvertJob& job) {
        common::ConvertResult result = CopyConverter(job);
        const std::string name = job.Source.filename().string();
        if (name != "1.mp") result.Warnings = {"первое", "второе"};
        if (name == "3.mp") {
            result.Outcome = common::ConvertOutcome::BadLine;
            result.message = "Ошибка в строке 1";
        }
        return result;
    };
    common::BatchRun run(Select({"1.mp", "2.mp", "3.mp"}), warnOnTwoFailThree, "Сводка", runActive);
    ASSERT_TRUE(run.Start());
    run.ConvertNextFile();
    EXPECT_TRUE(run.LastWarnings().empty());
    run.ConvertNextFile();
    EXPECT_EQ(run.LastFileName(), "2.mp");
    EXPECT_EQ(run.LastWarnings(), (Log{"первое", "второе"}));
    run.ConvertNextFile();
    EXPECT_TRUE(run.LastWarnings().empty());
    run.Finish();
    EXPECT_EQ(run.Log(), (Log{"Предупреждение - файл 2: 2.mp", "первое", "второе", "",
                              "Ошибка обработки - файл 3: 3.mp", "Ошибка в строке 1",
                              "Файл не создан.", "", "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********",
                              "Сводка", "", "Обработано     : 3 файлов",
                              "Создано           : 2 файлов", "Ошибок            : 1"}));
}

TEST_F(BatchRunTest, AnExistingRecalcCancelsTheRunWithoutTouchingAFile) {
    WriteBytes(folder / "1.txt", "a\n");
    std::filesystem::create_directory(folder / "RECALC");
    WriteBytes(folder / "RECALC" / "1.txt", "earlier");
    common::BatchRun run(Select({"1.txt"}), CopyConverter, "Сводка", runActive);
    EXPECT_FALSE(run.Start());
    EXPECT_FALSE(run.HasNextFile());
    run.Finish();
    EXPECT_EQ(run.Log(), (Log{"Невозможно создать подкаталог \\RECALC !", "Пересчёт отменён."}));
    EXPECT_FALSE(run.Ok());
    EXPECT_FALSE(runActive);
    EXPECT_EQ(ReadBytes(folder / "RECALC" / "1.txt"), "earlier");
}

TEST_F(BatchRunTest, AbortAfterTheFirstFileStopsBetweenFiles) {
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) WriteBytes(folder / name, "a\n");
    common::BatchRun run(Select({"1.txt", "2.txt", "3.txt"}), CopyConverter, "Сводка", runActive);
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(runActive);
    ASSERT_TRUE(run.HasNextFile());
    EXPECT_EQ(run.NextFileNumber(), 1u);
    // The click on "Прервать" arrives while the first file is converted; that file is finished.
    run.ConvertNextFile([&](const common::FileProgress&) { runActive = false; });
    EXPECT_FALSE(run.HasNextFile());
    run.Finish();
    EXPECT_EQ(run.Log(), (Log{"********* ПЕРЕСЧЁТ ОСТАНОВЛЕН *********", "Сводка", "",
                              "Обработано     : 1 файлов", "Создано           : 1 файлов",
                              "Ошибок            : 0"}));
    EXPECT_TRUE(std::filesystem::exists(folder / "RECALC" / "1.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "RECALC" / "2.txt"));
}

TEST_F(BatchRunTest, ASourceThatDisappearsStopsTheRun) {
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) WriteBytes(folder / name, "a\n");
    common::BatchRun run(Select({"1.txt", "2.txt", "3.txt"}), CopyConverter, "Сводка", runActive);
    std::filesystem::remove(folder / "2.txt");
    run.RunToEnd();
    EXPECT_EQ(run.Log(),
              (Log{"Ошибка обработки - файл 2: 2.txt", "Невозможно открыть исходный файл!",
                   "Пересчёт остановлен.", "", "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********", "Сводка",
                   "", "Обработано     : 2 файлов", "Создано           : 1 файлов",
                   "Ошибок            : 1"}));
    EXPECT_FALSE(run.Ok());
    EXPECT_FALSE(std::filesystem::exists(folder / "RECALC" / "3.txt"));
}

TEST_F(BatchRunTest, AFullDiskIsAFailureNeverACreatedFile) {
    WriteBytes(folder / "1.txt", std::string(5000, 'x') + "\n");
    WriteBytes(folder / "2.txt", "a\n");
    testfiles::FaultyFiles fullDisk;
    fullDisk.writableBytes = 100;
    common::BatchRun run(Select({"1.txt", "2.txt"}), CopyConverter, "Сводка", runActive, fullDisk);
    run.RunToEnd();
    EXPECT_EQ(run.Created(), 0u);
    EXPECT_EQ(run.Processed(), 1u);
    ASSERT_GE(run.Log().size(), 3u);
    EXPECT_EQ(run.Log()[1], "Ошибка записи целевого файла!");
    EXPECT_EQ(run.Log()[2], "Пересчёт остановлен.");
    EXPECT_FALSE(std::filesystem::exists(folder / "RECALC" / "1.txt"));
}

TEST_F(BatchRunTest, ARunThatCreatesNothingRemovesTheRecalcItCreated) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // name, bytes ("" = absent)
        bool recalcKept;
    } cases[] = {
        {"a mistyped name", {{"absent.txt", ""}}, false},
        {"only bad files", {{"1.txt", "bad\n"}, {"2.txt", "a\nbad\n"}}, false},
        {"one file created", {{"1.txt", "bad\n"}, {"2.txt", "a\n"}}, true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const auto& [name, bytes] : c.files) {
            if (!bytes.empty()) WriteBytes(folder / name, bytes);
            names.push_back(name);
        }
        common::BatchRun run(Select(names), CopyConverter, "Сводка", runActive);
        run.RunToEnd();
        EXPECT_EQ(std::filesystem::exists(folder / "RECALC"), c.recalcKept) << c.what;
        std::filesystem::remove_all(folder / "RECALC");
    }
}

TEST_F(BatchRunTest, ARecalcThatIsNotEmptyIsKept) {
    WriteBytes(folder / "1.txt", "bad\n");
    // Another program puts a file into RECALC during the run: the folder is not removed.
    common::BatchRun run(Select({"1.txt"}), CopyConverter, "Сводка", runActive);
    ASSERT_TRUE(run.Start());
    WriteBytes(folder / "RECALC" / "note.txt", "mine");
    while (run.HasNextFile()) run.ConvertNextFile();
    run.Finish();
    EXPECT_EQ(ReadBytes(folder / "RECALC" / "note.txt"), "mine");
}

TEST_F(BatchRunTest, AStopFlagEndsTheRunInTheMiddleOfAFile) {
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += "line\n";
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) WriteBytes(folder / name, lines);
    std::atomic<bool> stop{false};
    common::BatchRun run(Select({"1.txt", "2.txt", "3.txt"}), CopyConverter, "Сводка", runActive);
    run.StopOn(stop);
    ASSERT_TRUE(run.Start());
    run.ConvertNextFile();
    // The signal arrives while the second file is read.
    run.ConvertNextFile([&](const common::FileProgress&) { stop = true; });
    EXPECT_TRUE(run.StoppedInFile());
    EXPECT_EQ(run.NextFileNumber(), 2u);
    EXPECT_FALSE(run.HasNextFile());
    run.Finish();
    EXPECT_EQ(run.Log(), (Log{"********* ПЕРЕСЧЁТ ОСТАНОВЛЕН *********", "Сводка", "",
                              "Обработано     : 1 файлов", "Создано           : 1 файлов",
                              "Ошибок            : 0"}));
    EXPECT_FALSE(runActive);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "RECALC"))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"1.txt"});
}

TEST_F(BatchRunTest, NamesWithCyrillicAndOtherBytesPassIntoTheLogUnchanged) {
    const std::string name = "Точки \xff.txt";
    WriteBytes(folder / name, "bad\n");
    common::BatchRun run(Select({name}), CopyConverter, "Сводка", runActive);
    run.RunToEnd();
    ASSERT_FALSE(run.Log().empty());
    EXPECT_EQ(run.Log()[0], "Ошибка обработки - файл 1: " + name);
}

// Counts calls; no files are touched.
class NoFiles final : public common::FileAccess {
  public:
    std::unique_ptr<common::ByteSource> OpenSource(const std::filesystem::path&,
                                                   std::error_code&) const override {
        return nullptr;
    }
    std::unique_ptr<common::ByteSink> CreateNew(const std::filesystem::path&,
                                                std::error_code&) const override {
        return nullptr;
    }
    bool RenameNew(const std::filesystem::path&, const std::filesystem::path&,
                   std::error_code&) const override {
        return false;
    }
    bool Exists(const std::filesystem::path&) const override { return false; }
    std::optional<std::uintmax_t> FileSize(const std::filesystem::path&) const override {
        return std::nullopt;
    }
    std::optional<std::uintmax_t> FreeSpace(const std::filesystem::path&) const override {
        return std::nullopt;
    }
    bool Remove(const std::filesystem::path&) const override { return false; }
    bool CreateFolder(const std::filesystem::path&, std::error_code&) const override {
        return true;
    }
    bool RemoveEmptyFolder(const std::filesystem::path&) const override { return false; }
};

TEST_F(BatchRunTest, MoreThan65535FilesAreCountedInFull) {
    common::FileSelection selection;
    selection.SourceFolder = folder.path();
    const std::size_t count = 70000;
    for (std::size_t i = 0; i < count; ++i) selection.Names.emplace_back(std::to_string(i));
    std::size_t calls = 0;
    const common::FileConverter everyThirdBad = [&](const common::ConvertJob& job) {
        ++calls;
        EXPECT_EQ(job.Target.parent_path(), folder / "RECALC");
        common::ConvertResult result;
        if (calls % 3 == 0) {
            result.Outcome = common::ConvertOutcome::BadLine;
            result.message = "Ошибка в строке 1";
        }
        return result;
    };
    NoFiles files;
    common::BatchRun run(std::move(selection), everyThirdBad, "Сводка", runActive, files);
    run.RunToEnd();
    EXPECT_EQ(calls, count);
    EXPECT_EQ(run.Created(), count - count / 3);
    EXPECT_EQ(run.Failures(), count / 3);
    const Log& log = run.Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], "Обработано     : 70000 файлов");
    EXPECT_EQ(log.back(), "Ошибок            : 23333");
    // The last failing file is number 69999, beyond a 16-bit counter.
    EXPECT_EQ(log[log.size() - 10], "Ошибка обработки - файл 69999: 69998");
}

TEST(FileSelection, SplitsTheFolderOffAndListsFullPaths) {
    const std::filesystem::path folder = std::filesystem::path("/data") / "maps";
    const common::FileSelection selection =
        common::SelectFiles({folder / "a.txt", folder / "b c.txt"});
    EXPECT_EQ(selection.SourceFolder, folder);
    EXPECT_EQ(selection.Names, (std::vector<std::filesystem::path>{"a.txt", "b c.txt"}));
    EXPECT_EQ(common::FileListLines(selection),
              (Log{"1. " + common::PathText(folder / "a.txt"),
                   "2. " + common::PathText(folder / "b c.txt")}));
    EXPECT_EQ(common::TargetFolder(folder), folder / "RECALC");
    EXPECT_EQ(common::PathText(common::TargetFolder(folder)),
              common::PathText(folder) +
                  std::string(1, std::filesystem::path::preferred_separator) + "RECALC");
    EXPECT_TRUE(common::SelectFiles({}).Names.empty());
    EXPECT_EQ(common::SelectFiles({"plain.txt"}).SourceFolder, std::filesystem::path());
}

TEST_F(BatchRunTest, AFileOutsideTheFolderIsRefusedNotOverwritten) {
    testfiles::TempFolder other;
    WriteBytes(folder / "1.txt", "a\n");
    WriteBytes(other / "2.txt", "keep\n");
    common::BatchRun run(common::SelectFiles({folder / "1.txt", other / "2.txt"}), CopyConverter,
                         "Сводка", runActive);
    run.RunToEnd();
    EXPECT_EQ(run.Created(), 1u);
    EXPECT_FALSE(run.Ok());
    EXPECT_EQ(ReadBytes(other / "2.txt"), "keep\n");
}

}  // namespace
