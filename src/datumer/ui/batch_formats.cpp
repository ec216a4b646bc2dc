#include "datumer/ui/batch_formats.hpp"

#include "datumer/convert_formats.hpp"

namespace datumer {

std::vector<ui::BatchFormat> DatumerBatchFormats(
    DatumerState& state, std::function<bool(QWidget*)> confirmPointListOptions) {
    std::vector<ui::BatchFormat> formats;
    for (int number = 1; number <= kBatchFormatCount; ++number) {
        ui::BatchFormat format;
        format.info = DatumerBatchFormat(number);
        // "Выбрать" is never disabled by the format; only point lists have options.
        if (number == kFormatPointList) format.confirmOptions = confirmPointListOptions;
        format.makeConverter = [&state, number] { return MakeConverter(number, state); };
        format.summaryLine = [&state] { return SummaryLine(state); };
        formats.push_back(std::move(format));
    }
    return formats;
}

}  // namespace datumer
