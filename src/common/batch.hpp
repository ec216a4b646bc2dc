#pragma once
// The batch run of both programs: the chosen files of one folder are converted one after another
// into the subfolder RECALC beside them, by the converter of the chosen format. The run keeps
// the log lines, the counters and the summary; a window shows them, the command-line tool prints
// them.
//
// A window drives the run one file at a time so that it can process its events between files:
//
//     common::BatchRun run(selection, converter, summaryLine, runActive);
//     if (run.Start())
//         while (run.HasNextFile()) {
//             run.ConvertNextFile(progressCallback);
//             processPendingEvents();          // a click on "Прервать" clears runActive
//         }
//     run.Finish();                            // banner and summary (nothing after a failed Start)
//
// `runActive` is the caller's RunActive flag: Start sets it, clearing it is the abort signal
// (seen between files: the file being converted is finished first), Finish clears it. A stop
// flag given to StopOn ends the run in the middle of a file instead (the command-line tools set
// it on a signal); that file's target is deleted.
//
// Every target is complete or absent: converters write under a temporary name (converter.hpp).
// A run that created RECALC and leaves it empty removes it again, so that the next run is not
// refused by it.
//
// The format table of a program (list items, filters, `FormatHelp`, summary line, when "Выбрать"
// is enabled, which converter and options) is the program's own; this file holds only what both
// programs share.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/converter.hpp"

namespace common {

// ---------------------------------------------------------------------------------------------
// Texts of the batch screen and its log (UTF-8).

inline constexpr std::string_view kTargetFolderName = "RECALC";
inline constexpr std::string_view kManyFilesHint = "Выбор более 1000 файлов нежелателен!";
inline constexpr std::string_view kCannotCreateFolder = "Невозможно создать подкаталог \\RECALC !";
inline constexpr std::string_view kRunCancelled = "Пересчёт отменён.";
// The output folder the command-line tools were given cannot be made or is not a folder.
inline constexpr std::string_view kCannotCreateOutputFolder =
    "Невозможно создать каталог результатов !";
inline constexpr std::string_view kFileFailedPrefix = "Ошибка обработки - файл ";
inline constexpr std::string_view kRunStopped = "Пересчёт остановлен.";
inline constexpr std::string_view kFileNotCreated = "Файл не создан.";
// First line of the block of a created file whose converter left warnings.
inline constexpr std::string_view kFileWarningPrefix = "Предупреждение - файл ";
inline constexpr std::string_view kBannerFinished = "********** ПЕРЕСЧЁТ ЗАКОНЧЕН **********";
inline constexpr std::string_view kBannerStopped = "********* ПЕРЕСЧЁТ ОСТАНОВЛЕН *********";
inline constexpr std::string_view kProcessedLabel = "Обработано     : ";
inline constexpr std::string_view kCreatedLabel = "Создано           : ";
inline constexpr std::string_view kFailuresLabel = "Ошибок            : ";
inline constexpr std::string_view kFilesWord = " файлов";

// Most lines of a format's help text that the help box holds.
inline constexpr std::size_t kMaxHelpLines = 37;

// One entry of a program's format list.
struct BatchFormatInfo {
    std::string_view ListItem;           // text in the format list
    std::string_view Filter;             // open-dialog filter, "description|pattern"
    std::vector<std::string_view> Help;  // `FormatHelp`: the lines of the help box
    std::string_view CliName;            // the command-line tool's --format value
};

// ---------------------------------------------------------------------------------------------
// The file choice.

// Files chosen in one folder: the folder and the names relative to it.
struct FileSelection {
    std::filesystem::path SourceFolder;
    std::vector<std::filesystem::path> Names;
};

// Splits the chosen paths into the folder of the first one and the names of all. A path that
// does not lie in that folder (a file dialog never gives one) is kept whole, so that its target
// is refused rather than some other file converted.
FileSelection SelectFiles(const std::vector<std::filesystem::path>& chosenPaths);

// The lines of the file-list box: "1. " followed by the full path of the first file, and so on.
std::vector<std::string> FileListLines(const FileSelection& selection);

// `SourceFolder` joined with RECALC by the platform's separator.
std::filesystem::path TargetFolder(const std::filesystem::path& sourceFolder);

// ---------------------------------------------------------------------------------------------
// The run.

class BatchRun {
  public:
    // `summaryLine` is the format's line under the banner (for example "Сдвиг векторной карты
    // MP"). The converter is called once per file with the source, the target in RECALC and
    // `files`.
    BatchRun(FileSelection selection, FileConverter converter, std::string summaryLine,
             bool& runActive, const FileAccess& files = RealFiles());

