// The batch run shared by both programs: RECALC, the per-file loop, the log and the summary.

#include "common/batch.hpp"

#include <utility>

namespace common {

FileSelection SelectFiles(const std::vector<std::filesystem::path>& chosenPaths) {
    FileSelection selection;
    if (chosenPaths.empty()) return selection;
    selection.SourceFolder = chosenPaths.front().parent_path();
    const std::filesystem::path::string_type folderText = chosenPaths.front().native().substr(
        0, chosenPaths.front().native().size() - chosenPaths.front().filename().native().size());
    selection.Names.reserve(chosenPaths.size());
    for (const std::filesystem::path& chosen : chosenPaths) {
        const std::filesystem::path::string_type& text = chosen.native();
        if (text.starts_with(folderText))
            selection.Names.emplace_back(text.substr(folderText.size()));
        else
            selection.Names.push_back(chosen);  // outside the folder: kept whole, never rewritten
    }
    return selection;
}

std::vector<std::string> FileListLines(const FileSelection& selection) {
    std::vector<std::string> lines;
    lines.reserve(selection.Names.size());
    std::size_t number = 0;
    for (const std::filesystem::path& name : selection.Names)
        lines.push_back(std::to_string(++number) + ". " + PathText(selection.SourceFolder / name));
    return lines;
}

std::filesystem::path TargetFolder(const std::filesystem::path& sourceFolder) {
    return sourceFolder / std::filesystem::path(std::string(kTargetFolderName));
}

BatchRun::BatchRun(FileSelection selection, FileConverter converter, std::string summaryLine,
                   bool& runActive, const FileAccess& files)
    : selection_(std::move(selection)),
      converter_(std::move(converter)),
      summaryLine_(std::move(summaryLine)),
      runActive_(runActive),
      files_(files),
      targetFolder_(TargetFolder(selection_.SourceFolder)) {}

bool BatchRun::Start() {
    if (started_) return ok_;
    started_ = true;
    runActive_ = true;
    std::error_code error;
    std::error_code kind;
    if (ownFolder_ && std::filesystem::is_directory(targetFolder_, kind)) return true;
    if (!files_.CreateFolder(targetFolder_, error)) {
        const std::string_view message =
            ownFolder_ ? kCannotCreateOutputFolder : kCannotCreateFolder;
        ok_ = false;
        folderFailed_ = true;
        log_.emplace_back(message);
        log_.emplace_back(kRunCancelled);
        problems_.push_back(std::string(message) + " (" + FileCause(targetFolder_, error) + ")");
        runActive_ = false;
        return false;
    }
    folderCreated_ = true;
    return true;
}

bool BatchRun::HasNextFile() const {
    return started_ && !finished_ && ok_ && runActive_ && !StopRequested() &&
           next_ < selection_.Names.size();
}

void BatchRun::LogBlock(std::string_view prefix, const std::vector<std::string>& lines) {
    log_.push_back(std::string(prefix) + std::to_string(next_) + ": " +
                   PathText(selection_.Names[next_ - 1]));
    log_.insert(log_.end(), lines.begin(), lines.end());
    log_.emplace_back();
}

void BatchRun::LogFailure(std::string_view message, std::string_view closingLine) {
    LogBlock(kFileFailedPrefix, {std::string(message), std::string(closingLine)});
    ++failures_;
}

void BatchRun::ConvertNextFile(const ProgressCallback& progress) {
    if (!HasNextFile()) return;
    const std::filesystem::path& name = selection_.Names[next_];
    ConvertJob job;
    job.Source = selection_.SourceFolder / name;
    job.Target = targetFolder_ / name;
    job.Files = &files_;
    job.Progress = progress;
    job.Stop = stop_;
    lastWarnings_.clear();
    ConvertResult result = converter_(job);
    if (result.Outcome == ConvertOutcome::Stopped) {
        stoppedInFile_ = true;
        return;
    }
    ++next_;
    if (result.Outcome != ConvertOutcome::Created) {
        problems_.push_back(result.message + " (" +
                            (result.Cause.empty() ? PathText(job.Source) : result.Cause) + ")");
    }
    switch (result.Outcome) {
        case ConvertOutcome::FileFailed:
            ok_ = false;
            LogFailure(result.message, kRunStopped);
            break;
        case ConvertOutcome::BadLine:
            LogFailure(result.message, kFileNotCreated);
            break;
        case ConvertOutcome::Stopped:  // ended above
            break;
        case ConvertOutcome::Created:
            ++created_;
            lastWarnings_ = std::move(result.Warnings);
            if (!lastWarnings_.empty()) LogBlock(kFileWarningPrefix, lastWarnings_);
            break;
    }
}

void BatchRun::Finish() {
    if (finished_) return;
    finished_ = true;
    if (!folderFailed_ && started_) {
        log_.emplace_back(runActive_ && !StopRequested() ? kBannerFinished : kBannerStopped);
        log_.push_back(summaryLine_);
        log_.emplace_back();
        log_.push_back(std::string(kProcessedLabel) + std::to_string(next_) +
                       std::string(kFilesWord));
        log_.push_back(std::string(kCreatedLabel) + std::to_string(created_) +
                       std::string(kFilesWord));
        log_.push_back(std::string(kFailuresLabel) + std::to_string(failures_));
    }
    if (folderCreated_ && created_ == 0) files_.RemoveEmptyFolder(targetFolder_);
    runActive_ = false;
}

void BatchRun::RunToEnd(const ProgressCallback& progress) {
    if (Start())
        while (HasNextFile()) ConvertNextFile(progress);
    Finish();
}

}  // namespace common
