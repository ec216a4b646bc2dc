// Failures on real files in a whole batch run: a target that cannot be created, a disk that is
// full at the final close or in the middle, a target name taken before or during the run, a
// source cut short between files, a source whose size changes while it is read, and a run
// aborted in the middle of a file. After each: every source byte is unchanged, no target is
// partial, no temporary file is left, the log says what happened, and a later run converts every
// file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/batch.hpp"
#include "common/converter.hpp"
#include "common/mpdata.hpp"
#include "test_folder.hpp"

namespace {

namespace fs = std::filesystem;
using testfiles::ReadBytes;
using testfiles::WriteBytes;
using Log = std::vector<std::string>;

// The map shift's line rule with a fixed move: what a real map converter does to a file.
common::ConvertResult ShiftMap(const common::ConvertJob& job) {
    return common::ConvertFileLines(job, [](std::string_view line, std::string& out) {
        return common::ConvertMapLine(line, out, [](double& lat, double& lon) {
            lat += 0.001;
            lon -= 0.002;
            return true;
        });
    });
}

// A Polish-format map of about `lines` data lines.
std::string MapBytes(int lines) {
    std::string bytes = "[IMG ID]\r\nName=Карта\r\n[END-IMG ID]\r\n[POLYLINE]\r\n";
    for (int i = 0; i < lines; ++i) {
        bytes += "Data0=(55." + std::to_string(10000 + i % 80000) + ",37.5),(55.2,37." +
                 std::to_string(i % 997) + ")\r\n";
    }
    return bytes + "[END]\r\n";
}

class FailureRun : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    bool runActive = false;
    std::map<std::string, std::string> sources;

    void SetUp() override {
        sources = {{"1.mp", MapBytes(3)}, {"2.mp", MapBytes(40000)}, {"3.mp", MapBytes(5)}};
        for (const auto& [name, bytes] : sources) WriteBytes(folder / name, bytes);
    }

    common::FileSelection Selection(const testfiles::TempFolder& where) const {
        std::vector<fs::path> chosen;
        for (const auto& entry : sources) chosen.push_back(where / entry.first);
        return common::SelectFiles(chosen);
    }
    fs::path Target(const std::string& name) const { return folder / "RECALC" / name; }

    // The targets of an undisturbed run over copies of the sources.
    std::map<std::string, std::string> CleanTargets() const {
        testfiles::TempFolder elsewhere;
        for (const auto& [name, bytes] : sources) WriteBytes(elsewhere / name, bytes);
        bool active = false;
        common::BatchRun run(Selection(elsewhere), ShiftMap, "Сдвиг", active);
        run.RunToEnd();
        std::map<std::string, std::string> targets;
        for (const auto& entry : sources) {
            targets[entry.first] = ReadBytes(elsewhere / "RECALC" / entry.first);
        }
        return targets;
    }

    void ExpectSourcesUnchanged() const {
        for (const auto& [name, bytes] : sources) {
            EXPECT_EQ(ReadBytes(folder / name), bytes) << name << " changed";
        }
    }

    // Every target is either absent or the complete one, and no temporary file is left.
    void ExpectOnlyCompleteTargets(const std::map<std::string, std::string>& clean) const {
        for (const auto& entry : sources) {
            const fs::path target = Target(entry.first);
            if (fs::is_regular_file(target)) {
                EXPECT_EQ(ReadBytes(target), clean.at(entry.first)) << entry.first;
            } else {
                EXPECT_FALSE(fs::exists(fs::symlink_status(target))) << entry.first;
            }
        }
        ExpectNoTemporaryFile();
    }

    void ExpectNoTemporaryFile() const {
        if (!fs::exists(folder / "RECALC")) return;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder / "RECALC"))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }

    void ExpectLaterRunWorks(const std::map<std::string, std::string>& clean) {
        fs::remove_all(folder / "RECALC");
        common::BatchRun run(Selection(folder), ShiftMap, "Сдвиг", runActive);
        run.RunToEnd();
        EXPECT_TRUE(run.Ok());
        EXPECT_EQ(run.Created(), sources.size());
        for (const auto& entry : sources) {
            EXPECT_EQ(ReadBytes(Target(entry.first)), clean.at(entry.first)) << entry.first;
        }
        ExpectSourcesUnchanged();
    }

    // Runs with `before` called ahead of the converter for the file named `name`.
    Log RunDisturbing(const std::string& name,
                      const std::function<void(const common::ConvertJob&)>& before,
                      const common::ProgressCallback& progress = {}) {
        common::FileConverter disturbed = [=](const common::ConvertJob& job) {
            if (job.Source.filename() == name) before(job);
            return ShiftMap(job);
        };
        common::BatchRun run(Selection(folder), disturbed, "Сдвиг", runActive);
        run.RunToEnd(progress);
        return run.Log();
    }
};

