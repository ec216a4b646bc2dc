#pragma once

namespace datumer {

// Shown below the set-up screen's ellipsoid group as "ver " + kProgramVersion.
inline constexpr const char* kProgramVersion = "0.97";

}  // namespace datumer
