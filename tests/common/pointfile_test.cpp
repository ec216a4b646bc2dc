// Point-list lines, the line reader and writer, and the three converter steps on real files.

#include "common/converter.hpp"
#include "common/point_line.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "test_folder.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

// ---------------------------------------------------------------------------------------------
// ReadPointLine

struct PointLineCase {
    std::string line;
    bool ok;
    std::string name = {};
    double first = 0, second = 0, height = 0;
    std::string tail = {};
};

TEST(ReadPointLine, SplitsAndParsesTheFields) {
    const std::vector<PointLineCase> cases = {
        {"1.,53.62,50.3478584,100.28,firstcode", true, "1.", 53.62, 50.3478584, 100.28,
         ",firstcode"},
        {"Им_Кирова,48.546,50.1563445334,80", true, "Им_Кирова", 48.546, 50.1563445334, 80, ""},
        {",1,2,3", true, "", 1, 2, 3, ""},
        {"p,-1,+2,-0.5,,", true, "p", -1, 2, -0.5, ",,"},
        {"p,1,2,3,a,b,c", true, "p", 1, 2, 3, ",a,b,c"},
        {"p,5.,.5,3", true, "p", 5, 0.5, 3, ""},
        // Only the first 12 fractional digits count.
        {"p,0.1234567890129,0,0", true, "p", 0.123456789012, 0, 0, ""},
        {"", false},
        {"no commas", false},
        {"p,1,2", false},       // no height field
        {"p,1,2,", false},      // empty height
        {"p,1", false},         // second coordinate missing its comma
        {"p,1,2,code", false},  // letters instead of a height
        {"p, 1,2,3", false},    // leading blank
        {"p,1 ,2,3", false},    // trailing blank
        {"p,1e3,2,3", false},   // exponent
        {"p,1,2,3 ", false},    // blank after the height
        {"p,,2,3", false},      // empty coordinate
        {std::string("p\0q,1,2,3", 9), true, std::string("p\0q", 3), 1, 2, 3, ""},
        {"\xff\xfe,1,2,3,\x80\x81", true, "\xff\xfe", 1, 2, 3, ",\x80\x81"},
    };
    for (const PointLineCase& c : cases) {
        bool ok = true;
        const common::PointLine point = common::ReadPointLine(c.line, ok);
        EXPECT_EQ(ok, c.ok) << c.line;
        if (!ok || !c.ok) continue;
        EXPECT_EQ(point.Name, c.name) << c.line;
        EXPECT_DOUBLE_EQ(point.First, c.first) << c.line;
        EXPECT_DOUBLE_EQ(point.Second, c.second) << c.line;
        EXPECT_DOUBLE_EQ(point.Height, c.height) << c.line;
        EXPECT_EQ(point.Tail, c.tail) << c.line;
    }
}

TEST(LineError, NamesTheLineWithNothingAfterTheNumber) {
    EXPECT_EQ(common::LineError(12), "Ошибка в строке 12");
    EXPECT_EQ(common::LineError(70000), "Ошибка в строке 70000");
}

// ---------------------------------------------------------------------------------------------
// LineReader and LineWriter

class MemorySource final : public common::ByteSource {
  public:
    explicit MemorySource(std::string bytes, std::size_t chunk = 1 << 20)
        : bytes_(std::move(bytes)), chunk_(chunk) {}
    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min({size, chunk_, bytes_.size() - position_});
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

  private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t position_ = 0;
};

std::vector<std::string> ReadAllLines(const std::string& bytes, std::size_t bufferBytes,
                                      std::size_t chunk, bool loneCrEndsLine = false) {
    MemorySource source(bytes, chunk);
    common::LineReader reader(source, bufferBytes, loneCrEndsLine);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line) == common::LineReader::Status::Line) lines.emplace_back(line);
    return lines;
}

TEST(LineReader, SplitsAtLfDropsOneCrAndReadsALastLineWithoutLf) {
    const std::string longLine(5000, 'x');
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\r\nb", {"a\r", "b"}},  // only one CR is part of the line end
        {"\n\n", {"", ""}},
        {"a\rb\n", {"a\rb"}},  // a lone CR is a byte of the line
        {std::string("\0\n\0\0", 4), {std::string(1, '\0'), std::string(2, '\0')}},
        {"\xff\x80\r\n\xc0", {"\xff\x80", "\xc0"}},
        {longLine + "\r\n" + longLine, {longLine, longLine}},
    };
    // Every split of the bytes over buffer refills and short reads gives the same lines.
    for (const auto& c : cases)
        for (std::size_t buffer : {1u, 2u, 3u, 7u, 64u, 1u << 20})
            for (std::size_t chunk : {1u, 5u, 1u << 20})
                EXPECT_EQ(ReadAllLines(c.bytes, buffer, chunk), c.lines)
                    << "buffer " << buffer << " chunk " << chunk;
}

