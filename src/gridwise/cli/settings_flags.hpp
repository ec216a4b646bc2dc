#pragma once
// The settings flags of gridwise-cli, which mirror the set-up screen: they are applied to the
// state through the same choices and field events as the screen, a flag the chosen system does
// not allow is refused, and the values pass the checks of "Далее" with the same messages.
//
//   --direction to-plane|to-geo   --projection gk|utm   --system sk42|wgs84|pz90|sk63|user
//   --series 3|4   --zone current|left|right   --no-zone-number   --sk63-zone N
//   --meridian DEG[:MIN]E|W   --false-northing M   --false-easting M   --a M   --inv-f F
//
// A value may follow its flag as the next argument or after "=" (--series=4).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gridwise/state.hpp"

namespace gridwise::cli {

struct SettingsFlagsResult {
    bool ok = true;
    std::string message;            // when not ok: the reason, for stderr (exit code 2)
    std::vector<std::string> rest;  // every other argument in order; "--" and all after it kept
};

// Takes the settings flags out of `args` and applies them to `state` (a fresh
// MakeGridwiseState()). `valueOptions` names the caller's own options that take a value in the
// next argument, so that such a value is passed on in `rest` with its option and never read as
// a flag. Arguments after "--" are not read.
SettingsFlagsResult ParseSettingsFlags(std::span<const std::string> args, GridwiseState& state,
                                       std::span<const std::string_view> valueOptions = {});

// The lines of --help that describe the settings flags.
std::string_view SettingsFlagsHelp();

}  // namespace gridwise::cli
