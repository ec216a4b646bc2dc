#pragma once
// The main of a command-line tool: its commands by name, help, --version, an unknown command,
// and the exit code with the writes to stdout checked.

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "common/cli_convert.hpp"

namespace common {

// A command of a tool. Commands that convert files (convert, transform) run with the stop
// signals handled; the others write their result to `out`.
struct ToolCommand {
    std::string_view Name;
    int (*Run)(std::span<const std::string> args, std::ostream& out, std::ostream& err) = nullptr;
    ConvertCommand Convert = nullptr;
};

// A tool: its name, version, commands and help.
struct ToolDescription {
    std::string_view Program;
    std::string_view Version;
    std::span<const ToolCommand> Commands;
    void (*WriteHelp)(std::ostream& out);
};

// Runs the tool on the arguments of main: no arguments write the help to stderr (exit 2);
// "--help" or "-h" the help to stdout; "--version" "<program> <version>".
int RunTool(const ToolDescription& tool, int argc, char** argv);

}  // namespace common