    // Ends the run in the middle of a file once `stop` is set (it must outlive the run).
    void StopOn(const std::atomic<bool>& stop) { stop_ = &stop; }

    // Writes the targets into `folder` instead of a new RECALC (before Start): a folder that
    // exists is used as it is, a missing one is created. Targets still never replace a file.
    void OutputTo(const std::filesystem::path& folder) {
        targetFolder_ = folder;
        ownFolder_ = true;
    }

    // Sets runActive and creates RECALC. When that fails (it exists already, or no rights) the
    // log gets "Невозможно создать подкаталог \RECALC !" and "Пересчёт отменён.", runActive is
    // cleared and no file is touched; returns false.
    bool Start();

    // True while a file is left, no converter has failed at file level, and runActive holds.
    bool HasNextFile() const;
    // 1-based number of the file ConvertNextFile converts next, and its name.
    std::size_t NextFileNumber() const { return next_ + 1; }
    const std::filesystem::path& NextFileName() const { return selection_.Names[next_]; }

    // Converts the next file and appends its log block when it failed, or when it was created
    // with warnings ("Предупреждение - файл N: name", the warnings, an empty line).
    void ConvertNextFile(const ProgressCallback& progress = {});
    // The file ConvertNextFile converted last, and its warnings when it was created.
    const std::filesystem::path& LastFileName() const { return selection_.Names[next_ - 1]; }
    const std::vector<std::string>& LastWarnings() const { return lastWarnings_; }

    // Appends the banner ("ЗАКОНЧЕН" while runActive holds and no stop was asked for, else
    // "ОСТАНОВЛЕН") and the summary, removes RECALC when the run created it and it is empty,
    // then clears runActive. After a failed Start it only clears runActive.
    void Finish();

    // Start, every file, Finish, with no pause between files.
    void RunToEnd(const ProgressCallback& progress = {});

    const std::vector<std::string>& Log() const { return log_; }
    std::size_t FileCount() const { return selection_.Names.size(); }
    // Files handed to the converter, not counting one given up at a stop.
    std::size_t Processed() const { return next_; }
    std::size_t Created() const { return created_; }
    std::size_t Failures() const { return failures_; }
    // False after a failed Start or a file-level failure.
    bool Ok() const { return ok_; }
    const std::filesystem::path& TargetFolderPath() const { return targetFolder_; }
    // True when the stop flag gave a file up; NextFileName() is then that file.
    bool StoppedInFile() const { return stoppedInFile_; }
    // One line per failure for a terminal: the log's message followed by the file and the
    // system's reason in brackets, "Невозможно создать подкаталог \RECALC ! (/d/RECALC: File
    // exists)". The log keeps the program's own texts only.
    const std::vector<std::string>& Problems() const { return problems_; }

  private:
    void LogFailure(std::string_view message, std::string_view closingLine);
    bool StopRequested() const { return stop_ != nullptr && stop_->load(); }
    void LogBlock(std::string_view prefix, const std::vector<std::string>& lines);

    FileSelection selection_;
    FileConverter converter_;
    std::string summaryLine_;
    bool& runActive_;
    const FileAccess& files_;
    std::filesystem::path targetFolder_;
    std::vector<std::string> log_;
    std::vector<std::string> lastWarnings_;
    std::size_t next_ = 0;
    std::size_t created_ = 0;
    std::size_t failures_ = 0;
    bool ok_ = true;
    bool started_ = false;
    bool folderFailed_ = false;
    bool folderCreated_ = false;
    bool ownFolder_ = false;  // the user's output folder, not RECALC
    bool finished_ = false;
    bool stoppedInFile_ = false;
    const std::atomic<bool>* stop_ = nullptr;
    std::vector<std::string> problems_;
};

}  // namespace common
