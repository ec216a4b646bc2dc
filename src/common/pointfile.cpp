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

LineReader::LineReader(ByteSource& source, std::size_t bufferBytes)
    : source_(source), buffer_(std::max<std::size_t>(bufferBytes, 1)) {}

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

LineReader::Status LineReader::Next(std::string_view& line) {
    carry_.clear();
    bool spansRefill = false;
    for (;;) {
        if (begin_ == end_ && !Refill()) {
            if (failed_) return Status::ReadFailed;
            if (!spansRefill) return Status::End;
            line = WithoutCr(carry_);  // a last line without LF
            return Status::Line;
        }
        const char* start = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const void* lf = std::memchr(start, '\n', available);
        const std::size_t length =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - start)
                          : available;
        if (lf != nullptr && !spansRefill) {
            begin_ += length + 1;
            line = WithoutCr(std::string_view(start, length));
            return Status::Line;
        }
        if (carry_.size() + length > kMaxLineBytes) return Status::TooLong;
        carry_.append(start, length);
        spansRefill = true;
        if (lf != nullptr) {
            begin_ += length + 1;
            line = WithoutCr(carry_);
            return Status::Line;
        }
        begin_ = end_;
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

LineLoopState RunLineLoop(ByteSource& source, ByteSink& target, const LineFunction& convertLine,
                          std::uint64_t sourceBytes, const ProgressCallback& progress) {
    LineLoopState state;
    LineReader reader(source);
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
        if (status == LineReader::Status::TooLong || !convertLine(line, out)) {
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

void FinishFiles(ConverterFiles& files, const LineLoopState& loop, ConvertResult& result) {
    bool closed = true;
    if (files.Target) {
        closed = files.Target->Close();
        files.Target.reset();
    }
    if (!loop.LineOk) {
        result.message = LineError(loop.LineCount);
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

ConvertResult ConvertFileLines(const ConvertJob& job, const LineFunction& convertLine) {
    ConvertResult result;
    ConverterFiles files = PrepareFiles(job, result);
    if (!result.ok) return result;
    const LineLoopState loop =
        RunLineLoop(*files.Source, *files.Target, convertLine, files.SourceBytes, job.Progress);
    FinishFiles(files, loop, result);
    return result;
}

}  // namespace common