const Log kStoppedAfterTwoFiles = {"Пересчёт остановлен.",
                                   "",
                                   "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********",
                                   "Сдвиг",
                                   "",
                                   "Обработано     : 2 файлов",
                                   "Создано           : 1 файлов",
                                   "Ошибок            : 1"};

Log FailureOfFileTwo(std::string_view message) {
    Log log = {"Ошибка обработки - файл 2: 2.mp", std::string(message)};
    log.insert(log.end(), kStoppedAfterTwoFiles.begin(), kStoppedAfterTwoFiles.end());
    return log;
}

TEST_F(FailureRun, ATargetThatCannotBeCreatedStopsTheRun) {
    const auto clean = CleanTargets();
    // A folder where the target should go: no file can be created there, not even by root.
    const Log log = RunDisturbing("2.mp", [](const common::ConvertJob& job) {
        fs::create_directory(job.Target);
        WriteBytes(job.Target / "keep", "x");
    });
    EXPECT_EQ(log, FailureOfFileTwo(common::kCannotCreateTarget));
    EXPECT_EQ(ReadBytes(Target("1.mp")), clean.at("1.mp"));
    EXPECT_FALSE(fs::exists(Target("3.mp")));
    EXPECT_TRUE(fs::is_directory(Target("2.mp")));
    ExpectSourcesUnchanged();
    ExpectLaterRunWorks(clean);
}

TEST_F(FailureRun, ADiskFullAtTheFinalCloseOrInTheMiddleIsAWriteFailure) {
    const auto clean = CleanTargets();
    // No byte fits: the small first file fails only when its buffered bytes are handed over at
    // the end. A MiB fits: the first file is written whole, the large second one fails midway.
    const struct {
        std::uintmax_t writable;
        std::string failing;
    } cases[] = {{0, "1"}, {std::uintmax_t{1} << 20, "2"}};
    for (const auto& c : cases) {
        fs::remove_all(folder / "RECALC");
        testfiles::FaultyFiles disk;
        disk.writableBytes = c.writable;
        common::BatchRun run(Selection(folder), ShiftMap, "Сдвиг", runActive, disk);
        run.RunToEnd();
        const Log& log = run.Log();
        ASSERT_GE(log.size(), 3u) << c.failing;
        EXPECT_EQ(log[0], "Ошибка обработки - файл " + c.failing + ": " + c.failing + ".mp");
        EXPECT_EQ(log[1], common::kCannotWriteTarget);
        EXPECT_EQ(log[2], "Пересчёт остановлен.");
        ASSERT_EQ(run.Problems().size(), 1u);
        EXPECT_EQ(run.Problems()[0], std::string(common::kCannotWriteTarget) + " (" +
                                         common::PathText(Target(c.failing + ".mp")) +
                                         ": No space left on device)");
        EXPECT_FALSE(fs::exists(Target(c.failing + ".mp")));
        ExpectOnlyCompleteTargets(clean);
        ExpectSourcesUnchanged();
    }
    ExpectLaterRunWorks(clean);
}

TEST_F(FailureRun, ATakenTargetNameIsNeitherFollowedNorReplaced) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const auto clean = CleanTargets();
    // A link to the always-full device where a target goes: it is not written through.
    Log log = RunDisturbing(
        "2.mp", [](const common::ConvertJob& job) { fs::create_symlink("/dev/full", job.Target); });
    EXPECT_EQ(log, FailureOfFileTwo(common::kCannotCreateTarget));
    EXPECT_EQ(fs::read_symlink(Target("2.mp")), "/dev/full");

    // A file that takes the name while the target is written stays as it was.
    fs::remove_all(folder / "RECALC");
    bool intruded = false;
    log = RunDisturbing(
        "2.mp", [](const common::ConvertJob&) {},
        [&](const common::FileProgress& progress) {
            if (!intruded && progress.BytesTotal == sources.at("2.mp").size()) {
                WriteBytes(Target("2.mp"), "someone else's");
                intruded = true;
            }
        });
    EXPECT_TRUE(intruded);
    EXPECT_EQ(log, FailureOfFileTwo(common::kCannotCreateTarget));
    EXPECT_EQ(ReadBytes(Target("2.mp")), "someone else's");
    EXPECT_EQ(ReadBytes(Target("1.mp")), clean.at("1.mp"));
    ExpectNoTemporaryFile();
    ExpectSourcesUnchanged();
}

