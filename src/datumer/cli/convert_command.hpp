#pragma once
// datumer-cli convert: files converted as the batch screen does.

#include <istream>
#include <ostream>
#include <span>
#include <string>

namespace datumer::cli {

// args = everything after "convert". Exit 0 on success, 1 when a conversion failed, 2 for bad
// usage or values.
int RunConvertCommand(std::span<const std::string> args, std::istream& in, std::ostream& out,
                      std::ostream& err);

}  // namespace datumer::cli
