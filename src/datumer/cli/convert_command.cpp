#include "datumer/cli/convert_command.hpp"

namespace datumer::cli {

int RunConvertCommand(std::span<const std::string>, std::istream&, std::ostream&,
                      std::ostream& err) {
    err << "convert: not built yet\n";
    return 2;
}

}  // namespace datumer::cli
