// The shared part of the convert commands: streaming and the choice of files.

#include "common/cli_convert.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>

#include "test_folder.hpp"

namespace {

bool UpperOrBad(std::string_view line, std::string& out) {
    if (line == "bad") return false;
    for (char c : line) out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c);
    return true;
}

// Bytes in memory as stdin: handed out in small reads, failing with `error` at the end if set.
class TextSource final : public common::ByteSource {
  public:
    explicit TextSource(std::string text, std::error_code error = {})
        : text_(std::move(text)), error_(error) {}
    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        if (at_ == text_.size() && error_) return -1;
        const std::size_t count = std::min({size, std::size_t{3}, text_.size() - at_});
        text_.copy(buffer, count, at_);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    std::error_code Error() const override { return error_; }

  private:
    std::string text_;
    std::error_code error_;
    std::size_t at_ = 0;
};

// Bytes in memory as stdout; refuses every write with `error` if set.
class TextSink final : public common::ByteSink {
  public:
    explicit TextSink(std::error_code error = {}) : error_(error) {}
    bool Write(const char* data, std::size_t size) override {
        if (error_) return false;
        text.append(data, size);
        return true;
    }
    bool Close() override { return !error_; }
    std::error_code Error() const override { return error_; }
    std::string text;

  private:
    std::error_code error_;
};

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
        TextSource in(c.in);
        TextSink out;
        const common::ConvertResult result = common::StreamLines(in, out, UpperOrBad);
        EXPECT_EQ(result.Outcome, c.message.empty() ? common::ConvertOutcome::Created
                                                    : common::ConvertOutcome::BadLine);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(out.text, c.out);
    }
}

TEST(StreamLines, AFailingInputOrOutputIsAFailureWithItsCause) {
    TextSource unreadable("ab\n", std::make_error_code(std::errc::is_a_directory));
    TextSink out;
    common::ConvertResult result = common::StreamLines(unreadable, out, UpperOrBad);
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::FileFailed);
    EXPECT_EQ(result.message, "Ошибка чтения исходного файла!");
    EXPECT_EQ(result.Cause, "stdin: Is a directory");

    TextSource in("ab\n");
    TextSink full(std::make_error_code(std::errc::no_space_on_device));
    result = common::StreamLines(in, full, UpperOrBad);
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::FileFailed);
    EXPECT_EQ(result.message, "Ошибка записи целевого файла!");
    EXPECT_EQ(result.Cause, "stdout: No space left on device");
}

TEST(StreamLines, TheStopFlagEndsTheStreamBetweenLines) {
    std::atomic<bool> stop{false};
    std::size_t lines = 0;
    const common::LineFunction stopAtSecond = [&](std::string_view line, std::string& out) {
        if (++lines == 2) stop = true;
        out.append(line);
        return true;
    };
    TextSource in("a\nb\nc\nd\n");
    TextSink out;
    const common::ConvertResult result = common::StreamLines(in, out, stopAtSecond, &stop);
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::Stopped);
    EXPECT_EQ(lines, 2u);
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

namespace {

TEST(SplitCommandArguments, RefusesRepeatedAndUnknownShortOptions) {
    const std::string_view values[] = {"--format", "--scale"};
    const std::string_view withHelp[] = {"--help"};
    struct Row {
        std::vector<std::string> args;
        std::string message;
    };
    const Row rows[] = {
        {{"--format", "txt", "--format", "sheets"}, "Параметр --format указан дважды"},
        {{"--format=txt", "--format=txt"}, "Параметр --format указан дважды"},
        {{"-x", "a.txt"}, "Неизвестный параметр: -x"},
        {{"-format", "txt"}, "Неизвестный параметр: -format"},
        {{"a.txt", "-"}, ""},
        {{"-5.txt", "-h"}, ""},
        {{"--", "-x"}, ""},
    };
    for (const Row& row : rows) {
        common::CommandArguments arguments;
        EXPECT_EQ(common::SplitCommandArguments(row.args, values, withHelp, arguments), row.message)
            << row.args.front();
    }
    common::CommandArguments help, noHelp;
    EXPECT_EQ(common::SplitCommandArguments({"-h"}, values, withHelp, help), "");
    EXPECT_TRUE(help.HasFlag("--help"));
    // Where --help is not a flag of the command, "-h" is as unknown as any other.
    EXPECT_EQ(common::SplitCommandArguments({"-h"}, values, {}, noHelp),
              "Неизвестный параметр: -h");
    common::CommandArguments files;
    EXPECT_EQ(common::SplitCommandArguments({"-5.txt", "--", "-x"}, values, withHelp, files), "");
    EXPECT_EQ(files.Files, (std::vector<std::string>{"-5.txt", "-x"}));
}

}  // namespace