TEST(LineReader, InMapFilesALoneCrEndsALineAsLfAndCrLfDo) {
    const std::string longLine(5000, 'x');
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\rb\rc", {"a", "b", "c"}},
        {"a\r\nb\nc\r", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},    // LF then CR: two line ends
        {"a\r\r\nb", {"a", "", "b"}},  // CR, then CR LF
        {"\r\r", {"", ""}},
        {"\xEF\xBB\xBF[IMG ID]\rID=1\r", {"\xEF\xBB\xBF[IMG ID]", "ID=1"}},
        {longLine + "\r" + longLine + "\r\n" + longLine, {longLine, longLine, longLine}},
    };
    // A CR LF split over two refills is still one line end.
    for (const auto& c : cases)
        for (std::size_t buffer : {1u, 2u, 3u, 7u, 64u, 1u << 20})
            for (std::size_t chunk : {1u, 5u, 1u << 20})
                EXPECT_EQ(ReadAllLines(c.bytes, buffer, chunk, true), c.lines)
                    << "buffer " << buffer << " chunk " << chunk;
}

// Reads a file whose lines may be longer than `limit`: a long line is its head and its pieces.
std::vector<std::string> ReadWithPieces(const std::string& bytes, std::size_t buffer,
                                        bool loneCrEndsLine, std::size_t limit) {
    MemorySource source(bytes, 3);
    common::LineReader reader(source, buffer, loneCrEndsLine, limit);
    std::vector<std::string> lines;
    std::string_view line;
    for (;;) {
        const common::LineReader::Status status = reader.Next(line);
        if (status == common::LineReader::Status::End) return lines;
        EXPECT_NE(status, common::LineReader::Status::ReadFailed);
        if (status == common::LineReader::Status::ReadFailed) return lines;
        lines.emplace_back(line);
        if (status != common::LineReader::Status::TooLong) continue;
        EXPECT_LE(line.size(), limit);
        lines.back() += "|";
        for (common::LineReader::Piece piece = common::LineReader::Piece::More;
             piece == common::LineReader::Piece::More;) {
            piece = reader.NextPiece(line);
            lines.back() += line;
        }
    }
}

TEST(LineReader, GivesTheHeadOfALongLineAndThenItsRestInPieces) {
    const struct {
        std::string bytes;
        bool loneCr;
        std::vector<std::string> lines;
    } cases[] = {
        {"abcdefgh\nab\nabcd\n", false, {"abcd|efgh", "ab", "abcd"}},
        {"abcdefgh\r\nab", false, {"abcd|efgh", "ab"}},
        {"abc\r\r\nx", false, {"abc\r", "x"}},  // only the last CR belongs to the line end
        {"abcd\r\rx\n", false, {"abcd|\r\rx"}},
        {"abcd\r\nx", false, {"abcd", "x"}},
        {"abcde\r\nx", false, {"abcd|e", "x"}},
        {"abc\rdefgh\rij", false, {"abc|\rdefgh\rij"}},  // a lone CR stays in a point list
        {"abcdefgh\rij\r\nk", true, {"abcd|efgh", "ij", "k"}},
        {"abcdefgh", true, {"abcd|efgh"}},
        {"abcdefgh\r", false, {"abcd|efgh"}},  // a last line loses one CR, as a short one does
    };
    for (const auto& c : cases)
        for (std::size_t buffer : {1u, 2u, 5u, 64u})
            EXPECT_EQ(ReadWithPieces(c.bytes, buffer, c.loneCr, 4), c.lines)
                << "buffer " << buffer << " " << c.bytes;
}

class EndlessSource final : public common::ByteSource {
  public:
    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        std::memset(buffer, 'a', size);
        return static_cast<std::ptrdiff_t>(size);
    }
};

class BrokenSource final : public common::ByteSource {
  public:
    std::ptrdiff_t Read(char*, std::size_t) override { return -1; }
};

