#pragma once
// datumer-cli presets: every preset with its values, ellipsoids, the EPSG records that confirm
// it and the equivalent PROJ pipeline, so that a user can check any preset with another tool.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace datumer::cli {

// args = everything after "presets" (only --help is accepted). Exit 0, or 2 for bad usage.
int RunPresetsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace datumer::cli
