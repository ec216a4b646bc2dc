#pragma once
// Datumer's three batch formats (MP, TXT, MIF) for the shared batch screen: the converters take
// the operand of the selected preset, point lists first ask the height and precision dialog.

#include <functional>
#include <vector>

#include "datumer/state.hpp"
#include "ui/batch_screen.hpp"

namespace datumer {

// `confirmPointListOptions` shows the height and precision dialog and tells whether it was
// confirmed.
std::vector<ui::BatchFormat> DatumerBatchFormats(
    DatumerState& state, std::function<bool(QWidget*)> confirmPointListOptions);

}  // namespace datumer