TEST(LineReader, RefusesALineLongerThanTheLimitAndReportsReadFailures) {
    EndlessSource endless;
    common::LineReader reader(endless);
    std::string_view line;
    EXPECT_EQ(reader.Next(line), common::LineReader::Status::TooLong);
    EXPECT_LE(reader.BytesRead(), common::kMaxLineBytes + (std::size_t{1} << 20));

    BrokenSource broken;
    common::LineReader failing(broken);
    EXPECT_EQ(failing.Next(line), common::LineReader::Status::ReadFailed);
}

class MemorySink final : public common::ByteSink {
  public:
    std::string bytes;
    std::size_t writes = 0;
    std::optional<std::size_t> failAtWrite;
    bool Write(const char* data, std::size_t size) override {
        if (failAtWrite && writes++ == *failAtWrite) return false;
        bytes.append(data, size);
        return true;
    }
    bool Close() override { return true; }
};

TEST(LineWriter, WritesCrLfAcrossFlushesAndStopsAfterAFailedWrite) {
    MemorySink sink;
    common::LineWriter writer(sink, 8);
    const std::string longLine(20, 'y');
    for (const std::string& line : {std::string("ab"), longLine, std::string(), std::string("cd")})
        EXPECT_TRUE(writer.WriteLine(line));
    EXPECT_TRUE(writer.Flush());
    EXPECT_EQ(sink.bytes, "ab\r\n" + longLine + "\r\n\r\ncd\r\n");

    MemorySink failing;
    failing.failAtWrite = 0;
    common::LineWriter broken(failing, 4);
    EXPECT_TRUE(broken.WriteLine("a"));    // buffered
    EXPECT_FALSE(broken.WriteLine("bc"));  // the flush fails
    EXPECT_FALSE(broken.WriteLine("d"));
    EXPECT_FALSE(broken.Flush());
    EXPECT_TRUE(broken.Failed());
}

// ---------------------------------------------------------------------------------------------
// The converter steps on real files

// Upper-cases nothing, fails on a line "bad": enough to see the loop and the closing step.
bool CopyUnlessBad(std::string_view line, std::string& out) {
    if (line == "bad") return false;
    out.append(line);
    return true;
}

class ConverterSteps : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    std::filesystem::path source = folder / "points.txt";
    std::filesystem::path target = folder / "out.txt";

    common::ConvertResult Convert(const common::FileAccess& files = common::RealFiles()) {
        common::ConvertJob job;
        job.Source = source;
        job.Target = target;
        job.Files = &files;
        return common::ConvertFileLines(job, CopyUnlessBad);
    }
};

TEST_F(ConverterSteps, WritesEveryLineWithCrLf) {
    WriteBytes(source, std::string("a\r\nb\n\xff\0c", 8));
    const common::ConvertResult result = Convert();
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::Created);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(ReadBytes(target), std::string("a\r\nb\r\n\xff\0c\r\n", 11));
    EXPECT_EQ(ReadBytes(source), std::string("a\r\nb\n\xff\0c", 8));  // the source is untouched
}

TEST_F(ConverterSteps, AnEmptySourceGivesAnEmptyCompleteTarget) {
    WriteBytes(source, "");
    const common::ConvertResult result = Convert();
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::Created);
    EXPECT_EQ(result.message, "");
    ASSERT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(std::filesystem::file_size(target), 0u);
}

