#pragma once
// The PROJ pipeline that performs a preset's transformation, so that any preset can be checked
// against PROJ (cct) or another tool: geodetic to geocentric on the source ellipsoid, the
// seven-parameter step with the preset's values and our rotation convention, geocentric to
// geodetic on the target ellipsoid. PROJ takes longitude first and heights above the ellipsoid.

#include <string>

#include "datumer/state.hpp"

namespace datumer {

std::string ProjPipeline(const DatumerState& state, int preset);

}  // namespace datumer
