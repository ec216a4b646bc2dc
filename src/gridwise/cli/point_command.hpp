#pragma once
// gridwise-cli point: one point, computed the way the point screen computes it.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace gridwise::cli {

// args: everything after "point". Exit code 0 success, 1 projection failed, 2 bad usage or values.
int RunPointCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The usage lines of the point command.
std::string_view PointCommandHelp();

}  // namespace gridwise::cli
