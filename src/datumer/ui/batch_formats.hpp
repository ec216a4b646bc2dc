#pragma once
// Datumer's three batch formats (MP, TXT, MIF) for the shared batch screen: the converters take
// the operand of the selected preset, point lists first ask the height and precision dialog.

#include <vector>

#include "datumer/state.hpp"
#include "ui/batch_screen.hpp"

namespace datumer {

class HeightPrecisionDialog;

std::vector<ui::BatchFormat> DatumerBatchFormats(DatumerState& state,
                                                 HeightPrecisionDialog& heightDialog);

}  // namespace datumer
