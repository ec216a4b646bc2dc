#include "datumer/ui/batch_formats.hpp"

#include "datumer/files/formats.hpp"

namespace datumer {

std::vector<ui::BatchFormat> DatumerBatchFormats(
    DatumerState& state, std::function<bool(QWidget*)> confirmPointListOptions) {
    std::vector<ui::BatchFormat> formats;
    for (const DatumerFormat& entry : DatumerFormats()) {
        const DatumerFormat* f = &entry;
        ui::BatchFormat format;
        format.info = f->Info;
        // "Выбрать" is never disabled by the format.
        if (f->HeightDialog) format.confirmOptions = confirmPointListOptions;
        format.makeConverter = [&state, f] { return MakeConverter(*f, state); };
        format.summaryLine = [&state] { return SummaryLine(state); };
        formats.push_back(std::move(format));
    }
    return formats;
}

}  // namespace datumer