TEST_F(ConverterSteps, EachFailureHasItsOutcomeAndLeavesNoPartialTarget) {
    testfiles::FaultyFiles fullDisk;
    fullDisk.writableBytes = 5;
    testfiles::FaultyFiles failingClose;
    failingClose.failClose = true;
    testfiles::FaultyFiles noSpace;
    noSpace.freeSpace = 11;  // twice the 6-byte source does not fit
    testfiles::FaultyFiles justEnoughSpace;
    justEnoughSpace.freeSpace = 12;
    testfiles::FaultyFiles failingRead;
    failingRead.readableBytes = 2;
    testfiles::FaultyFiles cutShort;
    cutShort.endAfterBytes = 4;  // at a line boundary, so no line shows it

    const struct {
        const char* what;
        std::string sourceBytes;
        const common::FileAccess* files;
        bool ok;
        std::string message;
        bool targetKept;
    } cases[] = {
        {"all lines", "a\nb\nc\n", &common::RealFiles(), true, "", true},
        {"bad second line", "a\nbad\nc\n", &common::RealFiles(), true, "Ошибка в строке 2", false},
        {"bad last line without LF", "a\nb\nbad", &common::RealFiles(), true, "Ошибка в строке 3",
         false},
        {"disk full", "a\nb\nc\n", &fullDisk, false, "Ошибка записи целевого файла!", false},
        {"close fails", "a\nb\nc\n", &failingClose, false, "Ошибка записи целевого файла!", false},
        {"not enough space", "a\nb\nc\n", &noSpace, false, "Недостаточно места на диске!", false},
        {"space just enough", "a\nb\nc\n", &justEnoughSpace, true, "", true},
        {"read fails", "a\nb\nc\n", &failingRead, false, "Ошибка чтения исходного файла!", false},
        {"cut short while read", "a\nb\nc\n", &cutShort, false, "Ошибка чтения исходного файла!",
         false},
    };
    for (const auto& c : cases) {
        WriteBytes(source, c.sourceBytes);
        std::filesystem::remove(target);
        const common::ConvertResult result = Convert(*c.files);
        EXPECT_EQ(result.Outcome == common::ConvertOutcome::FileFailed, !c.ok) << c.what;
        EXPECT_EQ(result.message, c.message) << c.what;
        EXPECT_EQ(std::filesystem::exists(target), c.targetKept) << c.what;
    }
}

TEST_F(ConverterSteps, FileLevelFailuresNameTheFileAndTheSystemsReason) {
    WriteBytes(folder / "other.txt", "keep\n");
    std::filesystem::create_symlink(folder / "other.txt", folder / "link.txt");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    const std::string root = common::PathText(folder.path());
    const struct {
        const char* what;
        std::filesystem::path source;
        std::filesystem::path target;
        std::string message;
        std::string cause;
    } cases[] = {
        {"no source", folder / "absent.txt", folder / "out.txt",
         "Невозможно открыть исходный файл!", root + "/absent.txt: No such file or directory"},
        {"a folder as source", folder.path(), folder / "out.txt",
         "Невозможно открыть исходный файл!", root + ": Is a directory"},
        // A pipe without a writer would block a reader forever, a device may never end.
        {"a pipe as source", folder / "pipe", folder / "out.txt",
         "Невозможно открыть исходный файл!",
         root + "/pipe: не обычный файл (каталог, устройство или канал)"},
        {"a device as source", "/dev/zero", folder / "out.txt", "Невозможно открыть исходный файл!",
         "/dev/zero: не обычный файл (каталог, устройство или канал)"},
        {"no target folder", source, folder / "missing" / "out.txt",
         "Невозможно создать целевой файл!", root + "/missing/out.txt: No such file or directory"},
        // A taken name is never replaced, never written through: the source itself, another
        // file, a symbolic link.
        {"the source as target", source, source, "Невозможно создать целевой файл!",
         root + "/points.txt: File exists"},
        {"another file", source, folder / "other.txt", "Невозможно создать целевой файл!",
         root + "/other.txt: File exists"},
        {"a link", source, folder / "link.txt", "Невозможно создать целевой файл!",
         root + "/link.txt: File exists"},
    };
    WriteBytes(source, "a\n");
    // A source that blocked would hang the test: the alarm ends it instead.
    ::alarm(30);
    for (const auto& c : cases) {
        common::ConvertJob job;
        job.Source = c.source;
        job.Target = c.target;
        const common::ConvertResult result = common::ConvertFileLines(job, CopyUnlessBad);
        EXPECT_EQ(result.Outcome, common::ConvertOutcome::FileFailed) << c.what;
        EXPECT_EQ(result.message, c.message) << c.what;
        EXPECT_EQ(result.Cause, c.cause) << c.what;
    }
    ::alarm(0);
    EXPECT_EQ(ReadBytes(source), "a\n");
    EXPECT_EQ(ReadBytes(folder / "other.txt"), "keep\n");
    EXPECT_FALSE(std::filesystem::exists(target));
    // Nothing else was created: no target, no temporary file.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 4u);  // points.txt, other.txt, link.txt, pipe
}

TEST_F(ConverterSteps, AStopMidwayLeavesNeitherTargetNorTemporaryFile) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += "line " + std::to_string(i) + "\n";
    WriteBytes(source, bytes);
    std::atomic<bool> stop{false};
    int lines = 0;
    common::ConvertJob job;
    job.Source = source;
    job.Target = target;
    job.Stop = &stop;
    const common::ConvertResult result =
        common::ConvertFileLines(job, [&](std::string_view line, std::string& out) {
            if (++lines == 500) stop = true;
            out.append(line);
            return true;
        });
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::Stopped);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(lines, 500);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);  // the source only
}

