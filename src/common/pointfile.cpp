// Point-list lines and the opening, line-loop and closing steps shared by every converter.

#include "common/pointfile.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "common/text.hpp"

namespace common {

std::string LineError(std::uint64_t lineNumber) {
    return "Ошибка в строке " + std::to_string(lineNumber);
}

// ---------------------------------------------------------------------------------------------
// Names and causes

namespace {

class FileErrorCategory final : public std::error_category {
  public:
    const char* name() const noexcept override { return "files"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
            case FileError::NotRegularFile:
                return "не обычный файл (каталог, устройство или канал)";
            case FileError::SourceChanged:
                return "файл изменился во время чтения";
            case FileError::NoFreeName:
                return "нет свободного временного имени";
        }
        return "ошибка " + std::to_string(value);
    }
};

// Longest part of a target's name kept in its temporary name: with the dot and ".part-XXXXXX"
// it stays well under the 255 bytes a name may have.
constexpr std::size_t kTemporaryNameStem = 200;
constexpr std::size_t kTagCharacters = 6;

}  // namespace

std::error_code MakeError(FileError error) {
    static const FileErrorCategory category;
    return {static_cast<int>(error), category};
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string FileCause(const std::filesystem::path& path, std::error_code error) {
    std::string cause = PathText(path);
    if (error) cause += ": " + error.message();
    return cause;
}

std::filesystem::path TemporaryTargetName(const std::filesystem::path& target, std::uint32_t tag) {
    std::string stem = PathText(target.filename());
    if (stem.size() > kTemporaryNameStem) {
        std::size_t cut = kTemporaryNameStem;
        // Not inside a UTF-8 sequence: its continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    std::string name = "." + stem + ".part-";
    constexpr std::string_view digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (std::size_t i = 0; i < kTagCharacters; ++i) {
        name += digits[tag % digits.size()];
        tag /= static_cast<std::uint32_t>(digits.size());
    }
    const std::u8string utf8(name.begin(), name.end());
    return target.parent_path() / std::filesystem::path(utf8);
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

namespace {

// Tags of temporary names: different in every call, so that a taken name is followed by a free
// one. Unpredictability is not needed, the names are created exclusively.
std::uint32_t NextTemporaryTag() {
    static std::atomic<std::uint32_t> next{
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    return next.fetch_add(0x9E3779B9u, std::memory_order_relaxed);
}

std::unique_ptr<ByteSink> CreateTemporaryTarget(const FileAccess& access,
                                                const std::filesystem::path& target,
                                                std::filesystem::path& temporary,
                                                std::error_code& error) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = TemporaryTargetName(target, NextTemporaryTag());
        error.clear();
        std::unique_ptr<ByteSink> sink = access.CreateNew(temporary, error);
        if (sink || error != std::errc::file_exists) return sink;
    }
    error = MakeError(FileError::NoFreeName);
    return nullptr;
}

void FailFile(ConvertResult& result, std::string_view message, const std::filesystem::path& path,
              std::error_code error) {
    result.ok = false;
    result.message = message;
    result.Cause = FileCause(path, error);
}

}  // namespace

ConverterFiles PrepareFiles(const ConvertJob& job, ConvertResult& result) {
    result = ConvertResult();
    ConverterFiles files;
    files.Files = job.Files != nullptr ? job.Files : &RealFiles();
    files.SourcePath = job.Source;
    files.TargetPath = job.Target;
    const FileAccess& access = *files.Files;

    std::error_code error;
    files.Source = access.OpenSource(job.Source, error);
    if (!files.Source) {
        FailFile(result, kCannotOpenSource, job.Source, error);
        return files;
    }
    // A taken name is never replaced; this also keeps a source from being its own target.
    if (access.Exists(job.Target)) {
        FailFile(result, kCannotCreateTarget, job.Target,
                 std::make_error_code(std::errc::file_exists));
        return files;
    }
    files.Target = CreateTemporaryTarget(access, job.Target, files.TemporaryPath, error);
    if (!files.Target) {
        FailFile(result, kCannotCreateTarget, job.Target, error);
        return files;
    }
    files.SourceBytes = access.FileSize(job.Source).value_or(0);
    // Unknown free space is not a refusal: a full disk is still caught by the checked writes.
    const std::optional<std::uintmax_t> freeBytes = access.FreeSpace(job.Target.parent_path());
    if (freeBytes && files.SourceBytes > *freeBytes / 2) {
        FailFile(result, kNotEnoughSpace, job.Target.parent_path(),
                 std::make_error_code(std::errc::no_space_on_device));
        files.Target.reset();
        access.Remove(files.TemporaryPath);
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
                          const std::atomic<bool>* stop, const LineOptions& options) {
    LineLoopState state;
    LineReader reader(source, std::size_t{1} << 20, options.LoneCrEndsLine, options.MaxLineBytes);
    LineWriter writer(target);
    if (progress) {
        reader.OnRefill([&](std::uint64_t bytes) {
            progress(FileProgress{bytes, sourceBytes, state.LineCount});
        });
    }
    const auto stopped = [stop] {
        return stop != nullptr && stop->load(std::memory_order_relaxed);
    };
    std::string out;
    std::string_view line;
    for (;;) {
        if (stopped()) break;
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
            if (!options.ReasonInOutput) out.clear();
            if (options.OnBadLine) {
                options.OnBadLine(state.LineCount, out);
                continue;
            }
            state.LineOk = false;
            state.Reason = out;
            break;
        }
        if (!writer.WriteLine(out)) {
            state.WriteFailed = true;
            break;
        }
    }
    // A stop counts also when it cut a read or a write short.
    state.Stopped = stopped();
    if (!state.Stopped && !writer.Flush()) state.WriteFailed = true;
    state.BytesRead = reader.BytesRead();
    if (progress) progress(FileProgress{reader.BytesRead(), sourceBytes, state.LineCount});
    return state;
}

LineOptions PointListLineOptions() {
    LineOptions options;
    options.ReasonInOutput = true;
    return options;
}

std::string BadLineMessage(const LineLoopState& loop) {
    std::string message = LineError(loop.LineCount);
    if (loop.LineTooLong) {
        message += ": ";
        message += kLineTooLong;
    }
    return message;
}

bool LoopFailure(const LineLoopState& loop, const ByteSource& source,
                 const std::filesystem::path& sourceName, const ByteSink& target,
                 const std::filesystem::path& targetName, ConvertResult& result) {
    if (loop.Stopped) {
        result.ok = false;
        result.Stopped = true;
    } else if (!loop.LineOk) {
        result.message = BadLineMessage(loop);
        result.LineReason = loop.Reason;
    } else if (loop.ReadFailed) {
        FailFile(result, kCannotReadSource, sourceName, source.Error());
    } else if (loop.WriteFailed) {
        FailFile(result, kCannotWriteTarget, targetName, target.Error());
    } else {
        return false;
    }
    return true;
}

namespace {

// Closes the complete target and gives it its own name; false with the failure set otherwise.
bool KeepTarget(ConverterFiles& files, const LineLoopState& loop, ConvertResult& result) {
    std::error_code error;
    if (files.SourceBytes != 0 && loop.BytesRead != files.SourceBytes) {
        // The whole source was read, but it was not the file sized at opening.
        FailFile(result, kCannotReadSource, files.SourcePath, MakeError(FileError::SourceChanged));
    } else if (!files.Target->Close()) {
        FailFile(result, kCannotWriteTarget, files.TargetPath, files.Target->Error());
    } else if (!files.Files->RenameNew(files.TemporaryPath, files.TargetPath, error)) {
        FailFile(result, kCannotCreateTarget, files.TargetPath, error);
    } else {
        return true;
    }
    return false;
}

}  // namespace

void FinishFiles(ConverterFiles& files, const LineLoopState& loop, ConvertResult& result) {
    if (!files.Source || !files.Target || files.Files == nullptr) return;
    const bool kept = !LoopFailure(loop, *files.Source, files.SourcePath, *files.Target,
                                   files.TargetPath, result) &&
                      KeepTarget(files, loop, result);
    files.Target.reset();
    files.Source.reset();
    if (!kept) files.Files->Remove(files.TemporaryPath);
}

ConvertResult ConvertFileLines(const ConvertJob& job, const LineFunction& convertLine,
                               const LineOptions& options) {
    ConvertResult result;
    ConverterFiles files = PrepareFiles(job, result);
    if (!result.ok) return result;
    const LineLoopState loop = RunLineLoop(*files.Source, *files.Target, convertLine,
                                           files.SourceBytes, job.Progress, job.Stop, options);
    FinishFiles(files, loop, result);
    return result;
}

}  // namespace common