TEST_F(FailureRun, RecalcHoldsOnlyCompleteTargetsAndOneHiddenFileWhileRunning) {
    const auto clean = CleanTargets();
    std::size_t looks = 0;
    common::BatchRun run(Selection(folder), ShiftMap, "Сдвиг", runActive);
    run.RunToEnd([&](const common::FileProgress&) {
        std::size_t hidden = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder / "RECALC")) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".")) {
                EXPECT_TRUE(name.find(".mp.part-") != std::string::npos) << name;
                ++hidden;
            } else {
                EXPECT_EQ(ReadBytes(entry.path()), clean.at(name)) << name;
            }
        }
        EXPECT_EQ(hidden, 1u);
        ++looks;
    });
    EXPECT_GT(looks, 3u);
    EXPECT_EQ(run.Created(), 3u);
    ExpectNoTemporaryFile();
}

TEST_F(FailureRun, ASourceCutShortBetweenFilesEndsInItsBadLine) {
    const auto clean = CleanTargets();
    const std::string& whole = sources.at("2.mp");
    // Cut inside the first group of a data line: that line no longer parses.
    const std::size_t cut = whole.find("Data0=(55.", 1000) + 9;
    const Log log = RunDisturbing("2.mp", [&](const common::ConvertJob& job) {
        WriteBytes(job.Source, whole.substr(0, cut));
    });
    const std::size_t badLine = static_cast<std::size_t>(
        std::count(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut), '\n') + 1);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "Ошибка обработки - файл 2: 2.mp");
    EXPECT_EQ(log[1], common::LineError(badLine));
    EXPECT_EQ(log[2], "Файл не создан.");
    EXPECT_FALSE(fs::exists(Target("2.mp")));
    EXPECT_EQ(ReadBytes(Target("3.mp")), clean.at("3.mp"));
    // The run itself changed nothing: the source holds what was written into it.
    EXPECT_EQ(ReadBytes(folder / "2.mp"), whole.substr(0, cut));
    WriteBytes(folder / "2.mp", whole);
    ExpectLaterRunWorks(clean);
}

TEST_F(FailureRun, AnAbortInTheMiddleOfAFileFinishesThatFileAndStops) {
    const auto clean = CleanTargets();
    common::FileSelection selection = Selection(folder);
    common::BatchRun run(selection, ShiftMap, "Сдвиг", runActive);
    ASSERT_TRUE(run.Start());
    std::size_t calls = 0;
    while (run.HasNextFile()) {
        // "Прервать" while the large second file is half read.
        run.ConvertNextFile([&](const common::FileProgress& progress) {
            if (progress.BytesTotal > 0 && progress.BytesDone < progress.BytesTotal)
                runActive = false;
            ++calls;
        });
    }
    run.Finish();
    EXPECT_GT(calls, 0u);
    EXPECT_EQ(run.Processed(), 2u);
    EXPECT_EQ(run.Created(), 2u);
    ASSERT_FALSE(run.Log().empty());
    EXPECT_EQ(run.Log()[0], "********* ПЕРЕСЧЁТ ОСТАНОВЛЕН *********");
    EXPECT_EQ(ReadBytes(Target("2.mp")), clean.at("2.mp"));
    EXPECT_FALSE(fs::exists(Target("3.mp")));
    ExpectOnlyCompleteTargets(clean);
    ExpectSourcesUnchanged();
    ExpectLaterRunWorks(clean);
}

TEST_F(FailureRun, ASourceWhoseSizeChangesWhileReadIsAReadFailure) {
    const auto clean = CleanTargets();
    const std::string whole = sources.at("2.mp");
    // Another program cuts the source at a line end, or appends lines, after the first buffer
    // has been read: every line read is well formed, yet the target would not be the file.
    const std::function<void(std::uint64_t)> changes[] = {
        [&](std::uint64_t done) {
            fs::resize_file(folder / "2.mp", whole.find('\n', done + 5000) + 1);
        },
        [&](std::uint64_t) {
            std::ofstream(folder / "2.mp", std::ios::binary | std::ios::app) << MapBytes(2);
        },
    };
    for (const auto& change : changes) {
        fs::remove_all(folder / "RECALC");
        WriteBytes(folder / "2.mp", whole);
        bool changed = false;
        const Log log = RunDisturbing(
            "2.mp", [](const common::ConvertJob&) {},
            [&](const common::FileProgress& progress) {
                if (!changed && progress.BytesTotal > 0 &&
                    progress.BytesDone < progress.BytesTotal) {
                    change(progress.BytesDone);
                    changed = true;
                }
            });
        EXPECT_TRUE(changed);
        EXPECT_EQ(log, FailureOfFileTwo(common::kCannotReadSource));
        EXPECT_FALSE(fs::exists(Target("2.mp")));
        ExpectOnlyCompleteTargets(clean);
    }
    WriteBytes(folder / "2.mp", whole);
    ExpectLaterRunWorks(clean);
}

}  // namespace
