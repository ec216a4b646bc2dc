#pragma once
// Runs a converter over a whole file held in memory and checks the converter contract: the
// source is never changed, no target is left open, a target remains exactly when the file
// converted, a failure names its cause, and every output line ends with CR LF. A second run
// with a full disk or a failing read must fail without leaving a target.

#include <string>
#include <string_view>
#include <vector>

#include "common/converter.hpp"
#include "fuzz_check.hpp"
#include "memory_files.hpp"

namespace fuzz {

inline const std::string kSourcePath = "/maps/source.txt";
inline const std::string kTargetPath = "/maps/RECALC/source.txt";

// Lines as the file layer reads them: split at LF, one CR before it dropped, a last line
// without LF is a line.
inline std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const auto lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (lf == std::string_view::npos) {
            // A last line without LF loses one CR at its end too.
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back(line);
            break;
        }
        lines.push_back(line);
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

// Lines as a map file is read: LF, CR LF and a lone CR each end a line.
inline std::vector<std::string_view> SplitMapLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        lines.push_back(bytes.substr(0, end));
        if (end == std::string_view::npos) break;
        const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

inline std::vector<std::string_view> SplitSourceLines(std::string_view bytes, bool mapLines) {
    return mapLines ? SplitMapLines(bytes) : SplitLines(bytes);
}

// Output lines: each must end with CR LF.
inline std::vector<std::string_view> SplitTargetLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find("\r\n");
        FUZZ_CHECK(end != std::string_view::npos, "every output line ends with CR LF");
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 2);
    }
    return lines;
}

struct Faults {
    bool mapLines = false;  // the converter reads lines as map files are read
    std::size_t readChunk = 1 << 16;
    std::optional<std::size_t> writableBytes;
    std::optional<std::size_t> readableBytes;
};

struct Outcome {
    common::ConvertResult result;
    bool kept = false;
    std::string target;
    bool Converted() const { return result.Outcome == common::ConvertOutcome::Created; }
};

inline bool IsFileLevelMessage(std::string_view message) {
    return message == common::kCannotOpenSource || message == common::kCannotCreateTarget ||
           message == common::kNotEnoughSpace || message == common::kCannotReadSource ||
           message == common::kCannotWriteTarget;
}

inline Outcome RunConverter(const common::FileConverter& convert, std::string_view source,
                            const Faults& faults) {
    MemoryFiles files;
    files.readChunk = faults.readChunk;
    files.writableBytes = faults.writableBytes;
    files.readableBytes = faults.readableBytes;
    files.Put(kSourcePath, std::string(source));
    files.ProtectSource(kSourcePath);

    common::ConvertJob job;
    job.Source = kSourcePath;
    job.Target = kTargetPath;
    job.Files = &files;
    Outcome outcome;
    outcome.result = convert(job);

    FUZZ_CHECK(files.Get(kSourcePath) == source, "the source is unchanged");
    FUZZ_CHECK(files.openTargets == 0, "no target left open");
    outcome.kept = files.Exists(kTargetPath);
    FUZZ_CHECK(files.Count() == (outcome.kept ? 2u : 1u), "no other file written");
    FUZZ_CHECK(outcome.kept == outcome.Converted(), "a target remains exactly when converted");
    if (outcome.result.Outcome == common::ConvertOutcome::FileFailed) {
        FUZZ_CHECK(IsFileLevelMessage(outcome.result.message), "a failure names its cause");
    } else if (!outcome.result.message.empty()) {
        const std::string_view head = "Ошибка в строке ";
        FUZZ_CHECK(outcome.result.message.rfind(head, 0) == 0, "a bad line names its number");
        const std::string number = outcome.result.message.substr(head.size());
        const std::size_t n = std::stoull(number.substr(0, number.find_first_not_of("0123456789")));
        FUZZ_CHECK(n >= 1 && n <= SplitSourceLines(source, faults.mapLines).size(),
                   "the bad line exists");
    }
    if (outcome.kept) outcome.target = files.Get(kTargetPath);
    return outcome;
}

// The clean run, then the same file with the faults: a disk that fills up before the whole
// target is written, or a read that fails before the end, never gives a converted file.
inline Outcome RunWithFaults(const common::FileConverter& convert, std::string_view source,
                             const Faults& faults) {
    Faults clean;
    clean.mapLines = faults.mapLines;
    clean.readChunk = faults.readChunk;
    const Outcome outcome = RunConverter(convert, source, clean);
    if (faults.writableBytes || faults.readableBytes) {
        const Outcome faulty = RunConverter(convert, source, faults);
        const bool diskFull = faults.writableBytes && outcome.Converted() &&
                              *faults.writableBytes < outcome.target.size();
        // A file that did not convert cleanly may have written any part of its target.
        const bool maybeFull = faults.writableBytes && !outcome.Converted();
        const bool readFails = faults.readableBytes && *faults.readableBytes < source.size();
        if (diskFull && !readFails) {
            FUZZ_CHECK(faulty.result.Outcome == common::ConvertOutcome::FileFailed &&
                           faulty.result.message == common::kCannotWriteTarget,
                       "a full disk is a write failure");
        }
        if (diskFull || maybeFull || readFails) {
            FUZZ_CHECK(!faulty.Converted(), "a fault is never a converted file");
        } else {
            FUZZ_CHECK(faulty.result.Outcome == outcome.result.Outcome &&
                           faulty.result.message == outcome.result.message &&
                           faulty.target == outcome.target,
                       "faults that do not strike change nothing");
        }
    }
    if (outcome.Converted()) {
        FUZZ_CHECK(SplitTargetLines(outcome.target).size() ==
                       SplitSourceLines(source, faults.mapLines).size(),
                   "one output line per input line");
    }
    return outcome;
}

// The first bytes of a fuzz input choose the faults; the rest is the file.
inline Faults TakeFaults(std::string_view& input) {
    Faults faults;
    if (input.size() < 4) return faults;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(input[i]); };
    faults.readChunk = byte(0) == 0 ? (1 << 16) : byte(0);
    const std::size_t limit = byte(2) * 256u + byte(3);
    if (byte(1) & 1) faults.writableBytes = limit;
    if (byte(1) & 2) faults.readableBytes = limit;
    input.remove_prefix(4);
    return faults;
}

}  // namespace fuzz
