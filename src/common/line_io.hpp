#pragma once
// Reading lines and writing CR LF lines. Files are read in binary with a large buffer, one line
// in memory at a time: lines are split at LF, one CR before the LF is dropped, and a last line
// without LF is a line. Every output line is written with CR LF.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/file_access.hpp"

namespace common {

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

}  // namespace common
