#include "common/cli_point_lists.hpp"

#include <ostream>

#include "common/text.hpp"

namespace common {

namespace {

// The line function with header and comment lines copied; `lineNumber` counts the lines of one
// list.
LineFunction WithCopiedLines(LineFunction lines, const PointListChoices& choices,
                             std::shared_ptr<std::uint64_t> lineNumber) {
    if (!choices.Comments && choices.SkipLines == 0) return lines;
    return [lines = std::move(lines), comments = choices.Comments, header = choices.SkipLines,
            lineNumber](std::string_view line, std::string& out) {
        ++*lineNumber;
        if (*lineNumber <= header || (comments && (line.empty() || line.front() == '#'))) {
            out.append(line);
            return true;
        }
        return lines(line, out);
    };
}

std::string BadLineText(std::uint64_t number, std::string_view reason) {
    std::string text = LineError(number);
    if (!reason.empty()) {
        text += ": ";
        text += reason;
    }
    return text;
}

void AddReason(ConvertResult& result) {
    if (result.LineReason.empty()) return;
    result.message += ": ";
    result.message += result.LineReason;
}

}  // namespace

std::string ReadPointListChoices(const CommandArguments& arguments, PointListChoices& choices) {
    choices.SkipBadLines = arguments.HasFlag("--skip-bad-lines");
    choices.Comments = arguments.HasFlag("--comments");
    for (const auto& [name, value] : arguments.Values) {
        if (name != kSkipLinesOption) continue;
        bool ok = true;
        const std::int32_t count = ParseUnsignedInt(value, ok);
        if (!ok || count < 0) return "Недопустимое значение параметра " + name + ": " + value;
        choices.SkipLines = static_cast<std::uint64_t>(count);
    }
    return {};
}

FileConverter PointListConverter(LineFunction lines, LineOptions options,
                                 const PointListChoices& choices, std::ostream& err,
                                 std::shared_ptr<SkippedLines> skipped) {
    options.ReasonInOutput = true;
    return [lines = std::move(lines), options, choices, &err,
            skipped](const ConvertJob& job) mutable {
        const auto lineNumber = std::make_shared<std::uint64_t>(0);
        LineOptions own = options;
        if (choices.SkipBadLines) {
            own.OnBadLine = [&err, skipped, &job](std::uint64_t number, std::string_view reason) {
                ++skipped->Count;
                err << PathText(job.Source) << ": " << BadLineText(number, reason) << '\n';
            };
        }
        ConvertResult result =
            ConvertFileLines(job, WithCopiedLines(lines, choices, lineNumber), own);
        AddReason(result);
        return result;
    };
}

int StreamPointList(const LineFunction& lines, LineOptions options, const PointListChoices& choices,
                    const ConvertConsole& console) {
    options.ReasonInOutput = true;
    SkippedLines skipped;
    if (choices.SkipBadLines) {
        options.OnBadLine = [&](std::uint64_t number, std::string_view reason) {
            ++skipped.Count;
            console.Err << BadLineText(number, reason) << '\n';
        };
    }
    ConvertResult result =
        StreamLines(console.In, console.Stream,
                    WithCopiedLines(lines, choices, std::make_shared<std::uint64_t>(0)),
                    StopFlag(console), options);
    AddReason(result);
    return WithSkippedLines(StreamExitCode(result, console), skipped);
}

int WithSkippedLines(int exitCode, const SkippedLines& skipped) {
    return exitCode == 0 && skipped.Count > 0 ? 1 : exitCode;
}

std::string_view PointListChoicesHelp() {
    return "Списки точек (сверх экрана пересчёта файлов):\n"
           "  --skip-bad-lines          строки с ошибкой пропускаются (номер и причина - в\n"
           "                            stderr), остальные пересчитываются; код завершения 1\n"
           "  --comments                строки, начинающиеся с \"#\", и пустые строки\n"
           "                            переносятся без изменения\n"
           "  --skip-lines N            первые N строк (заголовок) переносятся без изменения\n";
}

}  // namespace common
