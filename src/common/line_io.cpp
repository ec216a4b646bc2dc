// LineReader and LineWriter.

#include "common/line_io.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "common/text.hpp"

namespace common {

LineOptions PointListLineOptions() {
    LineOptions options;
    options.ReasonInOutput = true;
    return options;
}

std::string_view TakeByteOrderMark(std::string_view line, std::string& out) {
    if (!line.starts_with(kByteOrderMark)) return line;
    out.append(kByteOrderMark);
    return line.substr(kByteOrderMark.size());
}

LineReader::LineReader(ByteSource& source, std::size_t bufferBytes, bool loneCrEndsLine,
                       std::size_t maxLineBytes)
    : source_(source),
      buffer_(std::max<std::size_t>(bufferBytes, 1)),
      loneCrEndsLine_(loneCrEndsLine),
      maxLineBytes_(std::max<std::size_t>(maxLineBytes, 1)) {}

bool LineReader::Refill() {
    if (atEnd_ || failed_) return false;
    const std::ptrdiff_t count = source_.Read(buffer_.data(), buffer_.size());
    if (count < 0 || static_cast<std::size_t>(count) > buffer_.size()) {
        failed_ = true;
        return false;
    }
    if (count == 0) {
        atEnd_ = true;
        return false;
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(count);
    nextCrKnown_ = false;
    bytesRead_ += end_;
    if (onRefill_) onRefill_(bytesRead_);
    return true;
}

namespace {
std::string_view WithoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}
}  // namespace

// A line that ended at a lone CR owns the LF right after it, also across a refill.
bool LineReader::SkipLfAfterCr() {
    if (!skipLf_) return true;
    if (begin_ == end_ && !Refill()) return !failed_;
    skipLf_ = false;
    if (buffer_[begin_] == '\n') ++begin_;
    return true;
}

std::size_t LineReader::LineLength(bool& found) {
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const void* lf = std::memchr(start, '\n', available);
    std::size_t length =
        lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : available;
    if (loneCrEndsLine_) {
        // The next CR is looked up once per buffer position, so that a file without CRs is not
        // searched to the end of the buffer for every line.
        if (!nextCrKnown_ || nextCr_ < begin_) {
            const void* cr = std::memchr(start, '\r', available);
            nextCr_ = cr != nullptr
                          ? static_cast<std::size_t>(static_cast<const char*>(cr) - buffer_.data())
                          : end_;
            nextCrKnown_ = true;
        }
        length = std::min(length, nextCr_ - begin_);
    }
    found = length < available;
    return length;
}

std::string_view LineReader::EndLine(std::size_t length, std::string_view line) {
    const bool atCr = buffer_[begin_ + length] == '\r';
    begin_ += length + 1;
    if (atCr) {
        skipLf_ = true;
        return line;
    }
    return loneCrEndsLine_ ? line : WithoutCr(line);
}

LineReader::Status LineReader::Next(std::string_view& line) {
    carry_.clear();
    inLongLine_ = false;
    heldCr_ = false;
    bool spansRefill = false;
    if (!SkipLfAfterCr()) return Status::ReadFailed;
    for (;;) {
        if (begin_ == end_ && !Refill()) {
            if (failed_) return Status::ReadFailed;
            if (!spansRefill) return Status::End;
            line = loneCrEndsLine_ ? std::string_view(carry_) : WithoutCr(carry_);
            return Status::Line;  // a last line without a line end
        }
        const char* start = buffer_.data() + begin_;
        bool found = false;
        const std::size_t length = LineLength(found);
        // The CR of a CR LF is not part of the line's length.
        const bool crBeforeLf =
            found && !loneCrEndsLine_ &&
            (length > 0 ? start[length - 1] == '\r' : !carry_.empty() && carry_.back() == '\r');
        const std::size_t lineBytes = carry_.size() + length - (crBeforeLf ? 1 : 0);
        if (found && !spansRefill && lineBytes <= maxLineBytes_) {
            line = EndLine(length, {start, length});
            return Status::Line;
        }
        if (lineBytes > maxLineBytes_) {
            if (!found && !loneCrEndsLine_ && lineBytes == maxLineBytes_ + 1 &&
                start[length - 1] == '\r') {
                carry_.append(start, length);  // the CR may be that of a CR LF in the next refill
                spansRefill = true;
                begin_ = end_;
                continue;
            }
            if (carry_.size() < maxLineBytes_) {
                const std::size_t taken = maxLineBytes_ - carry_.size();
                carry_.append(start, taken);
                begin_ += taken;
            }
            inLongLine_ = true;
            if (!loneCrEndsLine_ && carry_.back() == '\r') {
                carry_.pop_back();  // it may be the CR of a CR LF
                heldCr_ = true;
            }
            line = carry_;
            return Status::TooLong;
        }
        if (found) {
            carry_.append(start, length);
            line = EndLine(length, carry_);
            return Status::Line;
        }
        carry_.append(start, length);
        spansRefill = true;
        begin_ = end_;
    }
}

LineReader::Piece LineReader::NextPiece(std::string_view& piece) {
    piece = {};
    if (!inLongLine_) return Piece::Last;
    static constexpr std::string_view kCr = "\r";
    for (;;) {
        if (begin_ == end_ && !Refill()) {
            if (failed_) return Piece::ReadFailed;
            inLongLine_ = false;  // the last line of the file; a CR at its end is dropped
            return Piece::Last;
        }
        const char* start = buffer_.data() + begin_;
        bool found = false;
        const std::size_t length = LineLength(found);
        if (heldCr_) {
            heldCr_ = false;
            if (!(found && length == 0 && buffer_[begin_] == '\n')) {
                piece = kCr;  // not the CR of CR LF: a byte of the line
                return Piece::More;
            }
        }
        if (found) {
            piece = EndLine(length, {start, length});
            inLongLine_ = false;
            return Piece::Last;
        }
        begin_ = end_;
        piece = std::string_view(start, length);
        if (!loneCrEndsLine_ && piece.back() == '\r') {
            piece.remove_suffix(1);
            heldCr_ = true;
        }
        if (!piece.empty()) return Piece::More;
    }
}

// ---------------------------------------------------------------------------------------------
// LineWriter

LineWriter::LineWriter(ByteSink& sink, std::size_t bufferBytes)
    : sink_(sink), limit_(std::max<std::size_t>(bufferBytes, 2)) {
    buffer_.reserve(limit_);
}

bool LineWriter::Flush() {
    if (failed_) return false;
    if (!buffer_.empty() && !sink_.Write(buffer_.data(), buffer_.size())) failed_ = true;
    buffer_.clear();
    return !failed_;
}

bool LineWriter::WriteBytes(std::string_view bytes) {
    if (failed_) return false;
    if (buffer_.size() + bytes.size() > limit_ && !Flush()) return false;
    if (bytes.size() > limit_) {
        if (!sink_.Write(bytes.data(), bytes.size())) failed_ = true;
        return !failed_;
    }
    buffer_.append(bytes);
    return true;
}

bool LineWriter::WriteLine(std::string_view line) {
    if (failed_) return false;
    const std::size_t needed = line.size() + 2;
    if (buffer_.size() + needed > limit_ && !Flush()) return false;
    if (needed > limit_) {
        // A line longer than the buffer goes to the sink at once.
        if (!sink_.Write(line.data(), line.size()) || !sink_.Write("\r\n", 2)) failed_ = true;
        return !failed_;
    }
    buffer_.append(line);
    buffer_.append("\r\n", 2);
    return true;
}

}  // namespace common
