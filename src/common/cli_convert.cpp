// The batch run and the stream of the convert commands, shared by both command-line tools.

#include "common/cli_convert.hpp"

#include <cmath>
#include <istream>
#include <ostream>

#include "common/batch.hpp"

namespace common {
namespace {

class StreamSource final : public ByteSource {
  public:
    explicit StreamSource(std::istream& in) : in_(in) {}
    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        if (in_.bad()) return -1;
        if (in_.eof()) return 0;
        in_.read(buffer, static_cast<std::streamsize>(size));
        if (in_.bad()) return -1;
        return static_cast<std::ptrdiff_t>(in_.gcount());
    }

  private:
    std::istream& in_;
};

class StreamSink final : public ByteSink {
  public:
    explicit StreamSink(std::ostream& out) : out_(out) {}
    bool Write(const char* data, std::size_t size) override {
        out_.write(data, static_cast<std::streamsize>(size));
        return !out_.fail();
    }
    bool Close() override { return !out_.flush().fail(); }

  private:
    std::ostream& out_;
};

// "[2/5] name 40%" on one terminal line while a file is converted.
class ProgressLine {
  public:
    explicit ProgressLine(std::ostream& err) : err_(err) {}
    void Begin(std::size_t number, std::size_t count, const std::filesystem::path& name) {
        // Appended piece by piece: "text" + std::to_string(...) trips a false -Wrestrict of GCC 12.
        prefix_.assign(1, '[');
        prefix_ += std::to_string(number);
        prefix_ += '/';
        prefix_ += std::to_string(count);
        prefix_ += "] ";
        prefix_ += PathText(name);
        percent_ = -1;
        Show(0);
    }
    void Update(const FileProgress& progress) {
        if (progress.BytesTotal == 0) return;
        const double share =
            static_cast<double>(progress.BytesDone) / static_cast<double>(progress.BytesTotal);
        Show(static_cast<int>(std::fmin(share, 1.0) * 100.0));
    }
    void End() { err_ << '\n' << std::flush; }

  private:
    void Show(int percent) {
        if (percent == percent_) return;
        percent_ = percent;
        err_ << '\r' << prefix_ << ' ' << percent << '%' << std::flush;
    }

    std::ostream& err_;
    std::string prefix_;
    int percent_ = -1;
};

bool Contains(std::span<const std::string_view> names, std::string_view name) {
    for (std::string_view candidate : names)
        if (candidate == name) return true;
    return false;
}

}  // namespace

bool CommandArguments::HasFlag(std::string_view flag) const {
    for (const std::string& given : Flags)
        if (given == flag) return true;
    return false;
}

std::optional<bool> CommandArguments::Progress() const {
    std::optional<bool> progress;
    for (const std::string& flag : Flags)
        if (flag == "--progress" || flag == "--no-progress") progress = flag == "--progress";
    return progress;
}

std::string SplitCommandArguments(const std::vector<std::string>& args,
                                  std::span<const std::string_view> valueNames,
                                  std::span<const std::string_view> flagNames,
                                  CommandArguments& arguments) {
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg == "-" || !arg.starts_with("--")) {
            arguments.Files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (Contains(flagNames, arg) || arg == "--progress" || arg == "--no-progress") {
            arguments.Flags.push_back(arg);
        } else {
            const std::size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            if (!Contains(valueNames, name)) return "Неизвестный параметр: " + arg;
            if (equals != std::string::npos)
                arguments.Values.emplace_back(name, arg.substr(equals + 1));
            else if (i + 1 < args.size())
                arguments.Values.emplace_back(name, args[++i]);
            else
                return "Нет значения параметра " + name;
        }
    }
    return {};
}

ConvertResult StreamLines(std::istream& in, std::ostream& out, const LineFunction& lines) {
    StreamSource source(in);
    StreamSink sink(out);
    const LineLoopState loop = RunLineLoop(source, sink, lines);
    const bool flushed = sink.Close();
    ConvertResult result;
    if (!loop.LineOk) {
        result.message = LineError(loop.LineCount);
    } else if (loop.ReadFailed) {
        result.ok = false;
        result.message = kCannotReadSource;
    } else if (loop.WriteFailed || !flushed) {
        result.ok = false;
        result.message = kCannotWriteTarget;
    }
    return result;
}

std::string ChooseFiles(const std::vector<std::string>& files,
                        std::vector<std::filesystem::path>& chosen) {
    for (const std::string& file : files) {
        if (file == "-") return "\"-\" нельзя сочетать с файлами";
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(file, error).lexically_normal();
        if (error || file.empty() || !path.has_filename()) return "Недопустимое имя файла: " + file;
        if (!chosen.empty() && path.parent_path() != chosen.front().parent_path())
            return "Все файлы должны находиться в одном каталоге";
        chosen.push_back(std::move(path));
    }
    return {};
}

int RunBatchCommand(const std::vector<std::string>& files, const FileConverter& converter,
                    const std::string& summaryLine, bool progress, std::ostream& out,
                    std::ostream& err) {
    std::vector<std::filesystem::path> chosen;
    if (const std::string problem = ChooseFiles(files, chosen); !problem.empty()) {
        err << problem << '\n';
        return 2;
    }
    bool runActive = false;
    BatchRun run(SelectFiles(chosen), converter, summaryLine, runActive);
    ProgressLine line(err);
    const ProgressCallback update = [&](const FileProgress& p) { line.Update(p); };
    if (run.Start()) {
        while (run.HasNextFile()) {
            if (progress) line.Begin(run.NextFileNumber(), run.FileCount(), run.NextFileName());
            run.ConvertNextFile(progress ? update : ProgressCallback());
            if (progress) line.End();
        }
    }
    run.Finish();
    for (const std::string& logLine : run.Log()) out << logLine << '\n';
    out.flush();
    return run.Ok() && run.Created() == run.FileCount() ? 0 : 1;
}

}  // namespace common
