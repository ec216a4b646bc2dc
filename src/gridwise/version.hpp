#pragma once

namespace gridwise {

// Shown at the lower right of the set-up screen as "ver " + kProgramVersion.
inline constexpr const char* kProgramVersion = "0.97";

}  // namespace gridwise
