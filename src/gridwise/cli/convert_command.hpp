#pragma once
// gridwise-cli convert: the batch run of the file screen for scripts.
//
//   gridwise-cli convert --format txt|sheets|sk42-sk63|sk63-sk42|mp-shift [settings] [options]
//                        FILE... | -
//
// With files it creates RECALC beside them, prints the log and the summary and exits 0 when
// every file was created, 1 otherwise. With "-" it streams stdin to stdout and stops at the first
// bad line with its message on stderr (exit 1). Bad usage or values exit 2; a stop signal exits
// 128 + its number.

#include <span>
#include <string>

#include "common/cli_convert.hpp"

namespace gridwise::cli {

// `args` are the arguments after "convert".
int RunConvertCommand(std::span<const std::string> args, const common::ConvertConsole& console);

}  // namespace gridwise::cli
