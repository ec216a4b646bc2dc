#pragma once
// datumer-cli point: one point transformed the way the point screen does it.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace datumer::cli {

// args = everything after "point". Exit 0 on success, 2 for bad usage or values (message on
// `err`). The transformation itself cannot fail.
int RunPointCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The lines of --help that describe the point command.
std::string_view PointCommandHelp();

}  // namespace datumer::cli
