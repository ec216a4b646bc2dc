// The steps every line-by-line converter shares.

#include "common/converter.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "common/text.hpp"

namespace common {

std::string LineError(std::uint64_t lineNumber) {
    return "Ошибка в строке " + std::to_string(lineNumber);
}

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
    result.Outcome = ConvertOutcome::FileFailed;
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
        result.Outcome = ConvertOutcome::Stopped;
    } else if (!loop.LineOk) {
        result.Outcome = ConvertOutcome::BadLine;
        result.LineNumber = loop.LineCount;
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
    if (result.Outcome != ConvertOutcome::Created) return result;
    const LineLoopState loop = RunLineLoop(*files.Source, *files.Target, convertLine,
                                           files.SourceBytes, job.Progress, job.Stop, options);
    FinishFiles(files, loop, result);
    return result;
}

}  // namespace common
