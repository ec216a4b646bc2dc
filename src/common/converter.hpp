#pragma once
// The converter contract of both programs and its three steps: opening the source and creating
// the target (`PrepareFiles`), the line loop, and closing (`FinishFiles`).
//
// A source is never opened for writing; every write and the final close are checked. A target is
// written under a hidden temporary name beside it (".name.part-XXXXXX") and gets its own name only
// after its last write reached the disk; a name that is taken is never replaced. A failure, a bad
// line or a stop deletes the temporary file, so no partial file ever carries a target's name,
// whatever moment a run ends at.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_access.hpp"
#include "common/line_io.hpp"

namespace common {

// Messages of a converter (Russian texts of the program, UTF-8).

inline constexpr std::string_view kCannotOpenSource = "Невозможно открыть исходный файл!";
inline constexpr std::string_view kCannotCreateTarget = "Невозможно создать целевой файл!";
inline constexpr std::string_view kNotEnoughSpace = "Недостаточно места на диске!";
// A source that fails while being read, and a target whose write or close fails (a full disk):
// both end the run like the three file-level failures, and the target is deleted.
inline constexpr std::string_view kCannotReadSource = "Ошибка чтения исходного файла!";
inline constexpr std::string_view kCannotWriteTarget = "Ошибка записи целевого файла!";

// "Ошибка в строке " followed by the number of the bad line, counting every line from 1.
std::string LineError(std::uint64_t lineNumber);

// The converter contract.

// How one converter call ended.
enum class ConvertOutcome {
    Created,     // the target is complete
    BadLine,     // a line could not be converted: `message` is its `LineError`; no target
    FileFailed,  // a file-level failure: `message` and `Cause`; the batch run stops after it
    Stopped,     // the job's stop flag ended the file midway: no message, no target
};

struct ConvertResult {
    ConvertOutcome Outcome = ConvertOutcome::Created;
    // What the log shows for a bad line or a file-level failure; empty otherwise.
    std::string message;
    std::uint64_t LineNumber = 0;  // of the bad line
    // For a terminal: the file and the system's reason of a file-level failure
    // ("/data/RECALC/a.txt: No space left on device"); the log shows only `message`.
    std::string Cause;
    // Lines the batch log shows for a created file that may not be what the user expects (a
    // header label that names another datum); the file still counts as created.
    std::vector<std::string> Warnings;
    // For a terminal: why the bad line of `message` was bad ("широта 95 вне диапазона -90..90");
    // the batch screen's log shows only `message`.
    std::string LineReason;
};

// Progress of the file being converted, reported after each buffer refill (about once per MiB).
struct FileProgress {
    std::uint64_t BytesDone = 0;
    std::uint64_t BytesTotal = 0;  // 0 when the size is unknown
    std::uint64_t LinesDone = 0;
};
using ProgressCallback = std::function<void(const FileProgress&)>;

// What the batch run hands a converter: where to read and write, through which file system, and
// whom to tell about progress.
struct ConvertJob {
    std::filesystem::path Source;
    std::filesystem::path Target;
    const FileAccess* Files = &RealFiles();
    ProgressCallback Progress;  // may be empty
    // Read before every line: once set, the file is given up and its target deleted. A signal
    // handler may set it, so it is a lock-free atomic. May be null.
    const std::atomic<bool>* Stop = nullptr;
};

// A format's converter with its settings and option values already bound.
using FileConverter = std::function<ConvertResult(const ConvertJob&)>;

// Converts one line. Appends the output line (without CR LF) to `out`, which the loop clears
// before each call; returns false when the line is bad, leaving in `out` its reason or nothing. The
// input view is valid during the call.
using LineFunction = std::function<bool(std::string_view line, std::string& out)>;

// ---------------------------------------------------------------------------------------------
// The three steps.

// Two open files of one converter call, from PrepareFiles to FinishFiles.
struct ConverterFiles {
    const FileAccess* Files = nullptr;
    std::filesystem::path SourcePath;
    std::filesystem::path TargetPath;
    std::filesystem::path TemporaryPath;  // where the target is written until it is complete
    std::unique_ptr<ByteSource> Source;
    std::unique_ptr<ByteSink> Target;
    std::uint64_t SourceBytes = 0;  // 0 when unknown
};

// State of the line loop: the line flag, the line counter and how the loop ended.
struct LineLoopState {
    bool LineOk = true;           // false after a bad line
    std::uint64_t LineCount = 0;  // lines read; the bad line's number when LineOk is false
    bool LineTooLong = false;     // the bad line was too long to hold
    std::string Reason;           // why the bad line was bad, where the converter tells
    bool ReadFailed = false;
    bool WriteFailed = false;
    bool Stopped = false;  // the stop flag ended the loop
    std::uint64_t BytesRead = 0;
};

// Opens the source, creates the target under its temporary name and checks that twice the
// source's size fits on the drive. A target name that is taken already is refused. On failure
// gives FileFailed with one of the three file-level messages and leaves no file behind.
ConverterFiles PrepareFiles(const ConvertJob& job, ConvertResult& result);

// Reads, converts and writes line by line until the end of the source, the first bad line or
// the stop flag. A bad line is not written.
LineLoopState RunLineLoop(ByteSource& source, ByteSink& target, const LineFunction& convertLine,
                          std::uint64_t sourceBytes = 0, const ProgressCallback& progress = {},
                          const std::atomic<bool>* stop = nullptr, const LineOptions& options = {});

// The message of the bad line that ended a loop: `LineError`, with the reason when it was too long.
std::string BadLineMessage(const LineLoopState& loop);

// The one place a loop becomes an outcome: Stopped, BadLine (`LineError` and the line's number)
// or FileFailed for a read or write failure (with its cause); returns false
// when the loop ended normally. `sourceName` and `targetName` name the two ends in causes.
bool LoopFailure(const LineLoopState& loop, const ByteSource& source,
                 const std::filesystem::path& sourceName, const ByteSink& target,
                 const std::filesystem::path& targetName, ConvertResult& result);

// Closes both files; the target gets its own name only when every line was converted and
// written, reached the disk, and the name is still free; otherwise its temporary file is deleted.
// A source whose size changed while it was read (cut short or grown by another program) is a read
// failure, so that no line is lost unnoticed.
void FinishFiles(ConverterFiles& files, const LineLoopState& loop, ConvertResult& result);

// PrepareFiles, the line loop and FinishFiles: the whole body of a line-by-line converter.
ConvertResult ConvertFileLines(const ConvertJob& job, const LineFunction& convertLine,
                               const LineOptions& options = {});

}  // namespace common
