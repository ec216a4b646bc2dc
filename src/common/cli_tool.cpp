#include "common/cli_tool.hpp"

#include <iostream>
#include <vector>

namespace common {
namespace {

int RunCommand(const ToolDescription& tool, const std::vector<std::string>& args) {
    if (args.empty()) {
        tool.WriteHelp(std::cerr);
        return 2;
    }
    const std::string& command = args.front();
    const std::span<const std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h") {
        tool.WriteHelp(std::cout);
        return 0;
    }
    if (command == "--version") {
        std::cout << tool.Program << ' ' << tool.Version << '\n';
        return 0;
    }
    for (const ToolCommand& known : tool.Commands) {
        if (known.Name != command) continue;
        if (known.Convert != nullptr) return RunWithStopSignals(known.Convert, rest);
        return known.Run(rest, std::cout, std::cerr);
    }
    std::cerr << "Неизвестная команда: " << command << " (см. " << tool.Program << " --help)\n";
    return 2;
}

}  // namespace

int RunTool(const ToolDescription& tool, int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Output that did not reach stdout is a failure, also after --help or a point.
    const CheckedStandardOutput output;
    return output.ExitCode(RunCommand(tool, args), std::cerr);
}

}  // namespace common
