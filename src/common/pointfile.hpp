#pragma once
// The point-list line and the three steps every batch converter of both programs shares: opening
// the source and creating the target (`PrepareFiles`), the line loop, and closing (`FinishFiles`).
//
// Files are read in binary with a large buffer, one line in memory at a time: lines are split at
// LF, one CR before the LF is dropped, and a last line without LF is a line. Every output line is
// written with CR LF. A source is never opened for writing; every write and the final close are
// checked.
//
// A target is written under a hidden temporary name beside it (".name.part-XXXXXX") and gets its
// own name only after its last write reached the disk; a name that is taken is never replaced.
// A failure, a bad line or a stop deletes the temporary file, so no partial file ever carries a
// target's name, whatever moment a run ends at.
//
// File access goes through `FileAccess` so that tests can put a failing disk or a full drive in
// place of the real one. Nothing here throws.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace common {

// ---------------------------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------------------------
// The point-list line: name, two coordinates, height, optional tail, comma-separated.

struct PointLine {
    std::string_view Name;  // any bytes except a comma, possibly empty
    double First = 0.0;     // B (degrees) or x (metres)
    double Second = 0.0;    // L (degrees) or y (metres)
    double Height = 0.0;    // H (metres), required
    std::string_view Tail;  // from the comma after the height to the end, or empty
};

// Splits and parses one line (without its line end). Name and Tail view `line`, so they are
// valid while `line` is. Clears `ok` when the line is empty, lacks a required comma or has a
// numeric field that `ParseSignedReal` refuses.
PointLine ReadPointLine(std::string_view line, bool& ok);

// ---------------------------------------------------------------------------------------------
// File access.

// Bytes of a source. Read returns the count read (0 at the end) or -1 when reading fails.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // Why the last Read failed; empty when the reason is unknown.
    virtual std::error_code Error() const { return {}; }
};

// Bytes of a target. Write returns false when the bytes did not reach the file; Close puts
// everything on the disk and closes, false when that failed. A sink destroyed without Close is
// abandoned: closed, with no promise about its bytes.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Close() = 0;
    // Why the last Write or Close failed; empty when the reason is unknown.
    virtual std::error_code Error() const { return {}; }
};

// The file system as the converters and the batch run see it. `RealFiles()` is the real one.
// Failing operations say why through `error` (an errno value, or `FileError`).
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // nullptr when the file cannot be opened for reading or is not a regular file: a folder, a
    // device or a pipe would block the run or never end.
    virtual std::unique_ptr<ByteSource> OpenSource(const std::filesystem::path& path,
                                                   std::error_code& error) const = 0;
    // Creates a file that does not exist yet; never opens, truncates or follows an entry that
    // has the name already (the error is then `std::errc::file_exists`).
    virtual std::unique_ptr<ByteSink> CreateNew(const std::filesystem::path& path,
                                                std::error_code& error) const = 0;
    // Gives the file `from` the name `to`; fails and changes nothing when `to` exists.
    virtual bool RenameNew(const std::filesystem::path& from, const std::filesystem::path& to,
                           std::error_code& error) const = 0;
    // True when any entry has this name, a dangling symbolic link included.
    virtual bool Exists(const std::filesystem::path& path) const = 0;
    // Size of a file in bytes; empty when unknown.
    virtual std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) const = 0;
    // Free bytes of the drive holding `folder`; empty when unknown.
    virtual std::optional<std::uintmax_t> FreeSpace(const std::filesystem::path& folder) const = 0;
    // Removes a file (never a folder).
    virtual bool Remove(const std::filesystem::path& path) const = 0;
    // Creates one folder; false when it cannot be created, also when it exists already.
    virtual bool CreateFolder(const std::filesystem::path& path, std::error_code& error) const = 0;
    // Removes a folder only while it is empty.
    virtual bool RemoveEmptyFolder(const std::filesystem::path& path) const = 0;
};

const FileAccess& RealFiles();

// Reasons of the file layer that have no errno value.
enum class FileError {
    NotRegularFile = 1,  // a folder, a device or a pipe given as a source
    SourceChanged,       // the source changed its size while it was read
    NoFreeName,          // no temporary name was free beside the target
};
std::error_code MakeError(FileError error);

// A path as UTF-8 text for messages (on POSIX the bytes of the name, unchanged).
std::string PathText(const std::filesystem::path& path);

// "path" or "path: reason", the way a terminal names the cause of a failure.
std::string FileCause(const std::filesystem::path& path, std::error_code error);

// The hidden name a target is written under: "." + its name + ".part-" + six characters from
// `tag`, in the target's folder. Long names are shortened so that the result is a valid name.
std::filesystem::path TemporaryTargetName(const std::filesystem::path& target, std::uint32_t tag);

// ---------------------------------------------------------------------------------------------
// Reading lines and writing CR LF lines.

// Longest line held in memory. A longer line is a bad line (its converter reports `LineError`),
// so that a file without line breaks cannot exhaust memory; a map converter copies a longer line
// that carries no coordinates piece by piece (see LineOptions).
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;
// The reason added to the message of a bad line that is too long to hold.
inline constexpr std::string_view kLineTooLong = "строка длиннее 64 МБ";