TEST(TemporaryTargetName, HiddenBesideTheTargetShortEnoughAndDifferentPerTag) {
    const std::filesystem::path folder = "/data/RECALC";
    const std::string longCyrillic = [] {
        std::string name;
        for (int i = 0; i < 120; ++i) name += "ж";  // 240 bytes
        return name + ".txt";
    }();
    for (const std::string& name : {std::string("a.txt"), std::string(250, 'x'), longCyrillic}) {
        const std::filesystem::path first = common::TemporaryTargetName(folder / name, 0);
        const std::filesystem::path second = common::TemporaryTargetName(folder / name, 1);
        EXPECT_EQ(first.parent_path(), folder);
        const std::string text = common::PathText(first.filename());
        EXPECT_EQ(text.front(), '.') << text;
        EXPECT_LE(text.size(), 255u) << text;
        EXPECT_NE(text.find(".part-"), std::string::npos) << text;
        EXPECT_NE(first, second);
        // Cut at a character boundary: the byte before ".part-" ends a UTF-8 sequence.
        const std::size_t stemEnd = text.find(".part-");
        EXPECT_TRUE(stemEnd == 0 || (static_cast<unsigned char>(text[stemEnd - 1]) & 0xC0) != 0xC0)
            << text;
    }
    EXPECT_EQ(common::TemporaryTargetName(folder / "a.txt", 0).filename(), ".a.txt.part-000000");
    EXPECT_EQ(common::TemporaryTargetName(folder / "a.txt", 37).filename(), ".a.txt.part-110000");
}

// A line longer than the limit is copied when the converter says it carries no coordinates,
// and is a bad line that says why otherwise.
TEST_F(ConverterSteps, LongLinesAreCopiedInPiecesOrRefusedWithTheReason) {
    common::LineOptions options;
    options.MaxLineBytes = 8;
    options.LoneCrEndsLine = true;
    options.LongLineHead = [](std::string_view head, std::string& out) {
        if (head.starts_with("Data")) return false;
        out.append("<").append(head).append(">");
        return true;
    };
    const std::string ordinary = "; comment of some length";
    const struct {
        std::string bytes;
        std::string message;
        std::string written;
    } cases[] = {
        {"a\r" + ordinary + "\rb", "", "a\r\n<; commen>t of some length\r\nb\r\n"},
        {ordinary + "\n", "", "<; commen>t of some length\r\n"},
        {"a\nData0=(55,37),(56,38)\n", "Ошибка в строке 2: строка длиннее 64 МБ", ""},
    };
    for (const auto& c : cases) {
        WriteBytes(source, c.bytes);
        std::filesystem::remove(target);  // a taken target name is refused
        common::ConvertJob job;
        job.Source = source;
        job.Target = target;
        const common::ConvertResult result = common::ConvertFileLines(job, CopyUnlessBad, options);
        EXPECT_EQ(result.message, c.message) << c.bytes;
        if (c.message.empty()) {
            EXPECT_EQ(ReadBytes(target), c.written) << c.bytes;
        }
        EXPECT_EQ(std::filesystem::exists(target), c.message.empty()) << c.bytes;
    }
}

TEST_F(ConverterSteps, ReportsProgressUpToTheWholeFile) {
    std::string bytes;
    for (int i = 0; i < 300000; ++i) bytes += "line " + std::to_string(i) + "\n";
    WriteBytes(source, bytes);
    std::vector<common::FileProgress> reports;
    common::ConvertJob job;
    job.Source = source;
    job.Target = target;
    job.Progress = [&](const common::FileProgress& p) { reports.push_back(p); };
    EXPECT_EQ(common::ConvertFileLines(job, CopyUnlessBad).message, "");
    ASSERT_GE(reports.size(), 2u);
    EXPECT_LE(reports.size(), bytes.size() / (1 << 20) + 3);  // about once per MiB
    EXPECT_EQ(reports.back().BytesDone, bytes.size());
    EXPECT_EQ(reports.back().BytesTotal, bytes.size());
    EXPECT_EQ(reports.back().LinesDone, 300000u);
    for (std::size_t i = 1; i < reports.size(); ++i)
        EXPECT_GE(reports[i].BytesDone, reports[i - 1].BytesDone);
}

}  // namespace
