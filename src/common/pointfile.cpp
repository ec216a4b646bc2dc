// Point-list lines and the opening, line-loop and closing steps shared by every converter.

#include "common/pointfile.hpp"

#include <algorithm>
#include <cstring>

#include "common/text.hpp"

namespace common {

std::string LineError(std::uint64_t lineNumber) {
    return "Ошибка в строке " + std::to_string(lineNumber);
}

// ---------------------------------------------------------------------------------------------
// ReadPointLine

namespace {

// The field from `position` to the next comma or the end; `position` moves past the comma.
// `hadComma` tells whether a comma ended the field.
std::string_view NextField(std::string_view line, std::size_t& position, bool& hadComma) {
    const std::size_t comma = line.find(',', position);
    hadComma = comma != std::string_view::npos;
    const std::size_t end = hadComma ? comma : line.size();
    const std::string_view field = line.substr(position, end - position);
    position = hadComma ? comma + 1 : line.size();
    return field;
}

// A coordinate field that a comma must follow.
double CoordinateField(std::string_view line, std::size_t& position, bool& ok) {
    bool hadComma = false;
    const double value = ParseSignedReal(NextField(line, position, hadComma), ok);
    if (!hadComma) ok = false;
    return value;
}

}  // namespace

PointLine ReadPointLine(std::string_view line, bool& ok) {
    PointLine point;
    std::size_t position = 0;
    bool hadComma = false;
    point.Name = NextField(line, position, hadComma);
    if (!hadComma) {
        ok = false;
        return point;
    }
    point.First = CoordinateField(line, position, ok);
    if (ok) point.Second = CoordinateField(line, position, ok);
    if (!ok) return point;
    const std::size_t heightStart = position;
    const std::size_t comma = line.find(',', heightStart);
    const std::size_t heightEnd = comma == std::string_view::npos ? line.size() : comma;
    point.Height = ParseSignedReal(line.substr(heightStart, heightEnd - heightStart), ok);
    point.Tail = line.substr(heightEnd);
    return point;
}

// ---------------------------------------------------------------------------------------------
// LineReader

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

// ---------------------------------------------------------------------------------------------
// The three steps

ConverterFiles PrepareFiles(const ConvertJob& job, ConvertResult& result) {
    result.ok = true;
    result.message.clear();
    ConverterFiles files;
    files.Files = job.Files != nullptr ? job.Files : &RealFiles();
    files.TargetPath = job.Target;
    const FileAccess& access = *files.Files;

    files.Source = access.OpenSource(job.Source);
    if (!files.Source) {
        result.ok = false;
        result.message = kCannotOpenSource;
        return files;
    }
    // The target must never be the source: a source is not opened for writing.
    if (!access.SameFile(job.Source, job.Target)) files.Target = access.CreateTarget(job.Target);
    if (!files.Target) {
        result.ok = false;
        result.message = kCannotCreateTarget;
        return files;
    }
    files.SourceBytes = access.FileSize(job.Source).value_or(0);
    // Unknown free space is not a refusal: a full disk is still caught by the checked writes.
    const std::optional<std::uintmax_t> freeBytes = access.FreeSpace(job.Target.parent_path());
    if (freeBytes && files.SourceBytes > *freeBytes / 2) {
        result.ok = false;
        result.message = kNotEnoughSpace;
        files.Target->Close();
        files.Target.reset();
        access.Remove(job.Target);
    }
    return files;
}

namespace {

// Writes what replaces the head of a long ordinary line, then its rest piece by piece.
void CopyRestOfLine(LineReader& reader, LineWriter& writer, std::string_view head,
                    LineLoopState& state) {
    bool written = writer.WriteBytes(head);
    std::string_view piece;
    for (LineReader::Piece kind = LineReader::Piece::More;
         written && kind == LineReader::Piece::More;) {
        kind = reader.NextPiece(piece);
        if (kind == LineReader::Piece::ReadFailed) {
            state.ReadFailed = true;
            return;
        }
        written = writer.WriteBytes(piece);
    }
    if (!written || !writer.WriteBytes("\r\n")) state.WriteFailed = true;
}

}  // namespace

LineLoopState RunLineLoop(ByteSource& source, ByteSink& target, const LineFunction& convertLine,
                          std::uint64_t sourceBytes, const ProgressCallback& progress,
                          const LineOptions& options) {
    LineLoopState state;
    LineReader reader(source, std::size_t{1} << 20, options.LoneCrEndsLine, options.MaxLineBytes);
    LineWriter writer(target);
    if (progress) {
        reader.OnRefill([&](std::uint64_t bytes) {
            progress(FileProgress{bytes, sourceBytes, state.LineCount});
        });
    }
    std::string out;
    std::string_view line;
    for (;;) {
        const LineReader::Status status = reader.Next(line);
        if (status == LineReader::Status::End) break;
        if (status == LineReader::Status::ReadFailed) {
            state.ReadFailed = true;
            break;
        }
        ++state.LineCount;
        out.clear();
        if (status == LineReader::Status::TooLong) {
            if (!options.LongLineHead || !options.LongLineHead(line, out)) {
                state.LineOk = false;
                state.LineTooLong = true;
                break;
            }
            CopyRestOfLine(reader, writer, out, state);
            if (state.ReadFailed || state.WriteFailed) break;
            continue;
        }
        if (!convertLine(line, out)) {
            state.LineOk = false;
            break;
        }
        if (!writer.WriteLine(out)) {
            state.WriteFailed = true;
            break;
        }
    }
    if (!writer.Flush()) state.WriteFailed = true;
    state.BytesRead = reader.BytesRead();
    if (progress) progress(FileProgress{reader.BytesRead(), sourceBytes, state.LineCount});
    return state;
}

std::string BadLineMessage(const LineLoopState& loop) {
    std::string message = LineError(loop.LineCount);
    if (loop.LineTooLong) {
        message += ": ";
        message += kLineTooLong;
    }
    return message;
}

void FinishFiles(ConverterFiles& files, const LineLoopState& loop, ConvertResult& result) {
    bool closed = true;
    if (files.Target) {
        closed = files.Target->Close();
        files.Target.reset();
    }
    if (!loop.LineOk) {
        result.message = BadLineMessage(loop);
    } else if (loop.ReadFailed) {
        result.ok = false;
        result.message = kCannotReadSource;
    } else if (loop.WriteFailed || !closed) {
        result.ok = false;
        result.message = kCannotWriteTarget;
    } else if (files.SourceBytes != 0 && loop.BytesRead != files.SourceBytes) {
        result.ok = false;  // the whole source was read, but it was not the file sized at opening
        result.message = kCannotReadSource;
    }
    if (!result.message.empty() && files.Files != nullptr) files.Files->Remove(files.TargetPath);
    files.Source.reset();
}

ConvertResult ConvertFileLines(const ConvertJob& job, const LineFunction& convertLine,
                               const LineOptions& options) {
    ConvertResult result;
    ConverterFiles files = PrepareFiles(job, result);
    if (!result.ok) return result;
    const LineLoopState loop = RunLineLoop(*files.Source, *files.Target, convertLine,
                                           files.SourceBytes, job.Progress, options);
    FinishFiles(files, loop, result);
    return result;
}

}  // namespace common
