#pragma once
// The format-independent part of the convert command of both command-line tools: the batch run
// over files given on the command line, and streaming from stdin to stdout.
//
// Every failure is also written to stderr with the file and the system's reason after the
// program's words; a failed read of stdin or write of stdout is a failure; a stop signal ends the
// command with 128 + its number (stop_signals.hpp).

#include <atomic>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/converter.hpp"
#include "common/stop_signals.hpp"

namespace common {

// The program's standard input as a source, read unbuffered. A read that a signal interrupts
// ends with a failure once `stop` is set, else it is repeated.
std::unique_ptr<ByteSource> StandardInput(const std::atomic<bool>* stop);
// The program's standard output as a sink, written unbuffered; Close does not close it. A write
// that a signal interrupts ends with a failure once `stop` is set, else it is repeated.
std::unique_ptr<ByteSink> StandardOutput(const std::atomic<bool>* stop);

// What a convert command reads and writes: stdin and stdout as bytes for streaming, its texts on
// `Out` and `Err`, and the stop signals of the process (null: none are handled).
struct ConvertConsole {
    ByteSource& In;
    ByteSink& Stream;
    std::ostream& Out;
    std::ostream& Err;
    const StopSignals* Signals = nullptr;
};

// The stop flag of the console's signals, or null.
const std::atomic<bool>* StopFlag(const ConvertConsole& console);

// The arguments a command's own options leave: option values in order, bare flags, files.
struct CommandArguments {
    std::vector<std::pair<std::string, std::string>> Values;  // option name, value
    std::vector<std::string> Flags;
    std::vector<std::string> Files;

    bool HasFlag(std::string_view flag) const;
    // --progress or --no-progress, the last one given; empty when neither was.
    std::optional<bool> Progress() const;
};

// Splits `args`: "-", a negative number and anything not starting with "-" is a file, as is
// everything after "--"; an option of `valueNames` takes "--name value" or "--name=value" and may
// be given once; a flag of `flagNames` stands alone (--progress and --no-progress are always
// flags); "-h" is "--help" when that is a flag. Returns the message of an unknown option, a
// repeated one or a missing value, else empty.
std::string SplitCommandArguments(const std::vector<std::string>& args,
                                  std::span<const std::string_view> valueNames,
                                  std::span<const std::string_view> flagNames,
                                  CommandArguments& arguments);

// The end of a convert command's --help: where the results, the log and the errors go, the exit
// codes, and the given example lines (each already indented and ending in a line break).
std::string ConvertHelpTail(std::string_view examples);
// The same for a point command.
std::string PointHelpTail(std::string_view examples);

// Streams `in` (stdin) through the line function to `out` (stdout, CR LF line ends) and stops
// at the first bad line, whose good predecessors are already written, or at the stop flag. The
// result is a converter's: BadLine, FileFailed for a failing read or write, Stopped for the stop
// flag.
ConvertResult StreamLines(ByteSource& in, ByteSink& out, const LineFunction& lines,
                          const std::atomic<bool>* stop = nullptr, const LineOptions& options = {});

// The exit code of a stream: 0 when it converted, 1 after a bad line or a failing read or write,
// 128 + the signal after a stop; a failure is written to `console.Err` first.
int StreamExitCode(const ConvertResult& result, const ConvertConsole& console);

// The files of the command line as absolute paths of one folder; a message when a name is not
// usable, is "-" among files, or lies in another folder than the first.
std::string ChooseFiles(const std::vector<std::string>& files,
                        std::vector<std::filesystem::path>& chosen);

// The batch run over the files: RECALC beside them, a progress line per file on `err` when
// `progress`, each failure on `err` with its cause and each warning of a created file after the
// file's name, then the log and the summary on `out` (on `err` when a signal stopped the run).
// Returns the exit code: 0 when every file was created and the log written, 1 when any was not,
// 2 when the files cannot be chosen (message on `err`), 128 + the signal when one of `signals`
// arrived.
// With `output` (--output) the targets go into that folder instead of RECALC: it is created when
// missing, and a run whose target name is taken there is refused before any file is converted.
int RunBatchCommand(const std::vector<std::string>& files, const FileConverter& converter,
                    const std::string& summaryLine, bool progress, std::ostream& out,
                    std::ostream& err, const StopSignals* signals = nullptr,
                    const std::filesystem::path& output = {});

// The value of --output, the option every convert command has; a message when it is given with
// "-" (a stream has no files).
inline constexpr std::string_view kOutputOption = "--output";
std::string ReadOutputFolder(const CommandArguments& arguments, std::filesystem::path& output);

// Runs a convert command on the process's stdin, stdout and stderr with the stop signals
// handled while it runs.
using ConvertCommand = int (*)(std::span<const std::string> args, const ConvertConsole& console);
int RunWithStopSignals(ConvertCommand command, std::span<const std::string> args);

// While it lives, std::cout writes to stdout through a buffer that keeps the reason of a failed
// write. One instance, in main.
class CheckedStandardOutput {
  public:
    CheckedStandardOutput();
    ~CheckedStandardOutput();
    CheckedStandardOutput(const CheckedStandardOutput&) = delete;
    CheckedStandardOutput& operator=(const CheckedStandardOutput&) = delete;

    // The exit code of a command once stdout is flushed: when writing stdout failed, the failure
    // is written to `err` with its reason and a success becomes 1.
    int ExitCode(int code, std::ostream& err) const;

  private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    std::streambuf* earlier_;
};

}  // namespace common
