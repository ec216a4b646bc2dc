#pragma once
// datumer-cli convert: files converted as the batch screen does.

#include <span>
#include <string>

#include "common/cli_convert.hpp"

namespace datumer::cli {

// args = everything after "convert". Exit 0 on success, 1 when a conversion failed, 2 for bad
// usage or values, 128 + the signal when a stop signal ended it.
int RunConvertCommand(std::span<const std::string> args, const common::ConvertConsole& console);

}  // namespace datumer::cli
