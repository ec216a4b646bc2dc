// The batch run and the stream of the convert commands, shared by both command-line tools.

#include "common/cli_convert.hpp"

#include <array>
#include <cmath>
#include <iostream>

#include "common/batch.hpp"
#include "common/cli_args.hpp"

namespace common {
namespace {

constexpr std::string_view kCannotWriteOutput = "Ошибка записи в стандартный вывод!";

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
        if (!onlyFiles && arg.size() > 1 && arg[0] == '-' && arg[1] != '-' &&
            !LooksLikeNegativeNumber(arg)) {
            // "-h" is help wherever --help is; any other short option is a mistake, not a file.
            if (arg != "-h" || !Contains(flagNames, "--help"))
                return "Неизвестный параметр: " + arg;
            arguments.Flags.emplace_back("--help");
        } else if (onlyFiles || arg == "-" || !arg.starts_with("--")) {
            arguments.Files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (Contains(flagNames, arg) || arg == "--progress" || arg == "--no-progress") {
            arguments.Flags.push_back(arg);
        } else {
            const std::size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            if (!Contains(valueNames, name)) return "Неизвестный параметр: " + arg;
            for (const auto& given : arguments.Values)
                if (given.first == name) return RepeatedOption(name);
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

std::string ConvertHelpTail(std::string_view examples) {
    return "\nРезультаты: файлы с теми же именами в новом подкаталоге RECALC каталога файлов\n"
           "(он не должен существовать); журнал и итог пересчёта - в stdout, ошибки - в stderr.\n"
           "\"-\" вместо файлов: поток stdin => stdout, ошибка - в stderr.\n"
           "--output КАТАЛОГ: результаты в этот каталог вместо RECALC (создаётся, если его нет;\n"
           "существующие файлы не перезаписываются: пересчёт тогда не начинается).\n"
           "Коды завершения: 0 все файлы созданы, 1 файл не создан (строка с ошибкой, ошибка\n"
           "чтения или записи), 2 неверный вызов или значения, 130, 143, 141 пересчёт остановлен\n"
           "сигналом SIGINT, SIGTERM, SIGPIPE.\n"
           "\nПримеры:\n" +
           std::string(examples);
}

std::string PointHelpTail(std::string_view examples) {
    return "Результат - в stdout, сообщения об ошибках - в stderr.\n"
           "Коды завершения: 0 успех, 1 ошибка расчёта или записи в stdout, 2 неверный вызов\n"
           "или значения.\n"
           "Примеры:\n" +
           std::string(examples);
}

ConvertResult StreamLines(ByteSource& in, ByteSink& out, const LineFunction& lines,
                          const std::atomic<bool>* stop, const LineOptions& options) {
    const LineLoopState loop = RunLineLoop(in, out, lines, 0, {}, stop, options);
    ConvertResult result;
    if (!LoopFailure(loop, in, "stdin", out, "stdout", result) && !out.Close()) {
        result.Outcome = ConvertOutcome::FileFailed;
        result.message = kCannotWriteTarget;
        result.Cause = FileCause("stdout", out.Error());
    }
    return result;
}

const std::atomic<bool>* StopFlag(const ConvertConsole& console) {
    return console.Signals != nullptr ? &console.Signals->Flag() : nullptr;
}

int StreamExitCode(const ConvertResult& result, const ConvertConsole& console) {
    if (console.Signals != nullptr && console.Signals->Signal() != 0) {
        console.Err.clear();  // a write the signal interrupted must not silence this one
        console.Err << kRunStopped << " (" << console.Signals->Description() << ")\n";
        return console.Signals->ExitCode();
    }
    if (result.Outcome == ConvertOutcome::Created) return 0;
    console.Err << (result.message.empty() ? std::string(kRunStopped) : result.message);
    if (!result.Cause.empty()) console.Err << " (" << result.Cause << ")";
    console.Err << '\n';
    return 1;
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

std::string ReadOutputFolder(const CommandArguments& arguments, std::filesystem::path& output) {
    for (const auto& [name, value] : arguments.Values) {
        if (name != kOutputOption) continue;
        if (value.empty()) return "Недопустимое значение параметра " + name + ": \"\"";
        if (arguments.Files.size() == 1 && arguments.Files.front() == "-")
            return "Параметр " + name + " не сочетается с \"-\"";
        output = value;
    }
    return {};
}

int RunBatchCommand(const std::vector<std::string>& files, const FileConverter& converter,
                    const std::string& summaryLine, bool progress, std::ostream& out,
                    std::ostream& err, const StopSignals* signals,
                    const std::filesystem::path& output) {
    std::vector<std::filesystem::path> chosen;
    if (const std::string problem = ChooseFiles(files, chosen); !problem.empty()) {
        err << problem << '\n';
        return 2;
    }
    const FileSelection selection = SelectFiles(chosen);
    if (!output.empty()) {
        // A folder of one's own may hold earlier results: none is ever replaced.
        for (const std::filesystem::path& name : selection.Names) {
            if (RealFiles().Exists(output / name)) {
                err << "Файл уже существует, пересчёт не начат: " << PathText(output / name)
                    << '\n';
                return 1;
            }
        }
    }
    bool runActive = false;
    BatchRun run(selection, converter, summaryLine, runActive);
    if (!output.empty()) run.OutputTo(output);
    if (signals != nullptr) run.StopOn(signals->Flag());
    ProgressLine line(err);
    const ProgressCallback update = [&](const FileProgress& p) { line.Update(p); };
    std::size_t reported = 0;
    const auto reportProblems = [&] {
        for (; reported < run.Problems().size(); ++reported)
            err << run.Problems()[reported] << '\n';
    };
    if (run.Start()) {
        while (run.HasNextFile()) {
            if (progress) line.Begin(run.NextFileNumber(), run.FileCount(), run.NextFileName());
            run.ConvertNextFile(progress ? update : ProgressCallback());
            if (progress) line.End();
            reportProblems();
            for (const std::string& warning : run.LastWarnings())
                err << PathText(run.LastFileName()) << ": " << warning << '\n';
        }
    }
    run.Finish();
    reportProblems();
    const int signalCode = signals != nullptr ? signals->ExitCode() : 0;
    if (signalCode != 0) {
        err.clear();  // a write the signal interrupted must not silence the rest
        if (run.StoppedInFile()) {
            err << kFileNotCreated << " (" << PathText(chosen[run.NextFileNumber() - 1]) << ": "
                << signals->Description() << ")\n";
        }
    }
    // Stopped by a signal, the summary goes where the user who sent it looks.
    std::ostream& logOut = signalCode != 0 ? err : out;
    for (const std::string& logLine : run.Log()) logOut << logLine << '\n';
    logOut.flush();
    if (signalCode != 0) return signalCode;
    return run.Ok() && run.Created() == run.FileCount() ? 0 : 1;
}

int RunWithStopSignals(ConvertCommand command, std::span<const std::string> args) {
    const StopSignals signals;
    const auto in = StandardInput(&signals.Flag());
    const auto stream = StandardOutput(&signals.Flag());
    return command(args, ConvertConsole{*in, *stream, std::cout, std::cerr, &signals});
}

// std::cout's bytes, buffered here and written to the descriptor; after the first failed write
// nothing more is written, so the sink keeps that write's reason.
class CheckedStandardOutput::Buffer final : public std::streambuf {
  public:
    Buffer() : sink_(StandardOutput(nullptr)) { Reset(); }
    bool Failed() const { return failed_; }
    std::error_code Error() const { return sink_->Error(); }

  protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }
    int sync() override { return Drain() ? 0 : -1; }

  private:
    bool Drain() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        if (size > 0 && !failed_ && !sink_->Write(pbase(), size)) failed_ = true;
        Reset();
        return !failed_;
    }
    void Reset() { setp(bytes_.data(), bytes_.data() + bytes_.size()); }

    std::unique_ptr<ByteSink> sink_;
    std::array<char, 1 << 14> bytes_{};
    bool failed_ = false;
};

CheckedStandardOutput::CheckedStandardOutput()
    : buffer_(std::make_unique<Buffer>()), earlier_(std::cout.rdbuf(buffer_.get())) {}

CheckedStandardOutput::~CheckedStandardOutput() {
    std::cout.flush();
    std::cout.rdbuf(earlier_);
}

int CheckedStandardOutput::ExitCode(int code, std::ostream& err) const {
    std::cout.flush();
    if (!buffer_->Failed() && !std::cout.fail()) return code;
    err << kCannotWriteOutput << " (" << FileCause("stdout", buffer_->Error()) << ")\n";
    return code == 0 ? 1 : code;
}

}  // namespace common
