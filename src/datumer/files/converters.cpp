// Pieces the three Datumer converters share: notes of map files, datum labels, map points,
// numbers.

#include "datumer/files/converters.hpp"
#include "common/text.hpp"
#include "datumer/files/datum_labels.hpp"
#include "datumer/geodesy/presets.hpp"

namespace datumer {

void MapNotes::Warn(std::string warning) {
    for (const std::string& given : Warnings)
        if (given == warning) return;
    Warnings.push_back(std::move(warning));
}

void AddNotes(common::ConvertResult& result, const MapNotes& notes) {
    if (result.Outcome == common::ConvertOutcome::BadLine && !result.LineReason.empty()) {
        result.message += ": ";
        result.message += result.LineReason;
    }
    if (result.Outcome == common::ConvertOutcome::Created) result.Warnings = notes.Warnings;
}

common::ConvertResult ConvertMapLines(const common::ConvertJob& job, const FileLines& lines,
                                      const MapNotesPtr& notes) {
    common::ConvertResult result = common::ConvertFileLines(job, lines.Convert, lines.Read);
    AddNotes(result, *notes);
    return result;
}

std::string SourceLabelWarning(std::string_view label, std::span<const std::string_view> systems,
                               std::string_view sourceSystem) {
    std::string warning = "Датум заголовка \"" + std::string(label) + "\" ";
    if (systems.empty()) {
        warning += "не распознан как исходная система пересчёта";
    } else {
        warning += "(";
        for (std::size_t i = 0; i < systems.size(); ++i) {
            if (i > 0) warning += " или ";
            warning += systems[i];
        }
        warning += ") не совпадает с исходной системой пересчёта";
    }
    const std::string source(sourceSystem);
    return warning + " (" + source + "); координаты пересчитаны из " + source + ", как задано.";
}

std::string KeptLabelWarning(std::string_view label, std::string_view targetSystem,
                             std::string_view format) {
    return "Для целевой системы (" + std::string(targetSystem) + ") нет метки датума формата " +
           std::string(format) + ": метка заголовка \"" + std::string(label) +
           "\" оставлена и не соответствует координатам.";
}

std::string RelabelDatum(std::string_view label, std::span<const std::string_view> systems,
                         std::string_view targetLabel, std::string_view format,
                         const DatumLabelOptions& options, MapNotes& notes) {
    bool named = false;
    for (std::string_view system : systems) named = named || system == options.SourceSystem;
    // A source with a label of its own is warned of for any other label; one without (ГСК-2011)
    // for a label that names another system. The user's systems may be any: never.
    const bool contradicts = FindSystem(options.SourceSystem) != nullptr
                                 ? !named
                                 : !systems.empty() && options.SourceSystem != kUserSystemName;
    if (contradicts) notes.Warn(SourceLabelWarning(label, systems, options.SourceSystem));
    if (options.KeepSourceLabel) return {};
    if (targetLabel.empty()) notes.Warn(KeptLabelWarning(label, options.TargetSystem, format));
    return std::string(targetLabel);
}

}  // namespace datumer
