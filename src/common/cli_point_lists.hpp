#pragma once
// The point-list choices of the command-line tools, beyond the batch screen's behaviour:
//
//   --skip-bad-lines   a bad line is left out and told on stderr with its number and reason; the
//                      rest of the list is converted and the command exits 1 at the end
//   --comments         lines beginning with "#" and blank lines are copied unchanged
//   --skip-lines N     the first N lines of each list (a header) are copied unchanged
//
// Without them a list is converted as the batch screen converts it, except that a bad line's
// message carries its reason ("Ошибка в строке 12: широта 95 вне диапазона -90..90").

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/cli_convert.hpp"
#include "common/converter.hpp"

namespace common {

struct PointListChoices {
    bool SkipBadLines = false;
    bool Comments = false;
    std::uint64_t SkipLines = 0;
};

// The flags and the value option above, for a command's lists of names.
inline constexpr std::string_view kSkipLinesOption = "--skip-lines";
inline constexpr std::array<std::string_view, 2> kPointListFlags = {"--skip-bad-lines",
                                                                    "--comments"};

// Reads the choices from a command's arguments; the message of a bad --skip-lines value, else
// empty.
std::string ReadPointListChoices(const CommandArguments& arguments, PointListChoices& choices);

// Bad lines left out by --skip-bad-lines, counted over a whole command.
struct SkippedLines {
    std::uint64_t Count = 0;
};

// A point-list converter with the choices: `lines` and `options` are the format's line function
// and line options. Bad lines skipped are written to `err` as "<file>: Ошибка в строке N: reason"
// and counted in `skipped`.
FileConverter PointListConverter(LineFunction lines, LineOptions options,
                                 const PointListChoices& choices, std::ostream& err,
                                 std::shared_ptr<SkippedLines> skipped);

// Streams stdin to stdout through a point-list line function with the choices and returns the
// exit code: 1 also when lines were skipped.
int StreamPointList(const LineFunction& lines, LineOptions options, const PointListChoices& choices,
                    const ConvertConsole& console);

// The exit code of a batch run with skipped lines: 1 instead of 0 when any were skipped.
int WithSkippedLines(int exitCode, const SkippedLines& skipped);

// The lines of --help that describe the choices.
std::string_view PointListChoicesHelp();

}  // namespace common
