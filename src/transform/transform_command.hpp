#pragma once
// "transform", the command both tools share: a point list from one system and form into another
// in one pass (chain.hpp), over files into RECALC or from stdin to stdout, with the exit codes of
// "convert".

#include <span>
#include <string>
#include <string_view>

#include "common/cli_convert.hpp"

namespace transform {

// `program` names the tool in the help; `args` are the arguments after "transform".
int RunTransformCommand(std::string_view program, std::span<const std::string> args,
                        const common::ConvertConsole& console);

// The line of the tool's --help that points to the command.
std::string TransformCommandLine(std::string_view program);

}  // namespace transform
