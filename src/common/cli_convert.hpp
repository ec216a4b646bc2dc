#pragma once
// The format-independent part of the convert command of both command-line tools: the batch run
// over files given on the command line, and streaming from stdin to stdout.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/pointfile.hpp"

namespace common {

// The arguments a command's own options leave: option values in order, bare flags, files.
struct CommandArguments {
    std::vector<std::pair<std::string, std::string>> Values;  // option name, value
    std::vector<std::string> Flags;
    std::vector<std::string> Files;

    bool HasFlag(std::string_view flag) const;
    // --progress or --no-progress, the last one given; empty when neither was.
    std::optional<bool> Progress() const;
};

// Splits `args`: "-" and anything not starting with "--" is a file, as is everything after
// "--"; an option of `valueNames` takes "--name value" or "--name=value"; a flag of `flagNames`
// stands alone (--progress and --no-progress are always flags). Returns the message of an
// unknown option or a missing value, else empty.
std::string SplitCommandArguments(const std::vector<std::string>& args,
                                  std::span<const std::string_view> valueNames,
                                  std::span<const std::string_view> flagNames,
                                  CommandArguments& arguments);

// Streams `in` through the line function to `out` (CR LF line ends) and stops at the first bad
// line, whose good predecessors are already written. The result is a converter's: LineError with
// ok true for a bad line, ok false for a failing read or write.
ConvertResult StreamLines(std::istream& in, std::ostream& out, const LineFunction& lines,
                          const LineOptions& options = {});

// The files of the command line as absolute paths of one folder; a message when a name is not
// usable, is "-" among files, or lies in another folder than the first.
std::string ChooseFiles(const std::vector<std::string>& files,
                        std::vector<std::filesystem::path>& chosen);

// The batch run over the files: RECALC beside them, a progress line per file on `err` when
// `progress`, each warning of a created file on `err` after the file's name, then the log and the
// summary on `out`. Returns the exit code: 0 when every file was created, 1 when any was not, 2
// when the files cannot be chosen (message on `err`).
int RunBatchCommand(const std::vector<std::string>& files, const FileConverter& converter,
                    const std::string& summaryLine, bool progress, std::ostream& out,
                    std::ostream& err);

}  // namespace common
