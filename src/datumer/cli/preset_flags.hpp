#pragma once
// The preset flags of datumer-cli, which mirror the set-up screen: --preset picks one of the
// presets, and only with the user preset 13 the user values are set through the same field
// events as the screen's eleven fields; the values then pass the checks of "Далее" with the same
// messages, and the operand of the transformation is built as on showing the point screen.
//
//   --preset 1..kPresetCount (default 1)
//   preset 13 only: --dx M --dy M --dz M --wx S --wy S --wz S --m PPM
//                   --src-a M --src-inv-f F --dst-a M --dst-inv-f F
//
// A value may follow its flag as the next argument or after "=" (--preset=13).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "datumer/state.hpp"

namespace datumer::cli {

struct PresetFlagsResult {
    bool ok = true;
    std::string message;            // when not ok: the reason, for stderr (exit code 2)
    std::vector<std::string> rest;  // every other argument in order; "--" and all after it kept
};

// Takes the preset flags out of `args` and applies them to `state` (a fresh MakeDatumerState()).
// `valueOptions` names the caller's own options that take a value in the next argument, so that
// such a value is passed on in `rest` with its option and never read as a flag. Arguments after
// "--" are not read.
PresetFlagsResult ParsePresetFlags(std::span<const std::string> args, DatumerState& state,
                                   std::span<const std::string_view> valueOptions = {});

// The lines of --help that describe the preset flags.
std::string PresetFlagsHelp();

}  // namespace datumer::cli