// A UTF-8 byte-order mark, which editors put before the first line of a text file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Appends a byte-order mark at the start of `line` to `out` and returns the line after it, so
// that the mark stays in the output and does not hide what the line begins with.
std::string_view TakeByteOrderMark(std::string_view line, std::string& out);

// How a converter's source is cut into lines.
struct LineOptions {
    // LF and CR LF end a line. Map files also end one at a lone CR; a point list keeps a lone CR
    // as a byte of its line.
    bool LoneCrEndsLine = false;
    std::size_t MaxLineBytes = kMaxLineBytes;
    // For a line longer than MaxLineBytes, called with its first MaxLineBytes bytes: appends what
    // is written in their place to `out` and returns true when the line carries no coordinates,
    // so that its rest is copied as it is read. False, or no function, makes it a bad line.
    std::function<bool(std::string_view head, std::string& out)> LongLineHead;
    // The line function leaves the reason of a bad line in `out` ("широта 95 вне диапазона
    // -90..90"); without this, what it left there is dropped.
    bool ReasonInOutput = false;
    // When set, a bad line (not one too long to hold) is reported here with its number and reason,
    // left out of the target, and the loop goes on.
    std::function<void(std::uint64_t lineNumber, std::string_view reason)> OnBadLine;
};

// The options of a point-list converter: its line functions give reasons.
LineOptions PointListLineOptions();

class LineReader {
  public:
    explicit LineReader(ByteSource& source, std::size_t bufferBytes = std::size_t{1} << 20,
                        bool loneCrEndsLine = false, std::size_t maxLineBytes = kMaxLineBytes);

    enum class Status { Line, End, TooLong, ReadFailed };
    // The next line without its line end (LF with one CR before it dropped; or a lone CR when
    // lone CRs end lines). TooLong: `line` holds the first bytes of a line longer than the
    // limit, and NextPiece gives the rest. The view stays valid until the next call.
    Status Next(std::string_view& line);

    enum class Piece { More, Last, ReadFailed };
    // After TooLong: the next piece of the same line; Last when the line ends with it.
    Piece NextPiece(std::string_view& piece);

    std::uint64_t BytesRead() const { return bytesRead_; }
    // Called after each refill of the buffer with the bytes read so far.
    void OnRefill(std::function<void(std::uint64_t)> callback) { onRefill_ = std::move(callback); }

  private:
    bool Refill();
    bool SkipLfAfterCr();
    // Length of the line from begin_ up to its end in the buffer, and whether one was found.
    std::size_t LineLength(bool& found);
    // Moves past the line end at begin_ + length and gives `line` without a CR before an LF.
    std::string_view EndLine(std::size_t length, std::string_view line);

    ByteSource& source_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    bool loneCrEndsLine_ = false;
    std::size_t maxLineBytes_ = kMaxLineBytes;
    std::size_t nextCr_ = 0;    // position of the next CR in the buffer, or end_
    bool nextCrKnown_ = false;  // nextCr_ is valid for this buffer
    bool skipLf_ = false;       // a line ended at a CR: an LF right after it belongs to it
    bool inLongLine_ = false;   // between TooLong and the last piece
    bool heldCr_ = false;       // a piece ended with a CR that may belong to CR LF
    std::string carry_;         // a line that spans refills
    std::uint64_t bytesRead_ = 0;
    std::function<void(std::uint64_t)> onRefill_;
};

class LineWriter {
  public:
    explicit LineWriter(ByteSink& sink, std::size_t bufferBytes = std::size_t{1} << 20);
    // Appends `line` and CR LF. Returns false once any write has failed.
    bool WriteLine(std::string_view line);
    // Appends bytes as they are (the pieces of a long line).
    bool WriteBytes(std::string_view bytes);
    // Hands what is buffered to the sink; false once any write has failed.
    bool Flush();
    bool Failed() const { return failed_; }

  private:
    ByteSink& sink_;
    std::string buffer_;
    std::size_t limit_;
    bool failed_ = false;
};

// ---------------------------------------------------------------------------------------------
// The converter contract.

// Outcome of one converter call:
//   ok false              - a file-level failure; the batch run stops after this file;
//   ok true, message set  - a bad line (`LineError`); the target has been deleted;
//   ok true, no message   - the target is complete;
//   Stopped               - the job's stop flag ended the file midway: ok false, no message, no
//                           target.
struct ConvertResult {
    bool Stopped = false;
    // For a terminal: the file and the system's reason of a file-level failure
    // ("/data/RECALC/a.txt: No space left on device"); the log shows only `message`.
    std::string Cause;
    bool ok = true;
    std::string message;
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
// sets `result.ok` false with one of the three file-level messages and leaves no file behind.
ConverterFiles PrepareFiles(const ConvertJob& job, ConvertResult& result);

// Reads, converts and writes line by line until the end of the source, the first bad line or
// the stop flag. A bad line is not written.
LineLoopState RunLineLoop(ByteSource& source, ByteSink& target, const LineFunction& convertLine,
                          std::uint64_t sourceBytes = 0, const ProgressCallback& progress = {},
                          const std::atomic<bool>* stop = nullptr, const LineOptions& options = {});

// The message of the bad line that ended a loop: `LineError`, with the reason when it was too long.
std::string BadLineMessage(const LineLoopState& loop);

// Sets the outcome of a loop that did not write the whole target: stopped, a bad line
// (`LineError`, ok true) or a read or write failure (ok false, with its cause). Returns false
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
